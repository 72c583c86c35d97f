#pragma once

#include <cstdint>
#include <string>

namespace bench {

// Fills a collection table with n made-up but plausible records, the same
// ones for the same seed, through the table engine (exclusive use, no index).
void generateCollection(const std::string& path, uint32_t records, uint32_t seed = 1995);

} // namespace bench
