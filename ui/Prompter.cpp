#include "Prompter.h"

#include "QPrinterDevice.h"

#include <QCoreApplication>
#include <QApplication>
#include <QColorDialog>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace app {

namespace {
QMessageBox::Icon boxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information: return QMessageBox::Information;
    case Prompter::Icon::Warning: return QMessageBox::Warning;
    case Prompter::Icon::Error: return QMessageBox::Critical;
    case Prompter::Icon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton standardButton(Prompter::Answer answer)
{
    switch (answer) {
    case Prompter::Answer::Yes: return QMessageBox::Yes;
    case Prompter::Answer::No: return QMessageBox::No;
    case Prompter::Answer::Cancel: return QMessageBox::Cancel;
    case Prompter::Answer::Ok: return QMessageBox::Ok;
    }
    return QMessageBox::NoButton;
}

} // namespace

void WidgetPrompter::message(QWidget* owner, const QString& caption, const QString& text, Icon icon)
{
    if (icon == Icon::Error || icon == Icon::Warning)
        QApplication::beep();
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, owner);
    box.exec();
}

Prompter::Answer WidgetPrompter::ask(QWidget* owner, const QString& caption, const QString& text, Buttons buttons,
                                     Answer defaultAnswer, bool beepFirst, Icon icon)
{
    if (beepFirst)
        QApplication::beep();
    QMessageBox::StandardButtons set = QMessageBox::Ok;
    if (buttons == Buttons::YesNo)
        set = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == Buttons::YesNoCancel)
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox box(icon == Icon::Error         ? QMessageBox::Critical
                    : icon == Icon::Warning     ? QMessageBox::Warning
                    : icon == Icon::Information ? QMessageBox::Information
                                                : QMessageBox::Question,
                    caption, text, set, owner);
    box.setDefaultButton(standardButton(defaultAnswer));
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Ok: return Answer::Ok;
    default: return Answer::Cancel;
    }
}

QString WidgetPrompter::openFileName(QWidget* owner, const FileDialog& dialog)
{
    QFileDialog box(owner, dialog.title, dialog.startFolder, dialog.filter);
    box.setFileMode(QFileDialog::ExistingFile);
    box.setAcceptMode(QFileDialog::AcceptOpen);
    box.setDefaultSuffix(dialog.defaultSuffix);
    if (!dialog.fileName.isEmpty())
        box.selectFile(dialog.fileName);
    return box.exec() == QDialog::Accepted && !box.selectedFiles().isEmpty() ? box.selectedFiles().front() : QString();
}

QString WidgetPrompter::folderName(QWidget* owner, const FileDialog& dialog)
{
    QFileDialog box(owner, dialog.title, dialog.startFolder);
    box.setFileMode(QFileDialog::Directory);
    box.setOption(QFileDialog::ShowDirsOnly);
    box.setAcceptMode(QFileDialog::AcceptOpen);
    return box.exec() == QDialog::Accepted && !box.selectedFiles().isEmpty() ? box.selectedFiles().front() : QString();
}

QString WidgetPrompter::saveFileName(QWidget* owner, const FileDialog& dialog)
{
    QFileDialog box(owner, dialog.title, dialog.startFolder, dialog.filter);
    QFileDialog::Options options;
    if (!dialog.confirmOverwrite)
        options |= QFileDialog::DontConfirmOverwrite;
    box.setOptions(options);
    box.setFileMode(QFileDialog::AnyFile);
    box.setAcceptMode(QFileDialog::AcceptSave);
    box.setDefaultSuffix(dialog.defaultSuffix);
    if (!dialog.fileName.isEmpty())
        box.selectFile(dialog.fileName);
    QCheckBox* check = nullptr;
    if (!dialog.checkBox.isEmpty() && dialog.checked) {
        // The program's own file box, which has a layout to put the check box in.
        box.setOption(QFileDialog::DontUseNativeDialog);
        check = new QCheckBox(dialog.checkBox, &box);
        check->setObjectName("FileDialogCheckBox");
        check->setChecked(*dialog.checked);
        if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
            grid->addWidget(check, grid->rowCount(), 0, 1, grid->columnCount());
        else if (box.layout())
            box.layout()->addWidget(check);
    }
    const bool accepted = box.exec() == QDialog::Accepted && !box.selectedFiles().isEmpty();
    if (check && accepted)
        *dialog.checked = check->isChecked();
    return accepted ? box.selectedFiles().front() : QString();
}

std::optional<QFont> WidgetPrompter::chooseFont(QWidget* owner, const QFont& current)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, current, owner);
    return ok ? std::optional<QFont>(chosen) : std::nullopt;
}

std::optional<QColor> WidgetPrompter::chooseColor(QWidget* owner, const QColor& current)
{
    const QColor chosen = QColorDialog::getColor(current, owner);
    return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
}

bool WidgetPrompter::printerSetup(QWidget* owner)
{
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        message(owner, QCoreApplication::translate("app::WidgetPrompter", "Error"), QCoreApplication::translate("app::WidgetPrompter", "No printers are defined."), Icon::Error);
        return false;
    }
    // The dialog starts from the current printer, and what it chooses is the
    // program's printer for the rest of the run.
    const std::unique_ptr<QPrinter> printer = engine::defaultPrinter();
    QPrintDialog dialog(printer.get(), owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    engine::keepPrinterSetup(*printer);
    return true;
}

} // namespace app
