#include "CollectionFile.h"
#include "Cp1252.h"
#include "IniFile.h"
#include "InstalledTranslation.h"
#include "ScriptedPrompter.h"
#include "Schema.h"
#include "TMain.h"
#include "WindowLook.h"
#include "ReelkeeperVersion.h"
#include "ReportDefinitions.h"
#include "Table.h"
#include "TempDir.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QTextBrowser>
#include <QMenuBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <QScreen>

#include <QGuiApplication>

#include <QDialog>

using namespace app;
using testing_support::ScriptedPrompter;
using testing_support::TempDir;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = QString::fromStdString(dir.file("home"));
        config = QString::fromStdString(dir.file("config/REELKP.INI"));
        qputenv("REELKEEPER_HOME", home.toLocal8Bit());
        qputenv("REELKEEPER_CONFIG", config.toLocal8Bit());
    }

    std::unique_ptr<TMain> start(bool browse = false)
    {
        auto window = std::make_unique<TMain>(prompter, browse);
        window->setScreenSizeSource([this] { return screen; });
        created = window->create();
        return window;
    }

    QString file(const char* name) const { return QString::fromStdString(dir.file(name)); }

    void addRecords(const QString& path, std::initializer_list<const char*> titles)
    {
        db::Table t;
        t.setFilePath(path.toStdString());
        t.open();
        for (const char* title : titles) {
            t.insert();
            t.setText(0, title);
            t.post();
        }
    }

    TempDir dir;
    QString home;
    QString config;
    ScriptedPrompter prompter;
    QSize screen{1920, 1080};
    bool created = false;
};

// Another copy of the program holding a collection: reelkeeper-cli keeps it
// open until its standard input closes.
class Holder {
public:
    explicit Holder(const QString& path)
    {
        m_process.start(RK_CLI, {"hold", path});
        m_process.waitForReadyRead(10000);
    }
    ~Holder()
    {
        m_process.closeWriteChannel();
        m_process.waitForFinished(10000);
    }

private:
    QProcess m_process;
};

const char* kNotCollection = db::kNotCollectionMessage;

} // namespace

TEST_F(MainWindowTest, FirstRunCreatesMasterAndWritesEverySetting)
{
    auto window = start();
    ASSERT_TRUE(created);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(window->currentDatabase(), home + "/MASTER.DBF");
    EXPECT_TRUE(db::isCollectionTable((home + "/MASTER.DBF").toStdString()));
    EXPECT_EQ(window->windowTitle(), "Reelkeeper Videos 95 (MASTER)");
    EXPECT_EQ(window->sortExpression(), "Upper(Left(Star1,80))");
    EXPECT_EQ(window->table().selectedIndex(), "NewIndex");
    EXPECT_EQ(QFileInfo(home + "/REELKP.URP").size(), 6 * 20622); // the six default reports
    window->show();
    window->close();
    IniFile ini;
    ASSERT_TRUE(ini.load(config));
    EXPECT_EQ(ini.sectionNames().size(), 26);
    EXPECT_EQ(ini.value("Covers", "Longest Side"), QString("1500"));
    EXPECT_EQ(ini.value("Misc", "Last Database"), home + "/MASTER.DBF");
    EXPECT_EQ(ini.value("Sort Order", "Primary Sort"), QString("2"));
    EXPECT_EQ(ini.value("Misc", "Show Tips"), QString("Yes"));
}

// With no bounds stored, the main window takes three quarters of the screen's
// area for windows (never less than 640 x 480), centred; a window scaled for
// a larger screen size is never larger than that area.
TEST_F(MainWindowTest, AFirstStartTakesAShareOfTheScreenAndNoWindowOutgrowsIt)
{
    auto window = start();
    ASSERT_TRUE(created);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize share = QSize(available.width() * 3 / 4, available.height() * 3 / 4).expandedTo(QSize(640, 480)).boundedTo(available.size());
    EXPECT_EQ(window->geometry().size(), share);
    EXPECT_EQ(window->geometry().center(), available.center());
    QDialog big;
    big.resize(2 * available.width(), 2 * available.height());
    ui::fitToScreen(&big);
    EXPECT_TRUE(available.contains(QRect(big.pos(), big.size()))) << big.width() << "x" << big.height();
}

