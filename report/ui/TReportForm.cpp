#include "TReportForm.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace report_ui {

TReportForm::TReportForm(engine::TBaseReport& job, QWidget* parent)
    : QDialog(parent)
    , StatusLabel(new QLabel(tr("Printing Status"), this))
    , Button(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), tr("Cancel"), this))
    , m_job(job)
{
    setWindowTitle(tr("Report Status Screen"));
    StatusLabel->setObjectName("StatusLabel");
    QFont bold = StatusLabel->font();
    bold.setBold(true);
    StatusLabel->setFont(bold);
    StatusLabel->setAlignment(Qt::AlignCenter);
    StatusLabel->setMinimumWidth(260);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StatusLabel, 1);
    layout->addWidget(Button, 0, Qt::AlignHCenter);
    connect(Button, &QPushButton::clicked, this, &TReportForm::buttonClick);
    m_job.setStatusLabel([this](const QString& caption) { StatusLabel->setText(caption); });
}

void TReportForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The job runs once, after the window is on the screen.
    if (!m_ran)
        QTimer::singleShot(0, this, [this] { RunJob(); });
}

void TReportForm::RunJob()
{
    if (m_ran)
        return;
    m_ran = true;
    m_running = true;
    m_job.RunJob();
    m_running = false;
    m_cancelled = m_job.Cancelled() || (m_finish && !m_finish());
    // Whatever happened, the Cancel button becomes OK and the status says how it ended.
    Button->setText(tr("OK"));
    Button->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    m_job.setStatusFormat(QString("\r") + (m_cancelled ? tr("Report Canceled!") : tr("Report Completed!")));
    m_job.RefreshStatus();
}

void TReportForm::buttonClick()
{
    if (m_running) {
        m_job.CancelJob(); // the job stops after the current page
        return;
    }
    accept();
}

} // namespace report_ui
