#pragma once

#include "Prompter.h"

#include <QStringList>
#include <deque>
#include <functional>

namespace testing_support {

// A prompter that answers from a script and remembers everything it was
// asked, so that tests can check the exact captions and texts shown.
class ScriptedPrompter : public app::Prompter {
public:
    struct Shown {
        QString caption;
        QString text;
        Icon icon = Icon::Information;
    };

    std::deque<Answer> answers;        // for ask(); an empty script answers No
    std::deque<QString> fileNames;     // for openFileName(), saveFileName() and folderName(); empty answers Cancel
    std::deque<bool> checkBoxes;       // what the user leaves a file dialog's check box at; empty leaves it
    std::vector<Shown> messages;       // every message()
    std::vector<Shown> questions;      // every ask()

    std::function<void()> onMessage; // runs inside every message(), while the window shows what it shows
    void message(QWidget*, const QString& caption, const QString& text, Icon icon) override
    {
        messages.push_back({caption, text, icon});
        if (onMessage)
            onMessage();
    }
    std::function<void()> onAsk; // runs inside every ask(), as a user's clicks during a question would

    Answer ask(QWidget*, const QString& caption, const QString& text, Buttons, Answer, bool, Icon icon) override
    {
        questions.push_back({caption, text, icon});
        if (onAsk)
            onAsk();
        if (answers.empty())
            return Answer::No;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    QString openFileName(QWidget*, const FileDialog& dialog) override { return nextFile(dialog); }
    QString saveFileName(QWidget*, const FileDialog& dialog) override { return nextFile(dialog); }
    QString folderName(QWidget*, const FileDialog& dialog) override { return nextFile(dialog); }
    std::deque<QFont> fonts; // for chooseFont(); an empty script cancels
    std::vector<QFont> fontsOffered; // the font each font dialog opened on
    std::optional<QFont> chooseFont(QWidget*, const QFont& current) override
    {
        fontsOffered.push_back(current);
        return nextOf(fonts);
    }
    std::deque<QColor> colors; // for chooseColor(); an empty script cancels
    std::vector<QColor> colorsOffered;
    std::optional<QColor> chooseColor(QWidget*, const QColor& current) override
    {
        colorsOffered.push_back(current);
        return nextOf(colors);
    }
    bool printerSetup(QWidget*) override { return false; }

    QStringList dialogTitles;
    std::vector<FileDialog> fileDialogs; // every file dialog, as it was asked for

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const Shown& m : messages)
            texts << m.text;
        return texts;
    }

private:
    // The next scripted answer, taken from the script; none when it has run out.
    template <class T>
    static std::optional<T> nextOf(std::deque<T>& script)
    {
        if (script.empty())
            return std::nullopt;
        T next = script.front();
        script.pop_front();
        return next;
    }
    QString nextFile(const FileDialog& dialog)
    {
        dialogTitles << dialog.title;
        fileDialogs.push_back(dialog);
        if (fileNames.empty())
            return {};
        const QString name = fileNames.front();
        fileNames.pop_front();
        if (!dialog.checkBox.isEmpty() && dialog.checked && !checkBoxes.empty()) {
            *dialog.checked = checkBoxes.front();
            checkBoxes.pop_front();
        }
        return name;
    }
};

// A report job's error handler that shows its errors as the windows do:
// in an "Error" message of the prompter.
inline std::function<void(const QString&)> showTo(app::Prompter& prompter)
{
    return [&prompter](const QString& text) { prompter.message(nullptr, "Error", text, app::Prompter::Icon::Error); };
}

} // namespace testing_support
