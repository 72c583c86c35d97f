#include "TMain.h"

#include "CollectionFile.h"
#include "DbError.h"
#include "IniFile.h"
#include "ProgramFolders.h"
#include "SortOrder.h"
#include "WindowLook.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

namespace app {

namespace {

const QString kDatabaseFilter = "Database Files (*.DBF *.dbf)";
const QString kExclusiveUse = "Make sure that the DBase File is not in use by another program  or that no other "
                              "users are running the software or that no other copies of the software are in use.";

std::string local(const QString& text)
{
    return text.toStdString();
}

QString fromLocal(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

TMain::TMain(Prompter& prompter, bool browseMode, QWidget* parent)
    : QMainWindow(parent)
    , m_prompter(prompter)
    , m_browseMode(browseMode)
    , m_settings(Settings::defaults(startFolder()))
    , m_screenSize([] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->size() : QSize(640, 480);
    })
{
    setWindowTitle(kCaption);
    buildWindow();
    buildMenus();
}

TMain::~TMain() = default;

// ---------------------------------------------------------------- window and menus

void TMain::buildWindow()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* top = new QHBoxLayout;
    auto* counts = new QVBoxLayout;
    m_countLabel = new QLabel("0", central);
    m_countLabel->setObjectName("CountLabel");
    m_count2Label = new QLabel("Videos", central);
    m_count2Label->setObjectName("Count2Label");
    counts->addWidget(m_countLabel);
    counts->addWidget(m_count2Label);
    m_viewerLabel = new QLabel("Video Viewer", central);
    m_viewerLabel->setObjectName("ViewerLabel");
    QFont bold = m_viewerLabel->font();
    bold.setBold(true);
    m_viewerLabel->setFont(bold);
    m_viewerLabel->setAlignment(Qt::AlignHCenter);
    top->addLayout(counts);
    top->addWidget(m_viewerLabel, 1);
    layout->addLayout(top);
    layout->addStretch(1);
    setCentralWidget(central);
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
        a->setEnabled(false); // its window comes with a later part of the program
    return a;
}

void TMain::buildMenus()
{
    m_fileMenu = menuBar()->addMenu("&File");
    addCommand(m_fileMenu, "NewDatabase", "&New Database", QKeySequence("Ctrl+W"), [this] { DoNew(); });
    addCommand(m_fileMenu, "OpenDatabase", "&Open Database", QKeySequence("Ctrl+O"), [this] { DoOpen(); });
    addCommand(m_fileMenu, "UpdateDatabase", "&Update Database", QKeySequence("Ctrl+Z"), [this] { DoUpdateDatabase(); });
    addCommand(m_fileMenu, "BackUpData", "&Back Up Data", QKeySequence("Ctrl+B"), nullptr);
    addCommand(m_fileMenu, "RestoreData", "&Restore Data", QKeySequence("Ctrl+Y"), nullptr);
    addCommand(m_fileMenu, "Print", "&Print", QKeySequence("Ctrl+P"), nullptr);
    addCommand(m_fileMenu, "PrinterSetup", "Printer &Setup", QKeySequence("Ctrl+U"), nullptr);
    addCommand(m_fileMenu, "Exit", "E&xit", QKeySequence("Ctrl+X"), [this] { close(); });
    m_recentSeparator = m_fileMenu->addSeparator();
    for (int n = 0; n < 5; ++n) {
        QAction* item = m_fileMenu->addAction(QString());
        item->setObjectName("Recent" + QString::number(n + 1));
        connect(item, &QAction::triggered, this, [this, n] {
            runCommand([this, n] { OpenSaveFile(m_settings.lastFiles[static_cast<size_t>(n)]); });
        });
        m_recentItems[static_cast<size_t>(n)] = item;
    }

    m_optionsMenu = menuBar()->addMenu("&Options");
    QMenu* screenSize = m_optionsMenu->addMenu("Screen Si&ze");
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
    QMenu* currency = m_optionsMenu->addMenu("C&urrency Format");
    QMenu* numeric = m_optionsMenu->addMenu("&Numeric Format");
    const std::array<const char*, 2> currencyCaptions = {"&U.S. Dollars", "&Windows Setting"};
    const std::array<const char*, 2> numericCaptions = {"&U.S. Format", "&Windows Setting"};
    for (int code = 1; code <= 2; ++code) {
        m_currencyItems[static_cast<size_t>(code - 1)] = addCommand(
            currency, "Currency" + QString::number(code), currencyCaptions[static_cast<size_t>(code - 1)], {},
            [this, code] { chooseNumberFormat(true, code); });
        m_numericItems[static_cast<size_t>(code - 1)] = addCommand(
            numeric, "Numeric" + QString::number(code), numericCaptions[static_cast<size_t>(code - 1)], {},
            [this, code] { chooseNumberFormat(false, code); });
        m_currencyItems[static_cast<size_t>(code - 1)]->setCheckable(true);
        m_numericItems[static_cast<size_t>(code - 1)]->setCheckable(true);
    }
    QMenu* dates = m_optionsMenu->addMenu("&Date Format");
    m_leadingZerosItem = addCommand(dates, "LeadingZeros", "&Leading Zeros", {}, [this] { toggleLeadingZeros(); });
    m_leadingZerosItem->setCheckable(true);
    dates->addSeparator();
    for (int code = 1; code <= 12; ++code) {
        QAction* item = addCommand(dates, "DateFormat" + QString::number(code),
                                   dateFormatChoices()[static_cast<size_t>(code - 1)].menuText, {},
                                   [this, code] { chooseDateFormat(code); });
        item->setCheckable(true);
        m_dateFormatItems[static_cast<size_t>(code - 1)] = item;
    }

    m_toolsMenu = menuBar()->addMenu("&Tools");
    addCommand(m_toolsMenu, "SearchAndReplace", "&Search and Replace", QKeySequence("Ctrl+F"), nullptr);
    addCommand(m_toolsMenu, "RebuildIndexes", "&Rebuild Indexes", {}, [this] { DoRebuildIndexes(); });
    addCommand(m_toolsMenu, "PackDatabase", "&Pack Database", {}, [this] { DoPack(); });
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
    m_prompter.message(this, "Error", QString::fromStdString(error.what()), Prompter::Icon::Error);
}

// ---------------------------------------------------------------- create, show, close

bool TMain::create()
{
    m_searchMode = false;
    setWindowTitle(kCaption);
    const QString folderProblem = ensureProgramFolder();
    if (!folderProblem.isEmpty()) {
        m_prompter.message(this, "Error", folderProblem, Prompter::Icon::Error);
        return false;
    }
    readSettings();
    resize(m_settings.mainWindow.size());
    move(m_settings.mainWindow.topLeft());
    BuildSortString();
    applyRegionalSettings();
    if (!chooseStartCollection())
        return false;
    openStartCollection();
    while (!m_table.active()) {
        // The loop ends with a collection, or with the program when the user gives up.
        QString chosen = m_prompter.openFileName(
            this, {"Open Database File", kDatabaseFilter, "DBF", QFileInfo(m_currentDatabase).absolutePath()});
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
    applyScreenSize();
    SetMenuLastFiles();
    if (m_browseMode) {
        for (const char* name : {"BackUpData", "RestoreData", "SearchAndReplace"})
            action(name)->setEnabled(false);
        m_rememberedFieldEditing = m_settings.gridFieldEditing;
        m_settings.gridFieldEditing = false;
    }
    return true;
}

void TMain::readSettings()
{
    IniFile ini;
    ini.load(settingsFilePath());
    m_settings.read(ini);
}

QString TMain::writeSettings()
{
    const QString path = settingsFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    IniFile ini;
    ini.load(path); // keys of other programs and later versions stay
    m_settings.write(ini);
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
        m_prompter.message(this, "Error",
                           "The last database used as recorded in the INI file is not a valid Reelkeeper Videos 95 "
                           "file.  You will need to choose a new file.",
                           Prompter::Icon::Error);
        return;
    }
    try {
        m_table.close();
        nameTable(m_currentDatabase);
        // At start-up an existing sort index is used as it stands.
        if (m_sortExpression.empty()) {
            m_table.selectIndex("");
        } else {
            if (!QFileInfo::exists(m_indexFileName))
                m_table.addIndex(find::kSortTag, m_sortExpression);
            m_table.selectIndex(find::kSortTag);
        }
        openTableShared();
    } catch (const std::exception& e) {
        showEngineError(e);
    }
}

void TMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    appearance::SetFonts(this, {m_settings.labelFont, m_settings.editFont, m_settings.buttonFont});
    SetColors();
    DisplayCount();
}

