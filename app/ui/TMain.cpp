// The main window: its controls, menus and buttons, and the program's start
// and end (create, show, close). Its commands are in TMainDatabase.cpp,
// TMainGrid.cpp and TMainOptions.cpp.

#include "TMain.h"

#include "CoverView.h"

#include "CoreText.h"
#include "LockWaitNotice.h"
#include "TMainShared.h"

#include "CollectionFile.h"
#include "HelpViewer.h"
#include "SpeedButtonIcons.h"
#include "DesktopAppearance.h"
#include "ReelkeeperVersion.h"
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
#include "ReportDefinitions.h"
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
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>


namespace app {

using namespace main_window;

TMain::TMain(Prompter& prompter, bool browseMode, QWidget* parent)
    : QMainWindow(parent)
    , m_prompter(prompter)
    , m_browseMode(browseMode)
    , m_settings(Settings::defaults(startFolder()))
    , m_pickLists(programFolder())
    , m_screenSize([] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->size() : QSize(640, 480);
    })
    , m_runDialog([](QDialog& dialog) { return dialog.exec(); })
{
    ui::mendApplicationPalette();
    ui::nameControlsOfEveryWindow(this); // a screen reader calls each control by its label
    answerF1(this);
    setHelpKeyword(this, "Main Window");
    setWindowTitle(kCaption);
    buildMenus();
    buildWindow();
    // The filter only reads the search items, which stay put while the table counts.
    m_table.setFilter([this](const db::Record& record) { return MyTableFilter(record); }, true);
    // A change or a read that waits for another copy of the program says so.
    m_lockWaitNotice = std::make_unique<LockWaitNotice>(this);
    m_table.setLockWait([this](bool waiting) { m_lockWaitNotice->waiting(waiting); });
}

TMain::~TMain()
{
    // A pass still running reads the collection: it stops before the window goes.
    cancelQuickFilterJob();
    if (m_quickFilterWorker)
        m_quickFilterWorker->waitForDone();
}

// ---------------------------------------------------------------- window and menus

