// The core's messages in the user's language: an engine failure keeps its
// English what() for logs and the command line, and a window speaks it.
#include "CoreText.h"
#include "FileIO.h"
#include "InstalledTranslation.h"
#include "ReportDefinitions.h"
#include "Replace.h"
#include "IniFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

TEST(CoreText, TheWordsPutInAreTakenAsTheyStand)
{
    const db::Message message{TRANSLATABLE("db", "'%1' is not a valid number for field %2"), {"50%2 off", "ListPrice"}};
    EXPECT_EQ(message.spoken(), "'50%2 off' is not a valid number for field ListPrice");
    EXPECT_EQ(db::DbError("FILMS.DBF", message).what(),
              std::string("'50%2 off' is not a valid number for field ListPrice (file \"FILMS.DBF\")"));
}

TEST(CoreText, AnEngineFailureIsSpokenInGermanAndStaysEnglishBelow)
{
    const testing_support::InstalledTranslation german(RK_GERMAN);
    ASSERT_TRUE(german.loaded());
    try {
        db::File file;
        file.open("/no/such/folder/FILMS.DBF", db::File::Mode::ReadOnly);
        FAIL() << "a missing file opened";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with("Cannot open file: ")) << e.what();
        const QString spoken = ui::errorText(e);
        EXPECT_TRUE(spoken.startsWith("Die Datei kann nicht geöffnet werden: ")) << spoken.toStdString();
        EXPECT_TRUE(spoken.endsWith("(Datei \"/no/such/folder/FILMS.DBF\")")) << spoken.toStdString();
    }
    // Any other failure shows as it stands.
    EXPECT_EQ(ui::errorText(std::runtime_error("plain words")), "plain words");
}

TEST(CoreText, ADamagedReportDefinitionsFileIsToldInGerman)
{
    const testing_support::InstalledTranslation german(RK_GERMAN);
    ASSERT_TRUE(german.loaded());
    testing_support::TempDir dir;
    const std::string path = dir.file("REELKP.URP");
    report::DefinitionsFile file(path);
    const std::vector<report::ReportDefinition> reports = report::defaultDefinitions();
    file.create({reports[0], reports[1]});
    db::File cut; // a third report cut short after its first bytes
    cut.open(path, db::File::Mode::ReadWrite);
    cut.writeAt(2 * report::kDefinitionSize, "partial", 7);
    cut.close();
    const report::DefinitionsFile::Listing listing = file.list();
    EXPECT_EQ(listing.names.size(), 2u);
    ASSERT_TRUE(listing.damage.has_value());
    EXPECT_EQ(listing.problem(), "The report definitions file \"" + path
                                   + "\" ends in a partial report 3 of 7 bytes; the reports before it can be used.");
    EXPECT_EQ(ui::errorText(*listing.damage).toStdString(),
              "Die Datei der Berichtsdefinitionen \"" + path
                  + "\" endet mit einem unvollständigen Bericht 3 von 7 Bytes; die Berichte davor können benutzt werden.");
    try {
        file.read(5);
        FAIL() << "a report past the end was read";
    } catch (const report::DefinitionsError& e) {
        EXPECT_EQ(ui::errorText(e), "Das Berichtsformat wurde nicht gefunden.");
    }
}

TEST(CoreText, TheReplaceChecksAndTheSettingsFileSpeakGerman)
{
    const testing_support::InstalledTranslation german(RK_GERMAN);
    ASSERT_TRUE(german.loaded());
    EXPECT_EQ(find::checkReplace(11, "", "1").message.spoken(ui::speakerFor("find")),
              "Ungültiger Suchwert eingegeben.  Bitte korrigieren.");
    EXPECT_EQ(find::checkTypedReplace(1, "Amélie", "\u4e2d", db::TextEncoding::Windows1252).message.spoken(ui::speakerFor("find")),
              "Der Text \"\u4e2d\" enthält Zeichen, die eine Sammlung nicht speichern kann.  Bitte korrigieren.");
    const QString refused = app::IniFile().save("/no/such/folder/REELKP.INI");
    EXPECT_TRUE(refused.startsWith("Die Einstellungsdatei \"/no/such/folder/REELKP.INI\" kann nicht geschrieben werden: "))
        << refused.toStdString();
}
