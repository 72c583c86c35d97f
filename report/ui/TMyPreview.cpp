#include "TMyPreview.h"

#include "WindowLook.h"

#include "PrintDevice.h"
#include "QPrinterDevice.h"
#include "TPrintRange.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <map>

namespace report_ui {

// The scroll box the preview draws its page into.
class PreviewArea : public QScrollArea, public engine::PreviewScrollBox {
public:
    explicit PreviewArea(QWidget* parent)
        : QScrollArea(parent)
        , m_page(new QLabel)
    {
        m_page->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setWidget(m_page);
        setWidgetResizable(false);
        setBackgroundRole(QPalette::Dark);
    }
    QSize outerSize() const override { return size(); }
    QSize clientSize() const override { return viewport()->size(); }
    int verticalScrollBarWidth() const override { return verticalScrollBar()->sizeHint().width(); }
    int horizontalScrollBarHeight() const override { return horizontalScrollBar()->sizeHint().height(); }
    QPoint scrollPosition() const override { return {horizontalScrollBar()->value(), verticalScrollBar()->value()}; }
    void setScrollPosition(QPoint p) override
    {
        horizontalScrollBar()->setValue(p.x());
        verticalScrollBar()->setValue(p.y());
    }
    void setScrollRange(QSize range) override { m_range = range; }
    void showPage(const QImage& page, QPoint at) override
    {
        // The page stands at its place on a canvas as large as the scroll range.
        QImage canvas(m_range.expandedTo(page.size() + QSize(at.x(), at.y())), QImage::Format_RGB32);
        canvas.fill(palette().color(QPalette::Dark));
        QPainter painter(&canvas);
        painter.drawImage(at, page);
        painter.end();
        m_page->setPixmap(QPixmap::fromImage(canvas));
        m_page->resize(canvas.size());
    }

private:
    QLabel* m_page;
    QSize m_range;
};

TMyPreview::TMyPreview(PreviewContext context, engine::ReportBytes* stream, const QString& reportName, bool labelMode,
                       QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
    , m_stream(stream)
    , m_labelMode(labelMode)
    , m_area(new PreviewArea(this))
{
    if (!m_context.runDialog)
        m_context.runDialog = [](QDialog& d) { return d.exec(); };
    setWindowTitle(labelMode ? QString(tr("Label Printing")) : reportName);
    m_preview.ScrollBox = m_area;
    m_preview.StreamMode = engine::smUser;
    m_preview.setStream(m_stream);
    m_preview.setZoomFactor(100);
    m_preview.MarginPercent = 2.5;
    m_preview.OnZoomChange = [this](engine::TBaseReport&) { zoomChanged(); };
    m_preview.OnPageChange = [this](engine::TBaseReport&) { pageChanged(); };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* menus = new QMenuBar(this);
    layout->setMenuBar(menus);
    QMenu* file = menus->addMenu(tr("&File"));
    addCommand(file, "PrintPage", tr("&Print Page"), QKeySequence("Ctrl+P"), [this] { PrintPage(); });
    addCommand(file, "PrintReport", tr("Print &Report"), QKeySequence("Ctrl+R"), [this] { PrintReport(); });
    addCommand(file, "PrintRange", tr("Print Ran&ge"), QKeySequence("Ctrl+G"), [this] { PrintRange(); });
    addCommand(file, "PrinterSetup", tr("Printer &Setup"), QKeySequence("Ctrl+S"),
               [this] { m_context.prompter.printerSetup(this); });
    // The recording saved as a PDF file, for users without a printer.
    addCommand(file, "SaveAsPdf", tr("Save as P&DF..."), {}, [this] { SaveAsPdf(); });
    addCommand(file, "Exit", tr("E&xit"), QKeySequence("Ctrl+X"), [this] { reject(); });
    QMenu* navigate = menus->addMenu(tr("&Navigate"));
    addCommand(navigate, "PreviousPage", tr("&Previous Page"), QKeySequence("Ctrl+E"), [this] { m_preview.PreviousPage(); });
    addCommand(navigate, "NextPage", tr("&Next Page"), QKeySequence("Ctrl+N"), [this] { m_preview.NextPage(); });
    addCommand(navigate, "FirstPage", tr("&First Page"), QKeySequence("Ctrl+F"), [this] { m_preview.ShowPage(1); });
    addCommand(navigate, "LastPage", tr("&Last Page"), QKeySequence("Ctrl+L"),
               [this] { m_preview.ShowPage(m_preview.PageCount()); });
    QMenu* view = menus->addMenu(tr("&View"));
    QAction* color = addCommand(view, "UseColor", tr("Use Color"), QKeySequence("Ctrl+C"), [this] { UseColor(); });
    color->setCheckable(true);
    color->setChecked(true); // the preview opens in color
    QMenu* zoomIn = view->addMenu(tr("Zoom &In"));
    zoomIn->menuAction()->setShortcut(QKeySequence("Ctrl+I"));
    for (const auto& [caption, factor] : std::vector<std::pair<const char*, double>>{{"&1 : 1", 100}, {"&2 : 1", 200}})
        addCommand(zoomIn, QString("ZoomIn") + caption[1], caption, {}, [this, f = factor] { m_preview.setZoomFactor(f); });
    QMenu* zoomOut = view->addMenu(tr("Zoom &Out"));
    zoomOut->menuAction()->setShortcut(QKeySequence("Ctrl+O"));
    for (const auto& [caption, factor] : std::vector<std::pair<const char*, double>>{
             {"1 : &1", 100}, {"1 : &2", 50}, {"1 : &3", 100.0 / 3}, {"1 : &4", 25}, {"1 : &5", 20}})
        addCommand(zoomOut, QString("ZoomOut") + caption[5], caption, {}, [this, f = factor] { m_preview.setZoomFactor(f); });
    addCommand(view, "ZoomPageWidth", tr("Zoom &Page Width"), QKeySequence("Ctrl+Z"),
               [this] { m_preview.setZoomFactor(m_preview.PageWidthZoom()); });
    addCommand(view, "ZoomWholePage", tr("Zoom &Whole Page"), QKeySequence("Ctrl+W"),
               [this] { m_preview.setZoomFactor(m_preview.WholePageZoom()); });

    // The tool bar: buttons with their hints, the zoom and page fields, the position.
    auto* tools = new QHBoxLayout;
    tools->setContentsMargins(4, 2, 4, 2);
    const std::vector<std::tuple<const char*, QStyle::StandardPixmap, std::function<void()>>> buttons = {
        {QT_TR_NOOP("Zoom In"), QStyle::SP_ArrowUp, [this] { m_preview.ZoomIn(); }},
        {QT_TR_NOOP("Zoom Out"), QStyle::SP_ArrowDown, [this] { m_preview.ZoomOut(); }},
        {QT_TR_NOOP("Zoom Page Width"), QStyle::SP_TitleBarMaxButton, [this] { m_preview.setZoomFactor(m_preview.PageWidthZoom()); }},
        {QT_TR_NOOP("Zoom Whole Page"), QStyle::SP_TitleBarNormalButton, [this] { m_preview.setZoomFactor(m_preview.WholePageZoom()); }},
        {QT_TR_NOOP("Prev Page"), QStyle::SP_ArrowLeft, [this] { m_preview.PreviousPage(); }},
        {QT_TR_NOOP("Next Page"), QStyle::SP_ArrowRight, [this] { m_preview.NextPage(); }},
        {QT_TR_NOOP("Print Page"), QStyle::SP_DialogSaveButton, [this] { PrintPage(); }},
        {QT_TR_NOOP("Done"), QStyle::SP_DialogCloseButton, [this] { reject(); }},
    };
    for (const auto& [hint, glyph, work] : buttons) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString(hint).remove(' '));
        button->setToolTip(tr(hint));
        button->setAccessibleName(tr(hint));
        button->setIcon(style()->standardIcon(glyph));
        connect(button, &QToolButton::clicked, this, work);
        tools->addWidget(button);
        if ((QString(hint) == "Prev Page" || QString(hint) == "Next Page") && labelMode)
            button->setEnabled(false);
    }
    tools->addWidget(new QLabel(tr("Zoom %"), this));
    ZoomEdit = new QLineEdit(this);
    ZoomEdit->setObjectName("ZoomEdit");
    ZoomEdit->setAccessibleName(tr("Zoom %"));
    ZoomEdit->setMaxLength(10);
    ZoomEdit->setFixedWidth(60);
    tools->addWidget(ZoomEdit);
    tools->addWidget(new QLabel(tr("Page #"), this));
    PageEdit = new QLineEdit(this);
    PageEdit->setObjectName("PageEdit");
    PageEdit->setAccessibleName(tr("Page #"));
    PageEdit->setFixedWidth(50);
    tools->addWidget(PageEdit);
    PageLabel = new QLabel(tr("Page %1 of %2").arg(1).arg(1), this);
    PageLabel->setObjectName("PageLabel");
    tools->addWidget(PageLabel);
    tools->addStretch(1);
    layout->addLayout(tools);
    m_area->setAccessibleName(tr("Pages of the report"));
    layout->addWidget(m_area, 1);
    connect(ZoomEdit, &QLineEdit::editingFinished, this, &TMyPreview::ZoomEditExit);
    connect(PageEdit, &QLineEdit::editingFinished, this, &TMyPreview::PageEditExit);
    // The window's own short-cuts (Ctrl+X Exit, Ctrl+C Use Color) win over the boxes' Cut and Copy.
    ZoomEdit->installEventFilter(this);
    PageEdit->installEventFilter(this);

