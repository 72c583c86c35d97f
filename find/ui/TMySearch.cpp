#include "TMySearch.h"
#include "CellKeys.h"

#include "Cp1252.h"
#include "HelpViewer.h"
#include "Schema.h"
#include "TSearchOptions.h"
#include "WindowLook.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace find {

namespace {
constexpr int kOptionsColumn = 1;
constexpr int kCriteriaColumn = 2;

QString displayName(const app::Settings& settings, int position)
{
    return settings.fields[static_cast<size_t>(position - 1)].displayName;
}
} // namespace

TMySearch::TMySearch(SearchContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
    , m_grid(new QTableWidget(db::kSchemaFieldCount, 3, this))
{
    m_operators.fill(1);
    if (!m_context.runDialog)
        m_context.runDialog = [](QDialog& d) { return d.exec(); };
    setWindowTitle(tr("Search"));
    m_grid->setObjectName("SearchGrid");
    m_grid->setAccessibleName(tr("Search items"));
    m_grid->verticalHeader()->setVisible(false);
    m_grid->setItemDelegateForColumn(kCriteriaColumn, new SearchCellDelegate(this));
    m_grid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_grid->setTabKeyNavigation(true);
    for (int position = 1; position <= db::kSchemaFieldCount; ++position) {
        auto* name = new QTableWidgetItem(" " + displayName(m_context.settings, position));
        name->setFlags(Qt::ItemIsEnabled);
        m_grid->setItem(position - 1, 0, name);
        const bool options = rowClass(position) != RowClass::Text || isValueListRow(position);
        auto* dots = new QTableWidgetItem(options ? "..." : "");
        dots->setFlags(Qt::ItemIsEnabled);
        dots->setTextAlignment(Qt::AlignCenter);
        if (options)
            dots->setBackground(QColor(192, 192, 192));
        m_grid->setItem(position - 1, kOptionsColumn, dots);
        m_grid->setItem(position - 1, kCriteriaColumn, new QTableWidgetItem);
    }
    const double scale = m_context.scaleFactor;
    m_grid->setColumnWidth(0, static_cast<int>(200 * scale));
    m_grid->setColumnWidth(1, static_cast<int>(20 * scale));
    m_grid->setColumnWidth(2, static_cast<int>(378 * scale));
    m_grid->setHorizontalHeaderItem(0, new QTableWidgetItem(tr(" FIELD")));
    m_grid->setHorizontalHeaderItem(1, new QTableWidgetItem(""));
    setTitle();
    connect(m_grid, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column == kOptionsColumn && m_grid->item(row, column)->text() == "...")
            OptionsClick(row + 1);
    });
    ui::pressCellsWithSpace(m_grid, [this](int row, int column) {
        const bool options = column == kOptionsColumn && m_grid->item(row, column) && m_grid->item(row, column)->text() == "...";
        if (options)
            OptionsClick(row + 1);
        return options;
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(tr("&Ok"), this);
    auto* exit = new QPushButton(tr("E&xit"), this);
    auto* clear = new QPushButton(tr("&Clear Search"), this);
    m_more = new QPushButton(tr("&Find More"), this);
    auto* help = new QPushButton(tr("&Help"), this);
    for (QPushButton* b : {ok, exit, clear, m_more, help}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    ok->setDefault(true); // Enter, in the grid too, presses Ok as in the other windows
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &TMySearch::OkButtonClick);
    connect(exit, &QPushButton::clicked, this, &TMySearch::ExitButtonClick);
    connect(clear, &QPushButton::clicked, this, &TMySearch::ClearSearch);
    connect(m_more, &QPushButton::clicked, this, &TMySearch::MoreButtonClick);
    app::setHelpKeyword(this, "Search Window"); // F1 opens the same section
    connect(help, &QPushButton::clicked, this, [this] { app::showHelp(this, "Search Window"); });
    m_grid->setCurrentCell(0, kCriteriaColumn); // typing starts in the criteria, not on a field name
    resize(640, 440); // the designed size: the window look scales it once
    ui::applyWindowLook(this, m_context.settings, app::SearchWindowColors, scale);
    if (y() > 10)
        move(x(), y() - 10);
}

void TMySearch::setTitle()
{
    m_grid->setHorizontalHeaderItem(kCriteriaColumn,
                                    new QTableWidgetItem(tr(" SEARCH CRITERIA    (Level %1)").arg(m_level)));
}

QString TMySearch::criteria(int position) const
{
    return m_grid->item(position - 1, kCriteriaColumn)->text();
}

void TMySearch::setCriteria(int position, const QString& text)
{
    m_grid->item(position - 1, kCriteriaColumn)->setText(text);
}

QString TMySearch::editMask(int position) const
{
    const RowClass kind = rowClass(position);
    if (kind == RowClass::Text)
        return {};
    // The mask of each operator, with the regional date separator; blanks
    // may stay where the mask allows them.
    const QString s = QString(QChar::fromLatin1(db::editTextFormat().dateSeparator));
    const QString date = "00" + s + "00" + s + "9999";
    const QString number = "xxxxxxxxx";
    switch (m_operators[static_cast<size_t>(position - 1)]) {
    case 2: return "\\> " + (kind == RowClass::Date ? date : number) + ";_";
    case 3: return "\\< " + (kind == RowClass::Date ? date : number) + ";_";
    case 4:
        return kind == RowClass::Date ? "\\> " + date + " \\A\\N\\D \\< " + date + ";_"
                                      : "\\> " + number + " \\A\\N\\D \\< xxxxxxxx;_";
    default: return "= " + (kind == RowClass::Date ? date : number) + ";_";
    }
}

void TMySearch::OptionsClick(int position)
{
    const QString name = displayName(m_context.settings, position);
    if (rowClass(position) != RowClass::Text) {
        TSearchOptions chooser(name, TSearchOptions::kOperators, rowOperator(position) - 1, this);
        lookOf(chooser);
        if (m_context.runDialog(chooser) != QDialog::Accepted || chooser.selectedRow() < 0)
            return;
        const int was = rowOperator(position);
        m_operators[static_cast<size_t>(position - 1)] = chooser.selectedRow() + 1;
        // The row takes the new operator's mask and keeps the values typed under the old one.
        setCriteria(position, withOperator(criteria(position), was, rowOperator(position)));
        m_grid->setCurrentCell(position - 1, kCriteriaColumn);
        return;
    }
    TSearchOptions chooser(name, m_context.valuesFor ? m_context.valuesFor(position) : QStringList(), -1, this);
    lookOf(chooser);
    if (m_context.runDialog(chooser) != QDialog::Accepted)
        return;
    if (chooser.selectedRow() >= 0)
        setCriteria(position, chooser.selectedText());
    m_grid->setCurrentCell(position - 1, kCriteriaColumn);
}

void TMySearch::lookOf(QDialog& chooser) const
{
    // The options chooser wears the search window's colors, fonts and scale, centred.
    ui::applyWindowLook(&chooser, m_context.settings, app::SearchWindowColors, m_context.scaleFactor);
}

QString TMySearch::withOperator(const QString& text, int from, int to)
{
    QString first = text, second;
    if (from == 4) {
        const int split = text.indexOf("AND");
        first = split < 0 ? text : text.left(split);
        second = split < 0 ? QString() : text.mid(split + 3);
        second.remove(second.indexOf('<'), second.contains('<') ? 1 : 0);
    }
    for (const QChar sign : {QChar('='), QChar('>'), QChar('<')}) {
        const int at = first.indexOf(sign);
        if (at >= 0 && first.left(at).trimmed().isEmpty()) {
            first.remove(at, 1);
            break;
        }
    }
    first = first.trimmed();
    second = second.trimmed();
    if (first.isEmpty() && second.isEmpty())
        return {};
    switch (to) {
    case 2: return "> " + first;
    case 3: return "< " + first;
    case 4: return "> " + first + " AND < " + second;
    default: return "= " + first;
    }
}

void TMySearch::clearCriteria()
{
    for (int position = 1; position <= db::kSchemaFieldCount; ++position)
        setCriteria(position, QString());
}

bool TMySearch::SaveFields()
{
    // A cell still being typed counts as entered.
    if (QWidget* editor = m_grid->indexWidget(m_grid->currentIndex())) {
        QAbstractItemDelegate* delegate = m_grid->itemDelegateForColumn(kCriteriaColumn);
        emit delegate->commitData(editor);
        emit delegate->closeEditor(editor);
    }
    CriteriaLevel rows;
    for (int position = 1; position <= db::kSchemaFieldCount; ++position)
        rows[static_cast<size_t>(position - 1)] = {criteria(position).toStdString(), rowOperator(position)};
    const SaveResult result = saveLevel(rows, m_items);
    switch (result.kind) {
    case SaveResult::Saved: return true;
    case SaveResult::TooMany:
        m_context.prompter.message(this, tr("Error"), QCoreApplication::translate("find", kTooManyItems).arg(kMaxSearchItems),
                                   app::Prompter::Icon::Error);
        clearCriteria();
        m_level = 1;
        m_more->setEnabled(true);
        setTitle();
        return false;
    case SaveResult::Invalid:
        m_context.prompter.message(this, tr("Error"), QCoreApplication::translate("find", kInvalidCriteria), app::Prompter::Icon::Error);
        m_grid->setCurrentCell(result.row - 1, kCriteriaColumn);
        return false;
    case SaveResult::NoCriteria:
        m_context.prompter.message(this, tr("Error"), QCoreApplication::translate("find", kNoCriteria), app::Prompter::Icon::Error);
        m_grid->setFocus();
        return false;
    }
    return false;
}

void TMySearch::MoreButtonClick()
{
    if (SaveFields()) {
        clearCriteria();
        ++m_level;
        setTitle();
        if (m_level >= kMaxLevels)
            m_more->setEnabled(false);
    }
    m_grid->setFocus();
}

bool TMySearch::Doit()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool found = m_context.doit ? m_context.doit(m_items) : false;
    QApplication::restoreOverrideCursor();
    return found;
}