void TMain::buildWindow()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(3, 3, 3, 3);

    m_speedRow = new QHBoxLayout;
    buildSpeedPanel();
    m_speedRow->addWidget(m_speedPanel, 1); // the buttons take the room the navigator leaves
    layout->addLayout(m_speedRow);

    buildLetteredPanel();
    layout->addWidget(m_letteredPanel);

    m_viewerBevel = new QFrame(central);
    m_viewerBevel->setObjectName("ViewerBevel");
    m_viewerBevel->setFrameShape(QFrame::Panel);
    m_viewerBevel->setFrameShadow(QFrame::Raised);
    auto* frame = new QVBoxLayout(m_viewerBevel);
    m_headerRow = new QHBoxLayout;
    auto* counts = new QVBoxLayout;
    m_countLabel = new QLabel("0", m_viewerBevel);
    m_countLabel->setObjectName("CountLabel");
    m_count2Label = new QLabel(tr("Videos"), m_viewerBevel);
    m_count2Label->setObjectName("Count2Label");
    counts->addWidget(m_countLabel);
    counts->addWidget(m_count2Label);
    m_searchOnLabel = new QLabel(tr("SEARCH ON"), m_viewerBevel);
    m_searchOnLabel->setObjectName("SearchOnLabel");
    m_viewerLabel = new QLabel(tr("Video Viewer"), m_viewerBevel);
    m_viewerLabel->setObjectName("ViewerLabel");
    for (QLabel* boldLabel : {m_searchOnLabel, m_viewerLabel})
        ui::keepBold(boldLabel);
    m_searchOnLabel->setVisible(false);
    // Shown from the key typed in the quick filter until its rows are in the viewer.
    m_filteringLabel = new QLabel(tr("Filtering..."), m_viewerBevel);
    m_filteringLabel->setObjectName("FilteringLabel");
    m_filteringLabel->setVisible(false);
    m_headerRow->addLayout(counts);
    m_headerRow->addWidget(m_searchOnLabel);
    m_headerRow->addWidget(m_filteringLabel);
    m_headerRow->addStretch(1);
    m_headerRow->addWidget(m_viewerLabel);
    m_headerRow->addStretch(1);
    // The quick filter: each word typed must appear in a title, star, director, producer, category,
    // key words or media number; Ctrl+K goes to it (Ctrl+F is Search and Replace), Esc empties it.
    m_quickFilterBox = new QLineEdit(m_viewerBevel);
    m_quickFilterBox->setObjectName("QuickFilter");
    m_quickFilterBox->setPlaceholderText(tr("Filter (Ctrl+K)"));
    m_quickFilterBox->setAccessibleName(tr("Quick filter"));
    m_quickFilterBox->setClearButtonEnabled(true);
    m_quickFilterBox->setMaxLength(1000);
    m_quickFilterPause = new QTimer(this);
    m_quickFilterPause->setSingleShot(true);
    // Short: a pass runs on a worker and the next key cancels it, so a pause
    // only saves passes no one would see while the fingers are on the keys.
    m_quickFilterPause->setInterval(60);
    connect(m_quickFilterPause, &QTimer::timeout, this, [this] { applyQuickFilter(); });
    connect(m_quickFilterBox, &QLineEdit::textEdited, this, [this] {
        m_filteringLabel->setVisible(true); // at once: the pass after the pause may take a moment
        m_quickFilterPause->start();
    });
    auto* toFilter = new QShortcut(QKeySequence("Ctrl+K"), this);
    connect(toFilter, &QShortcut::activated, this, [this] {
        m_quickFilterBox->setFocus(Qt::ShortcutFocusReason);
        m_quickFilterBox->selectAll();
    });
    auto* emptyFilter = new QShortcut(QKeySequence(Qt::Key_Escape), m_quickFilterBox, nullptr, nullptr, Qt::WidgetShortcut);
    connect(emptyFilter, &QShortcut::activated, this, [this] {
        m_quickFilterBox->clear();
        applyQuickFilter();
    });
    m_headerRow->addWidget(m_quickFilterBox);
    frame->addLayout(m_headerRow);

    m_model = new ViewerModel(m_table, this);
    m_model->setErrorHandler([this](const QString& message) { showEngineError(message); });
    m_grid = new ViewerGrid(m_viewerBevel);
    ui::keepOwnFont(m_grid); // the Grid Font, not the Edit Font
    m_grid->setModel(m_model);
    m_grid->fieldOfColumn = [this](int column) {
        const auto& columns = m_model->columns();
        return column >= 0 && column < static_cast<int>(columns.size()) ? columns[static_cast<size_t>(column)].field
                                                                         : -1;
    };
    m_grid->setListSource([this](int field) { return gridList(field); });
    connect(m_grid, &QTableView::doubleClicked, this, [this] {
        if (QAction* edit = action("Edit"); edit && edit->isEnabled())
            edit->trigger();
    });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { gridRowChosen(current.row()); });
    // After the rows are read again the grid marks the current record once more.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { syncGridToTable(); });
    auto* gridRow = new QHBoxLayout;
    gridRow->addWidget(m_grid, 1);
    m_coverPane = new covers_ui::CoverView(m_viewerBevel);
    m_coverPane->setThumbnailFolder(app::thumbnailFolder().toStdString());
    m_coverPane->setVisible(false);
    gridRow->addWidget(m_coverPane);
    frame->addLayout(gridRow, 1);
    layout->addWidget(m_viewerBevel, 1);

    m_navigator = new MyNavigator(central);
    connect(m_navigator, &MyNavigator::clicked, this, [this](MyNavigator::Button b) { navigatorClicked(b); });
    setCentralWidget(central);
}

namespace {
struct SpeedButton {
    const char* command;
    const char* hint;
};
const std::array<SpeedButton, 18> kSpeedButtons = {{
    {"NewDatabase", "New Database"}, {"OpenDatabase", "Open Database"}, {"Add", "Add Record"},
    {"Edit", "Edit Record"},         {"Copy", "Copy Record"},           {"Delete", "Delete Record"},
    {"Import", "Import Records"},    {"Export", "Export Records"},      {"Search", "Search Records"},
    {"EndSearch", "End Search"},     {"Locate", "Locate Record"},       {"LocateNext", "Locate Next Record"},
    {"Reports", "Reports"},          {"Viewer", "Viewer Configuration"}, {"ColorAll", "Color Setup"},
    {"SortOrder", "Set Sorting Order"}, {"Statistics", "Statistics"}, {"Contents", "Help"},
}};
} // namespace

