#pragma once

#include "Locate.h"
#include "Prompter.h"

#include <QCoreApplication>
#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace db {
class Table;
}

namespace find {

enum TMyFieldSortType { fsSortByFieldNo, fsSortByFieldName };
enum TMyDefaultButtonType { dbFindFirst, dbFindNext };
enum TMyFieldSelection { fsAllFields, fsVisibleFields };

// A field the locate dialog offers: its display label and whether the viewer shows it.
struct LocateField {
    QString label;
    int field;
    bool visible;
};

class TMyLocateDlg;

// The locate component: its published properties, the remembered last
// search, ShowDialog and FindNextMatch over the main window's table.
class TMyLocateDialog {
    Q_DECLARE_TR_FUNCTIONS(TMyLocateDialog)

public:
    QString Caption = tr("Locate Field Value");
    db::Table* DataSource = nullptr;
    QString SearchField;
    TMyLocateMatchType MatchType = mtPartialMatchStart;
    bool CaseSensitive = false;
    TMyFieldSortType SortFields = fsSortByFieldName;
    TMyDefaultButtonType DefaultButton = dbFindNext;
    TMyFieldSelection FieldSelection = fsAllFields;
    bool ShowMessages = true;

    TMyLocateDialog(app::Prompter& prompter, std::function<std::vector<LocateField>()> fields);

    bool ShowDialog(QWidget* owner);
    bool FindNextMatch(QWidget* owner);
    const QString& lastValue() const { return m_lastValue; }
    // Runs the dialog window (tests replace it).
    std::function<int(QDialog&)> runDialog = [](QDialog& d) { return d.exec(); };
    double scaleFactor = 1.0;
    std::function<void(QWidget*)> lookOf; // fonts and colors of the window

private:
    friend class TMyLocateDlg;
    // Found, not found, or nullopt when the field is gone (a warning says so).
    std::optional<bool> locate(bool fromBeginning, const QString& fieldLabel, const QString& value,
                               bool caseSensitive, TMyLocateMatchType type, QWidget* owner);
    int fieldOfLabel(const QString& label) const;

    app::Prompter& m_prompter;
    std::function<std::vector<LocateField>()> m_fields;
    QString m_lastValue;
};

// The dialog window of the locate component.
class TMyLocateDlg : public QDialog {
    Q_OBJECT

public:
    TMyLocateDlg(TMyLocateDialog& component, const QStringList& labels, QWidget* parent = nullptr);

    QComboBox* FieldNameComboBox;
    QCheckBox* CaseSensitiveCheckBox;
    QRadioButton* ExactMatchBtn;
    QRadioButton* PartialMatchStartBtn;
    QRadioButton* PartialMatchAnyBtn;
    QLineEdit* SearchValue;
    QPushButton* FirstButton;
    QPushButton* NextButton;
    QPushButton* BitBtn1;

    std::optional<bool> FindMatch(bool fromBeginning);
    void FindFirst();
    void FindNextBtnClick();
    bool succeeded() const { return m_succeeded; }
    TMyLocateMatchType matchType() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TMyLocateDialog& m_component;
    bool m_succeeded = false;
};

} // namespace find
