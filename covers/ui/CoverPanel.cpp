#include "CoverPanel.h"

#include "CoreText.h"
#include "DbError.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

namespace covers_ui {

CoverPanel::CoverPanel(app::Prompter& prompter, QWidget* parent)
    : QWidget(parent)
    , m_prompter(prompter)
{
    setObjectName("CoverPanel");
    setAcceptDrops(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Picture = new QLabel(this);
    Picture->setObjectName("CoverPicture");
    Picture->setAccessibleName(tr("Cover"));
    Picture->setAlignment(Qt::AlignCenter);
    Picture->setMinimumSize(120, 170);
    Picture->setFrameShape(QFrame::StyledPanel);
    Picture->setWordWrap(true);
    ChooseButton = new QPushButton(tr("Choose Co&ver..."), this);
    ChooseButton->setObjectName("ChooseCover");
    RemoveButton = new QPushButton(tr("Remove Cover"), this);
    RemoveButton->setObjectName("RemoveCover");
    layout->addWidget(Picture, 1);
    layout->addWidget(ChooseButton);
    layout->addWidget(RemoveButton);
    connect(ChooseButton, &QPushButton::clicked, this, &CoverPanel::ChooseClick);
    connect(RemoveButton, &QPushButton::clicked, this, &CoverPanel::RemoveClick);
    refresh();
}

void CoverPanel::showFilm(const std::string& collectionPath, const std::string& title, const std::string& year,
                          bool stored)
{
    m_collection = collectionPath;
    m_title = title;
    m_year = year;
    m_stored = stored;
    dropPending();
}

void CoverPanel::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    refresh();
}

void CoverPanel::refresh()
{
    QImage image;
    if (m_pendingImage) {
        image = *m_pendingImage;
    } else if (m_pendingPicture) {
        image = QImage::fromData(QByteArray::fromStdString(m_pendingPicture->bytes));
    } else if (m_stored && !m_collection.empty()) {
        const std::string file = covers::CoverStore(m_collection).find(m_title, m_year);
        if (!file.empty())
            image = covers::readCover(file, QSize(1000, 1000)); // shown small: no more than the panel needs
    }
    showPicture(image);
    ChooseButton->setEnabled(!m_readOnly);
    RemoveButton->setEnabled(!m_readOnly && !image.isNull());
}

void CoverPanel::showPicture(const QImage& image)
{
    m_shown = image;
    if (image.isNull()) {
        Picture->setPixmap({});
        Picture->setText(m_readOnly ? tr("No cover") : tr("No cover: choose one, or drop or paste a picture here"));
        return;
    }
    const QSize room = Picture->contentsRect().size().boundedTo(QSize(600, 900)).expandedTo(QSize(60, 80));
    Picture->setPixmap(QPixmap::fromImage(image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void CoverPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_shown.isNull())
        showPicture(m_shown);
}

bool CoverPanel::takeFile(const QString& file)
{
    if (m_readOnly)
        return false;
    try {
        if (!m_stored) {
            // Checked (and scaled) now, kept once the record is stored.
            m_pendingPicture = covers::checkPicture(file.toStdString(), m_limits);
            m_pendingImage.reset();
        } else {
            covers::CoverStore(m_collection).store(m_title, m_year, file.toStdString(), m_limits);
        }
    } catch (const std::exception& e) {
        m_prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
        return false;
    }
    refresh();
    return true;
}

bool CoverPanel::takePicture(const std::string& bytes, const std::string& name)
{
    if (m_readOnly)
        return false;
    try {
        covers::CheckedPicture picture = covers::checkPicture(bytes, name, m_limits);
        if (!m_stored) {
            m_pendingPicture = std::move(picture);
            m_pendingImage.reset();
        } else {
            covers::CoverStore(m_collection).store(m_title, m_year, picture);
        }
    } catch (const std::exception& e) {
        m_prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
        return false;
    }
    refresh();
    return true;
}

bool CoverPanel::takeImage(const QImage& image)
{
    if (m_readOnly || image.isNull())
        return false;
    try {
        if (!m_stored) {
            m_pendingImage = image;
            m_pendingPicture.reset();
        } else {
            covers::CoverStore(m_collection).storeImage(m_title, m_year, image, m_limits);
        }
    } catch (const std::exception& e) {
        m_prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
        return false;
    }
    refresh();
    return true;
}

void CoverPanel::ChooseClick()
{
    if (m_readOnly)
        return;
    app::Prompter::FileDialog dialog{tr("Choose a Cover"), tr("Pictures (*.jpg *.jpeg *.png *.webp *.gif *.bmp)"), "jpg",
                                     QString(), false};
    const QString file = m_prompter.openFileName(this, dialog);
    if (!file.isEmpty())
        takeFile(file);
}

void CoverPanel::RemoveClick()
{
    if (m_readOnly || m_shown.isNull())
        return;
    const QString film = m_title.empty() ? tr("this video") : QString::fromStdString(m_title);
    if (m_prompter.ask(this, tr("Confirm"), tr("Remove the cover of \u201C%1\u201D?").arg(film),
                       app::Prompter::Buttons::YesNo, app::Prompter::Answer::No)
        != app::Prompter::Answer::Yes)
        return;
    if (hasPending()) {
        dropPending();
        return;
    }
    try {
        covers::CoverStore(m_collection).remove(m_title, m_year);
    } catch (const std::exception& e) {
        m_prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
    }
    refresh();
}

void CoverPanel::Paste()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data)
        return;
    if (data->hasUrls() && !data->urls().isEmpty() && data->urls().first().isLocalFile())
        takeFile(data->urls().first().toLocalFile());
    else if (data->hasImage())
        takeImage(qvariant_cast<QImage>(data->imageData()));
}

void CoverPanel::storePending(const std::string& title, const std::string& year)
{
    m_title = title;
    m_year = year;
    m_stored = true;
    try {
        if (m_pendingPicture)
            covers::CoverStore(m_collection).store(title, year, *m_pendingPicture);
        else if (m_pendingImage)
            covers::CoverStore(m_collection).storeImage(title, year, *m_pendingImage, m_limits);
    } catch (const std::exception& e) {
        m_prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
    }
    dropPending();
}

void CoverPanel::dropPending()
{
    m_pendingPicture.reset();
    m_pendingImage.reset();
    refresh();
}

void CoverPanel::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (!m_readOnly && ((data->hasUrls() && !data->urls().isEmpty() && data->urls().first().isLocalFile()) || data->hasImage()))
        event->acceptProposedAction();
}

void CoverPanel::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (data->hasUrls() && !data->urls().isEmpty() && data->urls().first().isLocalFile())
        takeFile(data->urls().first().toLocalFile());
    else if (data->hasImage())
        takeImage(qvariant_cast<QImage>(data->imageData()));
    event->acceptProposedAction();
}

} // namespace covers_ui