TEST_F(MainWindowTest, StartUpOpensTheLastCollectionInItsSortOrder)
{
    const QString films = file("FILMS.DBF");
    db::createCollectionTable(films.toStdString());
    addRecords(films, {"Zulu", "Alien"});
    IniFile ini;
    ini.setValue("Misc", "Last Database", films);
    ini.setValue("Sort Order", "Primary Sort", "1");
    QDir().mkpath(QFileInfo(config).absolutePath());
    ASSERT_TRUE(ini.save(config).isEmpty());
    auto window = start();
    ASSERT_TRUE(created);
    EXPECT_EQ(window->currentDatabase(), films);
    EXPECT_EQ(window->table().text(0), "Alien");
    window->show();
    EXPECT_EQ(window->countText(), "2");
}

TEST_F(MainWindowTest, StartUpMakesAMissingSortTagAgain)
{
    // A run stopped in the middle of a sort or a replace leaves an index
    // without the sort order's tag.
    const QString films = file("FILMS.DBF");
    db::createCollectionTable(films.toStdString());
    addRecords(films, {"Zulu", "Alien"});
    {
        db::Table t;
        t.setFilePath(films.toStdString());
        t.addIndex("Other", "Upper(Left(Category,10))");
    }
    IniFile ini;
    ini.setValue("Misc", "Last Database", films);
    ini.setValue("Sort Order", "Primary Sort", "1");
    QDir().mkpath(QFileInfo(config).absolutePath());
    ASSERT_TRUE(ini.save(config).isEmpty());
    auto window = start();
    ASSERT_TRUE(created);
    EXPECT_EQ(window->table().selectedIndex(), "NewIndex");
    EXPECT_EQ(window->table().text(0), "Alien");
}

TEST_F(MainWindowTest, ACollectionCutShortOpensWithItsRecordsAndSaysSoOnce)
{
    const QString films = file("FILMS.DBF");
    db::createCollectionTable(films.toStdString());
    addRecords(films, {"Zulu", "Alien"});
    {
        db::File f; // a power cut left the count of a record that never reached the disk
        f.open(films.toStdString(), db::File::Mode::ReadWrite);
        const char three = 3;
        f.writeAt(4, &three, 1);
    }
    IniFile ini;
    ini.setValue("Misc", "Last Database", films);
    QDir().mkpath(QFileInfo(config).absolutePath());
    ASSERT_TRUE(ini.save(config).isEmpty());
    auto window = start();
    ASSERT_TRUE(created);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].caption, "Warning");
    EXPECT_TRUE(prompter.messages[0].text.contains("counts 3 records but the file holds 2"))
        << prompter.messages[0].text.toStdString();
    window->show();
    EXPECT_EQ(window->countText(), "2");
}

TEST_F(MainWindowTest, TheWindowKeepsItsBoundsWhateverItsButtonRows)
{
    IniFile ini;
    ini.setValue("Misc", "Main Window Left", "30");
    ini.setValue("Misc", "Main Window Top", "40");
    ini.setValue("Misc", "Main Window Width", "640");
    ini.setValue("Misc", "Main Window Height", "480");
    ini.setValue("Misc", "Show Tips", "No");
    QDir().mkpath(QFileInfo(config).absolutePath());
    ASSERT_TRUE(ini.save(config).isEmpty());
    auto window = start();
    ASSERT_TRUE(created);
    window->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(640, 480));
    window->action("ButtonBar2")->trigger(); // the lettered buttons
    QCoreApplication::processEvents();
    EXPECT_EQ(window->width(), 640);
    window->action("ButtonBar1")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->width(), 640);
    window->close();
    IniFile written;
    ASSERT_TRUE(written.load(config));
    for (const auto& [key, value] : std::vector<std::pair<const char*, const char*>>{
             {"Main Window Left", "30"}, {"Main Window Top", "40"}, {"Main Window Width", "640"}, {"Main Window Height", "480"}})
        EXPECT_EQ(written.value("Misc", key), QString(value)) << key;
}

TEST_F(MainWindowTest, HelpOpensItsPagesFromTheBuiltProgram)
{
    auto window = start();
    ASSERT_TRUE(created);
    window->show();
    window->DoHelp();
    auto* browser = window->findChild<QTextBrowser*>("HelpBrowser");
    ASSERT_NE(browser, nullptr);
    EXPECT_GT(browser->toPlainText().trimmed().size(), 100) << browser->toPlainText().toStdString();
}