void TMySearch::OkButtonClick()
{
    // A cell still being typed in (Enter pressed Ok) is taken as it stands.
    if (QWidget* editor = m_grid->indexWidget(m_grid->currentIndex()))
        m_grid->itemDelegate()->setModelData(editor, m_grid->model(), m_grid->currentIndex());
    m_more->setEnabled(true);
    if (!SaveFields())
        return;
    if (Doit()) {
        accept();
        return;
    }
    m_context.prompter.message(this, tr("Notice"), QCoreApplication::translate("find", kNoMatches), app::Prompter::Icon::Information);
    ClearSearch();
}

void TMySearch::ClearSearch()
{
    clearCriteria();
    m_items.clear();
    m_level = 1;
    m_more->setEnabled(true);
    setTitle();
    m_grid->setFocus();
}

void TMySearch::ExitButtonClick()
{
    // The main window's search stays as it was: its items change only on Ok.
    m_more->setEnabled(true);
    reject();
}

SearchCellDelegate::SearchCellDelegate(TMySearch* search)
    : QStyledItemDelegate(search)
    , m_search(search)
{
}

QWidget* SearchCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    auto* editor = new QLineEdit(parent);
    const int position = index.row() + 1;
    const QString mask = m_search->editMask(position);
    if (mask.isEmpty())
        editor->setMaxLength(db::schemaField(position).width); // at most the field's width
    else
        editor->setInputMask(mask);
    return editor;
}

