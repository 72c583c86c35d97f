#include "ThumbnailCache.h"

#include "CoverStore.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#include <algorithm>
#include <vector>

namespace covers {

namespace {

constexpr int kPruneEvery = 64; // thumbnails written between looks at the folder's size

} // namespace

ThumbnailCache::ThumbnailCache(std::string folder, long long mostBytes)
    : m_folder(std::move(folder))
    , m_mostBytes(mostBytes)
{
}

QImage ThumbnailCache::thumbnail(const std::string& file, QSize room)
{
    const QFileInfo picture(QString::fromStdString(file));
    if (!picture.isFile() || !room.isValid())
        return {};
    const QByteArray key = QCryptographicHash::hash(
                               (picture.absoluteFilePath() + '|' + QString::number(picture.lastModified().toMSecsSinceEpoch()) + '|'
                                + QString::number(picture.size()) + '|' + QString::number(room.width()) + 'x'
                                + QString::number(room.height()))
                                   .toUtf8(),
                               QCryptographicHash::Sha1)
                               .toHex();
    const QDir folder(QString::fromStdString(m_folder));
    for (const char* ending : {".jpg", ".png"}) {
        QImageReader kept(folder.filePath(key + ending));
        if (kept.canRead()) {
            const QImage image = kept.read();
            if (!image.isNull())
                return image;
        }
    }
    const QImage image = readCover(file, room);
    if (image.isNull() || m_folder.empty() || !QDir().mkpath(folder.path()))
        return image;
    // Kept as JPEG, small and quick to read; PNG when it has transparency.
    const bool transparent = image.hasAlphaChannel();
    const std::string bytes = encodePicture(image, transparent, 90);
    QSaveFile out(folder.filePath(key + (transparent ? ".png" : ".jpg")));
    if (!bytes.empty() && out.open(QIODevice::WriteOnly)
        && out.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()))
        out.commit(); // a cache: a thumbnail that cannot be kept is made again next time
    if (++m_writtenSincePrune >= kPruneEvery) {
        m_writtenSincePrune = 0;
        prune();
    }
    return image;
}

void ThumbnailCache::prune()
{
    QFileInfoList files = QDir(QString::fromStdString(m_folder)).entryInfoList(QDir::Files, QDir::Time | QDir::Reversed);
    long long total = 0;
    for (const QFileInfo& file : files)
        total += file.size();
    if (total <= m_mostBytes)
        return;
    // Down to four fifths of the limit, so that the next few thumbnails do not prune again at once.
    for (const QFileInfo& oldest : files) {
        if (total <= m_mostBytes * 4 / 5)
            break;
        if (QFile::remove(oldest.filePath()))
            total -= oldest.size();
    }
}

} // namespace covers
