// The command line's cassette labels: the same layout as the report
// window's, into a PDF file, for users without a printer.

#include "CliShared.h"

#include "CollectionFile.h"
#include "DbError.h"
#include "LabelRender.h"
#include "TReportFiler.h"
#include "Table.h"

#include <QPageSize>

#include <ostream>
#include <sstream>

namespace cli::detail {

int labels(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() < 2)
        throw UsageError("labels needs a collection");
    std::string stock, kind, media, pdf;
    for (size_t i = 2; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--face" || option == "--spine") {
            kind = option;
            continue;
        }
        if (i + 1 >= args.size())
            throw UsageError(option + " needs a value");
        const std::string& value = args[++i];
        if (option == "--stock")
            stock = value;
        else if (option == "--media")
            media = value;
        else if (option == "--pdf")
            pdf = value;
        else
            throw UsageError("unknown labels argument \"" + option + "\"");
    }
    if ((stock != "5199" && stock != "L7654") || kind.empty() || media.empty() || pdf.empty())
        throw UsageError("labels needs --stock 5199 or L7654, --face or --spine, --media and --pdf");

    ensureGuiApplication();
    const app::Settings settings = effectiveSettings();
    report::LabelSettings label;
    label.kind = report::labelKind(kind == "--spine", stock == "5199");
    label.items = report::labelItemsFromSettings(settings.labelItems);
    label.font = settings.reportLabelFont;
    std::stringstream list(media);
    for (std::string number; std::getline(list, number, ',');)
        label.cells.push_back(QString::fromStdString(number));
    const report::LabelStock& sheet = report::labelStock(label.kind);
    if (static_cast<int>(label.cells.size()) > sheet.labels) {
        err << "reelkeeper-cli: a sheet holds " << sheet.labels << " labels; " << label.cells.size() << " were given\n";
        return 1;
    }

    db::Table table;
    table.setFilePath(args[1]);
    sayWhileWaiting(table, err);
    table.open(db::Table::OpenMode::ReadOnly);
    if (!db::isCollectionTable(args[1]))
        throw db::DbError(table.filePath(), db::kNotCollectionMessage);
    engine::ReportBytes recording;
    engine::TReportFiler filer;
    filer.StreamMode = engine::smUser;
    filer.setStream(&recording);
    filer.setOrientation(engine::poPortrait);
    filer.setPaper(sheet.paperWidth, sheet.paperHeight);
    filer.setLineHeightMethod(engine::lhmFont);
    filer.setTitle("Labels");
    QString failure;
    filer.setErrorHandler([&failure](const QString& message) { failure = message; });
    report::LabelRender render(label, table);
    render.attach(filer);
    filer.RunJob();
    if (failure.isEmpty())
        failure = writePdf(recording, pdf, QPageSize(sheet.paperHeight > 11.5 ? QPageSize::A4 : QPageSize::Letter),
                           engine::poPortrait, "Labels");
    if (!failure.isEmpty()) {
        err << "reelkeeper-cli: " << failure.toStdString() << "\n";
        return 1;
    }
    int printed = 0;
    for (const report::LabelPosition& position : render.positions())
        printed += position.records.empty() ? 0 : 1;
    summaryStream(pdf, out, err) << printed << (printed == 1 ? " label" : " labels") << " written to " << pdf << "\n";
    return 0;
}

} // namespace cli::detail
