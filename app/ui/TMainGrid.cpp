// The main window's viewer: the grid's set-up from the settings, the count,
// the button rows, the grid and the navigator kept on the current record,
// the record commands and the pick lists the grid edits with.

#include "TMain.h"

#include "CoverView.h"
#include "TMainShared.h"

#include "CollectionFile.h"
#include "HelpViewer.h"
#include "MyNavigator.h"
#include "PickList.h"
#include "TMyEdit.h"
#include "TMySearch.h"
#include "TMyLocateDialog.h"
#include "TMySortOrder.h"
#include "TSearchAndReplace.h"
#include "TMyEditBox.h"
#include "TTipOfDay.h"
#include "ViewerGrid.h"
#include "ViewerModel.h"
#include "Cp1252.h"
#include "DbError.h"
#include "IniFile.h"
#include "ProgramFolders.h"
#include "Schema.h"
#include "SortOrder.h"
#include "WindowLook.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>


namespace app {

using namespace main_window;

// ---------------------------------------------------------------- the viewer

namespace {
QFont fontOf(const FontSetting& f)
{
    QFont font(f.name, f.size);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeout);
    return font;
}

QString cssColor(int setting)
{
    return ui::colorFromSetting(setting).name();
}
} // namespace

void TMain::SetViewerOptions()
{
    const Settings& s = m_settings;
    // 1. Grid options.
    m_grid->verticalHeader()->setVisible(s.gridRowIndicator);
    m_grid->horizontalHeader()->setVisible(s.gridShowTitles);
    m_grid->setLines(s.gridRowLines, s.gridColumnLines);
    if (s.gridFieldEditing) {
        m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
        m_grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                                | QAbstractItemView::SelectedClicked);
    } else {
        m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_model->setFieldEditing(s.gridFieldEditing);
    // 2 and 3. Fonts and colors.
    const QFont gridFont = fontOf(s.gridFont);
    m_grid->setFont(gridFont);
    m_grid->setStyleSheet("QTableView { background-color: " + cssColor(s.gridCellColor)
                          + "; color: " + cssColor(s.gridFont.color) + "; }");
    QHeaderView* titles = m_grid->horizontalHeader();
    titles->setFont(fontOf(s.gridTitleFont));
    const Qt::Alignment alignment = s.gridTitleAlignment == 1 ? Qt::AlignLeft
        : s.gridTitleAlignment == 3                           ? Qt::AlignRight
                                                              : Qt::AlignHCenter;
    titles->setDefaultAlignment(alignment | Qt::AlignVCenter);
    titles->setStyleSheet("QHeaderView::section { background-color: " + cssColor(s.gridTitleBackground)
                          + "; color: " + cssColor(s.gridTitleFont.color) + "; }");
    // 4. Columns: viewer positions 1..40 in turn; an unclaimed position takes field 1.
    std::vector<int> shown;
    for (int f = 0; f < 40; ++f)
        if (s.fields[static_cast<size_t>(f)].display)
            shown.push_back(f);
    size_t k = 0;
    for (int j = 1; j <= 40; ++j) {
        int field = 0;
        for (int f = 0; f < 40; ++f) {
            if (s.fields[static_cast<size_t>(f)].order == j) {
                field = f;
                break;
            }
        }
        if (!s.fields[static_cast<size_t>(field)].display)
            continue;
        auto at = std::find(shown.begin(), shown.end(), field);
        const int moving = *at;
        shown.erase(at);
        shown.insert(shown.begin() + static_cast<long>(std::min(k, shown.size())), moving);
        ++k;
    }
    std::vector<ViewerModel::Column> columns;
    for (int f : shown) {
        const int tableField = m_table.active() ? m_table.fieldIndex(db::schemaField(f + 1).name) : f;
        if (tableField >= 0)
            columns.push_back({tableField, s.fields[static_cast<size_t>(f)].displayName});
    }
    m_model->setColumns(columns);
    const int charWidth = QFontMetrics(gridFont).averageCharWidth();
    for (size_t c = 0; c < shown.size() && c < columns.size(); ++c)
        m_grid->setColumnWidth(static_cast<int>(c), s.fields[static_cast<size_t>(shown[c])].width * charWidth + 8);
    m_grid->verticalHeader()->setDefaultSectionSize(QFontMetrics(gridFont).height() + 6);
    // The indicator column keeps room for its mark: a header sizes itself from
    // its first and last hundred rows only, and would shrink to nothing while
    // the current record lies between them (as after an import).
    QHeaderView* rows = m_grid->verticalHeader();
    rows->setMinimumWidth(QFontMetrics(rows->font()).horizontalAdvance(QChar(0x25B6))
                          + 2 * rows->style()->pixelMetric(QStyle::PM_HeaderMargin) + 4);
    m_model->reload();
    syncGridToTable();
}