TEST_F(MainWindowTest, InvalidLastDatabaseAsksForAnotherUntilOneFits)
{
    const QString foreign = file("FOREIGN.DBF");
    db::Table::createTable(foreign.toStdString(), {{"NAME", 'C', 10, 0}});
    const QString good = file("GOOD.DBF");
    db::createCollectionTable(good.toStdString());
    IniFile ini;
    ini.setValue("Misc", "Last Database", foreign);
    QDir().mkpath(QFileInfo(config).absolutePath());
    ini.save(config);
    prompter.fileNames = {file("notes.txt"), foreign, good};
    auto window = start();
    ASSERT_TRUE(created);
    EXPECT_EQ(window->currentDatabase(), good);
    EXPECT_EQ(prompter.messageTexts(),
              (QStringList{kNotCollection,
                           "The last database used as recorded in the INI file is not a valid Reelkeeper Videos 95 "
                           "file.  You will need to choose a new file.",
                           "Invalid file type selected.", kNotCollection}));
}

TEST_F(MainWindowTest, GivingUpOnTheOpenDialogEndsTheStart)
{
    const QString foreign = file("FOREIGN.DBF");
    db::Table::createTable(foreign.toStdString(), {{"NAME", 'C', 10, 0}});
    IniFile ini;
    ini.setValue("Misc", "Last Database", foreign);
    QDir().mkpath(QFileInfo(config).absolutePath());
    ini.save(config);
    auto window = start();
    EXPECT_FALSE(created);
}

TEST_F(MainWindowTest, ProgramFolderThatCannotBeMadeEndsWithAClearMessage)
{
    const QString blocker = file("blocker");
    QFile f(blocker);
    f.open(QIODevice::WriteOnly);
    f.close();
    qputenv("REELKEEPER_HOME", (blocker + "/home").toLocal8Bit());
    auto window = start();
    EXPECT_FALSE(created);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.contains(blocker + "/home"));
}

TEST_F(MainWindowTest, RecentDatabasesAndTheirMenu)
{
    auto window = start();
    ASSERT_TRUE(created);
    // All five empty: neither the separator nor any item shows.
    int visible = 0;
    for (QAction* a : window->menu("FileMenu")->actions())
        if (a->isVisible() && (a->isSeparator() || a->objectName().startsWith("Recent")))
            ++visible;
    EXPECT_EQ(visible, 0);

    const QString films = file("FILMS.DBF");
    db::createCollectionTable(films.toStdString());
    window->OpenSaveFile(films);
    EXPECT_EQ(window->currentDatabase(), films);
    EXPECT_EQ(window->settings().lastFiles[0], home + "/MASTER.DBF");
    EXPECT_TRUE(window->action("Recent1")->isVisible());
    EXPECT_EQ(window->action("Recent1")->text(), "&1   " + home + "/MASTER.DBF");
    EXPECT_FALSE(window->action("Recent2")->isVisible());
    window->OpenSaveFile(films); // the current file again
    EXPECT_EQ(window->settings().lastFiles[0], films);
    EXPECT_EQ(window->settings().lastFiles[1], home + "/MASTER.DBF");
}

TEST_F(MainWindowTest, OpenRefusesForeignTablesAndWrongExtensions)
{
    auto window = start();
    const QString foreign = file("FOREIGN.DBF");
    db::Table::createTable(foreign.toStdString(), {{"NAME", 'C', 10, 0}});
    prompter.fileNames = {file("list.TXT"), foreign};
    window->DoOpen();
    window->DoOpen();
    EXPECT_EQ(prompter.messageTexts(), (QStringList{"Invalid file type selected.", kNotCollection}));
    EXPECT_EQ(prompter.dialogTitles, (QStringList{"Open Database File", "Open Database File"}));
    EXPECT_EQ(window->currentDatabase(), home + "/MASTER.DBF");
    EXPECT_TRUE(window->table().active());
}

