#pragma once

// "Viewer Configuration": how the main window's grid looks: which fields it
// shows, in which order, how wide, under which names, and its title row,
// lines, colors, fonts and in-place editing.

#include "Prompter.h"
#include "Settings.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTabWidget;
class QTableWidget;

namespace appearance_ui {

class TViewConfig : public QDialog {
    Q_OBJECT

public:
    TViewConfig(app::Prompter& prompter, app::Settings& settings, double scaleFactor, QWidget* parent = nullptr);

    QTabWidget* Pages;
    QCheckBox* ShowTitles;
    QLineEdit* TitleFontBox;
    QLabel* TitleColorSwatch;
    QRadioButton* LeftJustify;
    QRadioButton* Center;
    QRadioButton* RightJustify;
    QCheckBox* ColumnLines;
    QCheckBox* RowLines;
    QCheckBox* RowIndicator;
    QCheckBox* FieldEditing;
    QLabel* CellColorSwatch;
    QLineEdit* CellFontBox;
    QTableWidget* ShowGrid;
    QTableWidget* WidthGrid;
    QListWidget* OrderList;
    QTableWidget* NamesGrid;

    void UpClick();
    void DownClick();
    void DefaultsClick();
    void toggleShown(int row);
    void chooseTitleFont();
    void chooseCellFont();
    void chooseTitleColor();
    void chooseCellColor();

    void done(int result) override;

private:
    QWidget* titlePage();
    QWidget* lookPage();
    QWidget* showPage();
    QWidget* widthsPage();
    QWidget* orderPage();
    QWidget* namesPage();
    void chooseFont(app::FontSetting& font, QLineEdit* box);
    void chooseColor(int& color, QLabel* swatch);
    void moveOrderRow(int from, int to);
    // The close check: false (after its message) when two names are the same.
    bool namesAreUnique();
    void readBack();

    app::Prompter& m_prompter;
    app::Settings& m_settings;
    QStringList m_listedNames; // each field's display name as the window listed it, for the order read-back
};

// "12pt Arial".
QString fontBoxText(const app::FontSetting& font);

} // namespace appearance_ui
