// The real file dialog's check box: shown as the caller set it, and left as
// the user set it only when the dialog is accepted.

#include "Prompter.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

using testing_support::TempDir;

namespace {

// Runs once the modal file dialog is up: what a user does in it.
void whenTheDialogShows(const std::function<void(QFileDialog&)>& act)
{
    QTimer::singleShot(0, [act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QFileDialog*>(w); dialog && dialog->isVisible()) {
                act(*dialog);
                return;
            }
        ADD_FAILURE() << "no file dialog";
    });
}

} // namespace

TEST(Prompter, TheSaveDialogsCheckBoxComesBackAsTheUserLeftIt)
{
    TempDir dir;
    app::WidgetPrompter prompter;
    bool older = false;
    app::Prompter::FileDialog asked{"New Database File", "Database Files (*.DBF *.dbf)", "DBF",
                                    QString::fromStdString(dir.path().string())};
    asked.checkBox = "Windows-1252 text";
    asked.checked = &older;

    whenTheDialogShows([](QFileDialog& dialog) {
        auto* check = dialog.findChild<QCheckBox*>("FileDialogCheckBox");
        ASSERT_NE(check, nullptr);
        EXPECT_EQ(check->text(), "Windows-1252 text");
        EXPECT_FALSE(check->isChecked());
        EXPECT_TRUE(check->isVisible());
        check->setChecked(true);
        dialog.findChild<QLineEdit*>("fileNameEdit")->setText("FILMS");
        QMetaObject::invokeMethod(&dialog, "accept"); // as the Save button does
    });
    const QString chosen = prompter.saveFileName(nullptr, asked);
    EXPECT_TRUE(chosen.endsWith("/FILMS.DBF")) << chosen.toStdString();
    EXPECT_TRUE(older);

    // Cancelled: the caller's value stays.
    older = false;
    whenTheDialogShows([](QFileDialog& dialog) {
        dialog.findChild<QCheckBox*>("FileDialogCheckBox")->setChecked(true);
        dialog.reject();
    });
    EXPECT_EQ(prompter.saveFileName(nullptr, asked), "");
    EXPECT_FALSE(older);
}
