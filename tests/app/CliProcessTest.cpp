// reelkeeper-cli run as a process, as a script or a terminal runs it: its
// standard output into a full disk, pipes and FIFOs as destinations and
// sources, and the conventions of its command line.
#include "RunCommand.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <regex>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::string_literals;
using testing_support::readFileBytes;
using testing_support::runCommand;
using testing_support::TempDir;
using testing_support::writeFileBytes;

namespace {

class CliProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("REELKEEPER_HOME", dir.file("home").c_str(), 1);
        setenv("REELKEEPER_CONFIG", dir.file("config/REELKP.INI").c_str(), 1);
        ASSERT_EQ(cli("create " + quoted(collection)).status, 0);
        writeFileBytes(dir.file("films.csv"), "Title,Year\n\"Vertigo\",\"1958\"\n\"Alien\",\"1979\"\n\"Heat\",\"1995\"\n");
        ASSERT_EQ(cli("import " + quoted(collection) + " " + quoted(dir.file("films.csv")) + " --skip-first").status, 0);
    }

    struct Run {
        int status;
        std::string out;
        std::string err;
    };

    static std::string quoted(const std::string& text) { return "'" + text + "'"; }

    // Runs the tool with these arguments (shell words) and what follows them in the shell.
    Run cli(const std::string& arguments, const std::string& redirection = "")
    {
        const std::string errFile = dir.file("stderr.txt");
        int status = -1;
        const std::string out =
            runCommand("cd " + quoted(dir.path().string()) + " && timeout 20 " + RK_CLI + " " + arguments + " 2>"
                           + quoted(errFile) + " " + redirection,
                       &status);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, readFileBytes(errFile)};
    }

    std::string shell(const std::string& command)
    {
        return runCommand("cd " + quoted(dir.path().string()) + " && " + command);
    }

    static bool isFifo(const std::string& path)
    {
        struct stat st {};
        return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
    }

    TempDir dir;
    std::string collection = dir.file("Films 2.0.DBF");
};

// Every line of standard error begins with the program's name.
void expectEveryLineNamed(const std::string& err)
{
    for (const std::string& line : testing_support::lines(err)) {
        if (!line.empty()) {
            EXPECT_EQ(line.rfind("reelkeeper-cli: ", 0), 0u) << line;
        }
    }
}

} // namespace

TEST_F(CliProcess, OutputIntoAFullDiskIsAFailureThatSaysWhy)
{
    const std::string file = quoted(collection);
    for (const std::string& command :
         {"dump " + file, "search " + file + " --level Title=a", "stats " + file, "info " + file, "settings "s, "--help "s,
          "dump --help "s, "duplicates " + file, "export " + file + " -", "report " + file + " --definition 1 --text -"}) {
        SCOPED_TRACE(command);
        const Run run = cli(command, ">/dev/full");
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
        expectEveryLineNamed(run.err);
    }
    // The same commands into a pipe succeed.
    EXPECT_EQ(cli("dump " + file).status, 0);
}

TEST_F(CliProcess, APipeAFifoOrALinkToOneIsWrittenInOrderAndStaysWhatItWas)
{
    const std::string file = quoted(collection);
    ASSERT_EQ(cli("export " + file + " plain.txt").status, 0);
    const std::string expected = readFileBytes(dir.file("plain.txt"));
    ASSERT_FALSE(expected.empty());

    shell("mkfifo fifo && ln -s fifo link-to-fifo");
    for (const char* destination : {"fifo", "link-to-fifo"}) {
        SCOPED_TRACE(destination);
        std::filesystem::remove(dir.file("got.txt"));
        const std::string read = shell("(cat fifo > got.txt &); timeout 20 " + std::string(RK_CLI) + " export " + file
                                       + " " + destination + " >/dev/null 2>&1; echo $?; sleep 0.2");
        EXPECT_EQ(read, "0\n");
        EXPECT_EQ(readFileBytes(dir.file("got.txt")), expected);
        EXPECT_TRUE(isFifo(dir.file("fifo")));
        EXPECT_EQ(std::filesystem::read_symlink(dir.file("link-to-fifo")), "fifo");
    }
    // "-" and /dev/stdout are standard output; what the command says goes to standard error.
    for (const char* destination : {"-", "/dev/stdout"}) {
        const Run run = cli("export " + file + " " + destination, "| cat");
        EXPECT_EQ(run.out, expected) << destination;
        EXPECT_NE(run.err.find("Export Complete. 3 records written to"), std::string::npos);
    }
    const Run report = cli("report " + file + " --definition 1 --text -", "| cat");
    EXPECT_NE(report.out.find("Vertigo"), std::string::npos);
    EXPECT_EQ(report.out.find("written to"), std::string::npos);
    EXPECT_EQ(cli("report " + file + " --definition 1 --pdf -", "| head -c 5").out, "%PDF-");
    // A dBASE table cannot be written in order: refused before anything is written.
    const Run dbf = cli("export " + file + " - --fields Title", "| wc -c");
    EXPECT_NE(dbf.out, "0\n");
    shell("mkfifo table.dbf");
    const Run table = cli("export " + file + " table.dbf");
    EXPECT_EQ(table.status, 1);
    EXPECT_NE(table.err.find("cannot be written to a pipe or a device"), std::string::npos) << table.err;
    // A link to a regular file is written through to its target, and stays a link.
    shell("echo old > target.txt && ln -s target.txt link.txt");
    ASSERT_EQ(cli("export " + file + " link.txt").status, 0);
    EXPECT_EQ(readFileBytes(dir.file("target.txt")), expected);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.txt")));
}