void TMain::buildSpeedPanel()
{
    m_speedPanel = new QWidget(this);
    m_speedPanel->setObjectName("SpeedPanel");
    auto* row = new QHBoxLayout(m_speedPanel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    fitToTheWindow(m_speedPanel);
    for (const SpeedButton& b : kSpeedButtons) {
        QAction* command = action(b.command);
        command->setToolTip(b.hint); // menus do not show it; the speed button does
        auto* button = new QToolButton(m_speedPanel);
        button->setObjectName(QString("Speed") + b.command);
        button->setDefaultAction(command);
        command->setIcon(speedButtonIcon(b.command, style()));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setMinimumWidth(12); // narrower windows shrink the buttons rather than widen the window
        row->addWidget(button);
    }
    row->addStretch(1);
}

void TMain::fitToTheWindow(QWidget* panel)
{
    // A row of buttons takes the width the window has: it never makes the
    // window wider than the size it was given.
    panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    panel->setMinimumWidth(0);
}

void TMain::buildLetteredPanel()
{
    m_letteredPanel = new QWidget(this);
    m_letteredPanel->setObjectName("LetteredPanel");
    auto* row = new QHBoxLayout(m_letteredPanel);
    row->setContentsMargins(0, 0, 0, 0);
    fitToTheWindow(m_letteredPanel);
    const std::array<std::array<std::pair<const char*, const char*>, 2>, 4> groups = {{
        {{{"Add", "&Add"}, {"Edit", "&Edit"}}},
        {{{"Copy", "&Copy"}, {"Delete", "&Delete"}}},
        {{{"Search", "&Search"}, {"EndSearch", "E&nd Srch"}}},
        {{{"Reports", "&Reports"}, {"Viewer", "&Viewer"}}},
    }};
    // Each frame stacks its pairs in two rows, so that the four frames and
    // the navigator fit the window's designed width with whole captions.
    auto addGroup = [&](const std::vector<std::pair<const char*, const char*>>& buttons) {
        auto* box = new QGroupBox(m_letteredPanel);
        auto* inner = new QGridLayout(box);
        inner->setContentsMargins(3, 3, 3, 3);
        inner->setSpacing(2);
        const int columns = buttons.size() > 2 ? 2 : 1;
        int at = 0;
        for (const auto& [command, caption] : buttons) {
            auto* button = new QPushButton(caption, box);
            button->setObjectName(QString("Lettered") + command);
            button->setMinimumHeight(26);
            QAction* a = action(command);
            connect(button, &QPushButton::clicked, a, &QAction::trigger);
            connect(a, &QAction::changed, button, [button, a] { button->setEnabled(a->isEnabled()); });
            button->setEnabled(a->isEnabled());
            inner->addWidget(button, at / columns, at % columns);
            ++at;
            m_letteredButtons.insert(command, button);
        }
        row->addWidget(box);
    };
    // The first frame holds Add, Edit, Copy and Delete; then Search and End
    // Srch; Reports and Viewer; Help and Exit.
    addGroup({groups[0][0], groups[0][1], groups[1][0], groups[1][1]});
    addGroup({groups[2][0], groups[2][1]});
    addGroup({groups[3][0], groups[3][1]});
    addGroup({{"Contents", "He&lp"}, {"Exit", "E&xit"}});
    auto* navigatorColumn = new QVBoxLayout;
    m_navigatorLabel = new QLabel(tr("Navigation Controls"), m_letteredPanel);
    m_navigatorLabel->setObjectName("NavigatorLabel");
    navigatorColumn->addWidget(m_navigatorLabel);
    m_navigatorBox = new QHBoxLayout;
    navigatorColumn->addLayout(m_navigatorBox);
    row->addStretch(1);
    row->addLayout(navigatorColumn);
}

QPushButton* TMain::letteredButton(const QString& name) const
{
    return m_letteredButtons.value(name, nullptr);
}

QAction* TMain::addCommand(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut,
                           std::function<void()> work)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    a->setShortcut(shortcut);
    if (work)
        connect(a, &QAction::triggered, this, [this, work = std::move(work)] { runCommand(work); });
    else
        m_notYetBuilt.insert(name); // its window comes with a later part of the program
    return a;
}

