#include "CoverView.h"

#include "CoverStore.h"

#include <QFileInfo>
#include <QTimer>

namespace covers_ui {

CoverView::CoverView(QWidget* parent)
    : QLabel(parent)
{
    setObjectName("CoverPane");
    setAccessibleName(tr("Cover of the current video"));
    setAlignment(Qt::AlignCenter);
    setMinimumWidth(140);
    setWordWrap(true);
    m_pause = new QTimer(this);
    m_pause->setSingleShot(true);
    m_pause->setInterval(15);
    connect(m_pause, &QTimer::timeout, this, &CoverView::showNow);
}

void CoverView::showFilm(const std::string& collectionPath, const std::string& title, const std::string& year, bool now)
{
    m_collection = collectionPath;
    m_title = title;
    m_year = year;
    if (now || !isVisible())
        showNow();
    else
        m_pause->start();
}

void CoverView::setThumbnailFolder(const std::string& folder)
{
    m_thumbnails = folder.empty() ? nullptr : std::make_unique<covers::ThumbnailCache>(folder);
}

bool CoverView::waiting() const
{
    return m_pause->isActive();
}

void CoverView::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    m_recent.clear(); // read again at the new size
    m_pause->start();
}

void CoverView::showNow()
{
    m_pause->stop();
    m_file = m_collection.empty() ? std::string() : covers::CoverStore(m_collection).find(m_title, m_year);
    if (m_file.empty()) {
        setPixmap({});
        setText(m_title.empty() ? QString() : tr("No cover"));
        return;
    }
    const QString file = QString::fromStdString(m_file);
    const QString key = file + '|' + QString::number(QFileInfo(file).lastModified().toMSecsSinceEpoch());
    if (QPixmap* known = m_recent.object(key)) {
        setPixmap(*known);
        return;
    }
    const QSize room = contentsRect().size().expandedTo(QSize(40, 60));
    const QImage image = m_thumbnails ? m_thumbnails->thumbnail(m_file, room) : covers::readCover(m_file, room);
    if (image.isNull()) {
        setPixmap({});
        setText(tr("The cover could not be read."));
        return;
    }
    auto* pixmap = new QPixmap(QPixmap::fromImage(image));
    setPixmap(*pixmap);
    m_recent.insert(key, pixmap);
}

} // namespace covers_ui
