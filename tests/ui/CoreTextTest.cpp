// The core's messages in the user's language: an engine failure keeps its
// English what() for logs and the command line, and a window speaks it.
#include "CoreText.h"
#include "FileIO.h"
#include "InstalledTranslation.h"

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
