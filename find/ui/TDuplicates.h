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
#include <memory>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QThreadPool;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

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
    // The records the main window shows, as a filter a worker may run on a
    // table of its own (empty: all of them).
    std::function<std::function<bool(const db::Record&)>()> shownRecords;
};

class TDuplicates : public QDialog {
    Q_OBJECT

public:
    TDuplicates(DuplicatesContext context, QWidget* parent = nullptr);
    ~TDuplicates() override;

    QCheckBox* SameYear;
    QCheckBox* SameFormat;
    QTreeWidget* Groups;
    QPushButton* EditButton;
    QPushButton* DeleteButton;
    QPushButton* NotDuplicatesButton;
    QPushButton* StopButton;  // shown while a search runs
    QProgressBar* Progress;   // the same
    QLabel* Status;           // what the search is doing, or what it found

    // Starts a search on a worker; the list fills when it is done.
    void FindClick();
    void StopClick();
    bool searching() const { return m_job != nullptr; }
    void waitForSearch(); // until the search under way is done (for scripts and tests)
    void EditClick();
    void DeleteClick();
    void NotDuplicatesClick();
    const std::vector<DuplicateGroup>& groups() const { return m_groups; }

    void done(int result) override;

private:
    struct Job;
    void showProgress();
    void showFound(Job& job);
    void fillGroup(QTreeWidgetItem* top);
    void endSearch();
    uint32_t selectedRecord() const; // 0 when a group, or nothing, is selected
    std::string selectedGroupKey() const;

    DuplicatesContext m_context;
    std::vector<DuplicateGroup> m_groups;
    std::shared_ptr<Job> m_job;
    std::unique_ptr<QThreadPool> m_worker;
    QTimer* m_poll = nullptr;
    QPushButton* m_findButton = nullptr;
    uint32_t m_toLookAt = 0;
};

} // namespace find
