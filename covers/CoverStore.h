#pragma once

// A collection's covers: finding a film's, taking a new picture (checked and,
// when large, scaled), removing one, renaming one with its film, and listing
// those no film names any more. Pictures go into the folder whole or not at
// all; nothing here ever deletes a cover but remove().

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <QSize>

class QImage;

namespace db {
class Table;
}

namespace covers {

// How large a picture is kept. A larger one is scaled down to the longest
// side (as JPEG at jpegQuality, PNG when it has transparency); one past the
// refusal limits is not read at all (a damaged or hostile file).
struct CoverLimits {
    int longestSide = 1500;
    int jpegQuality = 90;
    long long largestFileBytes = 64LL << 20;
    int largestSidePixels = 20000;
    long long largestPixels = 120'000'000;

    // The user's Cover Size, the refusal limits as they are.
    static CoverLimits sized(int longestSide, int jpegQuality)
    {
        CoverLimits limits;
        limits.longestSide = longestSide;
        limits.jpegQuality = jpegQuality;
        return limits;
    }
};

// A picture read and found sound, ready to be kept: its bytes as they will
// be written, and the ending they are kept under.
struct CheckedPicture {
    std::string bytes;
    std::string ending;
};

// Reads a picture (from a file, or bytes named by `name` in messages) and
// checks it whole, scaling a larger one down to the limits. Throws
// db::DbError naming the picture when it cannot be read, is damaged, or is
// past the refusal limits. Heavy (it decodes the picture): may run on any thread.
CheckedPicture checkPicture(const std::string& file, const CoverLimits& limits = {});
CheckedPicture checkPicture(const std::string& bytes, const std::string& name, const CoverLimits& limits = {});

class CoverStore {
public:
    explicit CoverStore(const std::string& collectionPath);
    const std::string& folder() const { return m_folder; }

    // The file of a film's cover; empty when it has none.
    std::string find(std::string_view title, std::string_view year) const;
    // Takes the picture file as the film's cover, in place of any it had;
    // returns the cover's file. Throws db::DbError naming the picture when it
    // cannot be read, is damaged, or is past the limits: nothing changes then.
    std::string store(std::string_view title, std::string_view year, const std::string& picture,
                      const CoverLimits& limits = {});
    // The same for a picture in memory (one pasted), kept as JPEG or PNG.
    std::string storeImage(std::string_view title, std::string_view year, const QImage& image,
                           const CoverLimits& limits = {});
    // A checked picture as the film's cover, in place of any it had.
    std::string store(std::string_view title, std::string_view year, const CheckedPicture& picture);
    // Removes a film's cover; false when it had none.
    bool remove(std::string_view title, std::string_view year);

    enum class Renamed { Nothing, Renamed, Copied, NameTaken };
    // A film renamed: its cover takes the new name, unless another film already
    // has that name's cover (never overwritten: the cover stays where it was).
    // keepOld leaves the old one in place too (another record still names it).
    Renamed rename(std::string_view oldTitle, std::string_view oldYear, std::string_view newTitle,
                   std::string_view newYear, bool keepOld = false);

    // A cover file of the folder (one no film names) given to a film: renamed
    // to the film's name, unless the film has a cover already.
    Renamed giveTo(const std::string& fileName, std::string_view title, std::string_view year);
    // Deletes a cover file of the folder, by its name.
    void deleteFile(const std::string& fileName);

    // The covers in the folder that no stored record names, by file name.
    std::vector<std::string> withoutAFilm(db::Table& table) const;

private:
    std::string pathOf(const std::string& base, const std::string& ending) const;
    std::string write(const std::string& base, const std::string& ending, const std::string& bytes);

    std::string m_folder;
};

// A collection's covers by film, for work that looks up many records' covers
// at once (an export, a report): the folder is listed once, not looked in
// record by record.
class CoverFiles {
public:
    explicit CoverFiles(const std::string& collectionPath);
    bool any() const { return !m_files.empty(); }
    // The cover file of a film (its whole path); "" for none.
    std::string fileOf(std::string_view title, std::string_view year) const;

private:
    std::string m_folder;
    std::unordered_map<std::string, std::string> m_files; // "Title (Year)" -> its file's name
};

// A picture's bytes as PNG (which keeps transparency) or as JPEG at the
// quality given; empty when it cannot be written.
std::string encodePicture(const QImage& image, bool png, int jpegQuality);

// A cover read at the size that fills `room`, its shape kept (a large JPEG is
// decoded at a fraction of its size, not whole and then scaled).
// Null when the file cannot be read.
QImage readCover(const std::string& file, QSize room);

// Makes a table keep its collection's covers with their films: when a change
// it posts gives a film another title or year, the cover is renamed in the
// same step (copied instead while another record still names the old one).
void followTitleChanges(db::Table& table);

} // namespace covers
