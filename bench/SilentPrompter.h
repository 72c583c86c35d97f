#pragma once

// The prompter of the window benchmarks: it prints any message, answers No,
// and names the file `saveAs` holds when a file to save is asked for.
#include "Prompter.h"

#include <iostream>

namespace bench {

class SilentPrompter : public app::Prompter {
public:
    QString saveAs;

    void message(QWidget*, const QString&, const QString& text, Icon) override
    {
        std::cerr << "message: " << text.toStdString() << "\n";
    }
    Answer ask(QWidget*, const QString&, const QString&, Buttons, Answer, bool, Icon) override { return Answer::No; }
    QString openFileName(QWidget*, const FileDialog&) override { return {}; }
    QString saveFileName(QWidget*, const FileDialog&) override { return saveAs; }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return std::nullopt; }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return std::nullopt; }
    bool printerSetup(QWidget*) override { return false; }
};

} // namespace bench
