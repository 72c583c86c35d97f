#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

class QWidget;

namespace app {

// Every message box, question, file dialog, font and color dialog goes
// through one Prompter, so that tests can replace it with a scripted one
// and check the exact texts shown.
class Prompter {
public:
    enum class Icon { Information, Warning, Error, Question };
    enum class Answer { Yes, No, Cancel, Ok };
    enum class Buttons { Ok, YesNo, YesNoCancel };

    struct FileDialog {
        QString title;
        QString filter;            // e.g. "Database Files (*.DBF *.dbf)"
        QString defaultSuffix;     // e.g. "DBF"
        QString startFolder;
        bool confirmOverwrite = false;
        QString fileName{};        // the name offered in the box, if any
        // A check box below the file box (none when its caption is empty),
        // shown as *checked says and left in *checked as the user set it.
        QString checkBox{};
        bool* checked = nullptr;
    };

    virtual ~Prompter() = default;

    // A message with one OK button.
    virtual void message(QWidget* owner, const QString& caption, const QString& text, Icon icon) = 0;
    // A question; defaultAnswer is the button Enter presses. icon: a question's
    // own, or the error icon for a warning that asks whether to go on.
    virtual Answer ask(QWidget* owner, const QString& caption, const QString& text, Buttons buttons,
                       Answer defaultAnswer, bool beepFirst = false, Icon icon = Icon::Question) = 0;
    // A file to open (must exist) or to save; empty when cancelled.
    virtual QString openFileName(QWidget* owner, const FileDialog& dialog) = 0;
    virtual QString saveFileName(QWidget* owner, const FileDialog& dialog) = 0;
    // A folder that exists (the dialog's filter and suffix unused); empty when
    // cancelled, as a prompter that offers no folders always is.
    virtual QString folderName(QWidget* owner, const FileDialog& dialog)
    {
        (void)owner;
        (void)dialog;
        return {};
    }
    virtual std::optional<QFont> chooseFont(QWidget* owner, const QFont& current) = 0;
    virtual std::optional<QColor> chooseColor(QWidget* owner, const QColor& current) = 0;
    // The printer set-up dialog; true when the user accepted it.
    virtual bool printerSetup(QWidget* owner) = 0;
};

// The real dialogs of Qt.
class WidgetPrompter : public Prompter {
public:
    void message(QWidget* owner, const QString& caption, const QString& text, Icon icon) override;
    Answer ask(QWidget* owner, const QString& caption, const QString& text, Buttons buttons, Answer defaultAnswer,
               bool beepFirst, Icon icon) override;
    QString openFileName(QWidget* owner, const FileDialog& dialog) override;
    QString saveFileName(QWidget* owner, const FileDialog& dialog) override;
    QString folderName(QWidget* owner, const FileDialog& dialog) override;
    std::optional<QFont> chooseFont(QWidget* owner, const QFont& current) override;
    std::optional<QColor> chooseColor(QWidget* owner, const QColor& current) override;
    bool printerSetup(QWidget* owner) override;
};

} // namespace app