void TMain::SetButtonBar(int mode)
{
    if (mode < 1 || mode > 3)
        mode = 1;
    m_settings.buttonBar = mode;
    for (int m = 1; m <= 3; ++m)
        m_buttonBarItems[static_cast<size_t>(m - 1)]->setChecked(m == mode);
    m_speedPanel->setVisible(mode == 1);
    m_letteredPanel->setVisible(mode == 2);
    m_navigatorLabel->setVisible(mode == 2);
    // The navigator sits at the right of the speed buttons, under its label
    // beside the lettered buttons, or at the right of the viewer's title.
    if (mode == 1)
        m_speedRow->addWidget(m_navigator);
    else if (mode == 2)
        m_navigatorBox->addWidget(m_navigator);
    else
        m_headerRow->addWidget(m_navigator);
    m_navigator->show();
}

void TMain::syncGridToTable()
{
    if (m_syncing)
        return;
    m_syncing = true;
    const int row = m_model->currentRow();
    if (row >= 0)
        m_model->ensureRow(row);
    if (row >= 0 && m_model->columnCount() > 0) {
        const QModelIndex index = m_model->index(row, std::max(0, m_grid->currentIndex().column()));
        m_grid->setCurrentIndex(index);
        m_grid->scrollTo(index);
    } else if (row >= 0) {
        m_grid->verticalHeader()->viewport()->update();
    }
    m_syncing = false;
    followCoverPane();
}

void TMain::gridRowChosen(int row)
{
    if (m_syncing || row < 0 || !m_table.active() || m_table.state() != db::Table::State::Browse)
        return;
    m_syncing = true;
    try {
        m_table.gotoPosition(static_cast<uint32_t>(row));
    } catch (const std::exception& e) {
        showEngineError(e);
    }
    m_grid->verticalHeader()->viewport()->update();
    m_syncing = false;
    followCoverPane();
}

void TMain::showCoverPane()
{
    if (QAction* toggle = action("ShowCover"))
        toggle->setChecked(m_settings.showCover);
    m_coverPane->setVisible(m_settings.showCover);
    followCoverPane(true);
}

void TMain::followCoverPane(bool now)
{
    if (!m_coverPane->isVisibleTo(this))
        return;
    const bool onARecord = m_table.active() && !m_table.isEmpty();
    const int year = onARecord ? m_table.fieldIndex("Year") : -1;
    m_coverPane->showFilm(m_table.active() ? m_table.filePath() : std::string(),
                          onARecord ? m_table.current().text(0) : std::string(),
                          year >= 0 ? m_table.current().text(year) : std::string(), now);
}