void TMain::buildMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName("FileMenu");
    addCommand(file, "NewDatabase", tr("&New Database"), QKeySequence("Ctrl+W"), [this] { DoNew(); });
    addCommand(file, "OpenDatabase", tr("&Open Database"), QKeySequence("Ctrl+O"), [this] { DoOpen(); });
    addCommand(file, "UpdateDatabase", tr("&Update Database"), QKeySequence("Ctrl+Z"), [this] { DoUpdateDatabase(); });
    addCommand(file, "BackUpData", tr("&Back Up Data"), QKeySequence("Ctrl+B"), [this] { DoBackup(); });
    addCommand(file, "RestoreData", tr("&Restore Data"), QKeySequence("Ctrl+Y"), [this] { DoRestore(); });
    addCommand(file, "Print", tr("&Print"), QKeySequence("Ctrl+P"), [this] { DoReports(); });
    addCommand(file, "PrinterSetup", tr("Printer &Setup"), QKeySequence("Ctrl+U"), [this] { m_prompter.printerSetup(this); });
    addCommand(file, "Exit", tr("E&xit"), QKeySequence("Ctrl+X"), [this] { close(); });
    m_recentSeparator = file->addSeparator();
    for (int n = 0; n < 5; ++n) {
        QAction* item = file->addAction(QString());
        item->setObjectName("Recent" + QString::number(n + 1));
        connect(item, &QAction::triggered, this, [this, n] {
            runCommand([this, n] { OpenSaveFile(m_settings.lastFiles[static_cast<size_t>(n)]); });
        });
        m_recentItems[static_cast<size_t>(n)] = item;
    }

    QMenu* records = menuBar()->addMenu(tr("&Records"));
    records->setObjectName("RecordsMenu");
    addCommand(records, "Add", tr("&Add"), QKeySequence("Ctrl+A"), [this] { DoAdd(); });
    addCommand(records, "Edit", tr("&Edit"), QKeySequence("Ctrl+E"), [this] { DoEdit(); });
    addCommand(records, "Copy", tr("&Copy"), QKeySequence("Ctrl+C"), [this] { DoCopy(); });
    addCommand(records, "Delete", tr("&Delete"), QKeySequence("Ctrl+D"), [this] { DoDelete(); });
    addCommand(records, "Import", tr("&Import"), QKeySequence("Ctrl+M"), [this] { DoImport(); });
    addCommand(records, "Export", tr("E&xport"), QKeySequence("Ctrl+T"), [this] { DoExport(); });
    records->addSeparator();
    addCommand(records, "LentOut", tr("&Lent Out"), QKeySequence(), [this] { DoLentOut(); });

    QMenu* navigate = menuBar()->addMenu(tr("Navi&gate"));
    navigate->setObjectName("NavigateMenu");
    addCommand(navigate, "Search", tr("&Search (Query)"), QKeySequence("Ctrl+S"), [this] { DoSearch(); });
    addCommand(navigate, "EndSearch", tr("&End Search"), QKeySequence("Ctrl+I"), [this] {
        clearQuickFilter(); // END SEARCH ends the quick filter too
        DoEndSearch();
    });
    addCommand(navigate, "Locate", tr("&Locate"), QKeySequence("Ctrl+L"), [this] { DoFind(); });
    addCommand(navigate, "LocateNext", tr("Locate &Next"), QKeySequence("Ctrl+N"), [this] { DoFindNext(); });
    addCommand(navigate, "Reports", tr("&Reports"), QKeySequence("Ctrl+R"), [this] { DoReports(); });
    addCommand(navigate, "Viewer", tr("&Viewer"), QKeySequence("Ctrl+V"), [this] { DoViewer(); });

    QMenu* options = menuBar()->addMenu(tr("&Options"));
    options->setObjectName("OptionsMenu");
    addCommand(options, "SortOrder", tr("Sort &Order"), QKeySequence("Ctrl+Q"), [this] { DoSortOrder(); });
    QAction* cover = addCommand(options, "ShowCover", tr("Show &Cover"), QKeySequence("Ctrl+Shift+C"), [this] {
        m_settings.showCover = action("ShowCover")->isChecked();
        showCoverPane();
    });
    cover->setCheckable(true);
    addCommand(options, "CoverSize", tr("Co&ver Size..."), {}, [this] { DoCoverSize(); });
    addCommand(options, "LookupIndex", tr("&IMDb Lookup Index..."), {}, [this] { DoLookupIndex(); });
    addCommand(options, "TmdbOptions", tr("&TMDb Online Lookup..."), {}, [this] { DoTmdbOptions(); });
    QMenu* screenSize = options->addMenu(tr("Screen Si&ze"));
    const std::array<int, 4> sizes = {640, 800, 1024, 1280};
    const std::array<const char*, 4> sizeCaptions = {"640 x 480", "800 x 600", "1024 x 768", "1280 x 1024"};
    for (size_t i = 0; i < sizes.size(); ++i) {
        const int size = sizes[i];
        QAction* item = addCommand(screenSize, "ScreenSize" + QString::number(size), sizeCaptions[i],
                                   QKeySequence(Qt::SHIFT | static_cast<Qt::Key>(Qt::Key_F1 + static_cast<int>(i))),
                                   [this, size] { chooseScreenSize(size); });
        item->setCheckable(true);
        m_screenSizeItems[i] = item;
    }
    QMenu* access = options->addMenu(tr("&Screen Access"));
    const std::array<const char*, 3> accessCaptions = {QT_TR_NOOP("&Speed Buttons"), QT_TR_NOOP("&Lettered Buttons"),
                                                       QT_TR_NOOP("&None")};
    for (int mode = 1; mode <= 3; ++mode) {
        QAction* item = addCommand(access, "ButtonBar" + QString::number(mode), tr(accessCaptions[static_cast<size_t>(mode - 1)]),
                                   QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_F1 + mode - 1)),
                                   [this, mode] { SetButtonBar(mode); });
        item->setCheckable(true);
        m_buttonBarItems[static_cast<size_t>(mode - 1)] = item;
    }
    QMenu* color = options->addMenu(tr("&Color"));
    const std::array<const char*, 6> colorCaptions = {
        QT_TR_NOOP("&Main Window Color"),   QT_TR_NOOP("&Edit Window Color"),      QT_TR_NOOP("&Search Window Color"),
        QT_TR_NOOP("&Report Window Color"), QT_TR_NOOP("&Configure Window Color"), QT_TR_NOOP("&ALL Windows Color")};
    const std::array<const char*, 6> colorNames = {"ColorMain", "ColorEdit", "ColorSearch", "ColorReport",
                                                   "ColorConfigure", "ColorAll"};
    for (int group = 0; group < 6; ++group) {
        if (group == 5)
            color->addSeparator();
        addCommand(color, colorNames[static_cast<size_t>(group)], tr(colorCaptions[static_cast<size_t>(group)]),
                   QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_F4 + group)), [this, group] { DoColors(group); });
    }
    QMenu* lists = options->addMenu(tr("List &Maintenance"));
    lists->setObjectName("ListMaintenanceMenu");
    for (int code : db::pickListMenuOrder()) {
        const QString name = "List" + QString::number(code);
        addCommand(lists, name, QCoreApplication::translate("db", db::pickList(code).menuItem), {}, [this, code] { EditAList(code); });
        blockInBrowseMode(name);
    }
    QMenu* currency = options->addMenu(tr("C&urrency Format"));
    QMenu* numeric = options->addMenu(tr("&Numeric Format"));
    const std::array<const char*, 2> currencyCaptions = {QT_TR_NOOP("&U.S. Dollars"), QT_TR_NOOP("&Windows Setting")};
    const std::array<const char*, 2> numericCaptions = {QT_TR_NOOP("&U.S. Format"), QT_TR_NOOP("&Windows Setting")};
    for (int code = 1; code <= 2; ++code) {
        m_currencyItems[static_cast<size_t>(code - 1)] = addCommand(
            currency, "Currency" + QString::number(code), tr(currencyCaptions[static_cast<size_t>(code - 1)]), {},
            [this, code] { chooseNumberFormat(true, code); });
        m_numericItems[static_cast<size_t>(code - 1)] = addCommand(
            numeric, "Numeric" + QString::number(code), tr(numericCaptions[static_cast<size_t>(code - 1)]), {},
            [this, code] { chooseNumberFormat(false, code); });
        m_currencyItems[static_cast<size_t>(code - 1)]->setCheckable(true);
        m_numericItems[static_cast<size_t>(code - 1)]->setCheckable(true);
    }
    QMenu* dates = options->addMenu(tr("&Date Format"));
    m_leadingZerosItem = addCommand(dates, "LeadingZeros", tr("&Leading Zeros"), {}, [this] { toggleLeadingZeros(); });
    m_leadingZerosItem->setCheckable(true);
    dates->addSeparator();
    for (int code = 1; code <= 12; ++code) {
        QAction* item = addCommand(dates, "DateFormat" + QString::number(code),
                                   dateFormatChoices()[static_cast<size_t>(code - 1)].menuText, {},
                                   [this, code] { chooseDateFormat(code); });
        item->setCheckable(true);
        m_dateFormatItems[static_cast<size_t>(code - 1)] = item;
    }
    addCommand(options, "LabelFont", tr("&Label Font"), QKeySequence("Shift+F8"), [this] { chooseWindowFont(m_settings.labelFont); });
    addCommand(options, "EditFont", tr("&Edit Font"), QKeySequence("Shift+F9"), [this] { chooseWindowFont(m_settings.editFont); });
    addCommand(options, "ButtonFont", tr("&Button Font"), QKeySequence("Shift+F10"), [this] { chooseWindowFont(m_settings.buttonFont); });
    buildLanguageMenu(options->addMenu(tr("L&anguage")));

    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    tools->setObjectName("ToolsMenu");
    addCommand(tools, "SearchAndReplace", tr("&Search and Replace"), QKeySequence("Ctrl+F"), [this] { DoSearchAndReplace(); });
    addCommand(tools, "RebuildIndexes", tr("&Rebuild Indexes"), {}, [this] { DoRebuildIndexes(); });
    addCommand(tools, "PackDatabase", tr("&Pack Database"), {}, [this] { DoPack(); });
    addCommand(tools, "ConvertToUnicode", tr("Convert to &Unicode"), {}, [this] { DoConvertToUnicode(); });
    tools->addSeparator();
    addCommand(tools, "FindDuplicates", tr("Find &Duplicates"), {}, [this] { DoFindDuplicates(); });
    addCommand(tools, "Statistics", tr("S&tatistics"), {}, [this] { DoStatistics(); });
    addCommand(tools, "CoversWithoutAFilm", tr("&Covers without a Film..."), {}, [this] { DoCoversWithoutAFilm(); });
    addCommand(tools, "FillInMissing", tr("Fill In &Missing..."), {}, [this] { DoFillInMissing(); });

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName("HelpMenu");
    addCommand(help, "Contents", tr("&Contents"), QKeySequence("Ctrl+H"), [this] { DoHelp(); });
    addCommand(help, "ReviewTips", tr("&Review \"Tips of the Day\""), {}, [this] { showTipOfDay(); });
    addCommand(help, "About", tr("&About"), {}, [this] {
        m_prompter.message(this, tr("About"),
                           tr("Reelkeeper Videos 95\nA database manager for a private video collection.\nVersion %1")
                               .arg(REELKEEPER_VERSION),
                           Prompter::Icon::Information);
    });
    addCommand(help, "OtherProducts", tr("Other &Products"), {}, [this] {
        m_prompter.message(this, tr("Other Products"), tr("Reelkeeper Videos 95 is the only product of its makers."),
                           Prompter::Icon::Information);
    });

    for (const char* name : {"Add", "Copy", "Delete", "Viewer", "Import", "BackUpData", "RestoreData",
                             "SearchAndReplace"})
        blockInBrowseMode(name);
    updateCommandStates();
}

