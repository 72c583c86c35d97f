// Backup and restore through the main window's File menu, on real files.
#include "CollectionFile.h"
#include "PickList.h"
#include "Scripts.h"
#include "ScriptedPrompter.h"
#include "Search.h"
#include "TMain.h"
#include "TMyBackup.h"
#include "TMyEdit.h"
#include "Table.h"
#include "TempDir.h"
#include "TemporaryProgram.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTreeView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QCheckBox>
#include <QRadioButton>

using testing_support::ScriptedPrompter;
using testing_support::TempDir;
using testing_support::readFileBytes;
using testing_support::writeFileBytes;

namespace {

class BackupWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.saveSettings();
        window = std::make_unique<app::TMain>(prompter, false);
        window->setDialogRunner([this](QDialog& d) {
            if (auto* b = dynamic_cast<backup_ui::TMyBackup*>(&d); b && backupScript)
                backupScript(*b);
            if (auto* r = dynamic_cast<backup_ui::TMyRestore*>(&d); r && restoreScript)
                restoreScript(*r);
            return d.result();
        });
        ASSERT_TRUE(window->create());
        window->show();
        addFilm("Heat");
        addFilm("Alien");
        window->DisplayCount();
        media = QString::fromStdString(dir.file("media"));
        QDir().mkpath(media);
    }

    void addFilm(const char* title)
    {
        db::Table& t = window->table();
        t.insert();
        t.setText(0, title);
        t.post();
    }

    // Backs up one kind into a folder and gives the last message shown.
    void backUp(QRadioButton* backup_ui::TMyBackup::*kind, const QString& folder, bool withCovers = true)
    {
        backupScript = [&, withCovers](backup_ui::TMyBackup& b) {
            (b.*kind)->setChecked(true);
            EXPECT_TRUE(b.CoversBox->isChecked()) << "on at first";
            EXPECT_EQ(b.CoversBox->isEnabled(), b.DatabaseButton->isChecked());
            b.CoversBox->setChecked(withCovers);
            b.setDestinationFolder(folder);
            EXPECT_EQ(b.destinationFolder(), folder);
            b.StartBackupClick();
            closeCaption = b.CancelButton->text();
        };
        window->action("BackUpData")->trigger();
    }

    void restore(QRadioButton* backup_ui::TMyRestore::*kind, const QString& chosen)
    {
        prompter.fileNames = {chosen};
        restoreScript = [&](backup_ui::TMyRestore& r) {
            (r.*kind)->setChecked(true);
            r.StartRestoreClick();
            closeCaption = r.CancelButton->text();
        };
        window->action("RestoreData")->trigger();
    }

    QString lastMessage() const { return prompter.messages.empty() ? QString() : prompter.messages.back().text; }

    TempDir dir;
    testing_support::TemporaryProgram program{dir};
    ScriptedPrompter prompter;
    std::unique_ptr<app::TMain> window;
    std::function<void(backup_ui::TMyBackup&)> backupScript;
    std::function<void(backup_ui::TMyRestore&)> restoreScript;
    QString media;
    QString closeCaption;
};

} // namespace

