#include "CliCommands.h"
#include "CliShared.h"
#include "CollectionFile.h"
#include "FileIO.h"
#include "Table.h"
#include "RunCommand.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <filesystem>
#include <sstream>

using testing_support::TempDir;

namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result runCli(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = cli::run(args, out, err);
    return {code, out.str(), err.str()};
}

void addFilm(const std::string& path, const std::string& title, int year)
{
    db::Table t;
    t.setFilePath(path);
    t.open();
    t.insert();
    t.setText(0, title);
    t.setNumber(t.requireField("Year"), year);
    t.post();
}

} // namespace

TEST(Cli, CreateInfoAndCheckACollection)
{
    TempDir dir;
    const std::string path = dir.file("MASTER.DBF");
    EXPECT_EQ(runCli({"create", path}).code, 0);
    addFilm(path, "Vertigo", 1958);
    const Result info = runCli({"info", path});
    EXPECT_EQ(info.code, 0);
    EXPECT_NE(info.out.find("Records: 1 (1 with deleted records)"), std::string::npos);
    EXPECT_NE(info.out.find("Collection: yes"), std::string::npos);
    EXPECT_NE(info.out.find("11 Year N (numeric) width 11"), std::string::npos);
    EXPECT_EQ(runCli({"check", path}).code, 0);
}

TEST(Cli, CheckPrintsTheRefusalForForeignTables)
{
    TempDir dir;
    const std::string path = dir.file("OTHER.DBF");
    db::Table::createTable(path, {{"NAME", 'C', 10, 0}});
    const Result r = runCli({"check", path});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, std::string(db::kNotCollectionMessage) + "\n");
}

TEST(Cli, DumpFollowsTheSortIndexAndLimit)
{
    TempDir dir;
    const std::string path = dir.file("MASTER.DBF");
    runCli({"create", path});
    addFilm(path, "Zelig", 1983);
    addFilm(path, "Annie \"Hall\"", 1977);
    EXPECT_EQ(runCli({"index", path, "Upper(Left(Title,40))+STR(Year,12,0)"}).code, 0);
    const Result dump = runCli({"dump", path});
    ASSERT_EQ(dump.code, 0);
    const std::string empties = [] {
        std::string s;
        for (int i = 0; i < 38; ++i)
            s += ",\"\"";
        return s;
    }();
    const std::string first = "\"Annie \"\"Hall\"\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"1977\"";
    EXPECT_EQ(dump.out.substr(0, first.size()), first);
    const Result limited = runCli({"dump", path, "--limit", "1"});
    EXPECT_EQ(std::count(limited.out.begin(), limited.out.end(), '\n'), 1);
    (void)empties;
}

TEST(Cli, PackAndReindex)
{
    TempDir dir;
    const std::string path = dir.file("MASTER.DBF");
    runCli({"create", path});
    addFilm(path, "A", 1);
    addFilm(path, "B", 2);
    {
        db::Table t;
        t.setFilePath(path);
        t.open();
        t.deleteRecord();
    }
    runCli({"index", path, "Upper(Left(Title,80))"});
    const Result pack = runCli({"pack", path});
    EXPECT_EQ(pack.code, 0);
    EXPECT_NE(pack.out.find("1 record kept, 1 deleted record removed"), std::string::npos) << pack.out;
    EXPECT_EQ(runCli({"reindex", path}).code, 0);
    EXPECT_NE(runCli({"info", path}).out.find("NewIndex Upper(Left(Title,80))"), std::string::npos);
}

TEST(Cli, BadArgumentsAndFilesGiveOneLineErrors)
{
    TempDir dir;
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"frobnicate"},
                                               {"info"},
                                               {"info", dir.file("MISSING.DBF")},
                                               {"dump", dir.file("MISSING.DBF"), "--limit", "x"},
                                               {"index", dir.file("MISSING.DBF"), "Title"}}) {
        const Result r = runCli(args);
        EXPECT_NE(r.code, 0);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    const std::string path = dir.file("MASTER.DBF");
    runCli({"create", path});
    const Result badExpression = runCli({"index", path, "Upper(Nothing)"});
    EXPECT_EQ(badExpression.code, 1);
    EXPECT_NE(badExpression.err.find("unknown field NOTHING"), std::string::npos);
}