void TMain::blockInBrowseMode(const QString& name)
{
    m_browseBlocked.insert(name);
}

void TMain::updateCommandStates()
{
    for (QAction* a : findChildren<QAction*>()) {
        const QString name = a->objectName();
        if (name.isEmpty() || name.startsWith("Recent"))
            continue;
        bool available = !m_notYetBuilt.count(name) && !(m_browseMode && m_browseBlocked.count(name));
        if (name == "EndSearch")
            available = available && m_searchMode;
        a->setEnabled(available);
    }
}

QMenu* TMain::menu(const QString& name) const
{
    return findChild<QMenu*>(name);
}

QAction* TMain::action(const QString& name) const
{
    return findChild<QAction*>(name);
}

// Engine failures that a command does not handle itself end the command with
// the general error display; the program and the open collection stay usable.
void TMain::runCommand(const std::function<void()>& work)
{
    try {
        work();
    } catch (const std::exception& e) {
        showEngineError(e);
    }
}

void TMain::showEngineError(const std::exception& error)
{
    showEngineError(ui::errorText(error));
}

void TMain::showEngineError(const QString& message)
{
    m_prompter.message(this, tr("Error"), message, Prompter::Icon::Error);
}

// ---------------------------------------------------------------- create, show, close

bool TMain::create()
{
    m_searchMode = false;
    setWindowTitle(kCaption);
    const QString folderProblem = ensureProgramFolder();
    if (!folderProblem.isEmpty()) {
        m_prompter.message(this, tr("Error"), folderProblem, Prompter::Icon::Error);
        return false;
    }
    // The report definitions: the six defaults the first time, and an older
    // definitions file merged in. A failure here costs the reports only.
    try {
        report::prepareDefinitionsFile(local(programFolder()), ui::speakerFor("report"));
    } catch (const report::DefinitionsError& e) {
        m_prompter.message(this, tr("Error"), ui::errorText(e), Prompter::Icon::Error);
    }
    readSettings();
    followTheDesktop();
    // The stored bounds are the client area's, read and written alike. The
    // first start, with none stored, takes a good share of the screen.
    setGeometry(m_boundsStored ? m_settings.mainWindow : firstStartBounds());
    BuildSortString();
    applyRegionalSettings();
    if (!chooseStartCollection())
        return false;
    openStartCollection();
    while (!m_table.active()) {
        // The loop ends with a collection, or with the program when the user gives up.
        QString chosen = m_prompter.openFileName(
            this, {tr("Open Database File"), databaseFilter(), "DBF", QFileInfo(m_currentDatabase).absolutePath()});
        if (chosen.isEmpty())
            return false;
        if (!hasDbfExtension(chosen))
            continue;
        try {
            if (CheckDBaseFormat(this, chosen))
                openCollection(chosen, true);
        } catch (const std::exception& e) {
            showEngineError(e);
        }
    }
    SetButtonBar(m_settings.buttonBar);
    applyScreenSize();
    SetMenuLastFiles();
    CheckForConversion();
    if (m_browseMode) {
        m_rememberedFieldEditing = m_settings.gridFieldEditing;
        m_settings.gridFieldEditing = false;
        m_navigator->setBrowseMode(true);
    }
    updateCommandStates();
    // The record editor lives for the whole run; its boxes hold the pick lists.
    edit::EditorContext context{m_table, m_prompter, m_settings, m_numberFormats, m_browseMode, programFolder(),
                                [this] { return m_scaleFactor; },
                                [this](int code, const QString& text) { AddToGridList(code, text); },
                                [this](QDialog& dialog) { return m_runDialog(dialog); }};
    m_editor = std::make_unique<edit::TMyEdit>(context, this);
    m_locate = std::make_unique<find::TMyLocateDialog>(m_prompter, [this] {
        // Fields the viewer shows carry their display names; the others their field names.
        std::vector<find::LocateField> fields;
        for (int f = 0; f < m_table.fieldCount(); ++f) {
            const int position = db::schemaPosition(m_table.field(f).name);
            const bool shown = position && m_settings.fields[static_cast<size_t>(position - 1)].display;
            fields.push_back({shown ? m_settings.fields[static_cast<size_t>(position - 1)].displayName
                                    : QString::fromStdString(m_table.field(f).name),
                              f, shown});
        }
        return fields;
    });
    m_locate->DataSource = &m_table;
    m_locate->runDialog = [this](QDialog& dialog) { return m_runDialog(dialog); };
    m_locate->lookOf = [this](QWidget* window) {
        ui::applyWindowLook(window, m_settings, ConfigureWindowColors, m_scaleFactor);
    };
    showCoverPane();
    return true;
}

