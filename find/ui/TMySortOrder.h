#pragma once

#include "Prompter.h"
#include "Settings.h"
#include "SortOrder.h"

#include <QDialog>
#include <array>
#include <functional>

class QComboBox;

namespace db {
class Table;
}

namespace find {

// What the sort order window needs of the main window.
struct SortOrderContext {
    app::Prompter& prompter;
    app::Settings& settings;
    db::Table& table;
    double scaleFactor = 1.0;
    std::function<bool()> tableInUse;         // the in-use test on the open collection
    std::function<void()> reopenShared;       // open the table shared, re-apply the viewer settings
    std::function<void()> buildSortString;    // the main window's BuildSortString
    std::function<std::string()> sortExpression;
    std::function<QString()> writeSettings;   // empty text, or why it failed
};

// "Sort Order": four lists of "<NONE>" and the field display names.
class TMySortOrder : public QDialog {
    Q_OBJECT

public:
    explicit TMySortOrder(SortOrderContext context, QWidget* parent = nullptr);

    QComboBox* list(int level) const { return m_lists[static_cast<size_t>(level)]; }
    void OkButtonClick();

    static const char* const kInUse;
    static const char* const kFailed;

private:
    SortOrderContext m_context;
    std::array<QComboBox*, 4> m_lists{};
};

} // namespace find
