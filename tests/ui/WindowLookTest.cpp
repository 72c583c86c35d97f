// The window look: color sets applied by control kind, with disabled
// controls drawn as disabled in every color combination.
#include "Settings.h"
#include "WindowLook.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// What a control draws, enabled and then disabled.
std::pair<QImage, QImage> drawnBothWays(QWidget& control)
{
    control.setEnabled(true);
    const QImage enabled = control.grab().toImage();
    control.setEnabled(false);
    const QImage disabled = control.grab().toImage();
    return {enabled, disabled};
}

} // namespace

TEST(WindowLook, DisabledControlsAreDrawnAsDisabledInAnyColorSet)
{
    app::ColorSet dark = app::defaultColorSet();
    dark.fill(0);                  // black backgrounds...
    dark[app::CheckText] = 0xFFFFFF; // ...white texts
    dark[app::RadioText] = 0xFFFFFF;
    dark[app::ListBoxText] = 0xFFFFFF;
    dark[app::EditText] = 0xFFFFFF;
    for (const app::ColorSet& set : {app::defaultColorSet(), dark}) {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* check = new QCheckBox("Search Criteria", &window);
        auto* radio = new QRadioButton("Entire Database", &window);
        auto* list = new QListWidget(&window);
        list->addItem("Title");
        auto* edit = new QLineEdit("Label Name", &window);
        for (QWidget* w : std::initializer_list<QWidget*>{check, radio, list, edit})
            layout->addWidget(w);
        ui::applyColorSet(&window, set, [](const QLabel*) { return true; });
        window.show();

        const std::pair<QWidget*, QPalette::ColorRole> texts[] = {
            {check, QPalette::WindowText}, {radio, QPalette::WindowText}, {list, QPalette::Text}, {edit, QPalette::Text}};
        for (const auto& [control, role] : texts) {
            const QPalette& p = control->palette();
            EXPECT_EQ(p.color(QPalette::Active, role), p.color(QPalette::Inactive, role));
            EXPECT_NE(p.color(QPalette::Disabled, role), p.color(QPalette::Active, role))
                << control->metaObject()->className();
            const auto [enabled, disabled] = drawnBothWays(*control);
            EXPECT_NE(enabled, disabled) << control->metaObject()->className();
        }
        EXPECT_EQ(check->palette().color(QPalette::Active, QPalette::WindowText),
                  ui::colorFromSetting(set[app::CheckText]));
    }
}
