#pragma once

// Tools > Covers without a Film: the pictures in the collection's covers
// folder that no record names any more (its film renamed by another program,
// or deleted), each to be given to the video the main window is on, or
// deleted after a question. Nothing goes unless the user says so.

#include "Prompter.h"

#include <QDialog>

#include <functional>
#include <string>

class QListWidget;
class QPushButton;

namespace db {
class Table;
}

namespace covers_ui {

struct CoversWithoutAFilmContext {
    app::Prompter& prompter;
    db::Table& table;
    // The title and year of the video the main window is on (empty: none).
    std::function<std::pair<std::string, std::string>()> currentFilm;
};

class TCoversWithoutAFilm : public QDialog {
    Q_OBJECT

public:
    TCoversWithoutAFilm(CoversWithoutAFilmContext context, QWidget* parent = nullptr);

    QListWidget* Covers;
    QPushButton* GiveButton;
    QPushButton* DeleteButton;

    void Reload();
    void GiveClick();
    void DeleteClick();

private:
    std::string selectedFile() const;

    CoversWithoutAFilmContext m_context;
};

} // namespace covers_ui
