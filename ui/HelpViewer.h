#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace app {

// The help window: the program's HTML help with back and forward, a list of
// its sections and a search within the page.
class HelpWindow : public QDialog {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* owner);

    QTextBrowser* Browser;
    QListWidget* Sections;
    QLineEdit* FindBox;

    void showSection(const QString& keyword);
    // Finds the text in the page from where the last find left off; false when it is not there.
    bool findText(const QString& text);
};

// Opens the help window at the contents or at the section a window's help keyword names.
void showHelp(QWidget* owner, const QString& keyword = "Contents");

// The keywords the help book has a section for.
QStringList helpSections();

} // namespace app
