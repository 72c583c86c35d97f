#pragma once

// A film's cover in the record editor: the picture (or a note that there is
// none), "Choose Cover..." and "Remove Cover", and a picture file or an image
// dropped on it or pasted into it. A stored record's cover changes at once,
// under the title and year the record has in the collection; a record not
// yet stored holds the picture until it is (takePending).

#include "CoverStore.h"
#include "Prompter.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class QLabel;
class QPushButton;

namespace covers_ui {

class CoverPanel : public QWidget {
    Q_OBJECT

public:
    explicit CoverPanel(app::Prompter& prompter, QWidget* parent = nullptr);

    // The film the panel shows: its collection, stored title and year; no
    // stored record (a new one) when `stored` is false.
    void showFilm(const std::string& collectionPath, const std::string& title, const std::string& year, bool stored);
    void setReadOnly(bool readOnly); // browse mode: shown, not changed

    void ChooseClick();
    void RemoveClick();
    void Paste();
    // Takes a picture file, or an image in memory, for the film.
    bool takeFile(const QString& file);
    bool takeImage(const QImage& image);
    // A picture's bytes (a poster fetched), named by `name` in messages.
    bool takePicture(const std::string& bytes, const std::string& name);

    // A new record's picture, kept once the record has been stored under its title and year.
    bool hasPending() const { return m_pendingPicture || m_pendingImage; }
    // Whether the film has a cover (stored, or one waiting for its record).
    bool hasPicture() const { return !m_shown.isNull() || hasPending(); }
    // How large a picture is kept (the user's Cover Size).
    void setLimits(const covers::CoverLimits& limits) { m_limits = limits; }
    void storePending(const std::string& title, const std::string& year);
    void dropPending();

    QLabel* Picture;
    QPushButton* ChooseButton;
    QPushButton* RemoveButton;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showPicture(const QImage& image);
    void refresh();

    app::Prompter& m_prompter;
    std::string m_collection;
    std::string m_title;
    std::string m_year;
    bool m_stored = false;
    bool m_readOnly = false;
    QImage m_shown;
    std::optional<covers::CheckedPicture> m_pendingPicture;
    covers::CoverLimits m_limits;
    std::optional<QImage> m_pendingImage;
};

} // namespace covers_ui
