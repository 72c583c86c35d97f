#pragma once

// Covers at the size a pane shows them, kept on disk between runs, so that
// moving through a large collection decodes a small picture, not a large one,
// for every film seen before. A thumbnail is known by its picture's path, time
// and size and by the room it fills: a changed picture, or a pane of another
// size, makes a new one. The folder is kept under a limit, the oldest going
// first; memory holds nothing.

#include <QImage>
#include <QSize>

#include <string>

namespace covers {

class ThumbnailCache {
public:
    explicit ThumbnailCache(std::string folder, long long mostBytes = 64LL << 20);
    const std::string& folder() const { return m_folder; }

    // The cover at the size that fills room, its shape kept; null when the picture cannot be read.
    QImage thumbnail(const std::string& file, QSize room);

    // Removes the oldest thumbnails while the folder holds more than the limit.
    void prune();

private:
    std::string m_folder;
    long long m_mostBytes;
    int m_writtenSincePrune = 0;
};

} // namespace covers
