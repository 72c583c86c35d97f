// Other catalogues' exports imported into a real collection: recognised from
// their content, their columns found by name, and a newer export of the same
// list adding only what is new.
#include "Catalogues.h"
#include "CollectionFile.h"
#include "EditText.h"
#include "Export.h"
#include "ExchangeTestData.h"
#include "HeaderMatch.h"
#include "DelimitedText.h"
#include "Import.h"
#include "RunCommand.h"
#include "Schema.h"
#include "Table.h"
#include "NewCollection.h"
#include "Scripts.h"
#include "TempDir.h"
#include "XmlCatalogues.h"

#include <gtest/gtest.h>

#include <map>

#include <cstdlib>

using namespace exchange;
using testing_support::TempDir;
using testing_support::writeFileBytes;

namespace {

const char* const kImdbRatings =
    "Const,Your Rating,Date Rated,Title,URL,Title Type,IMDb Rating,Runtime (mins),Year,Genres,Num Votes,Release Date,"
    "Directors\r\n"
    "tt0052357,9,2023-01-02,Vertigo,https://www.imdb.com/title/tt0052357/,movie,8.3,128,1958,\"Mystery, Romance, "
    "Thriller\",420000,1958-05-09,Alfred Hitchcock\r\n"
    "tt0133093,8,2023-01-03,The Matrix,https://www.imdb.com/title/tt0133093/,movie,8.7,136,1999,\"Action, Sci-Fi\","
    "2000000,1999-03-31,\"Lana Wachowski, Lilly Wachowski\"\r\n";

// An IMDb list export: other columns, in another order.
const char* const kImdbList = "Position,Const,Created,Modified,Description,Title,Original Title,URL,Title Type,"
                              "IMDb Rating,Runtime (mins),Year,Genres,Num Votes,Release Date,Directors,Your Rating\n"
                              "1,tt0036775,2023-01-01,2023-01-01,Wilder at his best,Double Indemnity,Double Indemnity,"
                              "https://x,movie,8.3,107,1944,\"Crime, Drama, Film-Noir\",160000,1944-04-24,Billy Wilder,\n";

const char* const kLetterboxdList = "Letterboxd list export v7\n"
                                    "Date,Name,Tags,URL,Description\n"
                                    "2023-02-01,Noir,,https://boxd.it/abc,My noir list\n"
                                    "\n"
                                    "Position,Name,Year,URL,Description\n"
                                    "1,\"Matrix, The\",1999,https://boxd.it/1,\n"
                                    "2,Double Indemnity,1944,https://boxd.it/2,\"Wilder, at his best\"\n";

class Catalogues : public ::testing::Test, protected testing_support::NewCollection {
protected:
    Catalogues()
        : NewCollection("VIDEOS.DBF")
    {
    }

    std::string file(const std::string& name, const std::string& text)
    {
        const std::string written = dir.file(name);
        writeFileBytes(written, text);
        return written;
    }

    // The records as stored: each a row of the forty fields' texts.
    std::vector<std::vector<std::string>> rows() { return exchange_testing::recordsOf(path); }
    static size_t at(const char* field) { return static_cast<size_t>(db::schemaPosition(field) - 1); }

};

} // namespace

TEST_F(Catalogues, EachFormatIsRecognisedFromWhatItHoldsNotItsName)
{
    EXPECT_EQ(recogniseCatalogue(file("a.txt", kImdbRatings)), CatalogueFormat::Imdb);
    EXPECT_EQ(recogniseCatalogue(file("b.dat", kImdbList)), CatalogueFormat::Imdb);
    EXPECT_EQ(recogniseCatalogue(file("c.csv", kLetterboxdList)), CatalogueFormat::Letterboxd);
    EXPECT_EQ(recogniseCatalogue(file("d.csv", "Date,Name,Year,Letterboxd URI\n2023-01-01,Heat,1995,u\n")),
              CatalogueFormat::Letterboxd);
    EXPECT_EQ(recogniseCatalogue(file("e.csv", "\"Title\",\"Year\"\r\n\"Heat\",\"1995\"\r\n")), CatalogueFormat::Text);
    EXPECT_EQ(recogniseCatalogue(file("f.csv", "")), CatalogueFormat::Text);
    EXPECT_EQ(recogniseCatalogue(file("g.bin", std::string("Const\0Title", 11))), CatalogueFormat::Text);
    EXPECT_EQ(recogniseCatalogue(dir.file("missing.csv")), CatalogueFormat::Text);
}

