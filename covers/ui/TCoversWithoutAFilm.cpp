#include "TCoversWithoutAFilm.h"

#include "CoreText.h"
#include "CoverStore.h"
#include "Table.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace covers_ui {

TCoversWithoutAFilm::TCoversWithoutAFilm(CoversWithoutAFilmContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
{
    setWindowTitle(tr("Covers without a Film"));
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(tr("These pictures are in the folder of covers, but no video has their name. Give one to "
                               "the video you are on, or delete it."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    Covers = new QListWidget(this);
    Covers->setObjectName("CoversWithoutAFilm");
    Covers->setAccessibleName(tr("Covers without a film"));
    Covers->setIconSize(QSize(48, 72));
    layout->addWidget(Covers, 1);
    auto* buttons = new QHBoxLayout;
    GiveButton = new QPushButton(tr("&Give to the Current Video"), this);
    DeleteButton = new QPushButton(tr("&Delete..."), this);
    auto* close = new QPushButton(tr("&Close"), this);
    buttons->addWidget(GiveButton);
    buttons->addWidget(DeleteButton);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(GiveButton, &QPushButton::clicked, this, &TCoversWithoutAFilm::GiveClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TCoversWithoutAFilm::DeleteClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(520, 420);
    Reload();
}

void TCoversWithoutAFilm::Reload()
{
    Covers->clear();
    try {
        const covers::CoverStore store(m_context.table.filePath());
        for (const std::string& file : store.withoutAFilm(m_context.table)) {
            const QImage small = covers::readCover(store.folder() + "/" + file, Covers->iconSize());
            auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(small)), QString::fromStdString(file), Covers);
            item->setData(Qt::UserRole, QString::fromStdString(file));
        }
    } catch (const std::exception& e) {
        m_context.prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
    }
    if (Covers->count() > 0)
        Covers->setCurrentRow(0);
    GiveButton->setEnabled(Covers->count() > 0);
    DeleteButton->setEnabled(Covers->count() > 0);
}

std::string TCoversWithoutAFilm::selectedFile() const
{
    const QListWidgetItem* item = Covers->currentItem();
    return item ? item->data(Qt::UserRole).toString().toStdString() : std::string();
}

void TCoversWithoutAFilm::GiveClick()
{
    const std::string file = selectedFile();
    const auto [title, year] = m_context.currentFilm ? m_context.currentFilm() : std::pair<std::string, std::string>{};
    if (file.empty())
        return;
    if (title.empty()) {
        m_context.prompter.message(this, tr("Error"), tr("Go to a video with a title first."), app::Prompter::Icon::Error);
        return;
    }
    const auto given = covers::CoverStore(m_context.table.filePath()).giveTo(file, title, year);
    if (given == covers::CoverStore::Renamed::NameTaken)
        m_context.prompter.message(this, tr("Error"),
                                   tr("\u201C%1\u201D has a cover already: remove it in the record editor first.")
                                       .arg(QString::fromStdString(title)),
                                   app::Prompter::Icon::Error);
    else if (given != covers::CoverStore::Renamed::Renamed)
        m_context.prompter.message(this, tr("Error"), tr("The cover \"%1\" could not be renamed.").arg(QString::fromStdString(file)),
                                   app::Prompter::Icon::Error);
    Reload();
}

void TCoversWithoutAFilm::DeleteClick()
{
    const std::string file = selectedFile();
    if (file.empty())
        return;
    if (m_context.prompter.ask(this, tr("Confirm"), tr("Delete the picture \"%1\"?").arg(QString::fromStdString(file)),
                               app::Prompter::Buttons::YesNo, app::Prompter::Answer::No)
        != app::Prompter::Answer::Yes)
        return;
    try {
        covers::CoverStore(m_context.table.filePath()).deleteFile(file);
    } catch (const std::exception& e) {
        m_context.prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
    }
    Reload();
}

} // namespace covers_ui