TEST_F(MainWindowTest, ACollectionGivenAtStartThatCannotBeOpenedIsToldAndTheProgramGoesOn)
{
    auto window = start();
    const QString master = home + "/MASTER.DBF";
    QFile junk(file("junk.dbf"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a table");
    junk.close();
    const QString unreadable = file("locked.DBF");
    db::createCollectionTable(unreadable.toStdString());
    QFile::setPermissions(unreadable, QFileDevice::Permissions{});
    const bool asRoot = QFile(unreadable).open(QIODevice::ReadOnly); // root reads it anyway
    const struct {
        QString given;
        QString told;
    } cases[] = {
        {file("missing.dbf"), "Table does not exist"},
        {file("junk.dbf"), "Not a dBASE table"},
        {file("notes.txt"), "Invalid file type selected."},
        {unreadable, asRoot ? QString() : QString("Cannot open file")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given.toStdString());
        prompter.messages.clear();
        window->openGivenCollection(c.given);
        if (c.told.isEmpty())
            continue;
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].caption, "Error");
        EXPECT_TRUE(prompter.messages[0].text.contains(c.told)) << prompter.messages[0].text.toStdString();
        EXPECT_TRUE(prompter.messages[0].text.contains(QFileInfo(c.given).fileName())
                    || c.told == "Invalid file type selected.");
        EXPECT_EQ(window->currentDatabase(), master);
        EXPECT_TRUE(window->table().active());
    }
}

TEST_F(MainWindowTest, ACollectionWithDotsInItsNameIsTheOneOpenedAndNamed)
{
    auto window = start();
    const QString shorter = file("Films 2.DBF");
    const QString dotted = file("Films 2.0.dbf");
    db::createCollectionTable(shorter.toStdString());
    addRecords(shorter, {"Zulu"});
    db::createCollectionTable(dotted.toStdString());
    addRecords(dotted, {"Alien", "Brazil"});
    window->openGivenCollection(dotted);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(window->currentDatabase(), dotted);
    EXPECT_EQ(window->windowTitle(), "Reelkeeper Videos 95 (Films 2.0)");
    EXPECT_EQ(window->table().recordCount(), 2u);
    EXPECT_EQ(window->settings().lastFiles[0], home + "/MASTER.DBF");
    EXPECT_TRUE(QFileInfo::exists(file("Films 2.0.mdx")));
}

TEST_F(MainWindowTest, NewDatabaseIsCreatedOpenedAndSorted)
{
    auto window = start();
    const QString fresh = file("FRESH.DBF");
    prompter.fileNames = {fresh};
    window->DoNew();
    EXPECT_EQ(window->currentDatabase(), fresh);
    EXPECT_EQ(window->windowTitle(), "Reelkeeper Videos 95 (FRESH)");
    EXPECT_EQ(window->table().selectedIndex(), "NewIndex");
    EXPECT_EQ(prompter.dialogTitles, QStringList{"New Database File"});
    EXPECT_TRUE(prompter.messages.empty());
    // Unicode unless the check box asks for Windows-1252.
    EXPECT_EQ(prompter.fileDialogs[0].checkBox,
              "Windows-1252 text, which older programs read (Western European letters only)");
    EXPECT_EQ(window->table().encoding(), db::TextEncoding::Utf8);
    EXPECT_EQ(db::Table::encodingOfFile(window->table().filePath()), db::TextEncoding::Utf8);

    const QString older = file("FOR OLDER.DBF");
    prompter.fileNames = {older};
    prompter.checkBoxes = {true};
    window->DoNew();
    EXPECT_EQ(window->currentDatabase(), older);
    EXPECT_EQ(window->table().encoding(), db::TextEncoding::Windows1252);
    EXPECT_EQ(testing_support::readFileBytes(file("FOR OLDER.CPG").toStdString()), "1252");
}

TEST_F(MainWindowTest, CollectionHeldByAnotherCopyIsNotReplacedPackedOrReindexed)
{
    auto window = start();
    const QString held = file("HELD.DBF");
    db::createCollectionTable(held.toStdString());
    addRecords(held, {"Kept"});
    Holder holder(held);
    EXPECT_TRUE(window->DBaseInUse(held));

    prompter.fileNames = {held};
    window->DoNew();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "The table \"" + held
                                             + "\" is currently in use by another program.  New table creation "
                                               "will be aborted.");
    EXPECT_EQ(window->currentDatabase(), home + "/MASTER.DBF");

    window->OpenSaveFile(held); // held elsewhere: opened shared, index left alone
    EXPECT_EQ(window->currentDatabase(), held);
    prompter.messages.clear();
    prompter.answers = {Prompter::Answer::Yes, Prompter::Answer::Yes};
    window->DoPack();
    window->DoRebuildIndexes();
    const QString tail = "Make sure that the DBase File is not in use by another program  or that no other users are "
                         "running the software or that no other copies of the software are in use.";
    EXPECT_EQ(prompter.messageTexts(),
              (QStringList{"Unable to pack table.  Packing requires exclusive use of the DBase File.  " + tail,
                           "Unable to reindex table.  Reindexing requires exclusive use of the DBase File.  " + tail}));
    EXPECT_EQ(prompter.questions[0].caption, "Confirm");
    EXPECT_TRUE(window->table().active());
    EXPECT_EQ(window->table().openMode(), db::Table::OpenMode::Shared);
    EXPECT_EQ(window->table().text(0), "Kept");
}