TEST_F(Catalogues, AnImdbExportFillsTheFieldsItsColumnsName)
{
    const ImportResult result = importCatalogue(table, file("ratings.csv", kImdbRatings), CatalogueFormat::Imdb, {});
    EXPECT_TRUE(result.error.empty()) << result.error;
    ASSERT_EQ(result.imported, 2u);
    const auto r = rows();
    EXPECT_EQ(r[0][at("Title")], "Vertigo");
    EXPECT_EQ(r[0][at("Year")], "1958");
    EXPECT_EQ(r[0][at("RunTime")], "128");
    EXPECT_EQ(r[0][at("Director")], "Alfred Hitchcock");
    // The first genre is the category, the others key words; a list of names
    // too long for its field keeps the whole names that fit, and says so.
    EXPECT_EQ(r[0][at("Category")], "Mystery");
    EXPECT_EQ(r[0][at("KeyWords")], "Romance, Thriller");
    EXPECT_EQ(r[0][at("PersonalRa")], "9/10");
    EXPECT_EQ(r[0][at("Viewed")], "Yes");
    EXPECT_EQ(r[0][at("UserDef1")], "tt0052357");
    EXPECT_EQ(r[1][at("Director")], "Lana Wachowski");
    EXPECT_EQ(r[1][at("Category")], "Action");
    EXPECT_EQ(r[1][at("KeyWords")], "Sci-Fi");
    EXPECT_EQ(result.cutToWidth, 0u);
    EXPECT_EQ(result.listItemsLeftOut, 1u);
    EXPECT_EQ(result.listFields, (std::vector<std::string>{"Director"}));
    EXPECT_NE(importMessage(result).find("1 name, genre or key word did not fit its field beside the others and was left "
                                         "out (Director)."),
              std::string::npos)
        << importMessage(result);

    // A list export: other columns, another order; no rating, so not known to be seen.
    const ImportResult list = importCatalogue(table, file("list.csv", kImdbList), CatalogueFormat::Imdb, {});
    ASSERT_EQ(list.imported, 1u);
    const auto all = rows();
    EXPECT_EQ(all[2][at("Title")], "Double Indemnity");
    EXPECT_EQ(all[2][at("RunTime")], "107");
    EXPECT_EQ(all[2][at("Miscellane")], "Wilder at his best");
    EXPECT_EQ(all[2][at("Viewed")], "");
}

TEST_F(Catalogues, ALetterboxdListExportImportsItsFilmsAndANewerExportOnlyWhatIsNew)
{
    const ImportResult list = importCatalogue(table, file("list.csv", kLetterboxdList), CatalogueFormat::Letterboxd, {});
    EXPECT_TRUE(list.error.empty()) << list.error;
    ASSERT_EQ(list.imported, 2u) << "the list's own line is no film";
    auto r = rows();
    EXPECT_EQ(r[0][at("Title")], "Matrix, The");
    EXPECT_EQ(r[1][at("Miscellane")], "Wilder, at his best");
    EXPECT_EQ(r[1][at("UserDef2")], "https://boxd.it/2");

    // Ratings: half stars, seen. "The Matrix" 1999 is "Matrix, The" 1999.
    ImportOptions options;
    options.skipExisting = true;
    const ImportResult ratings = importCatalogue(
        table,
        file("ratings.csv", "Date,Name,Year,Letterboxd URI,Rating\n2023-03-01,the matrix,1999,u1,4.5\n"
                            "2023-03-02,Heat,1995,u3,5\n2023-03-02,Heat,1995,u3,5\n2023-03-03,Heat,1986,u4,3\n"),
        CatalogueFormat::Letterboxd, options);
    EXPECT_EQ(ratings.imported, 2u);
    EXPECT_EQ(ratings.skippedExisting, 2u) << "one already held, one twice in the file";
    r = rows();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[2][at("Title")], "Heat");
    EXPECT_EQ(r[2][at("PersonalRa")], "10/10") << "five stars on the one scale of ten";
    EXPECT_EQ(r[2][at("Viewed")], "Yes");
    EXPECT_EQ(r[3][at("Year")], "1986") << "another year is another film";
    EXPECT_EQ(r[3][at("PersonalRa")], "6/10");
    EXPECT_NE(importMessage(ratings).find("2 records were already in the collection and were not imported again."),
              std::string::npos);
}

