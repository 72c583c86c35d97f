#pragma once

#include "Prompter.h"
#include "Settings.h"
#include "Table.h"

#include <QDialog>

#include <functional>

namespace exchange_ui {

// What the import and export windows need of the main window.
struct ExchangeContext {
    app::Prompter& prompter;
    app::Settings& settings; // [Import], [Export], the export layout and the field names
    db::Table& table;        // the collection, in its current order and search
    double scaleFactor = 1.0;
    std::function<bool()> searchMode;
    std::function<void()> endSearch;     // the main window's End Search, for an export of the whole collection
    std::function<void()> restoreSearch; // and the search put back afterwards
    std::function<int(QDialog&)> runDialog;
};

// Lets the windows answer while a long import or export runs: at most every
// tenth of a second, so that the work itself stays fast.
class KeepAnswering {
public:
    void now();

private:
    qint64 m_last = 0;
};

} // namespace exchange_ui
