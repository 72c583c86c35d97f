#include "ScreenshotTour.h"

#include "CoverStore.h"
#include "HelpViewer.h"
#include "Prompter.h"
#include "TImportFormat.h"
#include "TMain.h"
#include "TMyPreview.h"
#include "TMyReport.h"
#include "TReportForm.h"
#include "TStatistics.h"
#include "TUserReport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include <map>

namespace app {

namespace {

// The picture's file name for each window, by its class.
const std::map<QString, QString>& pictureNames()
{
    static const std::map<QString, QString> names = {
        {"edit::TMyEdit", "record-editor"},
        {"find::TMySearch", "search"},
        {"find::TMyLocateDlg", "locate"},
        {"find::TMySortOrder", "sort-order"},
        {"find::TSearchAndReplace", "search-and-replace"},
        {"report_ui::TMyReport", "reports"},
        {"report_ui::TReportForm", "report-status"},
        {"report_ui::TMyPreview", "preview"},
        {"exchange_ui::TImportFormat", "import-format"},
        {"exchange_ui::TMyImport", "import"},
        {"exchange_ui::TMyExport", "export"},
        {"edit_ui::TLentOut", "lent-out"},
        {"find::TDuplicates", "find-duplicates"},
        {"stats_ui::TStatistics", "statistics"},
        {"covers_ui::TCoversWithoutAFilm", "covers-without-a-film"},
        {"backup_ui::TMyBackup", "backup"},
        {"backup_ui::TMyRestore", "restore"},
        {"appearance_ui::TViewConfig", "viewer-configuration"},
        {"appearance_ui::TColorConfig", "color-configuration"},
        {"app::TTipOfDay", "tip-of-the-day"},
        {"TMyEditBox", "pick-list-editor"},
        {"db_ui::TMyEditBox", "pick-list-editor"},
        {"report_ui::TUserReport", "report-definition"},
        {"report_ui::TRepLayout", "report-layout"},
        {"report_ui::TReportPart", "report-part"},
        {"report_ui::TReportFonts", "report-fonts"},
        {"report_ui::TLabelOptions", "label-options"},
        {"report_ui::TChooseMedia", "choose-media-number"},
    };
    return names;
}

// Lets the window be laid out and painted.
void settle(int milliseconds = 800)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Answers every question No and gives the sample file to the import's file dialog.
class TourPrompter : public Prompter {
public:
    explicit TourPrompter(QString importSample)
        : m_importSample(std::move(importSample))
    {
    }
    void message(QWidget*, const QString&, const QString&, Icon) override {}
    Answer ask(QWidget*, const QString&, const QString&, Buttons, Answer, bool, Icon) override { return Answer::No; }
    QString openFileName(QWidget*, const FileDialog& dialog) override
    {
        // The import's title, in the language the program speaks.
        return dialog.title == QCoreApplication::translate("exchange_ui::TImportFormat", "Import Data") ? m_importSample
                                                                                                       : QString();
    }
    QString saveFileName(QWidget*, const FileDialog&) override { return {}; }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return std::nullopt; }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return std::nullopt; }
    bool printerSetup(QWidget*) override { return false; }

private:
    QString m_importSample;
};

// The media number of the collection's first record, for a label.
QString firstMediaNumber(TMain& window)
{
    db::Table& table = window.table();
    table.first();
    return table.isEmpty() ? QString() : QString::fromStdString(table.text(table.requireField("MediaNum")));
}

