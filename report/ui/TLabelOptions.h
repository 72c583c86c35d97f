#pragma once

// The label windows: "Label Options" (the items a label shows and the label
// font), "Choose Media Number" (the media numbers of the collection, for a
// cell of the label grid) and the label job's status window.

#include "Prompter.h"
#include "Settings.h"
#include "TReportForm.h"

#include <QDialog>

#include <array>
#include <memory>

class QCheckBox;
class QLineEdit;
class QTableView;

namespace db {
class Table;
}

namespace report_ui {

class TLabelOptions : public QDialog {
    Q_OBJECT

public:
    TLabelOptions(app::Prompter& prompter, app::Settings& settings, QWidget* parent = nullptr);

    // In the order of the settings' label items.
    std::array<QCheckBox*, 8> Items{};
    QLineEdit* FontBox;
    void NewFontClick();

protected:
    void done(int result) override;

private:
    app::Prompter& m_prompter;
    app::Settings& m_settings;
};

class TChooseMedia : public QDialog {
    Q_OBJECT

public:
    // A second, read-only view of the collection file, in its sort order.
    TChooseMedia(const std::string& collectionFile, const std::string& sortTag, const app::Settings& settings,
                 QWidget* parent = nullptr);
    ~TChooseMedia() override;

    QTableView* Grid;
    // The media number of the highlighted record ("" when none).
    QString chosenMediaNumber() const;

private:
    std::unique_ptr<db::Table> m_view;
};

// The label job's status window: the report status window, on a label job.
class TReportFormLabel : public TReportForm {
    Q_OBJECT

public:
    using TReportForm::TReportForm;
};

} // namespace report_ui
