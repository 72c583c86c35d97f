#pragma once

// Cassette labels: face and spine labels on Avery 5199 (letter) and Avery
// L7654 (A4) sheets. Each label position shows the records (up to six) that
// carry the media number typed for it, sorted by their start counter.

#include "Settings.h"
#include "TBaseReport.h"
#include "Table.h"

#include <QString>

#include <array>
#include <vector>

namespace report {

// The items a label can show, in this order throughout.
enum LabelItem { liMediaNumber, liTitle, liStartCounter, liStopCounter, liRating, liYear, liPlayTime, liCategory,
                 kLabelItemCount };

// 1 face / 2 spine on Avery 5199, 3 face / 4 spine on Avery L7654.
int labelKind(bool spine, bool avery5199);

struct LabelStock {
    int labels;          // positions on a sheet
    int columns;         // 2 for face labels, 1 for spine labels
    double width;        // of one label, in inches
    double rowPitch;
    double columnGap;
    double top;          // of the first row
    double left;         // of the first column
    double paperWidth;   // letter or A4
    double paperHeight;
    bool spine() const { return columns == 1; }
};
const LabelStock& labelStock(int kind);

// The items' collection fields and how many characters of each a label keeps.
struct LabelField {
    const char* field;
    int characters;
};
const std::array<LabelField, kLabelItemCount>& labelFields();

// The settings file keeps the items as Rating, Title, Start Counter, Stop
// Counter, Play Time, Category, Media Number, Year Released.
std::array<bool, kLabelItemCount> labelItemsFromSettings(const std::array<bool, 8>& flags);

struct LabelSettings {
    int kind = 1;
    std::array<bool, kLabelItemCount> items{true, true, true, true, true, true, true, true};
    std::vector<QString> cells; // the media number typed for position 1, 2, ...
    app::FontSetting font;      // its face, styles and color (the layouts choose the sizes)
};

// One label position: its media number and the records that carry it.
struct LabelPosition {
    QString mediaNumber;
    std::vector<std::array<QString, kLabelItemCount>> records;
};

// One pass over the collection for every position: each record's media
// number is compared with each position's; a position keeps at most six
// records, sorted by start counter.
std::vector<LabelPosition> scanMediaNumbers(db::Table& table, const std::vector<QString>& cells, int labels);

class LabelRender {
public:
    LabelRender(LabelSettings settings, db::Table& table);
    // Connects the engine's page events; the job is one portrait page on the stock's paper.
    void attach(engine::TBaseReport& engine);
    const std::vector<LabelPosition>& positions() const { return m_positions; }

private:
    void beforePrint(engine::TBaseReport& r);
    bool page(engine::TBaseReport& r);
    void faceLabel(engine::TBaseReport& r, const LabelPosition& position, int n);
    void spineLabel(engine::TBaseReport& r, const LabelPosition& position, int n);
    void selectFont(engine::TBaseReport& r, double points);
    // One line of stops from x, each (width, alignment, text); text is cut to fit its stop.
    struct Cell {
        double width;
        uint8_t alignment;
        QString text;
    };
    void line(engine::TBaseReport& r, double x, const std::vector<Cell>& cells);
    double width(LabelItem item, double width) const { return m_settings.items[item] ? width : 0; }
    QString value(const std::array<QString, kLabelItemCount>& record, LabelItem item) const
    {
        return m_settings.items[item] ? record[item] : QString();
    }

    LabelSettings m_settings;
    db::Table& m_table;
    std::vector<LabelPosition> m_positions;
};

} // namespace report
