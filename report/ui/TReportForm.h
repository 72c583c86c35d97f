#pragma once

// The report status window: runs one report job when it is first shown,
// showing the page it is on, and offers Cancel while the job runs and OK
// when it has ended ("Report Completed!" or "Report Canceled!").

#include "TBaseReport.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace report_ui {

class TReportForm : public QDialog {
    Q_OBJECT

public:
    // The engine's page events are connected by the caller (a rendering);
    // the window gives it the status label and runs it.
    explicit TReportForm(engine::TBaseReport& job, QWidget* parent = nullptr);

    QLabel* StatusLabel;
    QPushButton* Button;
    bool cancelled() const { return m_cancelled; }
    bool jobRan() const { return m_ran; }
    // Runs the job (once); the window's first showing calls it.
    void RunJob();
    // Called once a job has run whole, before the window says so: it puts
    // what the job made in its place (a text file over its destination) and
    // says whether it could; if not, the window says the report was canceled.
    void setFinish(std::function<bool()> finish) { m_finish = std::move(finish); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buttonClick();

    engine::TBaseReport& m_job;
    bool m_ran = false;
    bool m_running = false;
    bool m_cancelled = false;
    std::function<bool()> m_finish;
};

} // namespace report_ui
