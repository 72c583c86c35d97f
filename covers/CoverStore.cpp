#include "CoverStore.h"

#include "CoverNames.h"
#include "DbError.h"
#include "DbfFormat.h"
#include "FaultInjection.h"
#include "FileIO.h"
#include "Record.h"
#include "Table.h"
#include "Translatable.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include <array>
#include <atomic>
#include <filesystem>
#include <set>

namespace covers {

namespace {

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

[[noreturn]] void refuse(const std::string& picture, const char* why, std::vector<std::string> args = {})
{
    args.insert(args.begin(), QFileInfo(q(picture)).fileName().toStdString());
    throw db::DbError(picture, db::Message{why, std::move(args)});
}

// A JPEG ends with its end marker; a file cut short on the way (a download
// broken off) has none near its end, and reads as grey below the cut.
bool jpegComplete(const QByteArray& bytes)
{
    return bytes.right(4096).contains("\xFF\xD9");
}

// The ending a picture is kept under, by what it is; empty for a kind that is converted.
std::string keptEnding(const QByteArray& format)
{
    if (format == "jpeg" || format == "jpg")
        return "jpg";
    if (format == "png")
        return "png";
    if (format == "webp")
        return "webp";
    return {};
}

// An ending as this program writes it and as a picture dropped in by hand may have it ("JPG").
std::array<std::string, 2> spellings(const std::string& ending)
{
    return {ending, QString::fromStdString(ending).toUpper().toStdString()};
}

QImage scaledDown(const QImage& image, int longestSide)
{
    if (std::max(image.width(), image.height()) <= longestSide)
        return image;
    return image.width() >= image.height() ? image.scaledToWidth(longestSide, Qt::SmoothTransformation)
                                           : image.scaledToHeight(longestSide, Qt::SmoothTransformation);
}

} // namespace

CoverStore::CoverStore(const std::string& collectionPath)
    : m_folder(coversFolderOf(collectionPath))
{
}

std::string CoverStore::pathOf(const std::string& base, const std::string& ending) const
{
    return m_folder + "/" + base + "." + ending;
}

std::string CoverStore::find(std::string_view title, std::string_view year) const
{
    const std::string base = coverBaseName(title, year);
    if (base.empty())
        return {};
    for (const std::string& ending : coverEndings())
        for (const std::string& spelled : spellings(ending))
            if (QFileInfo(q(pathOf(base, spelled))).isFile())
                return pathOf(base, spelled);
    return {};
}

std::string CoverStore::write(const std::string& base, const std::string& ending, const std::string& bytes)
{
    if (!QDir().mkpath(q(m_folder)))
        throw db::DbError(m_folder, db::Message{TRANSLATABLE("covers", "The folder of covers \"%1\" could not be made."),
                                                {m_folder}});
    const std::string path = pathOf(base, ending);
    // Whole or not at all: written beside its name, synced, and renamed into place.
    try {
        db::writeReplacing(path, [&](db::File& out) { out.writeAt(0, bytes.data(), bytes.size()); });
    } catch (const std::exception& e) {
        throw db::DbError(path, db::Message{TRANSLATABLE("covers", "The cover \"%1\" could not be written: %2"), {path, e.what()}});
    }
    // The new picture is the film's only cover: one of another kind goes.
    for (const std::string& other : coverEndings())
        if (other != ending)
            for (const std::string& spelled : spellings(other))
                QFile::remove(q(pathOf(base, spelled)));
    return path;
}

namespace {

CheckedPicture encoded(const QImage& image, const CoverLimits& limits, const std::string& name)
{
    const QImage kept = scaledDown(image, limits.longestSide);
    const bool transparent = kept.hasAlphaChannel();
    std::string bytes = encodePicture(kept, transparent, limits.jpegQuality);
    if (bytes.empty())
        throw db::DbError(name, db::Message{TRANSLATABLE("covers", "The cover \"%1\" could not be written: %2"),
                                            {name, std::string("the picture cannot be encoded")}});
    return {std::move(bytes), transparent ? "png" : "jpg"};
}

} // namespace

std::string encodePicture(const QImage& image, bool png, int jpegQuality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, png ? "png" : "jpeg");
    if (!png)
        writer.setQuality(jpegQuality);
    return writer.write(image) ? bytes.toStdString() : std::string();
}

CheckedPicture checkPicture(const std::string& file, const CoverLimits& limits)
{
    QFile in(q(file));
    if (!in.open(QIODevice::ReadOnly) || !QFileInfo(in).isFile())
        refuse(file, TRANSLATABLE("covers", "The picture \"%1\" could not be opened."));
    if (in.size() > limits.largestFileBytes)
        refuse(file, TRANSLATABLE("covers", "The picture \"%1\" is larger than %2 MB."),
               {std::to_string(limits.largestFileBytes >> 20)});
    return checkPicture(in.readAll().toStdString(), file, limits);
}

