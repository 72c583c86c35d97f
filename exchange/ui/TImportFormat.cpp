#include "TImportFormat.h"

#include "Catalogues.h"
#include "CoreText.h"
#include "Cp1252.h"
#include "DelimitedText.h"
#include "TMyImport.h"
#include "WindowLook.h"

#include <QDateTime>
#include <QApplication>
#include <QFontMetrics>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace exchange_ui {

void KeepAnswering::now()
{
    const qint64 at = QDateTime::currentMSecsSinceEpoch();
    if (at - m_last < 100)
        return;
    m_last = at;
    QApplication::processEvents();
}

namespace {

bool endsWithDbf(const QString& path) { return path.right(4).toUpper() == ".DBF"; }

} // namespace

TImportFormat::TImportFormat(ExchangeContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
{
    if (!m_context.runDialog)
        m_context.runDialog = [](QDialog& d) { return d.exec(); };
    setWindowTitle(tr("Import Format"));
    auto* layout = new QVBoxLayout(this);
    auto* kind = new QGroupBox(this);
    auto* kindLayout = new QVBoxLayout(kind);
    AsciiButton = new QRadioButton(tr("Ascii Delimited File"), kind);
    DbaseButton = new QRadioButton(tr("DBase File (DBF)"), kind);
    CatalogueButton = new QRadioButton(tr("Another Catalogue (IMDb, Letterboxd, GCstar, Tellico, Kodi)"), kind);
    kindLayout->addWidget(AsciiButton);
    kindLayout->addWidget(DbaseButton);
    kindLayout->addWidget(CatalogueButton);
    const int type = m_context.settings.importFileType;
    (type == 2 ? DbaseButton : type == 3 ? CatalogueButton : AsciiButton)->setChecked(true);
    layout->addWidget(kind);
    auto* buttons = new QHBoxLayout;
    auto* select = new QPushButton(tr("Select &File"), this);
    auto* folder = new QPushButton(tr("Kodi Library F&older..."), this);
    folder->setObjectName("FolderButton");
    folder->setToolTip(tr("A folder of films, each in a folder of its own with its .nfo file, as Kodi keeps them"));
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    select->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(select);
    buttons->addWidget(folder);
    buttons->addWidget(cancel);
    connect(folder, &QPushButton::clicked, this, &TImportFormat::SelectFolderClick);
    layout->addLayout(buttons);
    connect(select, &QPushButton::clicked, this, &TImportFormat::SelectFileClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ui::applyWindowLook(this, m_context.settings, app::ConfigureWindowColors, m_context.scaleFactor);
    // Wide enough for its caption beside the title bar's icon and buttons, which the
    // window manager would otherwise shorten ("Impo... rmat").
    const QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    setMinimumWidth(std::max(minimumSizeHint().width(), QFontMetrics(titleFont).horizontalAdvance(windowTitle()) * 2 + 140));
}

void TImportFormat::SelectFileClick()
{
    if (DbaseButton->isChecked())
        DoDBF();
    else if (CatalogueButton->isChecked())
        DoCatalogue();
    else
        DoAscii();
}

void TImportFormat::DoAscii()
{
    // Spreadsheets and other catalogues save delimited text as .csv.
    app::Prompter::FileDialog dialog{tr("Import Data"), tr("Ascii Delimited Text (*.TXT *.txt *.CSV *.csv)"), "TXT",
                                     m_context.settings.lastImportFile};
    const QString chosen = m_context.prompter.openFileName(this, dialog);
    if (chosen.isEmpty())
        return;
    m_context.settings.lastImportFile = QFileInfo(chosen).absolutePath();
    exchange::ImportSource source;
    int result = exchange::flOk;
    try {
        result = exchange::openDelimitedSource(chosen.toStdString(), source);
    } catch (const std::exception& e) {
        m_context.prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
        return;
    }
    if (result != exchange::flOk) {
        m_context.prompter.message(this, tr("Error"),
                                   QString::fromStdString(exchange::firstLineMessage(result, ui::speakerFor("exchange"))) + "\n\n" + chosen,
                                   app::Prompter::Icon::Error);
        return;
    }
    TMyImport window(m_context, std::move(source), this);
    m_context.runDialog(window);
    accept(); // closing the import window closes the chooser too
}

void TImportFormat::DoDBF()
{
    app::Prompter::FileDialog dialog{tr("Import Data"), tr("DBase  (*.DBF *.dbf)"), "DBF", m_context.settings.lastImportFile};
    const QString chosen = m_context.prompter.openFileName(this, dialog);
    if (chosen.isEmpty())
        return;
    if (!endsWithDbf(chosen)) {
        m_context.prompter.message(this, tr("Error"), tr("Invalid file type selected."), app::Prompter::Icon::Error);
        return;
    }
    m_context.settings.lastImportFile = QFileInfo(chosen).absolutePath();
    exchange::ImportSource source;
    try {
        source = exchange::openDbfSource(chosen.toStdString());
    } catch (const std::exception& e) {
        m_context.prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
        return;
    }
    if (source.fileFields > exchange::kMaxImportFields)
        m_context.prompter.message(this, tr("Import"),
                                   tr("The file has %1 fields.  Only its first %2 can be imported.")
                                       .arg(source.fileFields)
                                       .arg(exchange::kMaxImportFields),
                                   app::Prompter::Icon::Information);
    TMyImport window(m_context, std::move(source), this);
    m_context.runDialog(window);
    accept();
}

void TImportFormat::DoCatalogue()
{
    app::Prompter::FileDialog dialog{tr("Import Data"),
                                     tr("Catalogues (*.csv *.CSV *.gcs *.tc *.xml *.nfo);;All Files (*)"), "csv",
                                     m_context.settings.lastImportFile};
    QString chosen = m_context.prompter.openFileName(this, dialog);
    if (chosen.isEmpty())
        return;
    m_context.settings.lastImportFile = QFileInfo(chosen).absolutePath();
    exchange::CatalogueFormat format = exchange::recogniseCatalogue(chosen.toStdString());
    if (format == exchange::CatalogueFormat::Text) {
        m_context.prompter.message(this, tr("Error"),
                                   tr("The file is no export of IMDb, Letterboxd, GCstar, Tellico or Kodi that this "
                                      "program knows.  A delimited text file imports as an Ascii Delimited File.\n\n%1")
                                       .arg(chosen),
                                   app::Prompter::Icon::Error);
        return;
    }
    // Kodi keeps one .nfo file a movie, each in the movie's folder: the whole library is one choice away.
    if (format == exchange::CatalogueFormat::Nfo
        && m_context.prompter.ask(this, tr("Import"), tr("Import every .nfo file in this folder and the folders inside it?"),
                                  app::Prompter::Buttons::YesNo, app::Prompter::Answer::Yes)
               == app::Prompter::Answer::Yes)
        chosen = QFileInfo(chosen).absolutePath();
    importCatalogueFrom(chosen, format);
}

void TImportFormat::SelectFolderClick()
{
    CatalogueButton->setChecked(true);
    const QString chosen = m_context.prompter.folderName(
        this, {tr("Import a Kodi Library"), {}, {}, m_context.settings.lastImportFile});
    if (chosen.isEmpty())
        return;
    m_context.settings.lastImportFile = chosen;
    importCatalogueFrom(chosen, exchange::CatalogueFormat::Nfo);
}

void TImportFormat::importCatalogueFrom(const QString& chosen, exchange::CatalogueFormat format)
{
    exchange::ImportOptions options;
    // An empty collection holds nothing to leave out: nothing to ask.
    options.skipExisting = m_context.table.physicalRecordCount() > 0
                           && m_context.prompter.ask(this, tr("Import"), tr("Leave out the films the collection already holds?"),
                                                     app::Prompter::Buttons::YesNo, app::Prompter::Answer::Yes)
                                  == app::Prompter::Answer::Yes;
    QApplication::setOverrideCursor(Qt::WaitCursor); // importCatalogue throws nothing: the cursor comes back
    const exchange::ImportResult result = exchange::importCatalogue(m_context.table, chosen.toStdString(), format, options);
    QApplication::restoreOverrideCursor();
    const bool failed = !result.error.empty();
    m_context.prompter.message(this, failed ? tr("Error") : tr("Ok"),
                               QString::fromStdString(exchange::importMessage(result, ui::speakerFor("exchange"))) + "\n\n"
                                   + (result.imported == 1 ? tr("%1 record imported from %2 (%3).")
                                                           : tr("%1 records imported from %2 (%3)."))
                                         .arg(result.imported)
                                         .arg(QFileInfo(chosen).fileName(), exchange::catalogueName(format)),
                               failed ? app::Prompter::Icon::Error : app::Prompter::Icon::Information);
    accept();
}

void TImportFormat::done(int result)
{
    m_context.settings.importFileType = DbaseButton->isChecked() ? 2 : CatalogueButton->isChecked() ? 3 : 1;
    QDialog::done(result);
}

} // namespace exchange_ui
