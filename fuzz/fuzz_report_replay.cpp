// libFuzzer target: arbitrary bytes replayed as a report file by the preview,
// which draws every record on a page image. Damage must end in EReportError,
// never a crash, a hang or an unbounded allocation.
#include "TFilePrinter.h"

#include <QGuiApplication>

#include <cstdint>
#include <vector>

namespace {

QGuiApplication* application()
{
    static int argc = 1;
    static char name[] = "fuzz_report_replay";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    return &app;
}

} // namespace

// fontconfig and FreeType keep their caches until the process ends, and the
// leak checker at exit counts them as leaks of ours: a clean run exits clean.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
           "leak:libfreetype.so\n"
           "leak:FcPattern\n"
           "leak:FcConfig\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    application();
    const engine::ReportBytes stream(std::vector<uint8_t>(data, data + size));
    engine::FixedScrollBox box;
    engine::TFilePreview preview;
    preview.ScrollBox = &box;
    preview.StreamMode = engine::smUser;
    preview.setStream(&stream);
    preview.setZoomFactor(10); // small pages: the fuzzer looks for faults, not pixels
    try {
        preview.OpenPreview();
        for (int i = 0; i < 4; ++i)
            preview.NextPage();
        preview.PreviousPage();
        preview.ShowPage(2);
        preview.ClosePreview();
    } catch (const engine::EReportError&) {
        // The engine's own refusal is a good outcome.
    }
    return 0;
}
