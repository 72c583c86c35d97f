// The font colors the system's font dialog cannot choose: a color button
// beside each font button of Report Fonts and Label Options.
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "TLabelOptions.h"
#include "TUserReport.h"

#include <gtest/gtest.h>

#include <QPushButton>

using testing_support::ScriptedPrompter;

namespace {

QList<QPushButton*> colorButtons(QWidget& window) { return window.findChildren<QPushButton*>("FontColor"); }

constexpr int kBlueSetting = 255 * 65536; // colors are kept as red + 256 * green + 65536 * blue

} // namespace

TEST(FontColor, ReportFontsKeepTheColorChosenForEachFontAndCancelKeepsTheOld)
{
    ScriptedPrompter prompter;
    report::ReportDefinition definition = report::newDefinition();
    definition.fonts[report::TitleFont].color = 255; // red
    report_ui::TReportFonts fonts(prompter, definition);
    const QList<QPushButton*> buttons = colorButtons(fonts);
    ASSERT_EQ(buttons.size(), 4); // titles, column headers, body, footnotes

    prompter.colors = {QColor(0, 0, 255)};
    buttons[2]->click();
    EXPECT_EQ(definition.fonts[report::BodyFont].color, kBlueSetting);
    buttons[0]->click(); // an empty script cancels
    EXPECT_EQ(prompter.colorsOffered.back(), QColor(255, 0, 0)); // the dialog opens on the color in force
    EXPECT_EQ(definition.fonts[report::TitleFont].color, 255);
    EXPECT_EQ(definition.fonts[report::FootnoteFont].color, 0);
    // The color is part of the definition record as it is saved.
    const report::ReportDefinition back = report::decodeDefinition(report::encodeDefinition(definition), "REELKP.URP", 0);
    EXPECT_EQ(back.fonts[report::BodyFont].color, kBlueSetting);
}

TEST(FontColor, LabelOptionsKeepTheLabelFontsColorInTheSettings)
{
    ScriptedPrompter prompter;
    app::Settings settings = app::Settings::defaults("/");
    report_ui::TLabelOptions options(prompter, settings);
    const QList<QPushButton*> buttons = colorButtons(options);
    ASSERT_EQ(buttons.size(), 1);
    prompter.colors = {QColor(0, 0, 255)};
    buttons[0]->click();
    EXPECT_EQ(settings.reportLabelFont.color, kBlueSetting);
}
