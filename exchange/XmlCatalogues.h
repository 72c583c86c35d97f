#pragma once

// The catalogues that keep their films as XML: GCstar film collections (.gcs),
// Tellico video collections (.tc, a zip holding tellico.xml, or the bare XML)
// and Kodi / MediaElch movie .nfo files (one file, or a folder of them). Each
// is read whole into the collection's forty values a film.

#include "Import.h"

#include <memory>
#include <string>
#include <vector>

namespace exchange {

enum class XmlCatalogue { None, Gcstar, Tellico, Nfo };

// What a file (or a folder, for .nfo files) holds, from its content.
XmlCatalogue recogniseXmlCatalogue(const std::string& path);

// The films of a catalogue. Throws db::DbError with a message naming what is
// wrong: not that kind of file, a collection of another type ("a Tellico book
// collection"), a TV show's .nfo, damaged XML (with its line).
// In a folder of .nfo files, those that hold no film (a TV show's, an episode's,
// damaged ones) are left out and named in refused.
std::vector<CollectionValues> readXmlCatalogue(const std::string& path, XmlCatalogue kind,
                                               std::vector<db::DbError>* refused = nullptr);
const char* xmlCatalogueName(XmlCatalogue kind); // "GCstar", "Tellico", "Kodi .nfo"

// A GCstar collection read a film at a time (the others are small enough to read whole).
class GcstarItems;
struct GcstarItemsClose {
    void operator()(GcstarItems* items) const;
};
using GcstarReader = std::unique_ptr<GcstarItems, GcstarItemsClose>;
GcstarReader openGcstar(const std::string& path); // throws db::DbError
bool nextGcstarFilm(GcstarItems& items, CollectionValues& film); // false at the end; throws db::DbError

// The XML of a Tellico video collection holding these records, which
// readXmlCatalogue reads back to the same values.
std::string tellicoXml(const std::vector<CollectionValues>& records);

// The same a piece at a time, for exports of any size: the start, one entry
// per record (numbered from 1), the end.
std::string tellicoStart();
std::string tellicoEntry(const CollectionValues& record, int id);
std::string tellicoEnd();

} // namespace exchange