TEST_F(BackupWindowsTest, TheCollectionIsBackedUpAndTheSearchComesBack)
{
    const QString current = window->currentDatabase();
    // The films' covers, beside the collection, go with it.
    const QString covers = QFileInfo(current).absolutePath() + "/" + QFileInfo(current).completeBaseName() + ".covers";
    ASSERT_TRUE(QDir().mkpath(covers));
    writeFileBytes((covers + "/Heat (1995).jpg").toStdString(), std::string(3000, 'h'));
    writeFileBytes((covers + "/\xCE\xA9mega.png").toStdString(), "omega");
    // Into its own folder: the identical-files message, nothing copied.
    backUp(&backup_ui::TMyBackup::DatabaseButton, QFileInfo(current).absolutePath());
    EXPECT_EQ(lastMessage(), "Destination File and Source File are identical.  You cannot copy a file  over top of "
                             "itself.  Please choose a different directory to backup to.");
    EXPECT_EQ(closeCaption, "&Cancel");

    find::SearchItem item;
    item.field = 1;
    item.value = "HEAT";
    item.test = find::SearchItem::Contains;
    item.levelEnd = true;
    window->Doit({item});
    ASSERT_TRUE(window->searchMode());
    backUp(&backup_ui::TMyBackup::DatabaseButton, media);
    EXPECT_EQ(prompter.messages.back().caption, "Notice");
    EXPECT_EQ(lastMessage(), "Backup completed successfully.");
    EXPECT_EQ(closeCaption, "&Close");
    const QString copy = QDir(media).filePath(QFileInfo(current).baseName() + ".DBF");
    EXPECT_EQ(readFileBytes(copy.toStdString()), readFileBytes(current.toStdString()));
    EXPECT_FALSE(QFileInfo::exists(QDir(media).filePath(QFileInfo(current).baseName() + ".MDX")));
    const QString copiedCovers = QDir(media).filePath(QFileInfo(current).baseName() + ".covers");
    EXPECT_EQ(readFileBytes((copiedCovers + "/Heat (1995).jpg").toStdString()), std::string(3000, 'h'));
    EXPECT_EQ(readFileBytes((copiedCovers + "/\xCE\xA9mega.png").toStdString()), "omega");
    // Unticked, the collection goes alone.
    const QString other = QDir(media).filePath("other");
    ASSERT_TRUE(QDir().mkpath(other));
    backUp(&backup_ui::TMyBackup::DatabaseButton, other, false);
    EXPECT_EQ(lastMessage(), "Backup completed successfully.");
    EXPECT_FALSE(QFileInfo::exists(QDir(other).filePath(QFileInfo(current).baseName() + ".covers")));
    EXPECT_TRUE(window->searchMode());
    EXPECT_EQ(window->table().recordCount(), 1u);
    EXPECT_TRUE(window->table().active());
}

TEST_F(BackupWindowsTest, ListsAndDefinitionsGoAndComeBack)
{
    // Only some lists exist: the others are passed over and the backup succeeds.
    const QString home = program.home;
    for (const char* name : {"STAR.LST", "MISC.LST"})
        writeFileBytes(QDir(home).filePath(name).toStdString(), std::string(name) + "\r\n");
    QFile::remove(QDir(home).filePath("PRODUCER.LST"));
    window->editor()->LoadAllList(); // the backup saves the lists first, from what the editor holds
    backUp(&backup_ui::TMyBackup::ListsButton, media);
    EXPECT_EQ(lastMessage(), "Backup completed successfully.");
    EXPECT_EQ(readFileBytes(QDir(media).filePath("STAR.LST").toStdString()), "STAR.LST\r\n");

    // Restore: each missing list is named, and the end says not all came back.
    QFile::remove(QDir(media).filePath("PRODUCER.LST"));
    writeFileBytes(QDir(media).filePath("STAR.LST").toStdString(), "Audrey Hepburn\r\n");
    prompter.messages.clear();
    restore(&backup_ui::TMyRestore::ListsButton, QDir(media).filePath("STAR.LST"));
    ASSERT_GE(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].caption, "Warning");
    EXPECT_EQ(prompter.messages[0].text,
              "The following file \"PRODUCER.LST\" could not be located on the specified source drive.");
    EXPECT_EQ(lastMessage(), "One or more files were not restored.  Restore may not have completed successfully.");
    EXPECT_EQ(readFileBytes(QDir(home).filePath("STAR.LST").toStdString()), "Audrey Hepburn\r\n");

    // Definitions: from a folder without REELKP.URP, whatever file was chosen.
    writeFileBytes(QDir(media).filePath("OTHER.URP").toStdString(), "x");
    restore(&backup_ui::TMyRestore::DefinitionsButton, QDir(media).filePath("OTHER.URP"));
    EXPECT_EQ(prompter.messages.back().caption, "Error");
    EXPECT_EQ(lastMessage(), "The Report Definitions file \"REELKP.URP\" could not be  located on the specified source "
                             "drive.");
    EXPECT_EQ(prompter.dialogTitles.back(), "Restore URP File");
    backUp(&backup_ui::TMyBackup::DefinitionsButton, media);
    EXPECT_EQ(lastMessage(), "Backup completed successfully.");
    restore(&backup_ui::TMyRestore::DefinitionsButton, QDir(media).filePath("OTHER.URP"));
    EXPECT_EQ(lastMessage(), "Restore completed successfully.");
}

