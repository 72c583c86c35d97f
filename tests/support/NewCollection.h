#pragma once

// A new, empty collection in a folder of its own, open for the test.
#include "CollectionFile.h"
#include "Table.h"
#include "TempDir.h"

#include <string>

namespace testing_support {

struct NewCollection {
    explicit NewCollection(const std::string& name = "FILMS.DBF", db::TextEncoding encoding = db::TextEncoding::Utf8)
        : path(dir.file(name))
    {
        db::createCollectionTable(path, encoding);
        table.setFilePath(path);
        table.open();
    }

    TempDir dir;
    std::string path;
    db::Table table;
};

} // namespace testing_support
