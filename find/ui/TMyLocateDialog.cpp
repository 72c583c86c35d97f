#include "TMyLocateDialog.h"

#include "CoreText.h"
#include "Cp1252.h"
#include "Table.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace find {

TMyLocateDialog::TMyLocateDialog(app::Prompter& prompter, std::function<std::vector<LocateField>()> fields)
    : m_prompter(prompter)
    , m_fields(std::move(fields))
{
}

int TMyLocateDialog::fieldOfLabel(const QString& label) const
{
    for (const LocateField& f : m_fields())
        if (QString(f.label).replace('~', ' ') == label)
            return f.field;
    return -1;
}

bool TMyLocateDialog::ShowDialog(QWidget* owner)
{
    if (!DataSource || !DataSource->active()) {
        m_prompter.message(owner, tr("Error"), tr("DataSource does not reference an active DataSet"), app::Prompter::Icon::Error);
        return false;
    }
    std::vector<LocateField> fields = m_fields();
    if (FieldSelection == fsVisibleFields)
        fields.erase(std::remove_if(fields.begin(), fields.end(), [](const LocateField& f) { return !f.visible; }),
                     fields.end());
    QStringList labels;
    for (const LocateField& f : fields)
        labels << QString(f.label).replace('~', ' ');
    if (SortFields == fsSortByFieldName)
        labels.sort(Qt::CaseInsensitive);
    TMyLocateDlg dialog(*this, labels, owner);
    if (lookOf)
        lookOf(&dialog);
    runDialog(dialog);
    // Whatever way the dialog closed, it leaves its choices behind.
    MatchType = dialog.matchType();
    CaseSensitive = dialog.CaseSensitiveCheckBox->isChecked();
    m_lastValue = dialog.SearchValue->text();
    SearchField = dialog.FieldNameComboBox->currentIndex() >= 0 ? dialog.FieldNameComboBox->currentText() : QString();
    return dialog.succeeded();
}

bool TMyLocateDialog::FindNextMatch(QWidget* owner)
{
    if (!DataSource || !DataSource->active()) {
        m_prompter.message(owner, tr("Warning"), tr("DataSource does not refer to an active table!"),
                           app::Prompter::Icon::Warning);
        return false;
    }
    if (m_lastValue.isEmpty()) {
        DefaultButton = dbFindNext;
        return ShowDialog(owner);
    }
    const std::optional<bool> found = locate(false, SearchField, m_lastValue, CaseSensitive, MatchType, owner);
    if (found == false && ShowMessages)
        m_prompter.message(owner, tr("Information"), tr("No more matches found"), app::Prompter::Icon::Information);
    return found.value_or(false);
}

