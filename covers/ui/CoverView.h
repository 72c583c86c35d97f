#pragma once

// The current record's cover in a pane beside the main window's grid. Moving
// through the records asks for a cover at every step: the pane waits for a
// pause of a few milliseconds, reads the picture at the size it shows (a
// JPEG is decoded at a fraction of its size), and keeps the last few dozen it
// showed, so that going back and forth costs nothing and memory stays bounded.

#include "ThumbnailCache.h"

#include <QCache>
#include <QLabel>
#include <QPixmap>

#include <memory>
#include <string>

class QTimer;

namespace covers_ui {

class CoverView : public QLabel {
    Q_OBJECT

public:
    explicit CoverView(QWidget* parent = nullptr);

    // The film to show; shown after the pause (at once when `now`).
    void showFilm(const std::string& collectionPath, const std::string& title, const std::string& year, bool now = false);
    const std::string& shownFile() const { return m_file; }
    bool waiting() const; // a film asked for and not yet shown
    // Where thumbnails are kept between runs ("" keeps none: each cover is read from its picture).
    void setThumbnailFolder(const std::string& folder);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showNow();

    std::string m_collection;
    std::string m_title;
    std::string m_year;
    std::string m_file;
    QTimer* m_pause = nullptr;
    QCache<QString, QPixmap> m_recent{48};
    std::unique_ptr<covers::ThumbnailCache> m_thumbnails;
};

} // namespace covers_ui
