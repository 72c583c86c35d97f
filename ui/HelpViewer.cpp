#include "HelpViewer.h"

#include <QDialog>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The help pages are compiled into a static library, whose resources Qt
// registers only when asked (the macro must stand outside any namespace).
static void registerHelpPages()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    (void)registered;
}

namespace app {

void showHelp(QWidget* owner, const QString& keyword)
{
    registerHelpPages();
    auto* window = new QDialog(owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle("Reelkeeper Videos 95 Help");
    auto* layout = new QVBoxLayout(window);
    auto* browser = new QTextBrowser(window);
    browser->setObjectName("HelpBrowser");
    browser->setSource(QUrl("qrc:/help/REELKP.html"));
    browser->scrollToAnchor(keyword);
    layout->addWidget(browser);
    window->resize(560, 420);
    window->show();
}

} // namespace app
