#pragma once

// "Color Configuration": changes one color set (or all five) on a working
// copy, with samples of every kind of control and the twelve ready-made
// combinations; Ok stores it, Cancel forgets it.

#include "Prompter.h"
#include "Settings.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace appearance_ui {

class TColorConfig : public QDialog {
    Q_OBJECT

public:
    // target: a color group 0..4, or ColorGroupCount for all five.
    TColorConfig(app::Prompter& prompter, app::Settings& settings, int target, double scaleFactor,
                 QWidget* parent = nullptr);

    QComboBox* Combinations;
    QLineEdit* EditSample;
    QComboBox* ComboSample;
    QListWidget* ListSample;
    QRadioButton* RadioSample;
    QCheckBox* CheckSample;
    std::array<QLabel*, 6> Headings{};
    QLabel* CombinationsHeading;

    const app::ColorSet& workingCopy() const { return m_colors; }
    bool followsDesktop() const { return m_followDesktop; }
    void changeColor(app::ColorRole role);
    void chooseCombination(int index);
    void OkClick();

private:
    void showSamples();

    app::Prompter& m_prompter;
    app::Settings& m_settings;
    int m_target;
    app::ColorSet m_colors;
    bool m_followDesktop; // "Follow the Desktop" chosen rather than colors of its own
};

} // namespace appearance_ui