// A dBASE table and a text file leave out the films already held too.
TEST_F(Catalogues, DbaseAndTextImportsLeaveOutWhatIsAlreadyHeld)
{
    ImportOptions options;
    options.skipExisting = true;
    ImportSource text;
    ASSERT_EQ(openDelimitedSource(file("films.txt", "\"Title\",\"Year\"\r\n\"The Heat\",\"1995\"\r\n\"Alien\",\"1979\"\r\n"), text),
              flOk);
    EXPECT_EQ(importRecords(table, text, {1, 11}, options).imported, 2u);
    const std::string dbf = dir.file("OTHER.DBF");
    db::createCollectionTable(dbf);
    {
        db::Table other;
        other.setFilePath(dbf);
        other.open();
        for (const auto& [title, year] : std::vector<std::pair<const char*, int>>{{"Heat, The", 1995}, {"Heat", 1986}}) {
            other.insert();
            other.setText(0, title);
            other.setNumber(other.requireField("Year"), year);
            other.post();
        }
    }
    const ImportResult fromDbf = importRecords(table, openDbfSource(dbf), startingMap(openDbfSource(dbf), false), options);
    EXPECT_EQ(fromDbf.imported, 1u) << "Heat of 1986 is another film";
    EXPECT_EQ(fromDbf.skippedExisting, 1u);
    EXPECT_EQ(importRecords(table, text, {1, 11}, options).skippedExisting, 2u) << "the text again: both held now";
}

TEST_F(Catalogues, TheSameFilmIsKnownWhateverItsCaseAccentsOrArticle)
{
    EXPECT_EQ(sameFilmKey("The Matrix", "1999"), sameFilmKey("Matrix, The", "1999"));
    EXPECT_EQ(sameFilmKey("the matrix", "1999"), sameFilmKey("MATRIX", " 1999"));
    EXPECT_EQ(sameFilmKey("Am\xC3\xA9lie", "2001"), sameFilmKey("Amelie", "2001"));
    EXPECT_EQ(sameFilmKey("Die H\xC3\xA4rte", ""), sameFilmKey("Harte", "0"));
    EXPECT_NE(sameFilmKey("The Matrix", "1999"), sameFilmKey("The Matrix", "2003"));
    // The rule Find Duplicates pairs titles by: "&" is "and".
    EXPECT_EQ(sameFilmKey("The Good, the Bad & the Ugly", "1966"), sameFilmKey("The Good, the Bad and the Ugly", "1966"));
    EXPECT_EQ(db::sameTitleKey("The Good, the Bad & the Ugly"), "good the bad and the ugly");
    EXPECT_NE(sameFilmKey("Theatre", "1999"), sameFilmKey("atre", "1999"));
}

TEST_F(Catalogues, AFileOfAnotherKindIsRefusedWithWhatIsMissing)
{
    const ImportResult result
        = importCatalogue(table, file("plain.csv", "\"Title\",\"Year\"\r\n\"Heat\",\"1995\"\r\n"), CatalogueFormat::Imdb, {});
    EXPECT_EQ(result.imported, 0u);
    EXPECT_NE(result.error.find("The file is no IMDb export"), std::string::npos) << result.error;
    EXPECT_NE(importCatalogue(table, dir.file("missing.csv"), CatalogueFormat::Letterboxd, {}).error, "");
    EXPECT_NE(importCatalogue(table, file("empty.csv", ""), CatalogueFormat::Letterboxd, {}).error, "");
    EXPECT_EQ(rows().size(), 0u);
}

// ---------------------------------------------------------------- XML catalogues

namespace {

std::string sample(const std::string& name) { return std::string(CATALOGUE_SAMPLES) + "/" + name; }

} // namespace

