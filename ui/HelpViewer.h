#pragma once

#include <QDialog>
#include <QHash>
#include <QString>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace app {

// The help window: the program's HTML help book, several pages, with back and
// forward, a list of the sections of every page and a search through them all.
class HelpWindow : public QDialog {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* owner);

    QTextBrowser* Browser;
    QListWidget* Sections;
    QLineEdit* FindBox;

    void showSection(const QString& keyword);
    // Finds the text from where the last find left off: in the page shown, then in
    // the next page that holds it (round to the first); false when no page does.
    bool findText(const QString& text);

private:
    const QString& wordsOf(const QString& page);
    QHash<QString, QString> m_pageWords; // the pages' words, as finds have needed them
};

// Opens the help window at the contents or at the section a window's help keyword names.
void showHelp(QWidget* owner, const QString& keyword = "Contents");

// The section F1 opens in a window (or in a part of it: a page of a tab
// widget): the nearest keyword from the control that has the focus outwards.
void setHelpKeyword(QWidget* window, const QString& keyword);
// Makes F1 open the help at the section of the window it is pressed in (the
// contents where a window has none), for as long as owner lives.
void answerF1(QObject* owner);

// The keywords the help book has a section for.
QStringList helpSections();

} // namespace app