TEST(Cli, CheckFindsADamagedCollectionAndRepairMakesItWhole)
{
    TempDir dir;
    const std::string path = dir.file("CUT.DBF");
    ASSERT_EQ(runCli({"create", path}).code, 0);
    ASSERT_EQ(runCli({"sort", path, "1"}).code, 0);
    addFilm(path, "Vertigo", 1958);
    addFilm(path, "Alien", 1979);
    {
        // A power cut left the count on disk before the record it counts.
        db::File f;
        f.open(path, db::File::Mode::ReadWrite);
        const char three = 3;
        f.writeAt(4, &three, 1);
    }
    const Result found = runCli({"check", path});
    EXPECT_EQ(found.code, 1);
    EXPECT_NE(found.out.find("counts 3 records but the file holds 2"), std::string::npos) << found.out;
    EXPECT_NE(runCli({"info", path}).out.find("Problem: Damaged dBASE table"), std::string::npos);
    const Result repaired = runCli({"check", path, "--repair"});
    EXPECT_EQ(repaired.code, 0) << repaired.out << repaired.err;
    EXPECT_NE(repaired.out.find("Repaired"), std::string::npos);
    EXPECT_EQ(runCli({"check", path}).code, 0);
    EXPECT_EQ(runCli({"dump", path}).out.find("\"Alien\""), 0u);
}

TEST(Cli, ReadersOfADamagedIndexGoOnInStoredOrderAndSaySo)
{
    TempDir dir;
    const std::string path = dir.file("IDX.DBF");
    ASSERT_EQ(runCli({"create", path}).code, 0);
    ASSERT_EQ(runCli({"sort", path, "1"}).code, 0);
    addFilm(path, "Vertigo", 1958);
    addFilm(path, "Alien", 1979);
    {
        db::File f;
        f.open(db::indexFileFor(path), db::File::Mode::ReadWrite);
        f.writeAt(4096 + 40, "garbage", 7);
    }
    const Result dump = runCli({"dump", path});
    EXPECT_EQ(dump.code, 0) << dump.err;
    EXPECT_EQ(dump.out.find("\"Vertigo\""), 0u); // stored order
    EXPECT_NE(dump.err.find("stored order"), std::string::npos) << dump.err;
    const Result search = runCli({"search", path, "--level", "Title = a"});
    EXPECT_EQ(search.code, 0) << search.err;
    EXPECT_EQ(runCli({"check", path}).code, 1);
}

// A Windows-1252 collection refuses a replacement it cannot hold; a Unicode one takes it.
TEST(Cli, ReplaceRefusesCharactersAWindows1252CollectionCannotStore)
{
    TempDir dir;
    const std::string old = dir.file("R.DBF"), unicode = dir.file("U.DBF");
    ASSERT_EQ(runCli({"create", old, "--encoding", "windows-1252"}).code, 0);
    ASSERT_EQ(runCli({"create", unicode}).code, 0);
    for (const std::string& path : {old, unicode})
        addFilm(path, "Vertigo", 1958);
    const Result r = runCli({"replace", old, "Title", "Vertigo", "\xCE\xA9mega"}); // Greek capital omega
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("holds characters that a collection cannot store"), std::string::npos) << r.err;
    EXPECT_EQ(runCli({"dump", old}).out.find("\"Vertigo\""), 0u);
    // The film's cover, beside the collection, takes its new title with it.
    ASSERT_TRUE(std::filesystem::create_directory(dir.file("U.covers")));
    testing_support::writeFileBytes(dir.file("U.covers/Vertigo (1958).jpg"), "picture");
    EXPECT_EQ(runCli({"replace", unicode, "Title", "vertigo", "\xCE\xA9mega"}).code, 0);
    EXPECT_EQ(runCli({"dump", unicode}).out.find("\"\xCE\xA9mega\""), 0u);
    EXPECT_EQ(testing_support::readFileBytes(dir.file("U.covers/\xCE\xA9mega (1958).jpg")), "picture");
    EXPECT_FALSE(std::filesystem::exists(dir.file("U.covers/Vertigo (1958).jpg")));
}

