#pragma once

// The current record's cover in a pane beside the main window's grid. Moving
// through the records asks for a cover at every step: the pane waits for a
// pause of a few milliseconds, reads the picture at the size it shows (a
// JPEG is decoded at a fraction of its size), and keeps the last few dozen it
// showed, so that going back and forth costs nothing and memory stays bounded.

#include <QCache>
#include <QLabel>
#include <QPixmap>

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
};

} // namespace covers_ui