std::optional<bool> TMyLocateDialog::locate(bool fromBeginning, const QString& fieldLabel, const QString& value,
                                            bool caseSensitive, TMyLocateMatchType type, QWidget* owner)
{
    const int field = fieldOfLabel(fieldLabel);
    if (field < 0 && fieldLabel.isEmpty())
        return false; // no field chosen in the dialog: nothing to match
    if (field < 0) {
        // The field remembered from an earlier locate has gone (its display name was changed since).
        m_prompter.message(owner, tr("Warning"), tr("Field %1 not found.").arg(fieldLabel), app::Prompter::Icon::Warning);
        return std::nullopt;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool found = false;
    try {
        found = LocateValue(fromBeginning, *DataSource, field, caseSensitive, type,
                            value.toStdString());
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        m_prompter.message(owner, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
        return false;
    }
    QApplication::restoreOverrideCursor();
    return found;
}

TMyLocateDlg::TMyLocateDlg(TMyLocateDialog& component, const QStringList& labels, QWidget* parent)
    : QDialog(parent)
    , m_component(component)
{
    setWindowTitle(component.Caption);
    auto* layout = new QVBoxLayout(this);
    auto* fieldGroup = new QGroupBox(tr("&Field To Search On"), this);
    auto* fieldLayout = new QVBoxLayout(fieldGroup);
    FieldNameComboBox = new QComboBox(fieldGroup);
    FieldNameComboBox->setObjectName("FieldNameComboBox");
    FieldNameComboBox->addItems(labels);
    fieldLayout->addWidget(FieldNameComboBox);
    layout->addWidget(fieldGroup);

    auto* typeGroup = new QGroupBox(tr("&Search Type"), this);
    auto* typeLayout = new QVBoxLayout(typeGroup);
    CaseSensitiveCheckBox = new QCheckBox(tr("&Case-sensitive"), typeGroup);
    ExactMatchBtn = new QRadioButton(tr("&Exact Match"), typeGroup);
    PartialMatchStartBtn = new QRadioButton(tr("&Partial Match at Beginning"), typeGroup);
    PartialMatchAnyBtn = new QRadioButton(tr("Partial Match &Anywhere"), typeGroup);
    for (QWidget* w : std::initializer_list<QWidget*>{CaseSensitiveCheckBox, ExactMatchBtn, PartialMatchStartBtn,
                                                      PartialMatchAnyBtn})
        typeLayout->addWidget(w);
    layout->addWidget(typeGroup);

    auto* valueGroup = new QGroupBox(tr("Search &Value"), this);
    auto* valueLayout = new QVBoxLayout(valueGroup);
    SearchValue = new QLineEdit(valueGroup);
    SearchValue->setObjectName("SearchValue");
    valueLayout->addWidget(SearchValue);
    layout->addWidget(valueGroup);

    auto* buttons = new QHBoxLayout;
    FirstButton = new QPushButton(tr("Fi&rst"), this);
    NextButton = new QPushButton(tr("&Next"), this);
    BitBtn1 = new QPushButton(tr("Cancel"), this);
    buttons->addWidget(FirstButton);
    buttons->addWidget(NextButton);
    buttons->addWidget(BitBtn1);
    layout->addLayout(buttons);
    connect(FirstButton, &QPushButton::clicked, this, &TMyLocateDlg::FindFirst);
    connect(NextButton, &QPushButton::clicked, this, &TMyLocateDlg::FindNextBtnClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);

    (component.DefaultButton == dbFindNext ? NextButton : FirstButton)->setDefault(true);
    const int at = FieldNameComboBox->findText(component.SearchField);
    if (!component.SearchField.isEmpty() && at >= 0) {
        FieldNameComboBox->setCurrentIndex(at);
        SearchValue->setText(component.lastValue());
    } else {
        FieldNameComboBox->setCurrentIndex(-1);
    }
    CaseSensitiveCheckBox->setChecked(component.CaseSensitive);
    (component.MatchType == mtExactMatch ? ExactMatchBtn
     : component.MatchType == mtPartialMatchStart ? PartialMatchStartBtn
                                                   : PartialMatchAnyBtn)
        ->setChecked(true);
    // Changing the field empties the value and moves on to it.
    connect(FieldNameComboBox, &QComboBox::activated, this, [this] {
        SearchValue->clear();
        SearchValue->setFocus();
    });
    FieldNameComboBox->installEventFilter(this);
}

bool TMyLocateDlg::eventFilter(QObject* watched, QEvent* event)
{
    // While the field list has the focus Enter belongs to it, not to Next.
    if (watched == FieldNameComboBox) {
        if (event->type() == QEvent::FocusIn) {
            NextButton->setDefault(false);
        } else if (event->type() == QEvent::FocusOut) {
            NextButton->setDefault(true);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                SearchValue->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

TMyLocateMatchType TMyLocateDlg::matchType() const
{
    return ExactMatchBtn->isChecked() ? mtExactMatch : PartialMatchStartBtn->isChecked() ? mtPartialMatchStart
                                                                                          : mtPartialMatchAny;
}

std::optional<bool> TMyLocateDlg::FindMatch(bool fromBeginning)
{
    return m_component.locate(fromBeginning, FieldNameComboBox->currentText(), SearchValue->text(),
                              CaseSensitiveCheckBox->isChecked(), matchType(), this);
}

void TMyLocateDlg::FindFirst()
{
    const std::optional<bool> found = FindMatch(true);
    if (found == true) {
        m_succeeded = true;
        accept();
    } else if (found == false) {
        m_component.m_prompter.message(this, tr("Information"), tr("No matches found"), app::Prompter::Icon::Information);
    }
}

void TMyLocateDlg::FindNextBtnClick()
{
    const std::optional<bool> found = FindMatch(false);
    if (found == true) {
        m_succeeded = true;
        accept();
    } else if (found == false) {
        m_component.m_prompter.message(this, tr("Information"), tr("No more matches found"), app::Prompter::Icon::Information);
    }
}

} // namespace find
