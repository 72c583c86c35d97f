// Every control a user can reach with the keyboard tells a screen reader
// what it is: its accessible name (its caption, its label's text or a name of
// its own). The main window and every window its menus open are checked.
#include "ColorCombinations.h"
#include "Contrast.h"
#include "DesktopAppearance.h"
#include "IniFile.h"
#include "Prompter.h"
#include "Settings.h"
#include "WindowLook.h"
#include "ScreenshotTour.h"
#include "TMain.h"
#include "Table.h"
#include "TempDir.h"
#include "TemporaryProgram.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QTableWidget>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using testing_support::TempDir;
using testing_support::TemporaryProgram;

namespace {

QString accessibleName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name).trimmed() : QString();
}

// A part of a composite control that the control itself names: the edit line
// of a combo box or spin box, the drawing area of a view, the bar of a tab widget.
bool partOfANamedControl(QWidget* widget)
{
    QWidget* parent = widget->parentWidget();
    if (qobject_cast<QLineEdit*>(widget) && (qobject_cast<QComboBox*>(parent) || qobject_cast<QAbstractSpinBox*>(parent)))
        return !accessibleName(parent).isEmpty();
    if (auto* area = qobject_cast<QAbstractScrollArea*>(parent); area && area->viewport() == widget)
        return !accessibleName(parent).isEmpty();
    return qobject_cast<QTabBar*>(widget) != nullptr;
}

// Looks at a shown window once, and again with each page of its tab widgets shown.
void onEveryPage(QWidget& window, const std::function<void()>& look)
{
    look();
    for (QTabWidget* pages : window.findChildren<QTabWidget*>())
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            look();
        }
}

// The controls of a shown window that Tab reaches and that have no name, as
// "Class objectName (in Window)", every page of its tab widgets seen.
QStringList unnamedControls(QWidget& window)
{
    QStringList unnamed;
    onEveryPage(window, [&] {
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisible() || partOfANamedControl(widget))
                continue;
            const QString entry = QString("%1 %2 (in %3)")
                                      .arg(widget->metaObject()->className(), widget->objectName(), window.windowTitle());
            if (accessibleName(widget).isEmpty() && !unnamed.contains(entry))
                unnamed << entry;
        }
    });
    return unnamed;
}

// The controls Tab visits in a shown window, in the order it visits them.
QList<QWidget*> tabOrder(QWidget& window)
{
    QList<QWidget*> order;
    QWidget* widget = &window;
    do {
        widget = widget->nextInFocusChain();
        if (widget != &window && widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)
            && !partOfANamedControl(widget) && window.isAncestorOf(widget) && !order.contains(widget))
            order << widget;
    } while (widget != &window);
    return order;
}

// Tab steps that read backwards: to a control wholly above the one before and
// not to the right of it (a new column to the right may start higher up). As
// "Window: from > to".
QStringList backwardSteps(QWidget& window)
{
    QStringList steps;
    const auto name = [](QWidget* w) { return QString("%1 \"%2\"").arg(w->metaObject()->className(), accessibleName(w)); };
    onEveryPage(window, [&] {
        const QList<QWidget*> order = tabOrder(window);
        for (qsizetype i = 1; i < order.size(); ++i) {
            const QRect from(order[i - 1]->mapTo(&window, QPoint(0, 0)), order[i - 1]->size());
            const QRect to(order[i]->mapTo(&window, QPoint(0, 0)), order[i]->size());
            if (to.bottom() < from.top() && to.left() < from.left() - 4) {
                const QString step = window.windowTitle() + ": " + name(order[i - 1]) + " > " + name(order[i]);
                if (!steps.contains(step))
                    steps << step;
            }
        }
    });
    return steps;
}

