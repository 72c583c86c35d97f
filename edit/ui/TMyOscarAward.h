#pragma once

#include <QDialog>

class QListWidget;

namespace edit {

// The award and miscellaneous picker: a sorted list whose lines toggle their
// selection on each click; Ok joins the selected lines in list order.
class TMyOscarAward : public QDialog {
    Q_OBJECT

public:
    enum Mode { OscarAward = 1, OscarNomination = 2, Miscellaneous = 3 };

    // listFile is OSCAR.LST or MISC.LST; current is the editor box's text
    // (only used in mode 3, to pre-select its values).
    TMyOscarAward(Mode mode, const QString& listFile, const QString& current, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    int FindMisc(const QString& text) const;
    // The text Ok hands back: the selection joined by ", ", cut at 255.
    QString choice() const;

private:
    void LoadList(const QString& listFile);

    Mode m_mode;
    QListWidget* m_list;
};

} // namespace edit
