// libFuzzer target: the report file stream reader on arbitrary bytes. Every
// page found by its links is read record by record to its page end; damage
// must end in EReportError, never a crash, a hang or an unbounded allocation.
#include "ReportStream.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const engine::ReportBytes stream(std::vector<uint8_t>(data, data + size));
    try {
        engine::StreamReader reader(stream);
        for (size_t page : engine::pagePositions(stream)) {
            reader.seek(page);
            reader.pageHeader();
            for (int records = 0; records < 100000; ++records) {
                const uint8_t code = reader.byte();
                if (code == engine::rcEndPage)
                    break;
                reader.skipRecord(code);
            }
        }
    } catch (const engine::EReportError&) {
        // The engine's own refusal is a good outcome.
    }
    return 0;
}