    if (labelMode) {
        // A label job is one sheet: nothing to navigate, no range to choose.
        navigate->setEnabled(false);
        for (const char* name : {"PreviousPage", "NextPage", "FirstPage", "LastPage"})
            action(name)->setEnabled(false); // their short-cuts too
        action("PrintReport")->setEnabled(false);
        action("PrintRange")->setEnabled(false);
    }
    ui::mendContrast(this); // the grey around the pages under a dark desktop's light text
    const QRect& bounds = m_context.bounds;
    resize(bounds.width() > 0 ? bounds.width() : 640, bounds.height() > 0 ? bounds.height() : 480);
    move(bounds.topLeft());
}

TMyPreview::~TMyPreview()
{
    if (m_opened)
        m_preview.ClosePreview();
}

QAction* TMyPreview::addCommand(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut,
                                std::function<void()> work)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    connect(a, &QAction::triggered, this, std::move(work));
    addAction(a); // short-cuts work wherever the focus is in the window
    m_actions[name] = a;
    return a;
}

QAction* TMyPreview::action(const QString& name) const
{
    const auto it = m_actions.find(name);
    return it == m_actions.end() ? nullptr : it->second;
}

void TMyPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The first showing opens the recording at page 1; later ones change nothing.
    if (!m_opened) {
        m_opened = true;
        m_preview.OpenPreview();
    }
}

