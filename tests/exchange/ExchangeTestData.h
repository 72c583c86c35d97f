#pragma once

// Collections for the import and export tests.

#include "Import.h"

#include <cstdint>
#include <string>
#include <vector>

namespace db {
class Table;
}

namespace exchange_testing {

// A collection of n records with every field filled at random: quotes,
// commas, accents, negative and fractional numbers, dates of four centuries,
// and empty fields.
void fillAtRandom(db::Table& table, int n, uint32_t seed);
// Every record of a table in stored order, each as its fields' edit texts.
std::vector<std::vector<std::string>> recordsOf(const std::string& path);

// The positional map of the import window as it opens: field i to schema position i.
exchange::ImportMap positionalMap(size_t fields);

} // namespace exchange_testing