TEST_F(Catalogues, AGcstarCollectionFillsStarsGenresLoansAndMinutes)
{
    EXPECT_EQ(recogniseCatalogue(sample("films.gcs")), CatalogueFormat::Gcstar);
    const ImportResult result = importCatalogue(table, sample("films.gcs"), CatalogueFormat::Gcstar, {});
    EXPECT_TRUE(result.error.empty()) << result.error;
    ASSERT_EQ(result.imported, 2u);
    const auto r = rows();
    EXPECT_EQ(r[0][at("Title")], "Vertigo");
    EXPECT_EQ(r[0][at("Year")], "1958");
    EXPECT_EQ(r[0][at("RunTime")], "128");
    EXPECT_EQ(r[0][at("Star1")], "James Stewart");
    EXPECT_EQ(r[0][at("Star2")], "Kim Novak") << "the actor, not the role";
    EXPECT_EQ(r[0][at("Category")], "Mystery");
    EXPECT_EQ(r[0][at("KeyWords")], "Thriller");
    EXPECT_EQ(r[0][at("PersonalRa")], "9/10");
    EXPECT_EQ(r[0][at("Viewed")], "Yes");
    EXPECT_EQ(r[0][at("Format")], "DVD");
    EXPECT_EQ(r[0][at("MediaNum")], "D12");
    EXPECT_EQ(r[0][at("CheckOut")], "Yes");
    EXPECT_EQ(r[0][at("CheckName")], "Anna");
    EXPECT_EQ(r[0][at("Descriptio")], "A retired detective with a fear of heights.");
    EXPECT_EQ(r[1][at("Title")], "\xC5\x81\xC3\xB3" "d\xC5\xBA & Co") << "every letter, and an entity read as its character";
    EXPECT_EQ(r[1][at("RunTime")], "95") << "1h 35m";
    EXPECT_EQ(r[1][at("CheckOut")], "") << "a borrower of \"none\" is no loan";
    EXPECT_EQ(r[1][at("PersonalRa")], "") << "a rating of 0 is none";
    EXPECT_EQ(r[1][at("Viewed")], "No") << "seen=\"0\" is unseen";
}

// Kodi says seen and unseen by a play count and a watched flag: a play makes
// a film seen whatever the other says; a file that says neither leaves it blank.
TEST_F(Catalogues, KodiPlayCountsAndWatchedFlagsSaySeenAndUnseen)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<playcount>0</playcount>", "No"},
        {"<playcount>3</playcount>", "Yes"},
        {"<watched>false</watched>", "No"},
        {"<playcount>0</playcount><watched>true</watched>", "Yes"},
        {"<watched>true</watched><playcount>0</playcount>", "Yes"},
        {"", ""},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const auto& [says, viewed] = cases[i];
        SCOPED_TRACE(says);
        const std::string nfo = file("movie.nfo", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<movie><title>Film "
                                                      + std::to_string(i) + "</title>" + says + "</movie>\n");
        const ImportResult result = importCatalogue(table, nfo, CatalogueFormat::Nfo, {});
        ASSERT_TRUE(result.error.empty()) << result.error;
        ASSERT_EQ(rows().size(), i + 1);
        EXPECT_EQ(rows()[i][at("Viewed")], viewed);
    }
}

TEST_F(Catalogues, ATellicoVideoCollectionImportsAndOtherTypesAreRefusedByName)
{
    EXPECT_EQ(recogniseCatalogue(sample("videos.xml")), CatalogueFormat::Tellico);
    const ImportResult result = importCatalogue(table, sample("videos.xml"), CatalogueFormat::Tellico, {});
    EXPECT_TRUE(result.error.empty()) << result.error;
    ASSERT_EQ(result.imported, 1u);
    const auto r = rows();
    EXPECT_EQ(r[0][at("Title")], "Heat");
    EXPECT_EQ(r[0][at("Rating")], "R");
    EXPECT_EQ(r[0][at("Category")], "Action");
    EXPECT_EQ(r[0][at("Star2")], "Robert De Niro");
    EXPECT_EQ(r[0][at("Producer")], "Art Linson, Michael Mann");
    EXPECT_EQ(r[0][at("ReleasedBy")], "Warner Bros.");
    EXPECT_EQ(r[0][at("PersonalRa")], "10/10");
    EXPECT_EQ(r[0][at("CheckName")], "Bob") << "the loan is found through its entry";
    EXPECT_EQ(r[0][at("RunTime")], "170");

    const ImportResult books = importCatalogue(table, sample("books.xml"), CatalogueFormat::Tellico, {});
    EXPECT_NE(books.error.find("a Tellico book collection, not a video collection"), std::string::npos) << books.error;
    EXPECT_EQ(books.imported, 0u);
}