void TMain::closeEvent(QCloseEvent* event)
{
    m_searchMode = false;
    m_settings.mainWindow = QRect(pos(), size());
    if (m_browseMode)
        m_settings.gridFieldEditing = m_rememberedFieldEditing;
    m_settings.lastDatabase = m_currentDatabase;
    const QString problem = writeSettings();
    if (!problem.isEmpty())
        m_prompter.message(this, "Error", problem, Prompter::Icon::Error);
    m_table.close();
    event->accept();
}

// ---------------------------------------------------------------- opening collections

void TMain::nameTable(const QString& name)
{
    const QString full = QFileInfo(name).absoluteFilePath();
    m_table.setFilePath(local(full));
    setWindowTitle(QString(kCaption) + " (" + fromLocal(m_table.tableName()) + ")");
    // Folder + table name + .MDX, in the letter case of the table file's extension.
    m_indexFileName = fromLocal(m_table.indexPath());
}

void TMain::openTableShared()
{
    try {
        m_table.open(db::Table::OpenMode::Shared);
    } catch (const db::DbError&) {
        if (m_table.selectedIndex().empty())
            throw;
        // The file has no sort index of its own: open it in stored order.
        m_table.selectIndex("");
        m_table.open(db::Table::OpenMode::Shared);
    }
}