TEST_F(MainWindowTest, ConvertToUnicodeAsksKeepsEveryRecordAndThenTakesAnyScript)
{
    auto window = start();
    const QString films = file("OLD FILMS.DBF");
    db::createCollectionTable(films.toStdString(), db::TextEncoding::Windows1252);
    addRecords(films, {"Am\xC3\xA9lie \xE2\x82\xAC", "Zulu"});
    window->OpenSaveFile(films);
    db::Table& t = window->table();
    QAction* convert = window->findChild<QAction*>("ConvertToUnicode");
    ASSERT_NE(convert, nullptr);
    EXPECT_EQ(convert->text(), "Convert to &Unicode");

    prompter.answers = {Prompter::Answer::No};
    convert->trigger();
    EXPECT_EQ(t.encoding(), db::TextEncoding::Windows1252);
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_TRUE(prompter.questions[0].text.startsWith("This collection keeps its text in Windows-1252")) << prompter.questions[0].text.toStdString();
    EXPECT_TRUE(prompter.messages.empty());

    prompter.answers = {Prompter::Answer::Yes};
    convert->trigger();
    EXPECT_EQ(prompter.messageTexts(), QStringList{"Converted: 2 records now keep their text in Unicode."});
    EXPECT_EQ(t.encoding(), db::TextEncoding::Utf8);
    EXPECT_EQ(t.openMode(), db::Table::OpenMode::Shared);
    EXPECT_EQ(window->countText(), "2");
    std::vector<std::string> titles;
    for (t.first(); !t.eof(); t.next())
        titles.push_back(t.text(0));
    EXPECT_EQ(titles, (std::vector<std::string>{"Am\xC3\xA9lie \xE2\x82\xAC", "Zulu"}));
    t.first();
    t.edit();
    EXPECT_TRUE(t.setText(0, "\xE5\x8D\x83\xE3\x81\xA8\xE5\x8D\x83\xE5\xB0\x8B")); // 千と千尋
    t.post();

    prompter.messages.clear();
    convert->trigger();
    EXPECT_EQ(prompter.messageTexts(), QStringList{"This collection already keeps its text in Unicode: titles in any "
                                                   "script can be typed and imported into it."});
}

TEST_F(MainWindowTest, ConvertToUnicodeSaysWhichTextsWouldNotFitAndKeepsTheCollection)
{
    auto window = start();
    const QString films = file("FULL.DBF");
    db::createCollectionTable(films.toStdString(), db::TextEncoding::Windows1252);
    {
        db::Table t;
        t.setFilePath(films.toStdString());
        t.open();
        std::string accents;
        for (int i = 0; i < t.fields()[0].width; ++i)
            accents += "\xC3\xA9";
        t.insert();
        t.setText(0, accents);
        t.post();
    }
    window->OpenSaveFile(films);
    prompter.answers = {Prompter::Answer::Yes};
    window->findChild<QAction*>("ConvertToUnicode")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].caption, "Error");
    EXPECT_TRUE(prompter.messages[0].text.contains("Nothing was converted: 1 text would be longer than its field"))
        << prompter.messages[0].text.toStdString();
    EXPECT_EQ(window->table().encoding(), db::TextEncoding::Windows1252);
    EXPECT_EQ(window->table().openMode(), db::Table::OpenMode::Shared);
    EXPECT_EQ(window->countText(), "1");
}

TEST_F(MainWindowTest, NewDatabaseOverTheOpenCollectionIsRefused)
{
    auto window = start();
    prompter.fileNames = {home + "/MASTER.DBF"};
    window->DoNew();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.endsWith("is currently in use by another program.  New table creation will "
                                                   "be aborted."));
}

