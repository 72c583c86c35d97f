#pragma once

#include "Prompter.h"
#include "RegionalFormats.h"
#include "Settings.h"
#include "Table.h"

#include <QDialog>
#include <QMap>
#include <functional>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QTabWidget;

namespace covers_ui {
class CoverPanel;
}

namespace edit {

// What the record editor needs of the program around it.
struct EditorContext {
    db::Table& table;
    app::Prompter& prompter;
    app::Settings& settings;
    const app::NumberFormats& numbers;
    bool browseMode = false;
    QString programFolder;
    std::function<double()> scaleFactor;
    // Adds a value to the main window grid's list of a pick list (by list code).
    std::function<void(int code, const QString& text)> addToGridList;
    // Shows a modal window (the pickers); tests replace it.
    std::function<int(QDialog&)> runDialog;
};

// The record editor "Edit": one record of the collection in four pages. It
// is created once and shown modally for adding (mode 1), editing (2) and
// copying (3); its drop-down boxes are the master copies of the pick lists.
class TMyEdit : public QDialog {
    Q_OBJECT

public:
    enum Mode { NewMode = 1, EditMode = 2, CopyMode = 3 };
    enum Page { Particulars = 0, Attributes = 1, Library = 2, Other = 3 };

    explicit TMyEdit(EditorContext context, QWidget* parent = nullptr);

    void setMode(int mode) { m_mode = mode; }
    int mode() const { return m_mode; }

    void LoadAllList();
    void SaveAllLists();
    void LoadInData();
    void SaveValues();
    bool ValuesChanged() const;
    bool DoUpdate();
    void DoAnUpdate();
    void DoUpdateAndExit();
    void DoClear();
    void DoExit();
    // Edit > Fill In: the fields of a film of the lookup index written into the boxes the user ticks.
    void DoFillIn();
    void DoPreviousRecord();
    void DoNextRecord();
    void MenuNewClick();
    void MenuCopyRecordClick();
    void SetCaptions();
    void CheckOutClick();
    void ListPriceExit();
    void PurchPriceExit();
    void SelectOscarAwardClick();
    void SelectOscarNomClick();
    void SelectMiscClick();
    // Enter in a control: the next control of the chain, on its page.
    void FormKeyPress(QWidget* from);

    // The pick lists the boxes hold, by list code (the stars: Star1's box).
    QStringList listOf(int code) const;
    void setList(int code, const QStringList& entries);

    QWidget* control(const QString& name) const;
    QLineEdit* lineEdit(const QString& name) const;
    QComboBox* comboBox(const QString& name) const;
    QCheckBox* checkBox(const QString& name) const;
    QTabWidget* pages() const { return m_pages; }
    covers_ui::CoverPanel* cover() const { return m_cover; }
    QAction* menuAction(const QString& name) const;
    QPushButton* button(const QString& name) const;
    int pageOf(const QString& controlName) const;

    struct Spec; // one control: its field, page, kind, length and list

protected:
    void showEvent(QShowEvent* event) override;
    void setVisible(bool visible) override;
    void reject() override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Snapshot {
        std::vector<QString> texts;
        bool checkOut = false;
        bool viewed = false;
    };

    void buildWindow();
    void buildMenus(QMenuBar* bar);
    const Spec& specNamed(const QString& name) const;
    QString textOf(const Spec& spec) const;
    void setTextOf(const Spec& spec, const QString& text);
    void focusControl(QWidget* target);
    bool fail(const QString& message, int page, QWidget* focus);
    void AddToList(QComboBox* box);
    void normalisePriceBox(QLineEdit* box);
    bool askToUpdate(const QString& question, bool always);
    void moveRecord(bool forward);
    void selectAward(int mode, const QString& boxName, const QString& listFile);
    QString dateForBox(const QString& fieldText) const;
    void applyDateMasks();
    void showStoredCover();

    EditorContext m_context;
    int m_mode = NewMode;
    QTabWidget* m_pages = nullptr;
    covers_ui::CoverPanel* m_cover = nullptr;
    QMap<QString, QWidget*> m_controls;
    QMap<QString, QLabel*> m_labels;
    QMap<QString, QAction*> m_actions;
    QMap<QString, QPushButton*> m_buttons;
    QLabel* m_warrantyItem = nullptr;
    QLabel* m_libraryItem = nullptr;
    QLabel* m_worthItem = nullptr;
    Snapshot m_snapshot;
    QString m_rememberedCheckDate;
    QString m_rememberedCheckName;
    QStringList m_writers; // the Writer box keeps only the names saved this run
};

} // namespace edit