void TMain::openCollection(const QString& name, bool testInUse)
{
    const QString previous = m_currentDatabase;
    m_currentDatabase = name;
    m_table.close();
    nameTable(name);
    if (!testInUse || !DBaseInUse(name)) {
        if (QFileInfo::exists(m_indexFileName)) {
            m_table.selectIndex("");
            m_table.deleteIndex(find::kSortTag);
        }
        if (m_sortExpression.empty()) {
            m_table.selectIndex("");
        } else {
            m_table.addIndex(find::kSortTag, m_sortExpression);
            m_table.selectIndex(find::kSortTag);
        }
    }
    openTableShared();
    DoLastFiles(previous, m_currentDatabase);
}

bool TMain::hasDbfExtension(const QString& name)
{
    if (name.right(4).toUpper() == ".DBF")
        return true;
    m_prompter.message(this, "Error", "Invalid file type selected.", Prompter::Icon::Error);
    return false;
}

void TMain::DoOpen()
{
    const QString chosen = m_prompter.openFileName(
        this, {"Open Database File", kDatabaseFilter, "DBF", QFileInfo(m_currentDatabase).absolutePath()});
    if (!chosen.isEmpty() && hasDbfExtension(chosen) && CheckDBaseFormat(this, chosen))
        openCollection(chosen, true);
    DisplayCount();
}

void TMain::OpenSaveFile(const QString& name)
{
    if (CheckDBaseFormat(this, name))
        openCollection(name, true);
    DisplayCount();
}

void TMain::DoNew()
{
    Prompter::FileDialog dialog{"New Database File", kDatabaseFilter, "DBF", QFileInfo(m_currentDatabase).absolutePath()};
    dialog.confirmOverwrite = true;
    const QString chosen = m_prompter.saveFileName(this, dialog);
    if (!chosen.isEmpty() && hasDbfExtension(chosen) && MakeNewDB(chosen))
        openCollection(chosen, false);
    DisplayCount();
}