void TMain::followTheDesktop()
{
    if (!m_desktop) {
        // Without a session bus there is no portal to ask (and no bus to start for it).
        const bool bus = qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS");
        m_desktop = new appearance_ui::DesktopAppearance(bus ? QDBusConnection::sessionBus() : QDBusConnection(QString()),
                                                         this);
        connect(m_desktop, &appearance_ui::DesktopAppearance::schemeChanged, this, [this] {
            m_settings.desktopColors = m_desktop->colors();
            SetColors(); // at once in the main window; the other windows take them when next shown
        });
    }
    m_settings.desktopColors = m_desktop->colors();
}

void TMain::readSettings()
{
    IniFile ini;
    ini.load(settingsFilePath());
    m_settings.read(ini);
    m_boundsStored = ini.value("Misc", "Main Window Width").has_value();
}

QString TMain::writeSettings()
{
    // Whenever the file is written it records the run as it stands: the
    // collection open now and the window's bounds.
    m_settings.lastDatabase = m_currentDatabase;
    if (isVisible())
        m_settings.mainWindow = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    Settings stored = m_settings;
    if (m_browseMode)
        stored.gridFieldEditing = m_rememberedFieldEditing; // switched off for this run only
    const QString path = settingsFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    IniFile ini;
    ini.load(path); // keys of other programs and later versions stay
    stored.write(ini);
    return ini.save(path);
}