// Converting keeps every record's text: the dump before and after is the same.
TEST(Cli, ConvertUnicodeKeepsEveryRecordsTextAndSaysWhatItDid)
{
    TempDir dir;
    const std::string path = dir.file("OLD FILMS.DBF");
    ASSERT_EQ(runCli({"create", path, "--encoding", "windows-1252"}).code, 0);
    addFilm(path, "Am\xC3\xA9lie \xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D", 2001);
    addFilm(path, "\xC5\x92uvre compl\xC3\xA8te", 1970);
    addFilm(path, "Zelig", 1983);
    ASSERT_EQ(runCli({"index", path, "Upper(Left(Title,40))"}).code, 0);
    const Result before = runCli({"dump", path});
    ASSERT_EQ(before.code, 0);

    const Result converted = runCli({"convert-unicode", path});
    EXPECT_EQ(converted.code, 0) << converted.err;
    EXPECT_EQ(converted.out, "Converted " + path + ": 3 records now keep their text in Unicode\n");
    EXPECT_EQ(runCli({"dump", path}).out, before.out);
    EXPECT_NE(runCli({"info", path}).out.find("Text: UTF-8 (Unicode)"), std::string::npos);
    EXPECT_EQ(runCli({"check", path}).code, 0);

    const Result again = runCli({"convert-unicode", path});
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(again.out, "The collection already keeps its text in Unicode; nothing was changed\n");
    EXPECT_NE(runCli({"convert-unicode", "--help"}).out.find("convert-unicode FILE"), std::string::npos);
}

TEST(Cli, ConvertUnicodeNamesTheTextsThatWouldNotFitAndChangesNothing)
{
    TempDir dir;
    const std::string path = dir.file("FULL.DBF");
    ASSERT_EQ(runCli({"create", path, "--encoding", "windows-1252"}).code, 0);
    db::Table t;
    t.setFilePath(path);
    t.open();
    const int title = 0;
    const int width = t.fields()[title].width;
    std::string accents; // a whole field of "é": twice as many bytes in Unicode
    for (int i = 0; i < width; ++i)
        accents += "\xC3\xA9";
    t.insert();
    ASSERT_TRUE(t.setText(title, accents));
    t.post();
    t.close();
    const std::string bytes = testing_support::readFileBytes(path);
    const Result r = runCli({"convert-unicode", path});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Nothing was converted: 1 text would be longer than its field"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Record and field: 1 \xE2\x80\x9C\xC3\xA9"), std::string::npos) << r.err;
    EXPECT_EQ(testing_support::readFileBytes(path), bytes);
}