void TMyPreview::done(int result)
{
    if (m_opened) {
        m_preview.ClosePreview();
        m_opened = false;
    }
    m_context.bounds = QRect(pos(), size());
    QDialog::done(result);
}

bool TMyPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const auto& [name, action] : m_actions)
            if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == pressed)
                return true; // not taken by the box: the action's short-cut runs
    }
    return QDialog::eventFilter(watched, event);
}

void TMyPreview::zoomChanged()
{
    ZoomEdit->setText(QString::number(m_preview.ZoomFactor(), 'f', 1).left(10));
}

void TMyPreview::pageChanged()
{
    PageEdit->setText(QString::number(m_preview.CurrentPage()));
    PageLabel->setText(tr("Page %1 of %2").arg(m_preview.PagePosition()).arg(m_preview.PageCount()));
}

void TMyPreview::ZoomEditExit()
{
    bool ok = false;
    const double zoom = ZoomEdit->text().trimmed().toDouble(&ok);
    if (ok && zoom != m_preview.ZoomFactor())
        m_preview.setZoomFactor(zoom); // held to 10..200 by the preview
    zoomChanged();
}

void TMyPreview::PageEditExit()
{
    bool ok = false;
    const int page = PageEdit->text().trimmed().toInt(&ok);
    if (ok && page != m_preview.CurrentPage())
        m_preview.ShowPage(page);
    pageChanged();
}

bool TMyPreview::busy()
{
    if (m_printer && m_printer->Printing()) {
        m_context.prompter.message(this, tr("Error"), tr("Previous print job has not yet finished.  Try again later."),
                                   app::Prompter::Icon::Error);
        return true;
    }
    return false;
}

