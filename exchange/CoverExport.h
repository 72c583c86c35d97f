#pragma once

// The covers an export takes along, copied on worker threads while the
// records are written.

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class QThreadPool;

namespace exchange {


// Writes pictures on worker threads while an export walks its records: each
// destination once, however many records name it. A picture that cannot be
// read or written is named among the failures; the others are still written.
class PictureCopies {
public:
    PictureCopies();
    ~PictureCopies(); // stops and waits

    // Copies the picture to the destination as it is (scaleTo 0), or scaled
    // to at most scaleTo pixels on its longest side, for a web page. A
    // destination newer than its picture is already there and kept.
    void copy(const std::string& picture, const std::string& destination, int scaleTo = 0);
    // Waits for every copy; the number written (or found up to date).
    uint64_t finish();
    // The destinations that could not be written, each with why.
    std::vector<std::string> failures() const;

private:
    std::unique_ptr<QThreadPool> m_pool;
    std::unordered_set<std::string> m_asked;
    std::unordered_set<std::string> m_folders; // made already
    mutable std::mutex m_mutex;
    uint64_t m_written = 0;
    std::vector<std::string> m_failures;
};

// A picture's bytes scaled for a web page (never enlarged): PNG, which keeps
// a picture's transparency, or JPEG. Empty when it cannot be read.
std::string webPicture(const std::string& file, int longestSide, bool png);
// The ending a picture has on a web page: "png" for a PNG, "jpg" for any other.
std::string webEnding(const std::string& file);

// A path's characters as a URL's relative reference takes them ("Heat (1995).jpg" -> "Heat%20(1995).jpg").
std::string urlPath(std::string_view path);

} // namespace exchange
