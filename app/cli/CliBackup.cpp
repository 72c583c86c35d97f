// The command line's backup: the same safe copy as the Backup window, for
// backups a timer or cron starts.

#include "CliShared.h"

#include "CollectionFile.h"
#include "DbError.h"
#include "PickList.h"
#include "ProgramFolders.h"
#include "SafeCopy.h"

#include <filesystem>
#include <optional>
#include <ostream>

namespace cli::detail {

namespace {

// Copies one file into the folder (a table with the .cpg that says how it
// keeps its text); false after saying why it did not.
bool copyInto(const std::string& source, const std::string& folder, std::ostream& out, std::ostream& err,
              bool table = false)
{
    const std::string destination = (std::filesystem::path(folder) / std::filesystem::path(source).filename()).string();
    if (backup::sameFile(source, destination)) {
        err << "Destination File and Source File are identical.  You cannot copy a file  over top of itself.  Please "
               "choose a different directory to backup to.\n";
        return false;
    }
    if (!backup::spaceFor(source, destination).fitsBeside()) {
        err << "There is not enough room on the destination drive to back up \"" << source << "\".\n";
        return false;
    }
    std::optional<db::CodePageFileCopy> word;
    if (table)
        word.emplace(source, destination);
    backup::copyFileSafely(source, destination);
    if (word)
        word->copied();
    out << "Copied " << source << " to " << destination << "\n";
    if (table) {
        if (const size_t covers = backup::copyCovers(source, destination))
            out << "Copied " << covers << (covers == 1 ? " cover" : " covers") << " with it\n";
    }
    return true;
}

} // namespace

int backupFiles(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() < 3)
        throw UsageError("backup needs a collection and a folder");
    bool lists = false, definitions = false;
    for (size_t i = 3; i < args.size(); ++i) {
        if (args[i] == "--lists")
            lists = true;
        else if (args[i] == "--definitions")
            definitions = true;
        else
            throw UsageError("unknown backup argument \"" + args[i] + "\"");
    }
    const std::string& collection = args[1];
    const std::string& folder = args[2];
    if (!std::filesystem::is_directory(folder)) {
        err << "reelkeeper-cli: the folder \"" << folder << "\" does not exist\n";
        return 1;
    }
    if (!db::isCollectionTable(collection))
        throw db::DbError(collection, db::kNotCollectionMessage);
    // As the window: the collection is copied only while no copy of the program has it open,
    // and none can open it until the copy is whole and checked.
    const db::ExclusiveUse use(collection);
    if (!use.acquired()) {
        err << "Backing up the database requires exclusive use of the DBase File.  Make sure that the DBase File is not "
               "in use by another program  or that no other users are running the software or that no other copies of "
               "the software are in use.\n";
        return 1;
    }
    if (!copyInto(collection, folder, out, err, true))
        return 1;
    const std::filesystem::path home = app::programFolder().toStdString();
    if (lists)
        for (const db::PickListInfo& list : db::pickLists())
            if (std::filesystem::exists(home / list.fileName) && !copyInto((home / list.fileName).string(), folder, out, err))
                return 1;
    if (definitions && !copyInto((home / "REELKP.URP").string(), folder, out, err))
        return 1;
    out << "Backup completed successfully.\n";
    return 0;
}

} // namespace cli::detail
