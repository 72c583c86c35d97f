#include "IniFile.h"
#include "Language.h"
#include "ProgramFolders.h"
#include "Prompter.h"
#include "ReelkeeperVersion.h"
#include "ScreenshotTour.h"
#include "TMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

// The desktop program: its first argument "/BROWSE" (any letter case) starts
// browse mode; --quit-after-show closes the main window through its normal
// close step as soon as it has been shown (for benchmarks and smoke tests);
// --screenshot=FILE saves a picture of the shown window first (docs/).
// A collection file given (as a file manager passes the one opened) is
// opened once the window is up, as File > Open Database would; one that
// cannot be opened is told and the program goes on without it.
// --tour=FOLDER[,IMPORT.TXT] saves a picture of every window into FOLDER and quits.
// --version prints the version and --help the arguments, and quit.
namespace {

constexpr const char* kUsage =
    "Usage: reelkeeper [/BROWSE] [COLLECTION.DBF]\n"
    "       reelkeeper --version | --help\n"
    "\n"
    "Opens the collection used last (or COLLECTION.DBF) in the program's main window.\n"
    "  /BROWSE     browse mode: the collection is looked at and printed, not changed\n"
    "  --version   prints the version\n"
    "  --help      prints this text\n"
    "Work without windows (import, export, search, reports, backup): reelkeeper-cli --help\n";

constexpr const char* kNoDisplay = "reelkeeper: no display to show the window on: start it on the desktop (with DISPLAY or "
                                   "WAYLAND_DISPLAY set), or use reelkeeper-cli for work without windows.\n";

// Qt gives up with an abort when there is no display to show windows on;
// the user is told what is wrong instead, and the program ends with status 1.
void sayWhyNoWindowCanBeShown(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return;
    }
    if (message.contains("display", Qt::CaseInsensitive) || message.contains("platform plugin", Qt::CaseInsensitive))
        std::fputs(kNoDisplay, stderr); // Qt's own words here advise reinstalling, which would not help
    else
        std::fprintf(stderr, "reelkeeper: %s\n", qPrintable(message));
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

int main(int argc, char** argv)
{
    // Before the application object: the version and the arguments need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("reelkeeper %s\n", REELKEEPER_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs(kNoDisplay, stderr);
        return 1;
    }
    const QtMessageHandler qtsOwn = qInstallMessageHandler(sayWhyNoWindowCanBeShown);
    QApplication application(argc, argv);
    qInstallMessageHandler(qtsOwn); // the display is there: Qt's messages as Qt says them
    // The language is chosen before any window is made: the settings file's
    // choice, else the desktop's. Qt's own texts (its dialogs' buttons) come
    // with it, from Qt's translations.
    app::IniFile settings;
    settings.load(app::settingsFilePath());
    const QString language = app::languageToSpeak(settings.value("Misc", "Language").value_or(QString()), QLocale::system());
    QTranslator qtTexts, programTexts;
    if (language != "en") {
        if (qtTexts.load("qtbase_" + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(&qtTexts);
        if (programTexts.load(app::translationFile(language)))
            QApplication::installTranslator(&programTexts);
    }
    QApplication::setApplicationVersion(REELKEEPER_VERSION);
    QApplication::setApplicationName("Reelkeeper Videos");
    QGuiApplication::setDesktopFileName("org.reelkeeper.Reelkeeper"); // its desktop entry, icon included
    const QStringList arguments = QCoreApplication::arguments();
    const bool browseMode = arguments.size() > 1 && arguments[1].left(30).toUpper() == "/BROWSE";
    QString screenshot;
    for (const QString& argument : arguments)
        if (argument.startsWith("--screenshot="))
            screenshot = argument.mid(13);
    const bool quitAfterShow = arguments.contains("--quit-after-show") || !screenshot.isEmpty();
    QString tour, tourSample;
    for (const QString& argument : arguments)
        if (argument.startsWith("--tour=")) {
            tour = argument.mid(7).section(',', 0, 0);
            tourSample = argument.mid(7).section(',', 1);
        }
    QString collection;
    for (const QString& argument : arguments.mid(1))
        if (!argument.startsWith("-") && !argument.startsWith("/BROWSE", Qt::CaseInsensitive))
            collection = argument;

    const std::unique_ptr<app::Prompter> prompter =
        tour.isEmpty() ? std::make_unique<app::WidgetPrompter>() : app::makeTourPrompter(tourSample);
    app::TMain mainWindow(*prompter, browseMode);
    if (!mainWindow.create())
        return 1;
    mainWindow.show();
    if (!tour.isEmpty()) {
        QTimer::singleShot(500, &mainWindow, [&mainWindow, tour] {
            const int saved = app::runScreenshotTour(mainWindow, tour);
            std::printf("%d pictures saved in %s\n", saved, qPrintable(tour));
            mainWindow.close();
        });
    }
    if (!collection.isEmpty())
        QTimer::singleShot(0, &mainWindow, [&mainWindow, collection] { mainWindow.openGivenCollection(collection); });
    if (!screenshot.isEmpty())
        QTimer::singleShot(300, &mainWindow, [&mainWindow, screenshot] { mainWindow.grab().save(screenshot); });
    if (quitAfterShow)
        QTimer::singleShot(screenshot.isEmpty() ? 0 : 400, &mainWindow, &QWidget::close);
    return QApplication::exec();
}
