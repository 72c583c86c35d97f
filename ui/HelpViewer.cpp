#include "HelpViewer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

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

// The pages of the book in reading order; the first holds the contents.
const QStringList kPages = {"REELKP.html", "tasks.html", "collection.html", "finding.html",
                            "printing.html", "exchange.html", "care.html", "keys.html"};

// The folder of the book in the language the program speaks: a translation
// names its own ("de"); the English book is the folder's top.
QString bookFolder()
{
    registerHelpPages();
    const QString language =
        QCoreApplication::translate("app::HelpWindow", "en", "the folder of the help book in this language");
    const QString folder = "/help/" + language + "/";
    return language != "en" && QFile::exists(":" + folder + kPages.front()) ? folder : QString("/help/");
}

QUrl pageUrl(const QString& page, const QString& keyword = {})
{
    QUrl url("qrc:" + bookFolder() + page);
    if (!keyword.isEmpty())
        url.setFragment(keyword);
    return url;
}

QString pageText(const QString& page)
{
    QFile file(":" + bookFolder() + page);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

struct Section {
    QString keyword;
    QString title; // indented by its level
    QString page;
};

// The sections of every page in book order, each with its heading's text: read
// once, since the pages are compiled into the program.
const QList<Section>& sections()
{
    // Read once for each language's book.
    static QHash<QString, QList<Section>> books;
    const QString folder = bookFolder();
    if (const auto known = books.constFind(folder); known != books.constEnd())
        return *known;
    return *books.insert(folder, [] {
        QList<Section> all;
        static const QRegularExpression anchor(R"re(<h([123])><a name="([^"]+)">([^<]+)</a>)re");
        for (const QString& page : kPages) {
            const QString html = pageText(page);
            for (auto it = anchor.globalMatch(html); it.hasNext();) {
                const QRegularExpressionMatch m = it.next();
                const QString indent = QString(4 * (m.captured(1).toInt() - 1), ' ');
                all.append({m.captured(2), indent + m.captured(3), page});
            }
        }
        return all;
    }());
}

QString pageOf(const QString& keyword)
{
    for (const Section& s : sections())
        if (s.keyword == keyword)
            return s.page;
    return kPages.front();
}

// The page's words as a reader sees them, for finding which pages hold a text.
QString plainPage(const QString& page)
{
    QTextDocument document;
    document.setHtml(pageText(page));
    return document.toPlainText();
}

} // namespace

QStringList helpSections()
{
    QStringList keywords;
    for (const Section& s : sections())
        keywords << s.keyword;
    return keywords;
}

HelpWindow::HelpWindow(QWidget* owner)
    : QDialog(owner)
{
    registerHelpPages();
    setWindowTitle(tr("Reelkeeper Videos 95 Help"));
    auto* layout = new QVBoxLayout(this);
    auto* tools = new QHBoxLayout;
    auto* back = new QPushButton(tr("&Back"), this);
    auto* forward = new QPushButton(tr("&Forward"), this);
    FindBox = new QLineEdit(this);
    FindBox->setObjectName("HelpFind");
    FindBox->setAccessibleName(tr("Find in the help"));
    FindBox->setPlaceholderText(tr("Find in the help"));
    auto* find = new QPushButton(tr("Fi&nd"), this);
    for (QWidget* w : std::initializer_list<QWidget*>{back, forward})
        tools->addWidget(w);
    // Enter in the find box finds; it must not also press a button of the dialog (Back, say).
    for (QPushButton* b : {back, forward, find})
        b->setAutoDefault(false);
    tools->addStretch();
    tools->addWidget(FindBox);
    tools->addWidget(find);
    layout->addLayout(tools);

    auto* body = new QHBoxLayout;
    Sections = new QListWidget(this);
    Sections->setObjectName("HelpSections");
    Sections->setAccessibleName(tr("Sections of the help"));
    for (const Section& s : sections()) {
        auto* item = new QListWidgetItem(s.title, Sections);
        item->setData(Qt::UserRole, s.keyword);
    }
    Sections->setMaximumWidth(220);
    body->addWidget(Sections);
    Browser = new QTextBrowser(this);
    Browser->setObjectName("HelpBrowser");
    Browser->setAccessibleName(tr("Help page"));
    Browser->setSource(pageUrl(kPages.front()));
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
    Browser->setSource(pageUrl(pageOf(keyword), keyword));
    Browser->scrollToAnchor(keyword);
}

bool HelpWindow::findText(const QString& text)
{
    if (text.isEmpty())
        return false;
    if (Browser->find(text))
        return true;
    // On from the next page that holds the text, round to this page's top.
    const QString shown = Browser->source().fileName();
    const qsizetype here = std::max<qsizetype>(0, kPages.indexOf(shown));
    for (qsizetype step = 1; step <= kPages.size(); ++step) {
        const QString& page = kPages[(here + step) % kPages.size()];
        if (!wordsOf(page).contains(text, Qt::CaseInsensitive))
            continue;
        if (page != shown)
            Browser->setSource(pageUrl(page));
        QTextCursor start = Browser->textCursor();
        start.movePosition(QTextCursor::Start);
        Browser->setTextCursor(start);
        return Browser->find(text);
    }
    return false;
}

const QString& HelpWindow::wordsOf(const QString& page)
{
    // Each page is laid out once, the first time a find needs it.
    auto it = m_pageWords.find(page);
    if (it == m_pageWords.end())
        it = m_pageWords.insert(page, plainPage(page));
    return *it;
}

void setHelpKeyword(QWidget* window, const QString& keyword)
{
    window->setProperty("helpKeyword", keyword);
}

namespace {

class F1Help : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (qobject_cast<HelpWindow*>(widget->window()))
            return false; // already reading the help
        QString keyword = "Contents";
        for (QWidget* w = widget; w; w = w->parentWidget()) {
            const QString own = w->property("helpKeyword").toString();
            if (!own.isEmpty()) {
                keyword = own;
                break;
            }
            if (w->isWindow() && w->parentWidget() == nullptr)
                break;
        }
        showHelp(widget->window(), keyword);
        return true;
    }
};

} // namespace

void answerF1(QObject* owner)
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(new F1Help(owner));
}

void showHelp(QWidget* owner, const QString& keyword)
{
    auto* window = new HelpWindow(owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->showSection(keyword);
}

} // namespace app
