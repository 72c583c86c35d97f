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

// A catalogue read a film at a time as its file is read, so that neither a
// large catalogue nor a hostile one (a value of hundreds of megabytes, a zip
// that unpacks to far more than it is) costs more memory than a small one.
class XmlFilms {
public:
    virtual ~XmlFilms() = default;
    // The next film; false at the end. Throws db::DbError naming what is
    // wrong: damaged XML (with its line), a file too large for a catalogue.
    virtual bool next(CollectionValues& film) = 0;
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
std::string tellicoStart();
std::string tellicoEntry(const CollectionValues& record, int id);
std::string tellicoEnd();

} // namespace exchange