TEST_F(Catalogues, ATellicoZipIsReadAndOurOwnTellicoExportReadsBackTheSameValues)
{
    // Every field, with values no standard Tellico field keeps apart (Star 1 empty, Star 2 set).
    CollectionValues all;
    for (int p = 1; p <= db::kSchemaFieldCount; ++p)
        all[static_cast<size_t>(p - 1)] = "v" + std::to_string(p);
    all[at("Star1")] = "";
    all[at("Year")] = "1958";
    all[at("RunTime")] = "128";
    all[at("ListPrice")] = "12.5";
    all[at("PurchPrice")] = "3.25";
    all[at("CheckDate")] = "2023-01-05";
    all[at("PurchDate")] = "1999-12-31";
    all[at("Title")] = "Caf\xC3\xA9 <&> \"Noir\"";
    const std::string xml = tellicoXml({all});
    const std::string zipped = dir.file("export.tc");
    {
        const std::string bare = file("tellico.xml", xml);
        ASSERT_EQ(std::system(("cd '" + dir.path().string() + "' && python3 -c \"import zipfile; z = zipfile.ZipFile('export.tc', 'w', "
                               "zipfile.ZIP_DEFLATED); z.write('tellico.xml'); z.close()\"")
                                  .c_str()),
                  0);
    }
    EXPECT_EQ(recogniseCatalogue(zipped), CatalogueFormat::Tellico);
    const std::vector<CollectionValues> back = readXmlCatalogue(zipped, XmlCatalogue::Tellico);
    ASSERT_EQ(back.size(), 1u);
    for (int p = 1; p <= db::kSchemaFieldCount; ++p)
        EXPECT_EQ(back[0][static_cast<size_t>(p - 1)], all[static_cast<size_t>(p - 1)]) << db::schemaField(p).name;
    // A zip without tellico.xml is refused as such.
    file("notes.txt", "x");
    ASSERT_EQ(std::system(("cd '" + dir.path().string() + "' && python3 -c \"import zipfile; z = zipfile.ZipFile('other.tc', 'w'); "
                           "z.write('notes.txt'); z.close()\"")
                              .c_str()),
              0);
    EXPECT_NE(importCatalogue(table, dir.file("other.tc"), CatalogueFormat::Tellico, {}).error.find("no tellico.xml"),
              std::string::npos);
}

TEST_F(Catalogues, AFolderOfNfoFilesImportsItsMoviesAndNamesTheFilesLeftOut)
{
    EXPECT_EQ(recogniseCatalogue(sample("library")), CatalogueFormat::Nfo);
    EXPECT_EQ(recogniseCatalogue(sample("library/Heat/movie.nfo")), CatalogueFormat::Nfo);
    const ImportResult result = importCatalogue(table, sample("library"), CatalogueFormat::Nfo, {});
    EXPECT_TRUE(result.error.empty()) << result.error;
    ASSERT_EQ(result.imported, 1u);
    const auto r = rows();
    EXPECT_EQ(r[0][at("Title")], "Heat");
    EXPECT_EQ(r[0][at("Year")], "1995") << "from the premiere date";
    EXPECT_EQ(r[0][at("Rating")], "R");
    EXPECT_EQ(r[0][at("Star1")], "Al Pacino");
    EXPECT_EQ(r[0][at("Writers")], "Michael Mann");
    EXPECT_EQ(r[0][at("UserDef1")], "tt0113277");
    EXPECT_EQ(r[0][at("Viewed")], "Yes");
    EXPECT_EQ(r[0][at("KeyWords")], "Crime, heist") << "the genres after the first lead the key words";
    ASSERT_EQ(result.leftOutFiles.size(), 2u);
    const std::string message = importMessage(result);
    EXPECT_NE(message.find("2 files were left out:"), std::string::npos) << message;
    EXPECT_NE(message.find("describes a TV show"), std::string::npos) << message;
    EXPECT_NE(message.find("broken.nfo"), std::string::npos) << message;
    // One TV show file alone is refused by name.
    const ImportResult show = importCatalogue(table, sample("library/Show/tvshow.nfo"), CatalogueFormat::Nfo, {});
    EXPECT_NE(show.error.find("tvshow.nfo"), std::string::npos) << show.error;
    EXPECT_NE(show.error.find("TV show"), std::string::npos);
}

