#pragma once

// Tools > Find Duplicates: the groups of records whose titles are the same
// (case, accents, punctuation and articles aside), optionally only with the
// same year or format, side by side with the values that differ marked. A
// record can be opened in the editor or deleted; a group marked "not
// duplicates" is remembered beside the collection and not shown again.

#include "Duplicates.h"
#include "Prompter.h"
#include "Settings.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QPushButton;
class QTreeWidget;

namespace db {
class Table;
}

namespace find {

struct DuplicatesContext {
    app::Prompter& prompter;
    app::Settings& settings;
    db::Table& table;
    double scaleFactor = 1.0;
    std::function<void(uint32_t record)> openRecord;   // in the record editor
    std::function<void(uint32_t record)> deleteRecord; // asks, as Records > Delete does
};

class TDuplicates : public QDialog {
    Q_OBJECT

public:
    TDuplicates(DuplicatesContext context, QWidget* parent = nullptr);

    QCheckBox* SameYear;
    QCheckBox* SameFormat;
    QTreeWidget* Groups;
    QPushButton* EditButton;
    QPushButton* DeleteButton;
    QPushButton* NotDuplicatesButton;

    void FindClick();
    void EditClick();
    void DeleteClick();
    void NotDuplicatesClick();
    const std::vector<DuplicateGroup>& groups() const { return m_groups; }

private:
    uint32_t selectedRecord() const; // 0 when a group, or nothing, is selected
    std::string selectedGroupKey() const;

    DuplicatesContext m_context;
    std::vector<DuplicateGroup> m_groups;
};

} // namespace find