bool TMain::MakeNewDB(const QString& name)
{
    if (QFileInfo::exists(name) && DBaseInUse(name)) {
        m_prompter.message(this, "Error",
                           "The table \"" + name + "\" is currently in use by another program.  "
                           "New table creation will be aborted.",
                           Prompter::Icon::Error);
        return false;
    }
    try {
        db::createCollectionTable(local(QFileInfo(name).absoluteFilePath()));
    } catch (const std::exception& e) {
        showEngineError(e);
    }
    return QFileInfo::exists(name);
}

void TMain::DoLastFiles(const QString& previous, const QString& current)
{
    updateRecentDatabases(m_settings.lastFiles, previous, current);
    SetMenuLastFiles();
}

void TMain::SetMenuLastFiles()
{
    bool any = false;
    for (size_t n = 0; n < m_recentItems.size(); ++n) {
        const QString& entry = m_settings.lastFiles[n];
        m_recentItems[n]->setVisible(!entry.isEmpty());
        m_recentItems[n]->setText(recentItemCaption(static_cast<int>(n + 1), entry));
        any = any || !entry.isEmpty();
    }
    m_recentSeparator->setVisible(any);
}

bool TMain::DBaseInUse(const QString& name)
{
    return db::tableInUse(local(QFileInfo(name).absoluteFilePath()));
}

void TMain::RemoveMDXByte(const QString& name)
{
    db::removeIndexFlag(local(name));
}

bool TMain::CheckDBaseFormat(QWidget* owner, const QString& name)
{
    if (db::isCollectionTable(local(QFileInfo(name).absoluteFilePath())))
        return true;
    m_prompter.message(owner ? owner : this, "Error", db::kNotCollectionMessage, Prompter::Icon::Error);
    return false;
}

// ---------------------------------------------------------------- maintenance

void TMain::maintainExclusively(const QString& question, const QString& refusal, const std::function<void()>& work)
{
    if (m_prompter.ask(this, "Confirm", question, Prompter::Buttons::YesNo, Prompter::Answer::No)
        != Prompter::Answer::Yes)
        return;
    m_table.close();
    try {
        m_table.open(db::Table::OpenMode::Exclusive);
    } catch (const db::DbError&) {
        openTableShared();
        m_prompter.message(this, "Error", refusal, Prompter::Icon::Error);
        return;
    }
    try {
        work();
    } catch (...) {
        m_table.close();
        openTableShared();
        throw;
    }
    m_table.close();
    openTableShared();
}

void TMain::DoPack()
{
    maintainExclusively("Deleted items are not permanently removed from the database until packing occurs.  "
                        "Packing simply removes them to free up space.  Continue?",
                        "Unable to pack table.  Packing requires exclusive use of the DBase File.  " + kExclusiveUse,
                        [this] { m_table.pack(); });
    DisplayCount();
}

void TMain::DoRebuildIndexes()
{
    maintainExclusively("It is possible for your index files to become corrupted.  As a result, some items may not "
                        "show up in the viewer or in reports.  This will rebuild your index files correctly.  "
                        "Continue?",
                        "Unable to reindex table.  Reindexing requires exclusive use of the DBase File.  "
                            + kExclusiveUse,
                        [this] {
                            // An index whose tags were lost is made again from the sort order.
                            if (!m_sortExpression.empty() && m_table.indexTags().empty())
                                m_table.addIndex(find::kSortTag, m_sortExpression);
                            else
                                m_table.regenerateIndexes();
                        });
    DisplayCount();
}

void TMain::DoUpdateDatabase()
{
    m_table.close();
    openTableShared();
    DisplayCount();
}

// ---------------------------------------------------------------- look and formats

void TMain::BuildSortString()
{
    m_sortExpression = find::buildSortString(m_settings.sortKeys);
}

QString TMain::countText() const
{
    return m_countLabel->text();
}

void TMain::DisplayCount()
{
    try {
        m_countLabel->setText(m_table.active() ? QString::number(m_table.recordCount()) : "0");
    } catch (const std::exception& e) {
        showEngineError(e);
    }
}

