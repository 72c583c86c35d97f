#include "TSearchAndReplace.h"

#include "CoreText.h"
#include "Cp1252.h"
#include "Schema.h"
#include "SortOrder.h"
#include "Table.h"
#include "WindowLook.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QElapsedTimer>
#include <QVBoxLayout>

namespace find {

const char* const TSearchAndReplace::kInUse = kReplaceInUse;
const char* const TSearchAndReplace::kCannotStart =
    QT_TR_NOOP("Error in running search and replace.  Search and replace will be aborted.");
const char* const TSearchAndReplace::kComplete = QT_TR_NOOP("Global Search and Replace Complete.");

TSearchAndReplace::TSearchAndReplace(ReplaceContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
{
    setWindowTitle(tr("Search and Replace"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    FieldBox = new QComboBox(this);
    FieldBox->setObjectName("FieldBox");
    FieldBox->setMaxVisibleItems(15);
    for (int position = 1; position <= db::kSchemaFieldCount; ++position)
        FieldBox->addItem(m_context.settings.fields[static_cast<size_t>(position - 1)].displayName);
    FieldBox->setCurrentIndex(-1);
    SearchText = new QLineEdit(this);
    SearchText->setObjectName("SearchText");
    ReplaceText = new QLineEdit(this);
    ReplaceText->setObjectName("ReplaceText");
    form->addRow(tr("Field "), FieldBox);
    form->addRow(tr("Text To Search For"), SearchText);
    form->addRow(tr("Replacement Text"), ReplaceText);
    layout->addLayout(form);
    ConfirmBox = new QCheckBox(tr("Confirm Before Replacing"), this);
    layout->addWidget(ConfirmBox);
    auto* area = new QGroupBox(this);
    auto* counters = new QHBoxLayout(area);
    const char* captions[] = {QT_TR_NOOP("Processed"), QT_TR_NOOP("Found"), QT_TR_NOOP("Changed")};
    for (int i = 0; i < 3; ++i) {
        auto* column = new QVBoxLayout;
        column->addWidget(new QLabel(tr(captions[i]), area));
        m_counterLabels[i] = new QLabel("0", area);
        m_counterLabels[i]->setObjectName(QString("Counter") + captions[i]);
        column->addWidget(m_counterLabels[i]);
        counters->addLayout(column);
    }
    layout->addWidget(area);
    auto* buttons = new QHBoxLayout;
    auto* start = new QPushButton(tr("&Start Search"), this);
    m_startButton = start;
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    buttons->addStretch(1);
    buttons->addWidget(start);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(FieldBox, &QComboBox::currentIndexChanged, this, &TSearchAndReplace::FieldBoxChange);
    connect(start, &QPushButton::clicked, this, &TSearchAndReplace::StartButtonClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ui::applyWindowLook(this, m_context.settings, app::ConfigureWindowColors, m_context.scaleFactor);
}

void TSearchAndReplace::FieldBoxChange()
{
    const int position = FieldBox->currentIndex() + 1;
    SearchText->clear();
    ReplaceText->clear();
    if (position < 1)
        return;
    QString mask;
    switch (rowClass(position)) {
    case RowClass::Text:
        for (QLineEdit* box : {SearchText, ReplaceText}) {
            box->setInputMask(QString());
            box->setMaxLength(db::schemaField(position).width);
        }
        return;
    case RowClass::Number: mask = "xxxxxxxxx;_"; break;
    case RowClass::Date: {
        const QChar s = QChar::fromLatin1(db::editTextFormat().dateSeparator);
        mask = QString("00") + s + "00" + s + "9999;_";
        break;
    }
    }
    for (QLineEdit* box : {SearchText, ReplaceText}) {
        box->setMaxLength(32767);
        box->setInputMask(mask);
    }
}

QString TSearchAndReplace::boxText(QLineEdit* box) const
{
    return (box->inputMask().isEmpty() ? box->text() : box->displayText().replace('_', ' ')).trimmed();
}

QString TSearchAndReplace::counterText(int which) const
{
    return m_counterLabels[which]->text();
}

void TSearchAndReplace::drawCounters()
{
    const uint64_t values[] = {m_counters.processed, m_counters.found, m_counters.changed};
    for (int i = 0; i < 3; ++i)
        m_counterLabels[i]->setText(m_context.numbers.groupedNumber(static_cast<double>(values[i]), 1, 0).trimmed());
}

void TSearchAndReplace::StartButtonClick()
{
    // A run lets events through (counters, confirmations): a second click
    // during it must not start another run inside the first.
    if (m_running)
        return;
    m_running = true;
    m_startButton->setEnabled(false);
    struct Ended {
        TSearchAndReplace* window;
        ~Ended()
        {
            window->m_running = false;
            window->m_startButton->setEnabled(true);
        }
    } ended{this};
    runSearchAndReplace();
}

void TSearchAndReplace::runSearchAndReplace()
{
    auto error = [this](const QString& text, QWidget* focus) {
        m_context.prompter.message(this, tr("Error"), text, app::Prompter::Icon::Error);
        if (focus)
            focus->setFocus();
    };
    if (FieldBox->currentIndex() < 0)
        return error(tr("No field has been selected."), FieldBox);
    const ReplaceCheck check = checkTypedReplace(FieldBox->currentIndex() + 1, boxText(SearchText).toStdString(),
                                                 boxText(ReplaceText).toStdString(), m_context.table.encoding());
    if (!check.spec)
        return error(QString::fromStdString(check.message.spoken(ui::speakerFor("find"))),
                     check.box == 0 ? SearchText : ReplaceText);

    db::Table& table = m_context.table;
    table.close();
    if (m_context.tableInUse()) {
        error(QCoreApplication::translate("find", kInUse), nullptr);
        m_context.reopenShared();
        return;
    }
    m_counters = {};
    drawCounters();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool indexKept = false;
    try {
        table.open(db::Table::OpenMode::Exclusive);
        table.selectIndex("");
        // The sort index is put aside only when the run changes its keys; otherwise it stays as it is.
        indexKept = !replaceRebuildsSortIndex(table, check.spec->position);
        if (!indexKept && QFileInfo::exists(m_context.indexFileName()))
            table.deleteIndex(kSortTag);
    } catch (const std::exception&) {
        QApplication::restoreOverrideCursor();
        error(kCannotStart, nullptr);
        table.close();
        m_context.reopenShared();
        return;
    }
    m_context.applyViewerOptions();
    const bool searchWasOn = m_context.searchMode();
    if (searchWasOn) {
        // Ending the search reopens the table shared: take exclusive use again.
        m_context.endSearch();
        table.close();
        table.selectIndex("");
        table.open(db::Table::OpenMode::Exclusive);
    }
    const auto confirm = [this](const std::string& title) {
        QApplication::restoreOverrideCursor();
        drawCounters(); // the question is asked over counters that are current
        const bool yes = m_context.prompter.ask(this, tr("Confirm"),
                                                tr("Item = \"%1\".  Change this record?")
                                                    .arg(QString::fromStdString(title)),
                                                app::Prompter::Buttons::YesNo, app::Prompter::Answer::No)
            == app::Prompter::Answer::Yes;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return yes;
    };
    const ReplaceOutcome outcome = runReplace(
        table, *check.spec, ConfirmBox->isChecked() ? std::function<bool(const std::string&)>(confirm) : nullptr,
        [this, drawn = QElapsedTimer()](const ReplaceCounters& c) mutable {
            m_counters = c;
            // The counters move on screen at least ten times a second.
            if (!drawn.isValid() || drawn.elapsed() >= 100) {
                drawn.start();
                drawCounters();
                QApplication::processEvents();
            }
        });
    m_counters = outcome.counters;
    drawCounters();
    if (searchWasOn)
        m_context.enableEndSearch();
    QApplication::restoreOverrideCursor();
    // The index comes back whatever happened to the run.
    try {
        const std::string expression = m_context.sortExpression();
        if (!expression.empty()) {
            if (!indexKept)
                table.addIndex(kSortTag, expression);
            table.selectIndex(kSortTag);
        } else {
            table.selectIndex("");
        }
    } catch (const std::exception& e) {
        error(ui::errorText(e), nullptr);
    }
    table.close();
    m_context.reopenShared();
    if (!outcome.failure.empty()) {
        error(tr("Search and replace stopped after %1 changed records; the records changed before stay changed.  %2")
                  .arg(m_counters.changed)
                  .arg(QString::fromStdString(outcome.failure)),
              nullptr);
        return;
    }
    m_context.prompter.message(this, tr("Finished"), tr(kComplete), app::Prompter::Icon::Information);
    accept();
}

} // namespace find