TEST(Cli, IndexRefusesATableAnotherProgramHolds)
{
    TempDir dir;
    const std::string path = dir.file("H.DBF");
    ASSERT_EQ(runCli({"create", path}).code, 0);
    db::Table holder;
    holder.setFilePath(path);
    holder.open();
    const Result r = runCli({"index", path, "Upper(Title)"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("in use by another program"), std::string::npos) << r.err;
}

TEST(Cli, CreateWritesTheFileItReports)
{
    TempDir dir;
    const Result r = runCli({"create", dir.file("new1")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "Created " + dir.file("new1.DBF") + "\n");
    EXPECT_TRUE(db::isCollectionTable(dir.file("new1.DBF")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("new1")));
}

TEST(Cli, ReportWritesADefinitionAsTextOrPdf)
{
    TempDir dir;
    qputenv("REELKEEPER_HOME", QByteArray::fromStdString(dir.file("home")));
    qputenv("REELKEEPER_CONFIG", QByteArray::fromStdString(dir.file("REELKP.INI")));
    const std::string path = dir.file("FILMS.DBF");
    ASSERT_EQ(runCli({"create", path}).code, 0);
    addFilm(path, "Vertigo", 1958);
    addFilm(path, "Alien", 1979);
    ASSERT_EQ(runCli({"sort", path, "1"}).code, 0);
    const Result text = runCli({"report", path, "--name", "Title and Media Number Report", "--text", dir.file("r.txt")});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_EQ(text.out, "Report \"Title and Media Number Report\": 1 page written to " + dir.file("r.txt") + "\n");
    const std::string written = testing_support::readFileBytes(dir.file("r.txt"));
    EXPECT_LT(written.find("Alien"), written.find("Vertigo")); // in the sort order
    EXPECT_NE(written.find("GRAND TOTALS"), std::string::npos);
    EXPECT_EQ(written.substr(written.size() - 3), "\f\r\n"); // CR LF, as every text file of the program
    // Only the search's records.
    const Result searched = runCli({"report", path, "--definition", "1", "--text", dir.file("s.txt"), "--level", "Year>1970"});
    ASSERT_EQ(searched.code, 0) << searched.err;
    EXPECT_EQ(testing_support::readFileBytes(dir.file("s.txt")).find("Vertigo"), std::string::npos);
    const Result pdf = runCli({"report", path, "--definition", "5", "--pdf", dir.file("r.pdf")});
    ASSERT_EQ(pdf.code, 0) << pdf.err;
    EXPECT_EQ(testing_support::readFileBytes(dir.file("r.pdf")).substr(0, 5), "%PDF-");
    if (testing_support::haveProgram("pdfinfo")) { // the PDF is titled with the report's name
        EXPECT_NE(testing_support::runCommand("pdfinfo '" + dir.file("r.pdf") + "'").find("Title:           Large Report"),
                  std::string::npos);
    }
    const Result missing = runCli({"report", path, "--name", "No Such Report", "--text", dir.file("x.txt")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "reelkeeper-cli: Report format could not be located.\n");
    EXPECT_EQ(runCli({"report", path, "--definition", "1"}).code, 2); // no destination
}

TEST(Cli, ExportAndImportTheCollection)
{
    TempDir dir;
    qputenv("REELKEEPER_HOME", QByteArray::fromStdString(dir.file("home")));
    qputenv("REELKEEPER_CONFIG", QByteArray::fromStdString(dir.file("REELKP.INI")));
    const std::string path = dir.file("FILMS.DBF");
    ASSERT_EQ(runCli({"create", path}).code, 0);
    addFilm(path, "Vertigo", 1958);
    addFilm(path, "Alien", 1979);
    ASSERT_EQ(runCli({"sort", path, "1"}).code, 0);

    // The fields given, by schema or display name, in the sort order, for the search given.
    const std::string text = dir.file("out.txt");
    const Result exported = runCli({"export", path, text, "--fields", "year,Title", "--header"});
    ASSERT_EQ(exported.code, 0) << exported.err;
    EXPECT_EQ(exported.out, "Export Complete. 2 records written to " + text + "\n");
    EXPECT_EQ(testing_support::readFileBytes(text), "\"Year\",\"Title\"\r\n\"1979\",\"Alien\"\r\n\"1958\",\"Vertigo\"\r\n");
    ASSERT_EQ(runCli({"export", path, text, "--fields", "Title", "--level", "Year>1970"}).code, 0);
    EXPECT_EQ(testing_support::readFileBytes(text), "\"Alien\"\r\n");
    EXPECT_EQ(runCli({"export", path, text, "--fields", "NoSuchField"}).code, 2);
    const Result dbf = runCli({"export", path, dir.file("OUT.DBF")});
    ASSERT_EQ(dbf.code, 0) << dbf.err;

    // Import: by the names of the first line, and every field of a dBASE table in its place.
    const std::string copy = dir.file("COPY.DBF");
    ASSERT_EQ(runCli({"create", copy}).code, 0);
    ASSERT_EQ(runCli({"export", path, text, "--fields", "Year,Title", "--header"}).code, 0);
    const Result imported = runCli({"import", copy, text, "--map", "Year=Year,Title=Title", "--skip-first"});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_EQ(imported.out, "Import Complete.\n2 records imported from " + text + "\n");
    {
        // A collection nobody else has open is held alone for the import; one
        // another copy has open is shared, not taken: the import still runs.
        std::ostringstream said;
        {
            db::Table alone;
            cli::detail::openForBulkWork(alone, copy, said);
            EXPECT_EQ(alone.openMode(), db::Table::OpenMode::Exclusive);
        }
        db::Table other;
        other.setFilePath(copy);
        other.open(db::Table::OpenMode::Shared);
        {
            db::Table beside;
            cli::detail::openForBulkWork(beside, copy, said);
            EXPECT_EQ(beside.openMode(), db::Table::OpenMode::Shared);
        }
        ASSERT_EQ(runCli({"import", copy, dir.file("OUT.DBF")}).code, 0);
        other.refresh();
        EXPECT_EQ(other.recordCount(), 4u);
    }
    const Result dumped = runCli({"dump", copy});
    EXPECT_EQ(dumped.out.substr(0, dumped.out.find('\n')).substr(0, 25), "\"Alien\",\"\",\"\",\"\",\"\",\"\",\"\"");
    EXPECT_EQ(std::count(dumped.out.begin(), dumped.out.end(), '\n'), 4);

    // A file that is no delimited text, and a date that does not convert.
    testing_support::writeFileBytes(text, "\"Title\",\"Year\r\n");
    const Result refused = runCli({"import", copy, text});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("unmatched quote"), std::string::npos);
    testing_support::writeFileBytes(text, "\"Film\",\"Bought\"\r\n\"Heat\",\"2/30/1995\"\r\n");
    const Result stopped = runCli({"import", copy, text, "--map", "Film=Title,Bought=Purch Date", "--skip-first"});
    EXPECT_EQ(stopped.code, 1);
    EXPECT_EQ(stopped.err.substr(0, stopped.err.find('\n')), "reelkeeper-cli: '2/30/1995' is not a valid date");
    EXPECT_EQ(stopped.out, "0 records imported from " + text + "\n");
}

TEST(Cli, BackupCopiesTheCollectionListsAndDefinitions)
{
    TempDir dir;
    qputenv("REELKEEPER_HOME", QByteArray::fromStdString(dir.file("home")));
    qputenv("REELKEEPER_CONFIG", QByteArray::fromStdString(dir.file("REELKP.INI")));
    std::filesystem::create_directories(dir.file("home"));
    std::filesystem::create_directories(dir.file("media"));
    testing_support::writeFileBytes(dir.file("home/STAR.LST"), "Audrey Hepburn\r\n");
    testing_support::writeFileBytes(dir.file("home/REELKP.URP"), "definitions");
    const std::string path = dir.file("FILMS.DBF");
    ASSERT_EQ(runCli({"create", path}).code, 0);
    addFilm(path, "Vertigo", 1958);
    std::filesystem::create_directories(dir.file("FILMS.covers"));
    testing_support::writeFileBytes(dir.file("FILMS.covers/Vertigo (1958).jpg"), "poster");
    const Result copied = runCli({"backup", path, dir.file("media"), "--lists", "--definitions"});
    ASSERT_EQ(copied.code, 0) << copied.err;
    EXPECT_NE(copied.out.find("Copied 1 cover with it"), std::string::npos) << copied.out;
    EXPECT_EQ(testing_support::readFileBytes(dir.file("media/FILMS.covers/Vertigo (1958).jpg")), "poster");
    EXPECT_NE(copied.out.find("Copied " + path + " to " + dir.file("media/FILMS.DBF")), std::string::npos);
    EXPECT_NE(copied.out.find("Backup completed successfully."), std::string::npos);
    EXPECT_EQ(testing_support::readFileBytes(dir.file("media/FILMS.DBF")), testing_support::readFileBytes(path));
    EXPECT_EQ(testing_support::readFileBytes(dir.file("media/FILMS.CPG")), "UTF-8"); // its text is read right there
    EXPECT_EQ(testing_support::readFileBytes(dir.file("media/STAR.LST")), "Audrey Hepburn\r\n");
    EXPECT_EQ(testing_support::readFileBytes(dir.file("media/REELKP.URP")), "definitions");
    // Onto itself, to a missing folder, while another program holds the collection.
    const Result itself = runCli({"backup", path, dir.path().string()});
    EXPECT_EQ(itself.code, 1);
    EXPECT_NE(itself.err.find("identical"), std::string::npos);
    EXPECT_EQ(runCli({"backup", path, dir.file("nowhere")}).code, 1);
    db::Table open;
    open.setFilePath(path);
    open.open();
    const Result held = runCli({"backup", path, dir.file("media")});
    EXPECT_EQ(held.code, 1);
    EXPECT_NE(held.err.find("requires exclusive use"), std::string::npos);
}

TEST(Cli, LabelsAreWrittenToAPdf)
{
    TempDir dir;
    qputenv("REELKEEPER_HOME", QByteArray::fromStdString(dir.file("home")));
    qputenv("REELKEEPER_CONFIG", QByteArray::fromStdString(dir.file("REELKP.INI")));
    const std::string path = dir.file("FILMS.DBF");
    ASSERT_EQ(runCli({"create", path}).code, 0);
    {
        db::Table t;
        t.setFilePath(path);
        t.open();
        t.insert();
        t.setText(0, "Vertigo");
        t.setText(t.requireField("MediaNum"), "T-1");
        t.post();
    }
    const Result face = runCli({"labels", path, "--stock", "L7654", "--face", "--media", "T-1,none", "--pdf",
                                dir.file("labels.pdf")});
    ASSERT_EQ(face.code, 0) << face.err;
    EXPECT_EQ(face.out, "1 label written to " + dir.file("labels.pdf") + "\n");
    EXPECT_EQ(testing_support::readFileBytes(dir.file("labels.pdf")).substr(0, 5), "%PDF-");
    EXPECT_EQ(runCli({"labels", path, "--stock", "9999", "--face", "--media", "T-1", "--pdf", dir.file("x.pdf")}).code, 2);
    std::string many = "1";
    for (int i = 2; i <= 16; ++i)
        many += "," + std::to_string(i);
    EXPECT_EQ(runCli({"labels", path, "--stock", "5199", "--spine", "--media", many, "--pdf", dir.file("x.pdf")}).code, 1);
}

TEST(Cli, CreateRefusesAnExistingFileUnlessToldToReplaceIt)
{
    TempDir dir;
    const std::string path = dir.file("Films 2.0.dbf");
    ASSERT_EQ(runCli({"create", path}).code, 0);
    for (int year : {1958, 1959, 1960})
        addFilm(path, "Vertigo", year);
    const Result refused = runCli({"create", path});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "reelkeeper-cli: " + path
                               + " already exists; nothing was changed (add --replace to replace it with an empty "
                                 "collection)\n");
    // The other spelling of the extension names the same file, as every command reads it.
    EXPECT_EQ(runCli({"create", dir.file("Films 2.0.DBF")}).code, 1);
    EXPECT_NE(runCli({"info", path}).out.find("Records: 3 "), std::string::npos);
    const Result replaced = runCli({"create", path, "--replace"});
    EXPECT_EQ(replaced.code, 0);
    EXPECT_EQ(replaced.out, "Created " + path + "\n");
    EXPECT_NE(runCli({"info", path}).out.find("Records: 0 "), std::string::npos);
}

TEST(Cli, ACollectionWithDotsInItsNameIsNeverTakenForAShorterOne)
{
    TempDir dir;
    const std::string shorter = dir.file("My.DBF");
    runCli({"create", shorter});
    addFilm(shorter, "Zulu", 1964);
    for (const char* name : {"My.Films.DBF", "imdb_ratings.csv.DBF", "Films 2.0.dbf"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.file(name);
        EXPECT_EQ(runCli({"info", path}).code, 1); // not there yet: not My.DBF either
        ASSERT_EQ(runCli({"create", path}).code, 0);
        EXPECT_TRUE(std::filesystem::exists(path));
        addFilm(path, "Alien", 1979);
        addFilm(path, "Brazil", 1985);
        const Result info = runCli({"info", path});
        EXPECT_NE(info.out.find("File: " + path), std::string::npos);
        EXPECT_NE(info.out.find("Records: 2 "), std::string::npos);
        EXPECT_EQ(runCli({"check", path}).code, 0);
        EXPECT_EQ(runCli({"sort", path, "1"}).code, 0);
        EXPECT_TRUE(std::filesystem::exists(db::indexPathOfTableFile(path)));
        EXPECT_EQ(runCli({"reindex", path}).code, 0);
    }
    const Result name = runCli({"create", dir.file("Films 3.0")});
    EXPECT_EQ(name.out, "Created " + dir.file("Films 3.0.DBF") + "\n");
    EXPECT_NE(runCli({"info", shorter}).out.find("Records: 1 "), std::string::npos);
}