CheckedPicture checkPicture(const std::string& bytes, const std::string& name, const CoverLimits& limits)
{
    if (static_cast<long long>(bytes.size()) > limits.largestFileBytes)
        refuse(name, TRANSLATABLE("covers", "The picture \"%1\" is larger than %2 MB."),
               {std::to_string(limits.largestFileBytes >> 20)});
    const QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format.isEmpty())
        refuse(name, TRANSLATABLE("covers", "\"%1\" is not a picture this program can read (JPEG, PNG, WebP, GIF, BMP)."));
    const QSize size = reader.size();
    if (!size.isValid())
        refuse(name, TRANSLATABLE("covers", "The picture \"%1\" is damaged: %2"), {reader.errorString().toStdString()});
    if ( size.width() > limits.largestSidePixels || size.height() > limits.largestSidePixels
        || static_cast<long long>(size.width()) * size.height() > limits.largestPixels)
        refuse(name, TRANSLATABLE("covers", "The picture \"%1\" is too large to read (%2 x %3 pixels)."),
               {std::to_string(size.width()), std::to_string(size.height())});
    // The image's memory is bounded whatever its header claims.
    QImageReader::setAllocationLimit(static_cast<int>(std::max<long long>(64, limits.largestPixels * 4 >> 20)));
    const QImage image = reader.read();
    if (image.isNull() || (format == "jpeg" && !jpegComplete(data)))
        refuse(name, TRANSLATABLE("covers", "The picture \"%1\" is damaged: %2"),
               {image.isNull() ? reader.errorString().toStdString() : std::string("it ends before its last part")});
    const std::string ending = keptEnding(format);
    if (!ending.empty() && std::max(image.width(), image.height()) <= limits.longestSide)
        return {bytes, ending}; // as it came
    return encoded(image, limits, name);
}

std::string CoverStore::store(std::string_view title, std::string_view year, const std::string& picture,
                              const CoverLimits& limits)
{
    if (coverBaseName(title, year).empty())
        throw db::DbError(picture, db::Message{TRANSLATABLE("covers", "A video without a title has no cover.")});
    return store(title, year, checkPicture(picture, limits));
}

std::string CoverStore::store(std::string_view title, std::string_view year, const CheckedPicture& picture)
{
    const std::string base = coverBaseName(title, year);
    if (base.empty())
        throw db::DbError(m_folder, db::Message{TRANSLATABLE("covers", "A video without a title has no cover.")});
    return write(base, picture.ending, picture.bytes);
}

std::string CoverStore::storeImage(std::string_view title, std::string_view year, const QImage& image,
                                   const CoverLimits& limits)
{
    const std::string base = coverBaseName(title, year);
    if (base.empty() || image.isNull())
        throw db::DbError(m_folder, db::Message{TRANSLATABLE("covers", "A video without a title has no cover.")});
    return store(title, year, encoded(image, limits, base));
}

bool CoverStore::remove(std::string_view title, std::string_view year)
{
    bool removed = false;
    for (std::string path = find(title, year); !path.empty(); path = find(title, year)) {
        if (!QFile::remove(q(path)))
            throw db::DbError(path, db::Message{TRANSLATABLE("covers", "The cover \"%1\" could not be removed."), {path}});
        removed = true;
    }
    return removed;
}

CoverStore::Renamed CoverStore::rename(std::string_view oldTitle, std::string_view oldYear, std::string_view newTitle,
                                       std::string_view newYear, bool keepOld)
{
    const std::string from = find(oldTitle, oldYear);
    const std::string base = coverBaseName(newTitle, newYear);
    if (from.empty() || base.empty() || base == coverBaseName(oldTitle, oldYear))
        return Renamed::Nothing;
    if (!find(newTitle, newYear).empty())
        return Renamed::NameTaken; // that film has a cover of its own
    const std::string to = pathOf(base, QFileInfo(q(from)).suffix().toLower().toStdString());
    std::error_code failed;
    if (keepOld) {
        db::faults::beforeChange(to, "copy");
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::none, failed);
        return failed ? Renamed::Nothing : Renamed::Copied;
    }
    db::faults::beforeChange(to, "rename");
    std::filesystem::rename(from, to, failed);
    if (failed)
        return Renamed::Nothing;
    // The new name survives a power cut as the record's new title does.
    db::syncFolderOf(to);
    return Renamed::Renamed;
}