void TMyPreview::print(int first, int last)
{
    // Printed on the system's default printer; without one the engine says so.
    const std::unique_ptr<QPrinter> printer = engine::defaultPrinter();
    std::unique_ptr<engine::QPrinterDevice> device = printer ? std::make_unique<engine::QPrinterDevice>(printer.get()) : nullptr;
    replay(device.get(), first, last, tr("Printing page %1 of %2"));
}

void TMyPreview::replay(engine::PrintDevice* device, int first, int last, const QString& doing)
{
    m_printer = std::make_unique<engine::TFilePrinter>(device);
    m_printer->setTitle(windowTitle()); // the report's name: the PDF's title, the printer queue's job
    m_printer->StreamMode = engine::smUser;
    m_printer->setStream(m_stream);
    m_printer->setErrorHandler(
        [this](const QString& text) { m_context.prompter.message(this, tr("Error"), text, app::Prompter::Icon::Error); });
    const int pages = m_preview.PageCount();
    const int from = std::max(first, 1);
    const int to = last < 1 || last > pages ? pages : last;
    QProgressDialog progress(this);
    progress.setWindowTitle(windowTitle());
    progress.setMinimumWidth(progress.fontMetrics().horizontalAdvance(windowTitle()) + 160); // the caption whole
    progress.setWindowModality(Qt::WindowModal); // the window repaints, its commands wait
    progress.setCancelButtonText(tr("Cancel"));
    progress.setRange(0, std::max(to - from + 1, 1));
    progress.setMinimumDuration(300);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    // The box is brought up to date ten times a second rather than at every
    // page: each update lets the windows paint, which costs more than a page.
    QElapsedTimer sinceUpdate;
    m_printer->setStatusLabel([&](const QString&) {
        if (sinceUpdate.isValid() && sinceUpdate.elapsed() < 100)
            return;
        sinceUpdate.start();
        const int page = m_printer->PageNumber();
        progress.setLabelText(doing.arg(page).arg(to));
        progress.setValue(std::clamp(page - from, 0, progress.maximum())); // lets the window paint
        if (progress.wasCanceled())
            m_printer->CancelJob();
    });
    m_printer->PrintPages(first, last, 1);
    m_printer.reset();
}
void TMyPreview::PrintPage()
{
    if (!busy())
        print(m_preview.CurrentPage(), m_preview.CurrentPage());
}

void TMyPreview::PrintReport()
{
    if (!busy())
        print(0, 0);
}

void TMyPreview::PrintRange()
{
    TPrintRange range(m_context.prompter, m_preview.PageCount(), this);
    m_context.runDialog(range);
    if (range.printRequested() && !busy())
        print(range.firstPage(), range.lastPage());
}

// The report's name made fit for a file name: characters no file system
// takes become blanks.
static QString pdfNameFor(const QString& reportName)
{
    QString name = reportName.trimmed();
    for (QChar& c : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.category() == QChar::Other_Control)
            c = u' ';
    name = name.simplified();
    return (name.isEmpty() ? QStringLiteral("Report") : name) + QStringLiteral(".pdf");
}

void TMyPreview::SaveAsPdf()
{
    if (busy())
        return;
    const QString folder = m_context.pdfFolder && !m_context.pdfFolder->isEmpty() ? *m_context.pdfFolder : QDir::homePath();
    app::Prompter::FileDialog dialog{tr("Save Report As PDF"), tr("PDF Files (*.pdf *.PDF)"), "pdf", folder, true};
    dialog.fileName = QDir(folder).filePath(pdfNameFor(windowTitle()));
    const QString name = m_context.prompter.saveFileName(this, dialog);
    if (name.isEmpty())
        return;
    if (m_context.pdfFolder)
        *m_context.pdfFolder = QFileInfo(name).absolutePath();
    engine::PdfDevice pdf(name);
    replay(&pdf, 0, 0, tr("Saving page %1 of %2"));
}

void TMyPreview::UseColor()
{
    m_preview.ClosePreview();
    m_preview.Monochrome = !m_preview.Monochrome;
    action("UseColor")->setChecked(!m_preview.Monochrome);
    m_preview.OpenPreview();
}

} // namespace report_ui
