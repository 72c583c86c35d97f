#pragma once

// The preview window: a recorded report (or label sheet) page by page, with
// zoom, and printing of the current page, every page or a range from the
// recording without running the report again.

#include "Prompter.h"
#include "TFilePrinter.h"

#include <QDialog>
#include <QRect>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

namespace report_ui {

class PreviewArea;

struct PreviewContext {
    app::Prompter& prompter;
    // The window's bounds, read at creation and written back when it closes.
    QRect& bounds;
    // Runs the page-range dialog (tests replace it).
    std::function<int(QDialog&)> runDialog;
    // The folder Save as PDF offers, and keeps the folder chosen in.
    QString* pdfFolder = nullptr;
};

class TMyPreview : public QDialog {
    Q_OBJECT

public:
    // stream: the recording, read and never changed. labelMode: a label
    // sheet, one page, neither navigated nor printed by range.
    TMyPreview(PreviewContext context, engine::ReportBytes* stream, const QString& reportName, bool labelMode,
               QWidget* parent = nullptr);
    ~TMyPreview() override;

    QAction* action(const QString& name) const;
    QLineEdit* ZoomEdit;
    QLineEdit* PageEdit;
    QLabel* PageLabel;
    engine::TFilePreview& preview() { return m_preview; }

    void ZoomEditExit();
    void PageEditExit();
    void PrintPage();
    void PrintReport();
    void PrintRange();
    void UseColor();
    void SaveAsPdf();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    QAction* addCommand(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut,
                        std::function<void()> work);
    void zoomChanged();
    void pageChanged();
    // Replays pages first..last (0, 0: every page) on the system's printer.
    void print(int first, int last);
    // Replays pages first..last on a device, with a progress box whose Cancel
    // stops the job (a cancelled PDF is not written); the window keeps painting.
    void replay(engine::PrintDevice* device, int first, int last, const QString& doing);
    bool busy();

    PreviewContext m_context;
    engine::ReportBytes* m_stream;
    bool m_labelMode;
    PreviewArea* m_area;
    engine::TFilePreview m_preview;
    std::unique_ptr<engine::TFilePrinter> m_printer;
    std::map<QString, QAction*> m_actions;
    bool m_opened = false;
};

} // namespace report_ui