void TMain::SetColors()
{
    const ColorSet& colors = m_settings.colorSets[MainWindowColors];
    QPalette p = palette();
    p.setColor(QPalette::Window, appearance::colorFromSetting(colors[MainBackground]));
    setPalette(p);
    setAutoFillBackground(true);
    QPalette title = m_viewerLabel->palette();
    title.setColor(QPalette::Window, appearance::colorFromSetting(colors[MainBackground]));
    title.setColor(QPalette::WindowText, appearance::colorFromSetting(colors[MajorTitle]));
    m_viewerLabel->setPalette(title);
}

void TMain::applyRegionalSettings()
{
    m_numberFormats.numericFormat = m_settings.numericFormat;
    m_numberFormats.currencyFormat = m_settings.currencyFormat;
    m_numberFormats.regional = RegionalValues::fromSystem();
    const char decimal = m_numberFormats.regional.decimal.toLatin1() ? m_numberFormats.regional.decimal.toLatin1() : '.';
    if (isDateFormatCode(m_settings.dateFormat))
        db::setEditTextFormat(editTextFormatFor(m_settings.dateFormat, m_settings.dateLeadingZeros, decimal));
    for (int code = 1; code <= 12; ++code)
        m_dateFormatItems[static_cast<size_t>(code - 1)]->setChecked(code == m_settings.dateFormat);
    m_leadingZerosItem->setChecked(m_settings.dateLeadingZeros);
    for (int code = 1; code <= 2; ++code) {
        m_currencyItems[static_cast<size_t>(code - 1)]->setChecked(code == m_settings.currencyFormat);
        m_numericItems[static_cast<size_t>(code - 1)]->setChecked(code == m_settings.numericFormat);
    }
}

void TMain::chooseDateFormat(int code)
{
    if (m_settings.dateFormat == code) {
        m_dateFormatItems[static_cast<size_t>(code - 1)]->setChecked(true);
        return;
    }
    m_settings.dateFormat = code;
    applyRegionalSettings();
    if (m_table.active())
        m_table.refresh(); // the grid shows dates in the new form
}

void TMain::toggleLeadingZeros()
{
    m_settings.dateLeadingZeros = !m_settings.dateLeadingZeros;
    applyRegionalSettings();
    if (m_table.active())
        m_table.refresh();
}

void TMain::chooseNumberFormat(bool currency, int code)
{
    (currency ? m_settings.currencyFormat : m_settings.numericFormat) = code;
    applyRegionalSettings();
}

void TMain::applyScreenSize()
{
    const QSize screen = m_screenSize();
    const ScreenScale scale = screenScaleFor(m_settings.windowSize, screen.width(), screen.height());
    m_scaleFactor = scale.factor;
    const std::array<int, 4> sizes = {640, 800, 1024, 1280};
    for (size_t i = 0; i < sizes.size(); ++i)
        m_screenSizeItems[i]->setChecked(sizes[i] == scale.tickedSize);
}

void TMain::chooseScreenSize(int size)
{
    const std::array<int, 4> sizes = {640, 800, 1024, 1280};
    const size_t index = static_cast<size_t>(std::find(sizes.begin(), sizes.end(), size) - sizes.begin());
    if (m_settings.windowSize == size) {
        m_screenSizeItems[index]->setChecked(true);
        return;
    }
    const QSize screen = m_screenSize();
    if (!screenFits(size, screen.width(), screen.height())) {
        const std::array<const char*, 4> names = {"640 x 480", "800 x 600", "1024 x 768", "1280 x 1024"};
        m_screenSizeItems[index]->setChecked(false);
        m_prompter.message(this, "Error",
                           QString("Your current screen resolution does not support ") + names[index] + " pixels.",
                           Prompter::Icon::Error);
        return;
    }
    m_settings.windowSize = size;
    m_scaleFactor = scaleFactorOf(size);
    for (size_t i = 0; i < sizes.size(); ++i)
        m_screenSizeItems[i]->setChecked(i == index);
}

} // namespace app