TEST_F(MainWindowTest, PackRemovesDeletedRecordsAndRebuildRepairsTheIndex)
{
    auto window = start();
    const QString films = file("FILMS.DBF");
    db::createCollectionTable(films.toStdString());
    window->OpenSaveFile(films);
    db::Table& t = window->table();
    for (const char* star : {"Cary Grant", "Bette Davis", "Audrey Hepburn"}) {
        t.insert();
        t.setText(1, star);
        t.post();
    }
    t.first();
    t.next(); // Bette Davis... in Star1 order: Audrey, Bette, Cary
    t.deleteRecord();
    prompter.answers = {Prompter::Answer::No};
    window->DoPack();
    EXPECT_EQ(t.physicalRecordCount(), 3u); // No: nothing happens
    prompter.answers = {Prompter::Answer::Yes};
    window->DoPack();
    EXPECT_EQ(t.physicalRecordCount(), 2u);
    EXPECT_EQ(window->countText(), "2");
    t.first();
    EXPECT_EQ(t.text(1), "Audrey Hepburn");

    // Damage the index on disk, then rebuild it.
    t.close();
    QFile index(window->indexFileName());
    ASSERT_TRUE(index.open(QIODevice::ReadWrite));
    index.seek(4096 + 30);
    index.write("garbage!");
    index.close();
    prompter.answers = {Prompter::Answer::Yes};
    window->DoRebuildIndexes();
    EXPECT_TRUE(t.active());
    t.first();
    EXPECT_EQ(t.text(1), "Audrey Hepburn");
    t.last();
    EXPECT_EQ(t.text(1), "Cary Grant");
}

TEST_F(MainWindowTest, LargeWindowSizeOnASmallScreenScalesByOneButIsKept)
{
    IniFile ini;
    ini.setValue("Misc", "Window Size", "1280");
    QDir().mkpath(QFileInfo(config).absolutePath());
    ini.save(config);
    screen = QSize(1024, 768);
    auto window = start();
    EXPECT_EQ(window->scaleFactor(), 1.0);
    EXPECT_TRUE(window->action("ScreenSize640")->isChecked());
    EXPECT_FALSE(window->action("ScreenSize1280")->isChecked());
    window->action("ScreenSize1280")->trigger(); // the size already set: nothing changes, one tick
    EXPECT_TRUE(window->action("ScreenSize640")->isChecked());
    EXPECT_FALSE(window->action("ScreenSize1280")->isChecked());
    window->close();
    IniFile back;
    back.load(config);
    EXPECT_EQ(back.value("Misc", "Window Size"), QString("1280"));
}

TEST_F(MainWindowTest, TheAboutBoxBreaksItsLine)
{
    auto window = start();
    ASSERT_TRUE(created);
    window->action("About")->trigger();
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_EQ(prompter.messages.back().text,
              "Reelkeeper Videos 95\nA database manager for a private video collection.\nVersion " REELKEEPER_VERSION);
    EXPECT_FALSE(prompter.messages.back().text.contains("\\n"));
}

TEST_F(MainWindowTest, InGermanTheMenusSpeakGermanAndTheLanguageIsChosenForTheNextStart)
{
    const testing_support::InstalledTranslation german(RK_GERMAN);
    ASSERT_TRUE(german.loaded());
    auto window = start();
    ASSERT_TRUE(created);
    QStringList titles;
    for (QAction* menu : window->menuBar()->actions())
        titles << menu->text();
    EXPECT_EQ(titles, (QStringList{"&Datei", "Daten&sätze", "&Navigieren", "&Optionen", "&Werkzeuge", "&Hilfe"}));
    EXPECT_EQ(window->action("NewDatabase")->text(), "&Neue Datenbank");
    // The ready-made reports are written into the user's file in German the
    // first time: whole names, and labels a part widens to hold.
    const report::DefinitionsFile reports((home + "/REELKP.URP").toStdString());
    const report::DefinitionsFile::Listing listing = reports.list();
    EXPECT_EQ(listing.problem(), "");
    QStringList names;
    for (const std::string& name : listing.names)
        names << QString::fromStdString(db::cp1252ToUtf8(name));
    EXPECT_EQ(names, (QStringList{"Bericht Titel und Mediennummer", "Bericht nach Altersfreigabe", "Bericht nach Darstellern",
                                  "Oscar-Bericht", "Großer Bericht", "Statistik-/Übersichtsbericht"}));
    const report::ReportDefinition large = reports.read(4);
    const std::vector<report::ReportItem> people = report::lineItems(large.lines[2]);
    EXPECT_EQ(people[0].label, "Produzent:");
    EXPECT_EQ(people[0].width, 10); // one more than the English "Producer:" needs
    EXPECT_EQ(db::cp1252ToUtf8(report::lineItems(large.lines[5])[0].label), "Zähler Anfang:");
    EXPECT_EQ(large.totals[0].label, "Anzahl:");
    EXPECT_EQ(large.totals[2].kind, "Quantity"); // what a total counts is not a word of the report
    window->action("About")->trigger();
    EXPECT_EQ(prompter.messages.back().text,
              "Reelkeeper Videos 95\nEine Datenbank für eine private Videosammlung.\nVersion " REELKEEPER_VERSION);
    // Options > Language keeps the choice for the next start, and says so.
    EXPECT_TRUE(window->action("LanguageDesktop")->isChecked());
    window->action("LanguageEN")->trigger();
    EXPECT_TRUE(window->action("LanguageEN")->isChecked());
    EXPECT_FALSE(window->action("LanguageDesktop")->isChecked());
    EXPECT_EQ(prompter.messages.back().caption, "Language") << "said in the language chosen, not the one left";
    EXPECT_EQ(prompter.messages.back().text, "The program speaks the chosen language from its next start.");
    IniFile back;
    back.load(config);
    EXPECT_EQ(back.value("Misc", "Language"), QString("en"));
}