// Empty, binary and damaged files given as any format: a message naming the file and
// what is wrong, the collection unchanged.
TEST_F(Catalogues, EmptyBinaryAndDamagedFilesAreRefusedWithTheirNames)
{
    const std::string empty = file("empty.gcs", "");
    const std::string binary = file("binary.tc", std::string("\x00\x01\x02PK\x03\x04\xFF\xFE", 10));
    const std::string damaged = file("damaged.gcs", "<?xml version=\"1.0\"?>\n<collection type=\"GCfilms\">\n"
                                                    "<item title=\"A\">\n<item title=\"B\"></collection>\n");
    for (const CatalogueFormat format :
         {CatalogueFormat::Imdb, CatalogueFormat::Letterboxd, CatalogueFormat::Gcstar, CatalogueFormat::Tellico, CatalogueFormat::Nfo}) {
        for (const std::string& path : {empty, binary, damaged}) {
            SCOPED_TRACE(std::string(catalogueName(format)) + " " + path);
            const ImportResult result = importCatalogue(table, path, format, {});
            EXPECT_FALSE(result.error.empty());
            EXPECT_NE(result.error.find(path.substr(path.find_last_of('/') + 1)), std::string::npos) << result.error;
            EXPECT_EQ(result.imported, 0u);
        }
    }
    EXPECT_NE(importCatalogue(table, damaged, CatalogueFormat::Gcstar, {}).error.find("damaged at line 4: Opening and ending tag mismatch"), std::string::npos)
        << importCatalogue(table, damaged, CatalogueFormat::Gcstar, {}).error;
    EXPECT_EQ(rows().size(), 0u);
}

// ---------------------------------------------------------------- out again

namespace {

// Fills every field of a new record with a value of its kind.
void addFullRecord(db::Table& table, const std::string& title, int year)
{
    table.insert();
    for (const db::SchemaField& f : db::collectionSchema()) {
        const int field = table.requireField(f.name);
        switch (f.kind) {
        case db::SchemaKind::WholeNumber: table.setNumber(field, f.position == 11 ? year : 95); break;
        case db::SchemaKind::DecimalNumber: table.setNumber(field, 12.5); break;
        case db::SchemaKind::Date: table.setDate(field, db::dayNumberFromCivil({1999, 12, 31})); break;
        case db::SchemaKind::Character: table.setText(field, std::string(f.name).substr(0, 3) + " " + title); break;
        }
    }
    table.setText(0, title);
    table.post();
}

} // namespace