TEST_F(CliProcess, StandardInputIsImportedAndOtherPipesAndDevicesAreRefused)
{
    const std::string file = quoted(collection);
    const Run piped = cli("import " + file + " - --skip-first", "< films.csv");
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_NE(piped.out.find("3 records imported from -"), std::string::npos) << piped.out;
    EXPECT_EQ(cli("search " + file + " --level Title=Heat --count").out, "2\n");

    shell("mkfifo waiting.csv && ln -s /dev/zero zeros.csv && mkdir -p nfo && ln -s /dev/zero nfo/zero.nfo"
          " && ln -s ../waiting.csv nfo/waiting.nfo");
    for (const char* source : {"/dev/zero", "waiting.csv", "zeros.csv", "/dev/null"}) {
        SCOPED_TRACE(source);
        const Run refused = cli("import " + file + " " + source);
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find("not a regular file"), std::string::npos) << refused.err;
        expectEveryLineNamed(refused.err);
    }
    // In a folder of .nfo files, a pipe or a device is left out and named.
    writeFileBytes(dir.file("nfo/heat.nfo"), "<movie><title>Heat</title><year>1995</year></movie>");
    const Run folder = cli("import " + file + " nfo");
    EXPECT_EQ(folder.status, 0) << folder.err;
    EXPECT_NE(folder.out.find("1 record imported"), std::string::npos) << folder.out;
    EXPECT_NE(folder.out.find("2 files were left out:"), std::string::npos) << folder.out;
    EXPECT_NE(folder.out.find("zero.nfo"), std::string::npos);
    EXPECT_NE(folder.out.find("waiting.nfo"), std::string::npos);
    EXPECT_EQ(cli("search " + file + " --level Title=Heat --count").out, "3\n");
}

TEST_F(CliProcess, OptionsTakeTheirValuesEitherWayAndEveryCommandExplainsItself)
{
    const std::string file = quoted(collection);
    EXPECT_EQ(cli("dump " + file + " --limit=2").out, cli("dump " + file + " --limit 2").out);
    EXPECT_EQ(testing_support::lines(cli("dump " + file + " --limit=2").out).size(), 2u);

    const Run usage = cli("--help");
    for (const std::string& line : testing_support::lines(usage.out)) {
        if (line.rfind("  ", 0) != 0 || line.size() < 3 || line[2] == ' ')
            continue;
        const std::string command = line.substr(2, line.find(' ', 2) - 2);
        SCOPED_TRACE(command);
        const Run help = cli(command + " --help");
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind("usage: reelkeeper-cli " + command, 0), 0u) << help.out;
        EXPECT_EQ(cli(command + " " + file + " -h").out, help.out);
        // The manual page has every command the tool has (a hyphen in it written as roff's minus).
        const std::string manual = readFileBytes(RK_MANUAL);
        const std::string roff = std::regex_replace(command, std::regex("-"), "\\-");
        EXPECT_NE(manual.find(".BI " + roff) + manual.find(".B " + roff + "\n"), 2 * std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("--help.DBF")));

    for (const std::string& wrong : {"dump nothing.dbf"s, "sort " + file + " 99", "frobnicate"s, "import " + file + " missing.csv",
                                     "search " + file + " --level Title"}) {
        SCOPED_TRACE(wrong);
        const Run run = cli(wrong);
        EXPECT_NE(run.status, 0);
        EXPECT_FALSE(run.err.empty());
        expectEveryLineNamed(run.err);
    }
}

