#pragma once

// Where a collection's covers are and what each is called. A cover belongs to
// a film by its title and year, as Kodi names a film's poster: "Heat (1995).jpg"
// in FILMS.covers/ beside FILMS.DBF. So a cover outlives whatever renumbers
// the records, a picture dropped into the folder under that name is the
// film's, and the VHS and the DVD of one film share it.

#include <string>
#include <string_view>
#include <vector>

namespace covers {

// The folder of a collection's covers: FILMS.DBF -> FILMS.covers, beside it.
std::string coversFolderOf(const std::string& collectionPath);

// A film's cover name without its ending: "Title (Year)", or "Title" without a
// year. The title (UTF-8) in normal form C, trimmed; the characters no file
// system takes (/ \ : * ? " < > | and controls) as "_"; no dot or blank at
// the ends (Windows drops them); at most kLongestName bytes, cut where a
// character ends. Empty for a film without a title: it has no cover.
std::string coverBaseName(std::string_view title, std::string_view year);
constexpr size_t kLongestName = 200; // bytes, leaving room for the ending in any file system's 255

// The endings a cover may have, in the order a film's cover is looked for.
const std::vector<std::string>& coverEndings(); // "jpg", "jpeg", "png", "webp"

} // namespace covers