// Covers for the first films, when the collection has none yet (the tour's own
// sample collection): a poster of the film's title on a colour of its own, and
// one picture no film names, for the list of covers without a film.
void givePostersForTheTour(TMain& window)
{
    db::Table& table = window.table();
    covers::CoverStore store(table.filePath());
    if (table.isEmpty() || QFileInfo::exists(QString::fromStdString(store.folder())))
        return;
    const auto poster = [](const QString& title, int hue) {
        QImage image(300, 450, QImage::Format_RGB32);
        QPainter painter(&image);
        QLinearGradient fade(0, 0, 0, 450);
        fade.setColorAt(0, QColor::fromHsv(hue, 160, 200));
        fade.setColorAt(1, QColor::fromHsv(hue, 220, 60));
        painter.fillRect(image.rect(), fade);
        painter.setPen(Qt::white);
        QFont font = painter.font();
        font.setPixelSize(34);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(image.rect().adjusted(20, 40, -20, -40), Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap, title);
        return image;
    };
    const int year = table.fieldIndex("Year");
    int given = 0;
    for (table.first(); !table.eof() && given < 12; table.next(), ++given) {
        const std::string title = table.text(0), shownYear = year >= 0 ? table.text(year) : std::string();
        try {
            store.storeImage(title, shownYear, poster(QString::fromStdString(title), given * 29 % 360));
        } catch (const std::exception&) {
        }
    }
    try {
        store.storeImage("An Old Title", "1990", poster("An Old Title", 200));
    } catch (const std::exception&) {
    }
    table.first();
}

} // namespace

std::unique_ptr<Prompter> makeTourPrompter(const QString& importSample)
{
    return std::make_unique<TourPrompter>(importSample);
}

int runScreenshotTour(TMain& window, const QString& folder, const std::function<void(QWidget&)>& visit)
{
    QDir().mkpath(folder);
    int saved = 0;
    int previews = 0;
    const int pause = visit ? 20 : 800;
    auto save = [&](QWidget& widget, const QString& name) {
        widget.show();
        widget.raise();
        settle(pause);
        if (visit)
            visit(widget);
        if (widget.grab().save(QDir(folder).filePath(name + ".png")))
            ++saved;
    };
    window.setDialogRunner([&](QDialog& dialog) {
        const auto name = pictureNames().find(QString::fromLatin1(dialog.metaObject()->className()));
        if (auto* status = dynamic_cast<report_ui::TReportForm*>(&dialog)) {
            status->RunJob(); // the preview needs its recording
            save(dialog, "report-status");
            dialog.hide();
            return int(QDialog::Accepted);
        }
        if (auto* statistics = dynamic_cast<stats_ui::TStatistics*>(&dialog))
            statistics->Pages->setCurrentIndex(2); // a page with a chart: Category
        if (auto* preview = dynamic_cast<report_ui::TMyPreview*>(&dialog); preview && ++previews == 2) {
            save(dialog, "label-preview");
        } else if (name != pictureNames().end()) {
            save(dialog, name->second);
        }
        // Windows that lead to others: the report window to its preview, the chooser to the import window.
        if (auto* reports = dynamic_cast<report_ui::TMyReport*>(&dialog)) {
            reports->ViewClick();
            reports->ModifyClick(); // the designer on the selected report
            reports->FaceLabels->setChecked(true);
            reports->MediaGrid->item(0, 0)->setText(firstMediaNumber(window));
            reports->FileClick(); // label options
            reports->chooseMedia(0, 1);
            reports->ViewClick(); // a sheet of face labels
            reports->EntireDatabase->setChecked(true);
        }
        if (auto* designer = dynamic_cast<report_ui::TUserReport*>(&dialog)) {
            designer->SetFontsClick();
            designer->SpecifyContentClick();
        }
        if (auto* layout = dynamic_cast<report_ui::TRepLayout*>(&dialog))
            layout->editPart(0, 0);
        if (auto* chooser = dynamic_cast<exchange_ui::TImportFormat*>(&dialog)) {
            chooser->AsciiButton->setChecked(true);
            chooser->SelectFileClick();
        }
        dialog.hide();
        return int(QDialog::Rejected);
    });
    givePostersForTheTour(window);
    save(window, "main-window");
    if (QAction* showCover = window.action("ShowCover")) {
        showCover->trigger();
        save(window, "main-window-cover");
        showCover->trigger();
    }
    for (const char* command : {"Edit", "Search", "Locate", "SortOrder", "SearchAndReplace", "Reports", "Import",
                                "Export", "LentOut", "FindDuplicates", "Statistics", "CoversWithoutAFilm", "BackUpData", "RestoreData", "Viewer", "ColorMain", "ReviewTips",
                                "List2"}) {
        if (QAction* action = window.action(command))
            action->trigger();
    }
    showHelp(&window, "Contents");
    settle(pause);
    if (auto* help = window.findChild<HelpWindow*>())
        save(*help, "help");
    return saved;
}

} // namespace app
