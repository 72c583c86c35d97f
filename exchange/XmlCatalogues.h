#pragma once

// The catalogues that keep their films as XML: GCstar film collections (.gcs),
// Tellico video collections (.tc, a zip holding tellico.xml, or the bare XML)
// and Kodi / MediaElch movie .nfo files (one file, or a folder of them). Each
// film is read into the collection's forty values.

#include "Import.h"

#include <memory>
#include <string>
#include <vector>

namespace exchange {

enum class XmlCatalogue { None, Gcstar, Tellico, Nfo };

// What a file (or a folder, for .nfo files) holds, from its content.
XmlCatalogue recogniseXmlCatalogue(const std::string& path);

// Where a film's picture is: a file, or a member of a zip archive (a Tellico
// .tc file's images/); empty when the catalogue names none.
struct FilmPicture {
    std::string file;   // the picture, or the archive that holds it
    std::string member; // the picture's name inside the archive; "" for a file
    bool given() const { return !file.empty(); }
};

// Reads films' pictures, keeping the last archive open for the next one.
class FilmPictureReader {
public:
    FilmPictureReader();
    ~FilmPictureReader();
    FilmPictureReader(const FilmPictureReader&) = delete;
    FilmPictureReader& operator=(const FilmPictureReader&) = delete;
    // The picture's bytes. Throws db::DbError naming the picture when it is
    // missing, cannot be read, or holds more than largest bytes.
    std::string read(const FilmPicture& picture, long long largest);

private:
    struct Archive;
    std::unique_ptr<Archive> m_archive;
};

// A catalogue read a film at a time as its file is read, so that neither a
// large catalogue nor a hostile one (a value of hundreds of megabytes, a zip
// that unpacks to far more than it is) costs more memory than a small one.
class XmlFilms {
public:
    virtual ~XmlFilms() = default;
    // The next film; false at the end. Throws db::DbError naming what is
    // wrong: damaged XML (with its line), a file too large for a catalogue.
    virtual bool next(CollectionValues& film) = 0;
    // The picture the catalogue gives for the film next() gave last: GCstar's
    // picture path, Tellico's cover image, Kodi's poster beside the .nfo.
    FilmPicture picture;
    // In a folder of .nfo files, those that hold no film (a TV show's, an
    // episode's, damaged ones, pipes and devices) are left out and named here.
    std::vector<db::DbError> leftOut;
};

// Opens a catalogue. Throws db::DbError with a message naming what is wrong:
// not that kind of file, a collection of another type ("a Tellico book
// collection"), a TV show's .nfo, damaged XML (with its line).
std::unique_ptr<XmlFilms> openXmlCatalogue(const std::string& path, XmlCatalogue kind);
// Every film of a catalogue at once (for small ones); refused gets the files left out.
std::vector<CollectionValues> readXmlCatalogue(const std::string& path, XmlCatalogue kind,
                                               std::vector<db::DbError>* refused = nullptr);
const char* xmlCatalogueName(XmlCatalogue kind); // "GCstar", "Tellico", "Kodi .nfo"

// The XML of a Tellico video collection holding these records, which
// readXmlCatalogue reads back to the same values.
std::string tellicoXml(const std::vector<CollectionValues>& records);

// The same a piece at a time, for exports of any size: the start, one entry
// per record (numbered from 1), the end.
// An entry's cover is named by its image's id; the end lists the images.
struct TellicoImage {
    std::string id;     // "<hex>.jpeg": the name it has among the images
    std::string format; // "JPEG", "PNG", "WEBP"
    int width = 0;
    int height = 0;
};
std::string tellicoStart();
std::string tellicoEntry(const CollectionValues& record, int id, const std::string& cover = {});
std::string tellicoEnd(const std::vector<TellicoImage>& images = {});

// A Kodi movie .nfo of one record: the values Kodi keeps, which the .nfo
// import reads back.
std::string nfoXml(const CollectionValues& record);

} // namespace exchange
