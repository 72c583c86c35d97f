#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;

namespace app {
class Prompter;
}

namespace db_ui {

// The list editor of Options, List Maintenance: an entry box with Add, the
// list with Delete and Sort, and Ok or Cancel.
class TMyEditBox : public QDialog {
    Q_OBJECT

public:
    // name is the list's caption name; entryLength limits the entry box.
    TMyEditBox(app::Prompter& prompter, const QString& name, int entryLength, const QStringList& entries,
               QWidget* parent = nullptr);

    QStringList entries() const;
    QLineEdit* entryBox() const { return m_addInfo; }
    QListWidget* list() const { return m_list; }

    void AddButtonClick();
    void DeleteButtonClick();
    void SortButtonClick();

private:
    app::Prompter& m_prompter;
    QLineEdit* m_addInfo;
    QListWidget* m_list;
};

} // namespace db_ui
