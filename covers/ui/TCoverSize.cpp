#include "TCoverSize.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace covers_ui {

TCoverSize::TCoverSize(const covers::CoverLimits& limits, QWidget* parent)
    : QDialog(parent)
    , m_limits(limits)
{
    setWindowTitle(tr("Cover Size"));
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(tr("A picture taken as a cover that is larger than this is scaled down and kept as JPEG; "
                               "a smaller one is kept as it comes."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* form = new QFormLayout;
    LongestSide = new QSpinBox(this);
    LongestSide->setRange(300, 6000);
    LongestSide->setSingleStep(100);
    LongestSide->setSuffix(tr(" pixels"));
    LongestSide->setValue(limits.longestSide);
    form->addRow(tr("&Longest side:"), LongestSide);
    Quality = new QSpinBox(this);
    Quality->setRange(50, 100);
    Quality->setValue(limits.jpegQuality);
    form->addRow(tr("&JPEG quality:"), Quality);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("&Ok"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

covers::CoverLimits TCoverSize::limits() const
{
    covers::CoverLimits limits = m_limits;
    limits.longestSide = LongestSide->value();
    limits.jpegQuality = Quality->value();
    return limits;
}

} // namespace covers_ui
