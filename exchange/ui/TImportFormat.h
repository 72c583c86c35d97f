#pragma once

// "Import Format": asks for the kind of file and the file, checks it, and
// opens the import window over it.

#include "Catalogues.h"
#include "ExchangeContext.h"

class QRadioButton;

namespace exchange_ui {

class TImportFormat : public QDialog {
    Q_OBJECT

public:
    explicit TImportFormat(ExchangeContext context, QWidget* parent = nullptr);

    QRadioButton* AsciiButton;
    QRadioButton* DbaseButton;
    QRadioButton* CatalogueButton;

    void SelectFileClick();
    void DoAscii();
    void DoDBF();
    // An IMDb or Letterboxd export, imported column by column without the grid.
    void DoCatalogue();
    // A Kodi library: a folder whose films' folders hold one .nfo file each.
    void SelectFolderClick();
    // Imports a catalogue (a file, or a Kodi library's folder) and says what came in.
    void importCatalogueFrom(const QString& path, exchange::CatalogueFormat format);

protected:
    void done(int result) override;

private:
    ExchangeContext m_context;
};

} // namespace exchange_ui
