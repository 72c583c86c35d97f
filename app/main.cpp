#include "Prompter.h"
#include "TMain.h"

#include <QApplication>
#include <QTimer>

// The desktop program: its first argument "/BROWSE" (any letter case) starts
// browse mode; --quit-after-show closes the main window through its normal
// close step as soon as it has been shown (for benchmarks and smoke tests).
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Reelkeeper Videos");
    const QStringList arguments = QCoreApplication::arguments();
    const bool browseMode = arguments.size() > 1 && arguments[1].left(30).toUpper() == "/BROWSE";
    const bool quitAfterShow = arguments.contains("--quit-after-show");

    app::WidgetPrompter prompter;
    app::TMain mainWindow(prompter, browseMode);
    if (!mainWindow.create())
        return 1;
    mainWindow.show();
    if (quitAfterShow)
        QTimer::singleShot(0, &mainWindow, &QWidget::close);
    return QApplication::exec();
}
