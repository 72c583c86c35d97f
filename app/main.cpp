#include <QApplication>
#include <QMainWindow>
#include <QTimer>

// The desktop program. Until the start-up sequence is in place it shows the
// empty main window.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Reelkeeper Videos");
    QMainWindow window;
    window.setWindowTitle("Reelkeeper Videos 95");
    window.resize(640, 480);
    window.show();
    if (QCoreApplication::arguments().contains("--quit-after-show"))
        QTimer::singleShot(0, &window, &QMainWindow::close);
    return QApplication::exec();
}
