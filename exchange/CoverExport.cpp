#include "CoverExport.h"

#include "CoverNames.h"
#include "CoverStore.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QThreadPool>
#include <QUrl>

#include <filesystem>

namespace exchange {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

constexpr int kWebQuality = 80; // small files for a page; a cover at this size shows no loss

} // namespace

PictureCopies::PictureCopies()
    : m_pool(std::make_unique<QThreadPool>())
{
}

PictureCopies::~PictureCopies()
{
    m_pool->clear();
    m_pool->waitForDone();
}

void PictureCopies::copy(const std::string& picture, const std::string& destination, int scaleTo)
{
    if (!m_asked.insert(destination).second)
        return;
    // Each folder made once, here, rather than by every picture's job.
    const QString folder = QFileInfo(q(destination)).absolutePath();
    if (m_folders.insert(folder.toStdString()).second)
        QDir().mkpath(folder);
    m_pool->start([this, picture, destination, scaleTo] {
        std::string why;
        const QFileInfo from(q(picture)), to(q(destination));
        if (to.exists() && to.lastModified() >= from.lastModified()) {
            const std::lock_guard lock(m_mutex);
            ++m_written; // there from an earlier export, and up to date
            return;
        }
        if (scaleTo <= 0) {
            std::error_code failed;
            std::filesystem::copy_file(picture, destination, std::filesystem::copy_options::overwrite_existing, failed);
            why = failed ? failed.message() : std::string();
        } else {
            const std::string bytes = webPicture(picture, scaleTo, to.suffix().toLower() == "png");
            QSaveFile out(to.filePath());
            if (bytes.empty())
                why = "the picture cannot be read";
            else if (!out.open(QIODevice::WriteOnly) || out.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())
                     || !out.commit())
                why = out.errorString().toStdString();
        }
        const std::lock_guard lock(m_mutex);
        if (why.empty())
            ++m_written;
        else
            m_failures.push_back(destination + ": " + why);
    });
}

uint64_t PictureCopies::finish()
{
    m_pool->waitForDone();
    const std::lock_guard lock(m_mutex);
    return m_written;
}

std::vector<std::string> PictureCopies::failures() const
{
    const std::lock_guard lock(m_mutex);
    return m_failures;
}

std::string webPicture(const std::string& file, int longestSide, bool png)
{
    // Never larger than it is: a small picture keeps its size.
    const QSize full = QImageReader(q(file)).size();
    const QSize room = full.isValid() && std::max(full.width(), full.height()) <= longestSide ? full : QSize(longestSide, longestSide);
    const QImage image = covers::readCover(file, room);
    if (image.isNull())
        return {};
    return covers::encodePicture(image, png, kWebQuality);
}

std::string webEnding(const std::string& file)
{
    return QFileInfo(q(file)).suffix().toLower() == "png" ? "png" : "jpg";
}

std::string urlPath(std::string_view path)
{
    return QUrl::toPercentEncoding(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())), "/()").toStdString();
}

} // namespace exchange