TEST_F(Catalogues, ATellicoExportImportsBackToTheSameRecords)
{
    addFullRecord(table, "Caf\xC3\xA9 <&> \"Noir\"", 1958);
    addFullRecord(table, "Heat", 1995);
    table.insert();
    table.setText(0, "Only a title");
    table.post();
    // A title in each script, and a star and a keyword in it.
    for (const testing_support::ScriptTitle& title : testing_support::scriptTitles()) {
        table.insert();
        table.setText(0, title.title);
        table.setText(table.requireField("Star1"), title.typed);
        table.setText(table.requireField("KeyWords"), title.stored);
        table.post();
    }
    const uint64_t records = 3 + testing_support::scriptTitles().size();
    const std::string xml = dir.file("out.xml");
    EXPECT_EQ(exportTellico(table, xml, {}).written, records);

    const std::string second = dir.file("SECOND.DBF");
    db::createCollectionTable(second);
    db::Table other;
    other.setFilePath(second);
    other.open();
    const ImportResult back = importCatalogue(other, xml, recogniseCatalogue(xml), {});
    EXPECT_TRUE(back.error.empty()) << back.error;
    EXPECT_EQ(back.imported, records);
    other.close();
    EXPECT_EQ(exchange_testing::recordsOf(second), rows());
    const std::string text = testing_support::readFileBytes(xml);
    for (const testing_support::ScriptTitle& title : testing_support::scriptTitles())
        EXPECT_NE(text.find("<title>" + title.stored + "</title>"), std::string::npos) << title.script;

    // The HTML catalogue of the same records shows each title as stored.
    std::vector<ExportLayoutEntry> layout(40, {0, false});
    layout[0] = {1, true};
    const std::string page = dir.file("catalogue.html");
    EXPECT_EQ(exportHtml(table, exportList(layout, {}, table), page, "Films", {}).written, records);
    const std::string html = testing_support::readFileBytes(page);
    for (const testing_support::ScriptTitle& title : testing_support::scriptTitles())
        EXPECT_NE(html.find("<td>" + title.stored + "</td>"), std::string::npos) << title.script;
}

TEST_F(Catalogues, AnHtmlCatalogueSearchesAndSortsWithoutANetwork)
{
    addFullRecord(table, "Am\xC3\xA9lie <b>", 2001);
    addFullRecord(table, "Heat", 1995);
    addFullRecord(table, "Alien", 1979);
    std::vector<ExportLayoutEntry> layout(40, {0, false});
    layout[0] = {1, true};  // Title
    layout[10] = {2, true}; // Year
    const std::vector<ExportField> columns = exportList(layout, {}, table);
    const std::string page = dir.file("catalogue.html");
    EXPECT_EQ(exportHtml(table, columns, page, "My \"Films\"", {}).written, 3u);
    const std::string html = testing_support::readFileBytes(page);
    EXPECT_NE(html.find("<title>My &quot;Films&quot;</title>"), std::string::npos);
    EXPECT_NE(html.find("<td>Am\xC3\xA9lie &lt;b&gt;</td><td class=\"n\">2001</td>"), std::string::npos)
        << "UTF-8, escaped, numbers marked for sorting";
    EXPECT_NE(html.find("name=\"viewport\""), std::string::npos) << "readable on a phone";
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos) << html.substr(0, 300);
    EXPECT_EQ(html.find("http"), std::string::npos) << "nothing fetched from a network";
    if (testing_support::runCommand("node --version 2>/dev/null").empty())
        GTEST_SKIP() << "node is not installed: the page's script is not run";
    const std::string shown = testing_support::runCommand("node '" + std::string(HTML_CHECK) + "' '" + page + "' 'AMELIE' 1");
    EXPECT_EQ(shown, "3 videos\n1 of 3 videos\nAm\xC3\xA9lie <b>\nAlien|Heat|Am\xC3\xA9lie <b>\nAm\xC3\xA9lie <b>|Heat|Alien\n");
}

