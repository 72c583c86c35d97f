// libFuzzer target: other catalogues' files on arbitrary bytes. The bytes are
// written to a file and given to every reader (GCstar, Tellico bare and as a
// zip, a Kodi .nfo) and to the recognition of IMDb and Letterboxd exports: no
// crash, no hang, every failure a db::DbError with a message; every film read
// has a title, year and play time that fit what the collection stores.
#include "Catalogues.h"
#include "DbError.h"
#include "XmlCatalogues.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

const std::string& scratchFile()
{
    static const std::string path = "/tmp/fuzz-catalogue-" + std::to_string(getpid());
    return path;
}

void readAs(exchange::XmlCatalogue kind)
{
    try {
        for (const exchange::CollectionValues& film : exchange::readXmlCatalogue(scratchFile(), kind)) {
            check(film[10].size() <= 4); // a year is four digits or none
            check(film[11].find_first_not_of("0123456789") == std::string::npos);
        }
    } catch (const db::DbError& e) {
        check(std::string(e.what()).size() > 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        std::ofstream out(scratchFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    exchange::recogniseCatalogue(scratchFile());
    readAs(exchange::XmlCatalogue::Gcstar);
    readAs(exchange::XmlCatalogue::Tellico);
    readAs(exchange::XmlCatalogue::Nfo);
    return 0;
}
