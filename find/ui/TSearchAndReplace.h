#pragma once

#include "Prompter.h"
#include "RegionalFormats.h"
#include "Replace.h"
#include "Settings.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace db {
class Table;
}

namespace find {

// What search and replace needs of the main window.
struct ReplaceContext {
    app::Prompter& prompter;
    const app::Settings& settings;
    const app::NumberFormats& numbers;
    db::Table& table;
    double scaleFactor = 1.0;
    std::function<bool()> tableInUse;
    std::function<void()> reopenShared;      // open shared and re-apply the viewer settings
    std::function<void()> applyViewerOptions;
    std::function<bool()> searchMode;
    std::function<void()> endSearch;         // DoEndSearch
    std::function<void()> enableEndSearch;   // EnableEndSearch
    std::function<std::string()> sortExpression;
    std::function<QString()> indexFileName;
};

// "Search and Replace": one field set to a new value in every record whose
// value equals the one searched for, optionally asking for each record.
class TSearchAndReplace : public QDialog {
    Q_OBJECT

public:
    explicit TSearchAndReplace(ReplaceContext context, QWidget* parent = nullptr);

    QComboBox* FieldBox;
    QLineEdit* SearchText;
    QLineEdit* ReplaceText;
    QCheckBox* ConfirmBox;

    void FieldBoxChange();
    void StartButtonClick();
    const ReplaceCounters& counters() const { return m_counters; }
    QString counterText(int which) const; // 0 processed, 1 found, 2 changed

    static const char* const kInUse;
    static const char* const kCannotStart;
    static const char* const kComplete;

private:
    void runSearchAndReplace();
    void drawCounters();
    QString boxText(QLineEdit* box) const;

    ReplaceContext m_context;
    ReplaceCounters m_counters;
    QLabel* m_counterLabels[3];
    QPushButton* m_startButton = nullptr;
    bool m_running = false;
};

} // namespace find