void TMain::navigatorClicked(int button)
{
    runCommand([this, button] {
        switch (button) {
        case MyNavigator::First: m_table.first(); break;
        case MyNavigator::Prior: m_table.prior(); break;
        case MyNavigator::Next: m_table.next(); break;
        case MyNavigator::Last: m_table.last(); break;
        case MyNavigator::Insert:
            if (m_table.state() != db::Table::State::Browse)
                m_table.post();
            m_table.insert();
            break;
        case MyNavigator::Delete: DoDelete(); return;
        case MyNavigator::Edit:
            if (!m_table.isEmpty() && m_table.state() == db::Table::State::Browse)
                m_table.edit();
            break;
        case MyNavigator::Post:
            if (m_table.state() != db::Table::State::Browse)
                m_table.post();
            break;
        case MyNavigator::Cancel:
            if (m_table.state() != db::Table::State::Browse)
                m_table.cancel();
            break;
        case MyNavigator::Refresh: m_table.refresh(); break;
        }
    });
    // Any click refreshes the record count.
    DisplayCount();
}

void TMain::DoDelete()
{
    if (!m_table.active() || m_table.isEmpty())
        return; // nothing to delete, nothing to ask
    // The question names the record, so that nobody deletes one they did not mean.
    const int titleField = m_table.fieldIndex("Title");
    const QString title = titleField >= 0 ? QString::fromStdString(m_table.text(titleField)).trimmed() : QString();
    const QString which = title.isEmpty() ? tr("Record %1, which has no title").arg(m_table.recNo())
                                          : tr("\u201C%1\u201D").arg(title);
    if (m_prompter.ask(this, tr("Confirm"), tr("Delete this record?") + "\n\n" + which, Prompter::Buttons::YesNo,
                       Prompter::Answer::No)
            == Prompter::Answer::Yes
        && m_table.active() && !m_table.isEmpty())
        runCommand([this] { m_table.deleteRecord(); });
    DisplayCount();
}

void TMain::DoHelp()
{
    showHelp(this, "Contents");
}

// ---------------------------------------------------------------- pick lists

void TMain::loadGridLists()
{
    m_gridLists.clear();
    for (const db::PickListInfo& list : db::pickLists())
        if (*list.fieldName)
            m_gridLists.insert(list.code, m_pickLists.readFile(list.code));
}

void TMain::AddToGridList(int code, const QString& text)
{
    auto it = m_gridLists.find(code);
    if (it != m_gridLists.end() && !it->contains(text))
        it->append(text);
}

void TMain::DoAdd()
{
    m_editor->setMode(edit::TMyEdit::NewMode);
    m_runDialog(*m_editor);
    DisplayCount();
}

void TMain::DoEdit()
{
    if (!m_table.active() || m_table.isEmpty())
        return;
    m_editor->setMode(edit::TMyEdit::EditMode);
    m_runDialog(*m_editor);
    DisplayCount();
}

void TMain::DoCopy()
{
    if (!m_table.active() || m_table.isEmpty())
        return;
    m_editor->setMode(edit::TMyEdit::CopyMode);
    m_runDialog(*m_editor);
    DisplayCount();
}

const QStringList* TMain::gridList(int field) const
{
    if (!m_table.active() || field < 0 || field >= m_table.fieldCount())
        return nullptr;
    const int code = db::pickListCodeForField(m_table.field(field).name);
    const auto it = m_gridLists.find(code);
    return code == 0 || it == m_gridLists.end() ? nullptr : &it.value();
}

void TMain::setGridList(int code, const QStringList& entries)
{
    m_gridLists.insert(code, entries);
}

void TMain::EditAList(int code)
{
    const db::PickListInfo& info = db::pickList(code);
    const bool fileOnly = code == 14 || code == 17;
    const QStringList entries = fileOnly ? m_pickLists.readFile(code) : m_editor->listOf(code);
    db_ui::TMyEditBox editor(m_prompter, QCoreApplication::translate("db", info.captionName), info.entryLength, entries, this);
    ui::applyWindowLook(&editor, m_settings, ConfigureWindowColors, m_scaleFactor);
    if (m_runDialog(editor) != QDialog::Accepted)
        return;
    const QStringList edited = editor.entries();
    if (fileOnly) {
        m_pickLists.writeFile(code, edited);
        return;
    }
    // The record editor's master copy and the grid's copy both take the new list.
    m_editor->setList(code, edited);
    setGridList(code, edited);
}

} // namespace app