bool SearchCellDelegate::eventFilter(QObject* object, QEvent* event)
{
    // Qt's delegate commits a masked line only when the mask is filled; a
    // two-digit year or a day without its leading zero would vanish.
    auto* line = qobject_cast<QLineEdit*>(object);
    bool leaving = event->type() == QEvent::FocusOut;
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        leaving = key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Enter || key == Qt::Key_Return;
    }
    if (line && leaving && !line->inputMask().isEmpty() && !line->hasAcceptableInput())
        emit commitData(line);
    const bool enter = event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier
                       && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return || static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    const bool handled = QStyledItemDelegate::eventFilter(object, event);
    // Enter in a cell presses Ok, as in the other windows (the view keeps the key from the dialog
    // while a cell is edited); Ok takes the cell as it stands.
    if (enter && line)
        QTimer::singleShot(0, m_search, [search = m_search] { search->OkButtonClick(); });
    return handled;
}

void SearchCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    static_cast<QLineEdit*>(editor)->setText(index.data(Qt::EditRole).toString());
}

void SearchCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* line = static_cast<QLineEdit*>(editor);
    // Blanks of the mask read as blanks, as the typed criteria expect.
    const QString text = line->inputMask().isEmpty() ? line->text() : line->displayText().replace('_', ' ');
    model->setData(index, text, Qt::EditRole);
}

} // namespace find
