#include "TTmdbOptions.h"

#include "WindowLook.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lookup_ui {

TTmdbOptions::TTmdbOptions(const lookup::TmdbSettings& current, QWidget* parent)
    : QDialog(parent)
    , m_current(current)
{
    setWindowTitle(tr("TMDb Online Lookup"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(tr("Fill In can take films from TMDb online with your own API key or read access token, "
                                "free for personal use at https://www.themoviedb.org/settings/api."),
                             this);
    intro->setWordWrap(true);
    intro->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(intro);
    auto* form = new QFormLayout;
    KeyBox = new QLineEdit(QString::fromStdString(current.credential), this);
    KeyBox->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    KeyBox->setAccessibleName(tr("API key or read access token"));
    KeyBox->setMinimumWidth(360);
    form->addRow(tr("API &key or read access token:"), KeyBox);
    TimeoutBox = new QSpinBox(this);
    TimeoutBox->setRange(3, 600);
    TimeoutBox->setSuffix(tr(" seconds"));
    TimeoutBox->setValue(current.timeoutSeconds);
    TimeoutBox->setAccessibleName(tr("Longest wait for an answer"));
    form->addRow(tr("&Longest wait for an answer:"), TimeoutBox);
    CountryBox = new QLineEdit(QString::fromStdString(current.country), this);
    CountryBox->setMaxLength(2);
    CountryBox->setMaximumWidth(60);
    CountryBox->setValidator(new QRegularExpressionValidator(QRegularExpression("[A-Za-z]{0,2}"), CountryBox));
    CountryBox->setAccessibleName(tr("Country of the Rating"));
    CountryBox->setToolTip(tr("Two letters (US, DE, GB...): the age rating of the film's release there becomes its Rating."));
    form->addRow(tr("&Country of the Rating:"), CountryBox);
    layout->addLayout(form);
    auto* trial = new QHBoxLayout;
    TryButton = new QPushButton(tr("&Try It"), this);
    TryResult = new QLabel(this);
    TryResult->setWordWrap(true);
    trial->addWidget(TryButton);
    trial->addWidget(TryResult, 1);
    layout->addLayout(trial);
    // TMDb's terms ask for the notice wherever its data is used.
    auto* notice = new QLabel(QString::fromLatin1(lookup::kTmdbAttribution), this);
    notice->setWordWrap(true);
    layout->addWidget(notice);
    ui::addOkCancel(this, layout);
    connect(TryButton, &QPushButton::clicked, this, &TTmdbOptions::TryClick);
}

TTmdbOptions::~TTmdbOptions() = default;

QString TTmdbOptions::key() const { return KeyBox->text().trimmed(); }
int TTmdbOptions::timeoutSeconds() const { return TimeoutBox->value(); }
QString TTmdbOptions::country() const
{
    const QString typed = CountryBox->text().trimmed().toUpper();
    return typed.size() == 2 ? typed : QString("US");
}

lookup::TmdbSettings TTmdbOptions::typed() const
{
    lookup::TmdbSettings settings = m_current;
    settings.credential = key().toStdString();
    settings.timeoutSeconds = timeoutSeconds();
    settings.country = country().toStdString();
    return settings;
}

void TTmdbOptions::TryClick()
{
    TryResult->setText(tr("Asking TMDb..."));
    m_trial = std::make_unique<lookup::TmdbClient>(typed()); // an answer to an earlier try is dropped with its client
    m_trial->search("Heat", 1995, [this](lookup::TmdbFilms answer) {
        if (answer.failure)
            TryResult->setText(QString::fromStdString(answer.failure->spoken(
                [](const char* text) { return QCoreApplication::translate("lookup", text).toStdString(); })));
        else
            TryResult->setText(tr("TMDb answered: the key works."));
    });
}

} // namespace lookup_ui
