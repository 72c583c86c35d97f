#include "TColorConfig.h"

#include "ColorCombinations.h"
#include "WindowLook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace appearance_ui {

namespace {

QString css(int color) { return ui::colorFromSetting(color).name(); }

// A sample's colors as the windows draw them: its text moved toward black or
// white where it would be hard to read on its background.
QString legibleCss(int text, int background)
{
    return ui::legibleOn(ui::colorFromSetting(text), ui::colorFromSetting(background)).name();
}

QString colors(int background, int text)
{
    return QString("background-color: %1; color: %2;").arg(css(background), legibleCss(text, background));
}

} // namespace

TColorConfig::TColorConfig(app::Prompter& prompter, app::Settings& settings, int target, double scaleFactor,
                           QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_settings(settings)
    , m_target(target)
    , m_colors(settings.colorsOf(static_cast<app::ColorGroup>(target >= 0 && target < app::ColorGroupCount ? target : 0)))
    , m_followDesktop(settings.followDesktop[static_cast<size_t>(target >= 0 && target < app::ColorGroupCount ? target : 0)])
{
    setWindowTitle(tr("Color Configuration"));
    auto* layout = new QVBoxLayout(this);
    auto* samples = new QGridLayout;
    // Each group: its heading, its sample, and the buttons that change its colors.
    struct Button {
        QString caption;
        app::ColorRole role;
    };
    auto addGroup = [&](int index, const QString& heading, QWidget* sample, std::initializer_list<Button> buttons) {
        auto* box = new QVBoxLayout;
        Headings[static_cast<size_t>(index)] = new QLabel(heading, this);
        box->addWidget(Headings[static_cast<size_t>(index)]);
        if (sample)
            box->addWidget(sample);
        auto* row = new QHBoxLayout;
        for (const Button& b : buttons) {
            auto* button = new QPushButton(b.caption, this);
            button->setObjectName(QString("Color%1").arg(static_cast<int>(b.role) + 1));
            connect(button, &QPushButton::clicked, this, [this, role = b.role] { changeColor(role); });
            row->addWidget(button);
        }
        box->addLayout(row);
        samples->addLayout(box, index / 2, index % 2);
    };
    addGroup(0, tr("Window"), nullptr,
             {{tr("Background"), app::MainBackground}, {tr("Major Titles"), app::MajorTitle}, {tr("Minor Titles"), app::MinorTitle}});
    EditSample = new QLineEdit(tr("Sample Text"), this);
    EditSample->setAccessibleName(tr("Sample of an edit box"));
    addGroup(1, tr("Edit Box"), EditSample, {{tr("Text"), app::EditText}, {tr("Background"), app::EditBackground}});
    ComboSample = new QComboBox(this);
    ComboSample->setAccessibleName(tr("Sample of a combo box"));
    ComboSample->addItem(tr("Sample Text"));
    addGroup(2, tr("Combo Box"), ComboSample, {{tr("Text"), app::ComboText}, {tr("Background"), app::ComboBackground}});
    ListSample = new QListWidget(this);
    ListSample->setAccessibleName(tr("Sample of a list"));
    ListSample->addItems({tr("Sample Text"), tr("Sample Text")});
    ListSample->setMaximumHeight(60);
    addGroup(3, tr("List Box"), ListSample, {{tr("Text"), app::ListBoxText}, {tr("Background"), app::ListBoxBackground}});
    RadioSample = new QRadioButton(tr("Radio Button"), this);
    RadioSample->setChecked(true);
    addGroup(4, tr("Radio Button"), RadioSample, {{tr("Text"), app::RadioText}, {tr("Background"), app::RadioBackground}});
    CheckSample = new QCheckBox(tr("Check Box"), this);
    CheckSample->setChecked(true);
    addGroup(5, tr("Check Box"), CheckSample, {{tr("Text"), app::CheckText}, {tr("Background"), app::CheckBackground}});
    layout->addLayout(samples);

    CombinationsHeading = new QLabel(tr("Predefined Color Combinations"), this);
    layout->addWidget(CombinationsHeading);
    Combinations = new QComboBox(this);
    Combinations->setObjectName("Combinations");
    Combinations->setAccessibleName(tr("Color combinations"));
    Combinations->addItems(appearance::combinationNames());
    if (m_followDesktop)
        Combinations->setCurrentIndex(appearance::kFollowTheDesktop);
    connect(Combinations, &QComboBox::activated, this, &TColorConfig::chooseCombination);
    layout->addWidget(Combinations);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(tr("&Ok"), this);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    ok->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &TColorConfig::OkClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // The window's own look is its samples: only the fonts and the size come from the settings.
    ui::SetFonts(this, {m_settings.labelFont, m_settings.editFont, m_settings.buttonFont});
    ui::scaleAndCentre(this, scaleFactor);
    showSamples();
}

void TColorConfig::showSamples()
{
    const app::ColorSet& c = m_colors;
    setStyleSheet(QString("TColorConfig { background-color: %1; }").arg(css(c[app::MainBackground])));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ui::colorFromSetting(c[app::MainBackground]));
    setPalette(palette);
    for (QLabel* heading : Headings)
        heading->setStyleSheet(QString("color: %1; background: transparent;")
                                   .arg(legibleCss(c[app::MajorTitle], c[app::MainBackground])));
    CombinationsHeading->setStyleSheet(QString("color: %1; background: transparent;")
                                           .arg(legibleCss(c[app::MinorTitle], c[app::MainBackground])));
    EditSample->setStyleSheet(colors(c[app::EditBackground], c[app::EditText]));
    ComboSample->setStyleSheet(colors(c[app::ComboBackground], c[app::ComboText]));
    Combinations->setStyleSheet(colors(c[app::ComboBackground], c[app::ComboText]));
    ListSample->setStyleSheet(colors(c[app::ListBoxBackground], c[app::ListBoxText]));
    RadioSample->setStyleSheet(colors(c[app::RadioBackground], c[app::RadioText]));
    CheckSample->setStyleSheet(colors(c[app::CheckBackground], c[app::CheckText]));
    ui::mendContrast(this); // the buttons and the rest on the chosen background
}

void TColorConfig::changeColor(app::ColorRole role)
{
    const std::optional<QColor> chosen = m_prompter.chooseColor(this, ui::colorFromSetting(m_colors[role]));
    if (!chosen)
        return;
    m_colors[role] = ui::settingFromColor(*chosen);
    m_followDesktop = false; // a color of one's own: the set is fixed from now on
    showSamples();
}

void TColorConfig::chooseCombination(int index)
{
    if (index == appearance::kFollowTheDesktop) {
        m_colors = m_settings.desktopColors;
        m_followDesktop = true;
    } else if (index > 0) {
        m_colors = appearance::applyCombination(m_colors, index);
        m_followDesktop = false;
    }
    showSamples();
}

void TColorConfig::OkClick()
{
    // A group that follows the desktop keeps the colors it had of its own, for the day it stops.
    const auto take = [this](size_t group) {
        m_settings.followDesktop[group] = m_followDesktop;
        if (!m_followDesktop)
            m_settings.colorSets[group] = m_colors;
    };
    if (m_target >= 0 && m_target < app::ColorGroupCount) {
        take(static_cast<size_t>(m_target));
    } else {
        for (size_t group = 0; group < m_settings.colorSets.size(); ++group)
            take(group);
    }
    accept();
}

} // namespace appearance_ui