// Field names still at their defaults follow the language the program speaks;
// a name the user gave stays as it is.
TEST_F(MainWindowTest, DefaultFieldNamesFollowTheLanguageAndTheUsersOwnStay)
{
    {
        IniFile ini;
        ini.setValue("Field Names", "Title", "Title");
        ini.setValue("Field Names", "Director", "Regisseur(in)");
        ini.setValue("Field Names", "Year", "Year");
        QDir().mkpath(QFileInfo(config).absolutePath());
        ASSERT_EQ(ini.save(config), "");
    }
    const testing_support::InstalledTranslation german(RK_GERMAN);
    ASSERT_TRUE(german.loaded());
    auto window = start();
    ASSERT_TRUE(created);
    const auto nameOf = [&](const char* field) {
        return window->settings().fields[static_cast<size_t>(db::schemaPosition(field) - 1)].displayName;
    };
    EXPECT_EQ(nameOf("Title"), "Titel");
    EXPECT_EQ(nameOf("Year"), QCoreApplication::translate("db", "Year"));
    EXPECT_NE(nameOf("Year"), "Year");
    EXPECT_EQ(nameOf("Director"), "Regisseur(in)") << "the user's own name";
}

TEST_F(MainWindowTest, ScreenSizeItemsRefuseWhatTheScreenCannotShow)
{
    screen = QSize(1024, 768);
    auto window = start();
    window->action("ScreenSize1280")->trigger();
    EXPECT_EQ(prompter.messageTexts(), QStringList{"Your current screen resolution does not support 1280 x 1024 pixels."});
    EXPECT_EQ(window->settings().windowSize, 640);
    window->action("ScreenSize1024")->trigger();
    EXPECT_EQ(window->settings().windowSize, 1024);
    EXPECT_EQ(window->scaleFactor(), 1.6);
    EXPECT_TRUE(window->action("ScreenSize1024")->isChecked());
    EXPECT_FALSE(window->action("ScreenSize640")->isChecked());
}

TEST_F(MainWindowTest, DateFormatItemsTickAndChangeEveryDate)
{
    auto window = start();
    EXPECT_TRUE(window->action("DateFormat1")->isChecked());
    window->action("DateFormat5")->trigger();
    window->action("LeadingZeros")->trigger();
    EXPECT_TRUE(window->action("DateFormat5")->isChecked());
    EXPECT_FALSE(window->action("DateFormat1")->isChecked());
    EXPECT_TRUE(window->action("LeadingZeros")->isChecked());
    EXPECT_EQ(db::formatShortDate({1997, 3, 5}), "05-03-97");
    window->action("DateFormat5")->trigger(); // already ticked: nothing changes
    EXPECT_TRUE(window->action("DateFormat5")->isChecked());
    window->close();
    IniFile back;
    back.load(config);
    EXPECT_EQ(back.value("Misc", "Date Format"), QString("5"));
    EXPECT_EQ(back.value("Misc", "Date Leading Zeros"), QString("Yes"));
    db::setEditTextFormat({});
}

TEST_F(MainWindowTest, BadSettingsFileStartsWithDefaults)
{
    QDir().mkpath(QFileInfo(config).absolutePath());
    QFile f(config);
    f.open(QIODevice::WriteOnly);
    f.write("\x01\x02 binary junk\n[Misc\nButton Bar==\n[Sort Order]\nPrimary Sort=banana\n[Misc]\nWindow Size=-1\n");
    f.close();
    auto window = start();
    ASSERT_TRUE(created);
    EXPECT_EQ(window->settings().sortKeys[0], 2);
    EXPECT_EQ(window->settings().buttonBar, 1);
    EXPECT_EQ(window->settings().windowSize, 640);
}