CoverStore::Renamed CoverStore::giveTo(const std::string& fileName, std::string_view title, std::string_view year)
{
    const std::string base = coverBaseName(title, year);
    const std::string from = m_folder + "/" + fileName;
    if (base.empty() || fileName.find('/') != std::string::npos || !QFileInfo(q(from)).isFile())
        return Renamed::Nothing;
    if (!find(title, year).empty())
        return Renamed::NameTaken;
    std::error_code failed;
    std::filesystem::rename(from, pathOf(base, QFileInfo(q(from)).suffix().toLower().toStdString()), failed);
    return failed ? Renamed::Nothing : Renamed::Renamed;
}

void CoverStore::deleteFile(const std::string& fileName)
{
    const std::string path = m_folder + "/" + fileName;
    if (fileName.find('/') != std::string::npos || !QFile::remove(q(path)))
        throw db::DbError(path, db::Message{TRANSLATABLE("covers", "The cover \"%1\" could not be removed."), {path}});
}

std::vector<std::string> CoverStore::withoutAFilm(db::Table& table) const
{
    const QStringList files = QDir(q(m_folder)).entryList(QDir::Files, QDir::Name);
    if (files.isEmpty())
        return {};
    std::set<std::string> named;
    const int year = table.fieldIndex("Year");
    const std::vector<db::FieldDef>& fields = table.fields();
    table.scanRecords([&](const char* block, uint32_t, uint32_t count) {
        for (uint32_t k = 0; k < count; ++k) {
            const db::Record record(&fields, block + static_cast<size_t>(k) * table.recordLength());
            if (!record.deleted())
                named.insert(coverBaseName(record.text(0), year >= 0 ? record.text(year) : std::string()));
        }
    });
    std::vector<std::string> alone;
    for (const QString& file : files) {
        const QFileInfo info(file);
        const bool picture = std::count(coverEndings().begin(), coverEndings().end(), info.suffix().toLower().toStdString()) > 0;
        if (picture && !named.count(info.completeBaseName().toStdString()))
            alone.push_back(file.toStdString());
    }
    return alone;
}

CoverFiles::CoverFiles(const std::string& collectionPath)
    : m_folder(coversFolderOf(collectionPath))
{
    const QStringList files = QDir(q(m_folder)).entryList(QDir::Files, QDir::Name);
    // In the order a film's cover is looked for, so that the first ending found is the one kept.
    for (const std::string& ending : coverEndings())
        for (const QString& file : files) {
            const QFileInfo info(file);
            if (info.suffix().toLower().toStdString() == ending)
                m_files.try_emplace(info.completeBaseName().toStdString(), file.toStdString());
        }
}

std::string CoverFiles::fileOf(std::string_view title, std::string_view year) const
{
    if (m_files.empty())
        return {};
    const auto found = m_files.find(coverBaseName(title, year));
    return found == m_files.end() ? std::string() : m_folder + "/" + found->second;
}

QImage readCover(const std::string& file, QSize room)
{
    QImageReader reader(q(file));
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    if (full.isValid())
        reader.setScaledSize(full.scaled(room, Qt::KeepAspectRatio));
    return reader.read();
}

void followTitleChanges(db::Table& table)
{
    const std::string collection = table.filePath();
    const int yearField = table.fieldIndex("Year");
    db::Table* watched = &table;
    table.setPostWatch([collection, yearField, watched](const db::Record& before, const db::Record& after) {
        const auto yearOf = [yearField](const db::Record& r) { return yearField >= 0 ? r.text(yearField) : std::string(); };
        const std::string oldTitle = before.text(0), newTitle = after.text(0);
        const std::string oldYear = yearOf(before), newYear = yearOf(after);
        const std::string oldBase = coverBaseName(oldTitle, oldYear);
        if (oldBase.empty() || oldBase == coverBaseName(newTitle, newYear))
            return;
        CoverStore store(collection);
        if (store.find(oldTitle, oldYear).empty())
            return; // no cover to follow: nothing to look for
        // Another record of the same film (the VHS beside the DVD) keeps the old cover.
        std::atomic<bool> stillNamed{false};
        const size_t length = watched->recordLength();
        const std::vector<db::FieldDef>& fields = watched->fields();
        watched->scanRecordsInParallel([&](unsigned, const char* block, uint32_t, uint32_t count) {
            for (uint32_t k = 0; k < count && !stillNamed; ++k) {
                const db::Record record(&fields, block + static_cast<size_t>(k) * length);
                if (!record.deleted() && record.text(0) == oldTitle && coverBaseName(record.text(0), yearOf(record)) == oldBase)
                    stillNamed = true;
            }
        });
        try {
            store.rename(oldTitle, oldYear, newTitle, newYear, stillNamed);
        } catch (...) {
            // The record is saved whatever becomes of its cover.
        }
    });
}

} // namespace covers