TEST_F(BackupWindowsTest, ARestoredTableBecomesTheCurrentCollection)
{
    const QString current = window->currentDatabase();
    const std::string before = readFileBytes(current.toStdString());
    // A backup under another name, with one more film.
    const QString other = QDir(media).filePath("FILMS.DBF");
    QFile::copy(current, other);
    {
        db::Table t;
        t.setFilePath(other.toStdString());
        t.open();
        t.insert();
        t.setText(0, "Brazil");
        t.post();
    }
    restore(&backup_ui::TMyRestore::DatabaseButton, other);
    EXPECT_EQ(lastMessage(), "Restore completed successfully.");
    EXPECT_EQ(prompter.dialogTitles.back(), "Restore DBF File");
    const QString restored = QDir(program.home).filePath("FILMS.DBF");
    EXPECT_EQ(QFileInfo(window->currentDatabase()).absoluteFilePath(), QFileInfo(restored).absoluteFilePath());
    EXPECT_EQ(window->windowTitle(), "Reelkeeper Videos 95 (FILMS)");
    EXPECT_EQ(window->table().recordCount(), 3u);
    EXPECT_EQ(window->table().selectedIndex(), "NewIndex");
    EXPECT_EQ(window->table().checkIndex(), "");
    EXPECT_EQ(readFileBytes(current.toStdString()), before); // the old collection is left as it was
    EXPECT_EQ(closeCaption, "&Close");

    // The program folder's own file: already in place, nothing copied.
    restore(&backup_ui::TMyRestore::DatabaseButton, restored);
    EXPECT_NE(lastMessage().indexOf("already in place"), -1);
    EXPECT_EQ(window->table().recordCount(), 3u);

    // A file that is no collection is refused by the format check.
    writeFileBytes(QDir(media).filePath("JUNK.DBF").toStdString(), "not a table");
    restore(&backup_ui::TMyRestore::DatabaseButton, QDir(media).filePath("JUNK.DBF"));
    EXPECT_EQ(prompter.messages.back().caption, "Error");
    EXPECT_FALSE(QFileInfo::exists(QDir(program.home).filePath("JUNK.DBF")));
    EXPECT_TRUE(window->table().active());
}

TEST_F(BackupWindowsTest, ACollectionWithDotsInItsNameIsBackedUpAndRestoredUnderItsWholeName)
{
    const QString dotted = QDir(program.home).filePath("Films 2.0.DBF");
    QFile::copy(window->currentDatabase(), dotted);
    window->OpenSaveFile(dotted);
    ASSERT_EQ(window->currentDatabase(), dotted);
    backUp(&backup_ui::TMyBackup::DatabaseButton, media);
    EXPECT_EQ(lastMessage(), "Backup completed successfully.");
    const QString copy = QDir(media).filePath("Films 2.0.DBF");
    EXPECT_EQ(readFileBytes(copy.toStdString()), readFileBytes(dotted.toStdString()));
    EXPECT_FALSE(QFileInfo::exists(QDir(media).filePath("Films 2.DBF")));

    // Restored under its own name, its old index set aside to be built anew; no shorter name is touched.
    const QString other = QDir(media).filePath("My.Films.DBF");
    QFile::copy(copy, other);
    writeFileBytes(QDir(program.home).filePath("My.MDX").toStdString(), "another collection's index");
    restore(&backup_ui::TMyRestore::DatabaseButton, other);
    EXPECT_EQ(lastMessage(), "Restore completed successfully.");
    EXPECT_EQ(window->currentDatabase(), QDir(program.home).filePath("My.Films.DBF"));
    EXPECT_EQ(window->windowTitle(), "Reelkeeper Videos 95 (My.Films)");
    EXPECT_EQ(window->table().recordCount(), 2u);
    EXPECT_EQ(readFileBytes(QDir(program.home).filePath("My.MDX").toStdString()), "another collection's index");
}

