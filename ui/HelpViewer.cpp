#include "HelpViewer.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocument>
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

namespace {

const QString kBook = "qrc:/help/REELKP.html";

// The sections in book order, each with its heading's text.
QList<std::pair<QString, QString>> sectionsWithTitles()
{
    registerHelpPages();
    QFile file(":/help/REELKP.html");
    QList<std::pair<QString, QString>> sections;
    if (!file.open(QIODevice::ReadOnly))
        return sections;
    const QString html = QString::fromUtf8(file.readAll());
    static const QRegularExpression anchor(R"re(<h([123])><a name="([^"]+)">([^<]+)</a>)re");
    for (auto it = anchor.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString indent = m.captured(1) == "3" ? "    " : "";
        sections.append({m.captured(2), indent + m.captured(3)});
    }
    return sections;
}

} // namespace

QStringList helpSections()
{
    QStringList keywords;
    for (const auto& [keyword, title] : sectionsWithTitles())
        keywords << keyword;
    return keywords;
}

HelpWindow::HelpWindow(QWidget* owner)
    : QDialog(owner)
{
    registerHelpPages();
    setWindowTitle("Reelkeeper Videos 95 Help");
    auto* layout = new QVBoxLayout(this);
    auto* tools = new QHBoxLayout;
    auto* back = new QPushButton("&Back", this);
    auto* forward = new QPushButton("&Forward", this);
    FindBox = new QLineEdit(this);
    FindBox->setObjectName("HelpFind");
    FindBox->setAccessibleName("Find in this page");
    FindBox->setPlaceholderText("Find in this page");
    auto* find = new QPushButton("Fi&nd", this);
    for (QWidget* w : std::initializer_list<QWidget*>{back, forward})
        tools->addWidget(w);
    tools->addStretch();
    tools->addWidget(FindBox);
    tools->addWidget(find);
    layout->addLayout(tools);

    auto* body = new QHBoxLayout;
    Sections = new QListWidget(this);
    Sections->setObjectName("HelpSections");
    Sections->setAccessibleName("Sections of the help");
    for (const auto& [keyword, title] : sectionsWithTitles()) {
        auto* item = new QListWidgetItem(title, Sections);
        item->setData(Qt::UserRole, keyword);
    }
    Sections->setMaximumWidth(220);
    body->addWidget(Sections);
    Browser = new QTextBrowser(this);
    Browser->setObjectName("HelpBrowser");
    Browser->setAccessibleName("Help page");
    Browser->setSource(QUrl(kBook));
    body->addWidget(Browser, 1);
    layout->addLayout(body, 1);

    back->setEnabled(false);
    forward->setEnabled(false);
    connect(Browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(back, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, Browser, &QTextBrowser::forward);
    connect(Sections, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showSection(item->data(Qt::UserRole).toString()); });
    connect(Sections, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showSection(item->data(Qt::UserRole).toString()); });
    connect(find, &QPushButton::clicked, this, [this] { findText(FindBox->text()); });
    connect(FindBox, &QLineEdit::returnPressed, this, [this] { findText(FindBox->text()); });
    resize(760, 520);
}

void HelpWindow::showSection(const QString& keyword)
{
    // Through the browser's history, so that Back returns to where the reader was.
    QUrl url(kBook);
    url.setFragment(keyword);
    Browser->setSource(url);
    Browser->scrollToAnchor(keyword);
}

bool HelpWindow::findText(const QString& text)
{
    if (text.isEmpty())
        return false;
    if (Browser->find(text))
        return true;
    // From the top once more, as a search that reached the end of the page.
    QTextCursor start = Browser->textCursor();
    start.movePosition(QTextCursor::Start);
    Browser->setTextCursor(start);
    return Browser->find(text);
}

void showHelp(QWidget* owner, const QString& keyword)
{
    auto* window = new HelpWindow(owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->showSection(keyword);
}

} // namespace app