TEST_F(MainWindowTest, BrowseModeTurnsFieldEditingOffForTheRunOnly)
{
    IniFile ini;
    ini.setValue("Grid Options", "Field Editing", "Yes");
    QDir().mkpath(QFileInfo(config).absolutePath());
    ini.save(config);
    auto window = start(true);
    EXPECT_TRUE(window->browseMode());
    EXPECT_FALSE(window->settings().gridFieldEditing);
    window->close();
    IniFile back;
    back.load(config);
    EXPECT_EQ(back.value("Grid Options", "Field Editing"), QString("Yes"));
}

TEST_F(MainWindowTest, StartUpOffersToConvertTheOlderVersionsFiles)
{
    // Old files as the earlier versions kept them, with their fields (the first one not looked at).
    QDir().mkpath(home);
    auto oldFile = [&](const char* name, std::vector<const char*> fields) {
        std::vector<db::FieldDef> defs = {{"ID", 'N', 6, 0}};
        for (const char* field : fields)
            defs.push_back({field, 'C', 30, 0});
        const QString path = QDir(home).filePath(name);
        db::Table::createTable(path.toStdString(), defs);
        db::Table t;
        t.setFilePath(path.toStdString());
        t.open();
        t.insert();
        t.setText(t.requireField("Title"), "Old Film");
        t.post();
        return path;
    };
    const std::vector<const char*> common = {"Title", "Star1", "Star2", "Star3", "Star4", "Producer", "Director",
                                             "ReleasedBy", "Year", "RunTime", "Rating", "Category", "Picture",
                                             "Sound", "Format", "PersonalRa"};
    std::vector<const char*> v2 = common, v1 = common;
    for (const char* f : {"MediaNum", "RecSpeed", "CounterSta", "CounterSto", "Descriptio", "Content", "Miscellane",
                          "KeyWords", "LaserForma", "ListPrice", "OscarNom", "OscarAward"})
        v2.push_back(f);
    for (const char* f : {"TapeNum", "RecSpeed", "CounterSta", "CounterSto", "Descriptio", "Content", "CloseCapt",
                          "NoiseRed", "SurroundSo"})
        v1.push_back(f);
    const QString second = oldFile("V2LOG.DBF", v2);
    const QString first = oldFile("VLOG.DBF", v1);
    // Yes to 2.X, No to 1.X: the 2.X question comes first.
    prompter.answers = {Prompter::Answer::Yes, Prompter::Answer::No};
    auto window = start();
    ASSERT_TRUE(created);
    ASSERT_EQ(prompter.questions.size(), 2u);
    EXPECT_EQ(prompter.questions[0].caption, "Convert");
    EXPECT_EQ(prompter.questions[0].text,
              "A database from a previous version (2.X) has been detected.  Would you like to convert it now?  NOTE: "
              "After conversion the old file will be deleted.  You may wish to make a copy of \"V2LOG.DBF\" first.");
    EXPECT_NE(prompter.questions[1].text.indexOf("(1.X)"), -1);
    EXPECT_FALSE(QFileInfo::exists(second));
    EXPECT_TRUE(QFileInfo::exists(first)); // asked again at the next start
    EXPECT_EQ(window->table().recordCount(), 1u);
    EXPECT_EQ(QString::fromStdString(window->table().text(0)), "Old Film");
}

TEST_F(MainWindowTest, EverySpeedButtonIsAPictureWithItsHint)
{
    auto window = start();
    ASSERT_TRUE(created);
    const QList<QToolButton*> buttons = window->findChild<QWidget*>("SpeedPanel")->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 18);
    for (QToolButton* button : buttons) {
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_FALSE(button->icon().pixmap(24, 24).isNull());
        EXPECT_FALSE(button->toolTip().isEmpty());
    }
    EXPECT_EQ(window->findChild<QToolButton*>("SpeedColorAll")->toolTip(), "Color Setup");
    EXPECT_EQ(window->findChild<QToolButton*>("SpeedSortOrder")->toolTip(), "Set Sorting Order");
    EXPECT_EQ(window->findChild<QToolButton*>("SpeedStatistics")->toolTip(), "Statistics");
}