// Every window of the screenshot tour, nested ones included (the report
// window's preview, designer and label options, the import window), over a
// collection of one video; returns how many were shown.
int tourEveryWindow(const std::function<void(QWidget& shown)>& look,
                    const std::function<void(app::IniFile&)>& configure = {})
{
    TempDir dir;
    TemporaryProgram program{dir};
    if (configure)
        configure(program.settings);
    program.saveSettings();
    const std::string sample = dir.file("films.txt");
    testing_support::writeFileBytes(sample, "\"Title\",\"Year\"\r\n\"Casablanca\",\"1942\"\r\n");
    const std::unique_ptr<app::Prompter> prompter = app::makeTourPrompter(QString::fromStdString(sample));
    app::TMain window(*prompter, false);
    if (!window.create())
        return 0;
    window.show();
    db::Table& table = window.table();
    table.insert();
    table.setText(0, "Vertigo");
    table.setText(table.requireField("MediaNum"), "M1");
    // Values in the boxes, so that a box called by its value rather than its label is found.
    for (const char* field : {"Director", "Producer", "Writers", "Category", "Star1", "Star2", "Rating", "Format", "Studio"})
        if (const int at = table.fieldIndex(field); at >= 0)
            table.setText(at, std::string("A ") + field);
    table.post();
    window.DisplayCount();
    return app::runScreenshotTour(window, QString::fromStdString(dir.file("pictures")), look);
}

} // namespace

TEST(AccessibilityTest, EveryControlTabReachesHasAName)
{
    QStringList unnamed, seen;
    const int pictures = tourEveryWindow([&](QWidget& shown) {
        seen << shown.windowTitle();
        unnamed << unnamedControls(shown);
    });
    EXPECT_GE(pictures, 25) << seen.join(", ").toStdString();
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.size() << " controls without a name:\n"
                                   << unnamed.join("\n").toStdString();
}

namespace {

// A label's text as a screen reader says it: without its accelerator's "&" and its closing colon.
QString spokenLabel(const QString& text)
{
    QString spoken = text;
    spoken.replace("&&", QChar(0x1)).remove('&').replace(QChar(0x1), "&");
    spoken = spoken.trimmed();
    while (spoken.endsWith(':'))
        spoken.chop(1);
    return spoken.trimmed();
}

// The controls of a shown window whose label names them but which a screen
// reader would call by something else (a combo box by its current value), as
// "Window: Class "label" is called "name"".
QStringList misnamedControls(QWidget& window)
{
    QStringList misnamed;
    onEveryPage(window, [&] {
        for (QLabel* label : window.findChildren<QLabel*>()) {
            QWidget* control = label->buddy();
            if (!control || !label->isVisible() || !control->isVisible() || spokenLabel(label->text()).isEmpty())
                continue;
            const QString name = accessibleName(control);
            if (name != spokenLabel(label->text())) {
                const QString entry = QString("%1: %2 \"%3\" is called \"%4\"")
                                          .arg(window.windowTitle(), control->metaObject()->className(), spokenLabel(label->text()), name);
                if (!misnamed.contains(entry))
                    misnamed << entry;
            }
        }
    });
    return misnamed;
}

} // namespace

// A control with a label is called what its label says, whatever it holds.
TEST(AccessibilityTest, EveryLabelledControlIsCalledByItsLabel)
{
    QStringList misnamed;
    EXPECT_GE(tourEveryWindow([&](QWidget& shown) { misnamed << misnamedControls(shown); }), 25);
    EXPECT_TRUE(misnamed.isEmpty()) << misnamed.size() << " controls called otherwise than their labels:\n"
                                    << misnamed.join("\n").toStdString();
}

TEST(AccessibilityTest, TabGoesThroughEveryWindowInReadingOrder)
{
    QStringList backward;
    EXPECT_GE(tourEveryWindow([&](QWidget& shown) { backward << backwardSteps(shown); }), 25);
    EXPECT_TRUE(backward.isEmpty()) << backward.size() << " Tab steps read backwards:\n"
                                    << backward.join("\n").toStdString();
}