bool TMain::chooseStartCollection()
{
    m_currentDatabase = m_settings.lastDatabase;
    if (!m_currentDatabase.isEmpty() && QFileInfo(m_currentDatabase).isFile())
        return true;
    m_currentDatabase = programFolder() + "/MASTER.DBF";
    if (QFileInfo(m_currentDatabase).isFile())
        return true;
    return MakeNewDB(m_currentDatabase);
}

void TMain::openStartCollection()
{
    bool passed = false;
    try {
        passed = CheckDBaseFormat(this, m_currentDatabase);
    } catch (const std::exception& e) {
        showEngineError(e);
    }
    if (!passed) {
        m_prompter.message(this, tr("Error"),
                           tr("The last database used as recorded in the INI file is not a valid Reelkeeper Videos 95 "
                              "file.  You will need to choose a new file."),
                           Prompter::Icon::Error);
        return;
    }
    try {
        m_table.close();
        nameTable(m_currentDatabase);
        // At start-up an existing sort index is used as it stands; one that
        // is missing (a run stopped in the middle of a sort or a replace
        // leaves the index without it) is made again from the sort order.
        m_table.selectIndex("");
        openTableShared();
        if (!m_sortExpression.empty()) {
            const std::vector<db::TagDefinition> tags = m_table.indexTags();
            if (std::none_of(tags.begin(), tags.end(),
                             [](const db::TagDefinition& t) { return t.name == find::kSortTag; }))
                m_table.addIndex(find::kSortTag, m_sortExpression);
            m_table.selectIndex(find::kSortTag);
            m_table.first();
        }
    } catch (const std::exception& e) {
        showEngineError(e);
    }
}

void TMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    ui::SetFonts(this, {m_settings.labelFont, m_settings.editFont, m_settings.buttonFont});
    SetViewerOptions();
    SetColors();
    // The lists are read once, at the show step of start-up: a later show
    // (after a minimise or a hide) must not undo edits not yet written.
    if (!m_gridListsLoaded) {
        loadGridLists();
        m_gridListsLoaded = true;
        m_grid->setFocus(); // the keyboard starts in the viewer, not on a speed button
    }
    DisplayCount();
    // Once the window manager has framed the window, its title bar must be on a screen.
    if (!m_placedOnScreen) {
        m_placedOnScreen = true;
        keepOnScreenOnceFramed();
    }
    // The activate step: the tip of the day, once a run.
    if (!m_tipsOffered) {
        m_tipsOffered = true;
        if (m_settings.showTips)
            QTimer::singleShot(0, this, [this] { showTipOfDay(); });
    }
}

void TMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange)
        ui::mendApplicationPalette(); // the desktop's new palette; a mended one changes nothing more
    // The frame is known for certain once the window manager has activated
    // the window: the first activation checks the placement once more.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_activatedOnce) {
        m_activatedOnce = true;
        keepOnScreen();
    }
}

void TMain::keepOnScreenOnceFramed()
{
    // The window manager frames the window a little after it is shown, and
    // only then is the title bar's place known. Waiting for the window's first
    // activation is not enough: the tip of the day takes it first and holds it
    // while it is open. So the frame is watched for, for a few seconds at most.
    auto* watch = new QTimer(this);
    watch->setInterval(25);
    connect(watch, &QTimer::timeout, this, [this, watch, tries = 0]() mutable {
        const bool framed = frameGeometry() != geometry();
        if (!framed && ++tries < 160)
            return;
        watch->stop();
        watch->deleteLater();
        keepOnScreen();
    });
    watch->start();
}

QRect TMain::firstStartBounds() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return m_settings.mainWindow;
    // Three quarters of the area for windows, never less than the designed 640 x 480, centred in it.
    const QRect available = screen->availableGeometry();
    const QSize size = QSize(available.width() * 3 / 4, available.height() * 3 / 4)
                           .expandedTo(m_settings.mainWindow.size())
                           .boundedTo(available.size());
    QRect bounds(QPoint(0, 0), size);
    bounds.moveCenter(available.center());
    return bounds;
}

void TMain::keepOnScreen()
{
    const QScreen* screen = QGuiApplication::screenAt(frameGeometry().center());
    if (!screen)
        screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QRect frame = frameGeometry();
    // The frame's top left corner (title bar and system menu) is kept inside the available area.
    const int left = std::clamp(frame.left(), available.left(), std::max(available.left(), available.right() - 100));
    const int top = std::clamp(frame.top(), available.top(), std::max(available.top(), available.bottom() - 100));
    if (left != frame.left() || top != frame.top())
        move(left, top);
}

void TMain::closeEvent(QCloseEvent* event)
{
    m_searchMode = false;
    if (m_browseMode)
        m_settings.gridFieldEditing = m_rememberedFieldEditing;
    // Lists changed in List Maintenance reach their files even when the
    // record editor was never opened in this run.
    if (m_editor)
        m_editor->SaveAllLists();
    const QString problem = writeSettings();
    if (!problem.isEmpty())
        m_prompter.message(this, tr("Error"), problem, Prompter::Icon::Error);
    m_table.close();
    event->accept();
}

} // namespace app