// A large catalogue: the first screen as a table, every film as data that
// Python's JSON reader takes back whole (a title that would end the script, a
// tab, quotes), the columns no film fills left off, and the script finding
// and counting among them all.
TEST_F(Catalogues, AnHtmlCatalogueCarriesEveryFilmAsDataAndItsFirstScreenAsATable)
{
    const auto add = [this](const std::string& title, int year) {
        table.insert();
        table.setText(0, title);
        table.setNumber(table.requireField("Year"), year);
        table.post();
    };
    table.beginBatch();
    for (int i = 0; i < 250; ++i)
        add("Film " + std::to_string(1000 + i), 1950 + i % 50);
    add("</script><b>\t\"Odd\" \\ title", 2001);
    table.endBatch();
    std::vector<ExportLayoutEntry> layout(40, {0, false});
    layout[0] = {1, true};  // Title
    layout[2] = {2, true};  // Star 2, which no film has
    layout[10] = {3, true}; // Year
    const std::string page = dir.file("large.html");
    EXPECT_EQ(exportHtml(table, exportList(layout, {}, table), page, "Films", {}).written, 251u);
    const std::string html = testing_support::readFileBytes(page);
    const std::string tableRows = html.substr(html.find("<tbody>"), html.find("</tbody>") - html.find("<tbody>"));
    size_t rows = 0;
    for (size_t at = tableRows.find("<tr>"); at != std::string::npos; at = tableRows.find("<tr>", at + 1))
        ++rows;
    EXPECT_EQ(rows, 100u) << "a first screen, not every film";
    EXPECT_EQ(html.find("Star 2"), std::string::npos) << "a column no film fills";
    EXPECT_EQ(html.find("</script><b>"), std::string::npos) << "a title cannot end the script";
    const std::string data = html.substr(html.find("id=\"data\">") + 10);
    testing_support::writeFileBytes(dir.file("data.json"), data.substr(0, data.find("</script>")));
    const std::string parsed = testing_support::runCommand(
        "python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); print(len(d), len(d[0]), d[0][0], d[-1][0] == \"</script><b>\\t\\\"Odd\\\" \\\\ title\")' '"
        + dir.file("data.json") + "'");
    EXPECT_EQ(parsed, "251 2 Film 1000 True\n");
    if (testing_support::runCommand("node --version 2>/dev/null").empty())
        GTEST_SKIP() << "node is not installed: the page's script is not run";
    const std::string shown = testing_support::runCommand("node '" + std::string(HTML_CHECK) + "' '" + page + "' 'film 101' 1");
    EXPECT_EQ(shown.substr(0, shown.find('\n', shown.find('\n') + 1)), "251 videos\n11 of 251 videos") << "1010 to 1019, and 1101";
}

// The page's own words come in the user's language, whatever they hold.
TEST_F(Catalogues, AnHtmlCatalogueSpeaksTheLanguageItWasWrittenIn)
{
    addFullRecord(table, "Heat", 1995);
    addFullRecord(table, "Alien", 1979);
    std::vector<ExportLayoutEntry> layout(40, {0, false});
    layout[0] = {1, true};
    const std::map<std::string, std::string> german = {
        {"en", "de"}, {"Search", "Suchen"}, {"Search the catalogue", "Im \"Katalog\" suchen"},
        {"%1 videos", "%1 Videos"}, {"%1 of %2 videos", "%2 Videos, davon %1 </script> gezeigt"}};
    ExportOptions options;
    options.speak = [&](const char* text) { return german.contains(text) ? german.at(text) : std::string(text); };
    const std::string page = dir.file("katalog.html");
    EXPECT_EQ(exportHtml(table, exportList(layout, {}, table), page, "Filme", options).written, 2u);
    const std::string html = testing_support::readFileBytes(page);
    EXPECT_NE(html.find("<html lang=\"de\">"), std::string::npos);
    EXPECT_NE(html.find("placeholder=\"Suchen\" aria-label=\"Im &quot;Katalog&quot; suchen\""), std::string::npos);
    EXPECT_EQ(html.find("</script> gezeigt"), std::string::npos) << "a word cannot end the script";
    if (testing_support::runCommand("node --version 2>/dev/null").empty())
        GTEST_SKIP() << "node is not installed: the page's script is not run";
    const std::string shown = testing_support::runCommand("node '" + std::string(HTML_CHECK) + "' '" + page + "' 'alien' 0");
    EXPECT_EQ(shown.substr(0, shown.find('\n', shown.find('\n') + 1)), "2 Videos\n2 Videos, davon 1 </script> gezeigt");
}

// A GCstar file whose text is damaged early on is still known as GCstar, and
// its import says where the damage is, instead of taking it for delimited text.
TEST_F(Catalogues, AGcstarFileWithBadCharactersIsKnownAndRefusedWithItsLine)
{
    const std::string bad = file("bad.gcs", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- made by hand -->\n"
                                            "<collection type=\"GCfilms\" items=\"1\">\n"
                                            "<item title=\"Caf\xE9\" date=\"1995\"/>\n</collection>\n");
    EXPECT_EQ(recogniseCatalogue(bad), CatalogueFormat::Gcstar);
    const ImportResult result = importCatalogue(table, bad, CatalogueFormat::Gcstar, {});
    EXPECT_EQ(result.imported, 0u);
    EXPECT_NE(result.error.find("damaged at line 4"), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("bad.gcs"), std::string::npos) << result.error;
}