namespace {

// Where a shown window's text falls short of 4.5 to 1 on what it is drawn on:
// each visible, enabled widget's text roles against their backgrounds, and
// the items of its lists and tables that have a color of their own. A widget
// drawn by a style sheet of its own (the Color window's samples) shows the
// colors the sheet names instead and is left out.
QStringList illegibleTexts(QWidget& window)
{
    QStringList found;
    const auto note = [&](QWidget* w, const char* what, const QColor& text, const QColor& back) {
        const double ratio = app::contrastRatio({text.red(), text.green(), text.blue()}, {back.red(), back.green(), back.blue()});
        if (ratio < app::kLegibleContrast) {
            const QString entry = QString("%1: %2 %3 %4: %5 on %6 (%7:1)")
                                      .arg(window.windowTitle(), w->metaObject()->className(), w->objectName(), what,
                                           text.name(), back.name())
                                      .arg(ratio, 0, 'f', 1);
            if (!found.contains(entry))
                found << entry;
        }
    };
    onEveryPage(window, [&] {
        QList<QWidget*> widgets = window.findChildren<QWidget*>();
        widgets.prepend(&window);
        for (QWidget* w : widgets) {
            if (!w->isVisible() || !w->isEnabled() || (w != &window && w->isWindow()) || !w->styleSheet().isEmpty())
                continue;
            const QPalette& p = w->palette();
            for (const ui::ContrastPair& pair : ui::contrastPairs()) {
                const QColor back = pair.background == QPalette::Window ? ui::drawnOn(w) : p.color(pair.background);
                note(w, "text", p.color(pair.text), back);
            }
            // The current cell or row of a list or grid stands out from the others: at least 3 to 1.
            if (qobject_cast<QAbstractItemView*>(w))
                for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
                    const QColor mark = p.color(group, QPalette::Highlight), base = p.color(group, QPalette::Base);
                    const double ratio = app::contrastRatio({mark.red(), mark.green(), mark.blue()}, {base.red(), base.green(), base.blue()});
                    if (ratio < 3.0) {
                        const QString entry = QString("%1: %2 %3 current item: %4 on %5 (%6:1)")
                                                  .arg(window.windowTitle(), w->metaObject()->className(), w->objectName(), mark.name(), base.name())
                                                  .arg(ratio, 0, 'f', 1);
                        if (!found.contains(entry))
                            found << entry;
                    }
                }
            if (auto* table = qobject_cast<QTableWidget*>(w))
                for (int r = 0; r < table->rowCount(); ++r)
                    for (int c = 0; c < table->columnCount(); ++c)
                        if (QTableWidgetItem* item = table->item(r, c); item && item->foreground().style() != Qt::NoBrush)
                            note(w, "item", item->foreground().color(), p.color(QPalette::Base));
        }
    });
    return found;
}

// Every color group set to one color set.
std::function<void(app::IniFile&)> everyGroupIn(const app::ColorSet& colors)
{
    return [colors](app::IniFile& ini) {
        app::Settings settings = app::Settings::defaults(QString());
        settings.read(ini);
        settings.colorSets.fill(colors);
        settings.write(ini);
    };
}

} // namespace

// Each of the twelve color combinations in every window, and "Follow the
// Desktop" on a light and on a dark desktop (the system palette dark too):
// no text is drawn at less than 4.5 to 1 on what it is drawn on.
TEST(AccessibilityTest, EveryColorCombinationKeepsEveryTextLegible)
{
    QStringList illegible;
    const app::ColorSet base = app::defaultColorSet();
    const QStringList names = appearance::combinationNames();
    for (int index = 1; index < appearance::kFollowTheDesktop; ++index) {
        const int windows = tourEveryWindow([&](QWidget& shown) {
            for (const QString& entry : illegibleTexts(shown))
                illegible << names[index] + " / " + entry;
        }, everyGroupIn(appearance::applyCombination(base, index)));
        EXPECT_GE(windows, 25) << names[index].toStdString();
    }
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        dark.setColor(group, QPalette::Window, QColor(0x24, 0x24, 0x24));
        dark.setColor(group, QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
        dark.setColor(group, QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
        dark.setColor(group, QPalette::Text, QColor(0xDD, 0xDD, 0xDD));
        dark.setColor(group, QPalette::Button, QColor(0x30, 0x30, 0x30));
        dark.setColor(group, QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEE));
        dark.setColor(group, QPalette::PlaceholderText, QColor(0x99, 0x99, 0x99));
    }
    for (const auto& [scheme, palette] : {std::pair{appearance::DesktopScheme::Light, light},
                                          std::pair{appearance::DesktopScheme::Dark, dark}}) {
        QApplication::setPalette(palette);
        const app::ColorSet desktop = appearance_ui::DesktopAppearance::colorsFor(scheme, palette);
        tourEveryWindow([&](QWidget& shown) {
            for (const QString& entry : illegibleTexts(shown))
                illegible << QString(scheme == appearance::DesktopScheme::Dark ? "Dark desktop / " : "Light desktop / ") + entry;
        }, everyGroupIn(desktop));
    }
    QApplication::setPalette(light);
    EXPECT_TRUE(illegible.isEmpty()) << illegible.size() << " texts hard to read:\n" << illegible.join("\n").toStdString();
}
