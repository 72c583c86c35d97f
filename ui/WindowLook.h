#pragma once

#include "Settings.h"

#include <QColor>
#include <QPalette>
#include <QFont>
#include <QSize>
#include <functional>
#include <vector>

class QBoxLayout;
class QDialog;
class QLabel;
class QPushButton;
class QWidget;

namespace app {
class Prompter;
}

namespace ui {

// Colors are kept as the settings file has them: red + 256 * green + 65536 * blue.
QColor colorFromSetting(int value);
int settingFromColor(const QColor& color);

// The three window fonts, applied by control kind: labels, list boxes, check
// boxes, radio buttons and group boxes take the label font; grids, edit boxes
// and combo boxes the edit font; buttons the button font. Only the face and
// the bold and italic styles change; sizes and colors stay as designed.
struct WindowFonts {
    app::WindowFont label;
    app::WindowFont edit;
    app::WindowFont button;
};
void SetFonts(QWidget* window, const WindowFonts& fonts);
// The font a font dialog opens on: the face by the family it really is (the
// system may stand Liberation Sans in for "Arial"), with its size and styles.
QFont dialogFont(const QString& face, int points, bool bold, bool italic, bool underline = false,
                 bool strikeout = false);

// A widget (and what it holds) that keeps a font of its own through SetFonts.
void keepOwnFont(QWidget* widget);
// A widget designed bold stays bold whatever face SetFonts gives it.
void keepBold(QWidget* widget);

// Applies a color set by control kind. isHeading tells which labels take the
// Major Title color; the others take Minor Title.
void applyColorSet(QWidget* window, const app::ColorSet& colors, const std::function<bool(const QLabel*)>& isHeading);

// Every text of a window legible on what it is drawn on (contrast of 4.5 to
// 1 at least): a text color that falls short in a widget's palette is moved
// toward black or white just far enough, in that widget alone. A menu bar and
// a tab bar draw on one color, whatever role the style takes for it.
void mendContrast(QWidget* window);
// The same for the program's own palette (the desktop's): its selection, most
// of all, which some desktops draw too light for white text. Run at start and
// whenever the desktop's palette changes; nothing happens when it is legible.
void mendApplicationPalette();
// A text color legible on a background: itself, or moved toward black or white.
QColor legibleOn(const QColor& text, const QColor& background);
// The color a widget's text is drawn on: its own background (in its
// background role: the button color for buttons) when it fills it, else that
// of the nearest widget around it that does.
QColor drawnOn(const QWidget* widget);
// The pairs of text and background roles a palette is checked and mended by.
struct ContrastPair {
    QPalette::ColorRole text;
    QPalette::ColorRole background;
};
const std::vector<ContrastPair>& contrastPairs();

// Gives each control a label names (its buddy) the label's words as its
// accessible name, unless it has one: a combo box is otherwise called by the
// value it holds.
void nameControlsByTheirLabels(QWidget* window);
// Does so for every window of the program as it is shown, for as long as owner lives.
void nameControlsOfEveryWindow(QObject* owner);

// What every window does when it is shown: the controls named by their
// labels, the user's window fonts, its group's color set (all labels as
// headings) and the screen-size scale.
void applyWindowLook(QWidget* window, const app::Settings& settings, app::ColorGroup group, double scaleFactor);

// A "Font Color..." button beside a font button: the system's font dialog has no
// color, so the font's color is chosen here (through the prompter) and kept
// in color, as the settings and definition files keep colors. The button
// shows the color as a swatch.
QPushButton* addFontColorButton(QBoxLayout* row, QWidget* owner, app::Prompter& prompter, int& color);

// The "&Ok" and "&Cancel" buttons at the bottom right of a dialog; Cancel
// rejects it, and Ok does what onOk says (accept, when not given).
QBoxLayout* addOkCancel(QDialog* dialog, QBoxLayout* into, std::function<void()> onOk = nullptr);

// Scales a window's designed size and font by the screen-size factor (always
// from the designed values, so showing it again never compounds) and centres
// it on the screen.
void scaleAndCentre(QWidget* window, double factor);
// The window no larger than its screen's area for windows (what its layout
// allows), centred on the screen and kept inside that area: for a window
// that sizes itself after its look is applied.
void fitToScreen(QWidget* window);

} // namespace ui
