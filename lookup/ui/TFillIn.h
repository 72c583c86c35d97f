#pragma once

// The record editor's Fill In: the films whose titles hold the words typed
// (and near the year typed), from IMDb's datasets (the lookup index) or from
// TMDb online, and for the one picked, field by field, what the video has and
// what the film would give: ticked where the video has nothing, so that what
// the user typed stays unless ticked. TMDb's answers come while the window
// goes on: the matches first, then each one's credits and poster.

#include "FilmFill.h"
#include "ImdbIndex.h"
#include "Tmdb.h"

#include <QDialog>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace db {
class Table;
}

namespace lookup_ui {

class TFillIn : public QDialog {
    Q_OBJECT

public:
    enum class Source { Imdb, Tmdb };
    // current: the editor's value of a table field (UTF-8). index or tmdb may
    // be missing (no index built, no key set), not both.
    TFillIn(lookup::ImdbIndex* index, lookup::TmdbClient* tmdb, const db::Table& table,
            std::function<std::string(int field)> current, const QString& title, int year, QWidget* parent = nullptr,
            Source first = Source::Imdb);
    ~TFillIn() override;

    // Whether the video has a cover now, and how tall a poster to take as one.
    void setCover(bool hasCover, int longestSide);

    QComboBox* SourceBox;
    QLineEdit* TitleBox;
    QLineEdit* YearBox;
    QTreeWidget* Matches;
    QTreeWidget* Changes;
    QLabel* Notice; // the source's courtesy line its terms ask for
    void SearchClick();
    Source source() const;
    // The changes ticked, for the editor to write into its boxes.
    std::vector<lookup::FillChange> chosenChanges() const;
    // The poster's bytes when its row is ticked.
    std::optional<std::string> chosenCover() const;

private:
    void searchIndex();
    void searchTmdb();
    void sourceChanged();
    void showChanges();
    void sayInList(QTreeWidget* list, const QString& text);
    void addMatch(const lookup::Film& film);
    void fillRow(int row);
    void askDetails(int row);
    void askCover(int row);
    int currentRow() const;
    QString spoken(const db::Message& message) const;

    lookup::ImdbIndex* m_index;
    lookup::TmdbClient* m_tmdb;
    const db::Table& m_table;
    std::function<std::string(int field)> m_current;
    std::vector<lookup::Film> m_films;
    std::vector<bool> m_detailed;    // TMDb: the film's details have come
    std::vector<bool> m_asked;       // TMDb: its details were asked for
    std::map<int, std::string> m_posters; // TMDb: the cover-sized poster of a row, once it came
    std::vector<lookup::FillChange> m_changes;
    QTreeWidgetItem* m_coverItem = nullptr;
    bool m_hasCover = false;
    int m_coverSide = 1500;
    int m_generation = 0; // a new search makes the answers of the last one stale
};

} // namespace lookup_ui