namespace {

// The largest the process was in memory while it ran, in megabytes.
struct Measured {
    int status;
    long peakMegabytes;
};

Measured runMeasured(const std::vector<std::string>& args)
{
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        const int devnull = ::open("/dev/null", O_WRONLY);
        dup2(devnull, STDOUT_FILENO);
        dup2(devnull, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss / 1024};
}

void writeRepeated(const std::string& path, const std::string& head, char filler, size_t megabytes, const std::string& tail)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(head.data(), 1, head.size(), out);
    const std::string block(size_t{1} << 20, filler);
    for (size_t i = 0; i < megabytes; ++i)
        std::fwrite(block.data(), 1, block.size(), out);
    std::fwrite(tail.data(), 1, tail.size(), out);
    std::fclose(out);
}

} // namespace

// A catalogue holding one huge value, or a zip that unpacks to far more than
// it is, costs no more memory than a small one: each value is cut as it is read.
TEST_F(CliProcess, HostileCataloguesCostNoMoreMemoryThanSmallOnes)
{
    const std::string nfo = dir.file("plot.nfo"), gcs = dir.file("attribute.gcs"), tc = dir.file("blanks.tc");
    writeRepeated(nfo, "<movie><title>Heat</title><plot>A long plot", 'x', 200, "</plot><year>1995</year></movie>");
    writeRepeated(gcs, "<?xml version=\"1.0\"?>\n<collection type=\"GCfilms\">\n<item title=\"Alien\" synopsis=\"", 'y', 200,
                  "\" date=\"1979\"/>\n</collection>\n");
    ASSERT_EQ(std::system(("cd '" + dir.path().string() + "' && /usr/bin/python3 -c \"import zipfile\n"
                           "z = zipfile.ZipFile('blanks.tc', 'w', zipfile.ZIP_DEFLATED)\n"
                           "with z.open('tellico.xml', 'w', force_zip64=True) as f:\n"
                           "    f.write(b'<tellico><collection type=\\\"3\\\"><entry id=\\\"1\\\"><title>Brazil</title>')\n"
                           "    for i in range(300): f.write(b' ' * (1 << 20))\n"
                           "    f.write(b'<year>1985</year></entry></collection></tellico>')\n"
                           "z.close()\"")
                              .c_str()),
              0);
    EXPECT_LT(std::filesystem::file_size(tc), 2u << 20);
    const Measured small = runMeasured({RK_CLI, "import", collection, dir.file("films.csv"), "--skip-first"});
    ASSERT_EQ(small.status, 0);
    for (const std::string& file : {nfo, gcs, tc}) {
        SCOPED_TRACE(file);
        const Measured run = runMeasured({RK_CLI, "import", collection, file});
        EXPECT_EQ(run.status, 0);
        EXPECT_LT(run.peakMegabytes, small.peakMegabytes + 60) << "a small import takes " << small.peakMegabytes << " MB";
        std::printf("%s: %ld MB at the peak (a small import: %ld MB)\n", file.c_str(), run.peakMegabytes, small.peakMegabytes);
    }
    EXPECT_EQ(cli("search " + quoted(collection) + " --level Title=Heat --count").out, "3\n");
    const std::string dump = cli("search " + quoted(collection) + " --level Title=Alien").out;
    EXPECT_NE(dump.find("\"1979\""), std::string::npos);
    EXPECT_NE(cli("search " + quoted(collection) + " --level Title=Brazil").out.find("\"1985\""), std::string::npos);
    EXPECT_NE(cli("search " + quoted(collection) + " --level Title=Heat").out.find("A long plotxxx"), std::string::npos);
}

// The desktop program answers --help and --version without a display, and
// without one says so and ends with status 1 rather than aborting.
TEST(DesktopProgram, HelpAndVersionNeedNoDisplayAndNoDisplayIsSaidNotAborted)
{
    TempDir dir;
    const std::string program = std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ") + RK_GUI;
    const std::string errFile = dir.file("stderr.txt");
    int status = -1;
    const std::string help = runCommand(program + " --help 2>" + errFile, &status);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(help.rfind("Usage: reelkeeper [/BROWSE] [COLLECTION.DBF]\n", 0), 0u) << help;
    const std::string version = runCommand(program + " --version 2>" + errFile, &status);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(version.rfind("reelkeeper ", 0), 0u) << version;
    // No display named, and one named that is not there.
    for (const std::string& start : {program, std::string("env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:97 ") + RK_GUI}) {
        SCOPED_TRACE(start);
        runCommand("cd " + dir.path().string() + " && " + start + " 2>" + errFile, &status);
        EXPECT_TRUE(WIFEXITED(status)) << "not killed by an abort";
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_NE(readFileBytes(errFile).find("reelkeeper: no display to show the window on"), std::string::npos) << readFileBytes(errFile);
    }
}