TEST_F(BackupWindowsTest, EachCollectionTakesItsWordOnItsTextAlongToTheBackupAndBack)
{
    // The first start's collection is Unicode: every script goes to the backup and comes back.
    for (const auto& s : testing_support::scriptTitles())
        addFilm(s.title.c_str());
    const auto titlesOf = [](const QString& path) {
        db::Table t;
        t.setFilePath(path.toStdString());
        t.open(db::Table::OpenMode::ReadOnly);
        std::vector<std::string> titles;
        for (t.first(); !t.eof(); t.next())
            titles.push_back(t.text(0));
        std::sort(titles.begin(), titles.end());
        return titles;
    };
    const QString master = window->currentDatabase();
    const std::vector<std::string> held = titlesOf(master);
    backUp(&backup_ui::TMyBackup::DatabaseButton, media);
    EXPECT_EQ(lastMessage(), "Backup completed successfully.");
    EXPECT_EQ(readFileBytes(QDir(media).filePath("MASTER.CPG").toStdString()), "UTF-8");
    EXPECT_EQ(titlesOf(QDir(media).filePath("MASTER.DBF")), held);

    // A Windows-1252 collection, backed up where a Unicode backup of the same name was.
    const QString older = QDir(program.home).filePath("OLDER.DBF");
    db::createCollectionTable(older.toStdString(), db::TextEncoding::Windows1252);
    window->OpenSaveFile(older);
    addFilm("Am\xC3\xA9lie \xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D");
    writeFileBytes(QDir(media).filePath("OLDER.CPG").toStdString(), "UTF-8");
    backUp(&backup_ui::TMyBackup::DatabaseButton, media);
    EXPECT_EQ(lastMessage(), "Backup completed successfully.");
    EXPECT_EQ(readFileBytes(QDir(media).filePath("OLDER.CPG").toStdString()), "1252");
    EXPECT_EQ(titlesOf(QDir(media).filePath("OLDER.DBF")),
              std::vector<std::string>{"Am\xC3\xA9lie \xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D"});

    // Restored under another name: the .cpg comes along.
    const QString renamed = QDir(media).filePath("SCRIPTS.DBF");
    QFile::copy(QDir(media).filePath("MASTER.DBF"), renamed);
    QFile::copy(QDir(media).filePath("MASTER.CPG"), QDir(media).filePath("SCRIPTS.CPG"));
    restore(&backup_ui::TMyRestore::DatabaseButton, renamed);
    EXPECT_EQ(lastMessage(), "Restore completed successfully.");
    EXPECT_EQ(readFileBytes(QDir(program.home).filePath("SCRIPTS.CPG").toStdString()), "UTF-8");
    EXPECT_EQ(window->table().encoding(), db::TextEncoding::Utf8);
    EXPECT_EQ(titlesOf(window->currentDatabase()), held);

    // A backup an earlier version made has no .cpg: the one in the program folder is put right.
    QFile::remove(QDir(media).filePath("OLDER.CPG"));
    writeFileBytes(QDir(program.home).filePath("OLDER.CPG").toStdString(), "UTF-8");
    window->OpenSaveFile(master);
    restore(&backup_ui::TMyRestore::DatabaseButton, QDir(media).filePath("OLDER.DBF"));
    EXPECT_EQ(lastMessage(), "Restore completed successfully.");
    EXPECT_EQ(readFileBytes(QDir(program.home).filePath("OLDER.CPG").toStdString()), "1252");
    EXPECT_EQ(window->table().encoding(), db::TextEncoding::Windows1252);
}

TEST_F(BackupWindowsTest, TheBackupWindowOpensOnTheProgramFolderInSight)
{
    backupScript = [&](backup_ui::TMyBackup& b) {
        b.show();
        QElapsedTimer clock;
        clock.start();
        // The folders are read in the background: wait for the program folder to come into sight.
        const QModelIndex current = b.FolderList->currentIndex();
        auto inSight = [&] { return b.FolderList->viewport()->rect().intersects(b.FolderList->visualRect(current)); };
        while (clock.elapsed() < 5000 && !inSight())
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_EQ(QFileInfo(b.destinationFolder()).absoluteFilePath(), QFileInfo(program.home).absoluteFilePath());
        EXPECT_TRUE(b.FolderList->isExpanded(current.parent()));
        EXPECT_TRUE(inSight());
        b.reject();
    };
    window->action("BackUpData")->trigger();
}
