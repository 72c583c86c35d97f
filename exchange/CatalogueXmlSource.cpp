#include "CatalogueXmlSource.h"

#include "DbError.h"

#include <algorithm>
#include <cstring>

namespace exchange {

namespace {
constexpr size_t kEncodingLook = 1024; // what a declaration takes, and more
}

CatalogueXmlSource::CatalogueXmlSource(std::string path, Bytes bytes)
    : m_path(std::move(path))
    , m_bytes(std::move(bytes))
{
}

size_t CatalogueXmlSource::chooseEncoding(std::string_view first)
{
    if (first.starts_with("\xEF\xBB\xBF"))
        return 3;
    const std::string encoding = documentEncoding(first);
    if (encoding.empty())
        return 0;
    m_decoder = std::make_unique<QStringDecoder>(encoding.c_str());
    if (!m_decoder->isValid())
        throw XmlPullReader::Damage(1, "Encoding " + encoding + " is unsupported");
    return 0;
}

size_t CatalogueXmlSource::readRaw(char* into, size_t room)
{
    // One byte more than a catalogue may hold tells a file that is larger,
    // whatever size it claims (a device, a file in /proc, an archive's member).
    const size_t got = m_bytes(into, static_cast<size_t>(std::min<uint64_t>(room, kLargestCatalogue + 1 - m_read)));
    m_read += got;
    if (m_read > kLargestCatalogue)
        throw db::DbError(m_path, db::Message{TRANSLATABLE("db", "The file is too large for a catalogue")});
    m_rawEnded = got == 0;
    return got;
}

size_t CatalogueXmlSource::readMore(char* into, size_t room)
{
    if (m_decoder)
        return readConverted(into, room);
    size_t got = readRaw(into, room);
    // The encoding is told by the document's first bytes: enough of them are read to see its declaration.
    while (!m_started && !m_rawEnded && got < std::min<size_t>(room, kEncodingLook))
        got += readRaw(into + got, std::min<size_t>(room, kEncodingLook) - got);
    if (!m_started) {
        m_started = true;
        const size_t mark = chooseEncoding(std::string_view(into, got));
        if (m_decoder) {
            m_raw.assign(into, got);
            return readConverted(into, room);
        }
        std::memmove(into, into + mark, got - mark);
        got -= mark;
    }
    return got; // UTF-8, the common case: read straight into the reader's room
}

size_t CatalogueXmlSource::readConverted(char* into, size_t room)
{
    if (m_convertedAt == m_converted.size() && (!m_raw.empty() || !m_rawEnded)) {
        if (m_raw.empty()) {
            m_raw.resize(room);
            m_raw.resize(readRaw(m_raw.data(), m_raw.size()));
        }
        const QString text = (*m_decoder)(QByteArrayView(m_raw.data(), static_cast<qsizetype>(m_raw.size())));
        m_raw.clear();
        if (m_decoder->hasError())
            throw XmlPullReader::Damage(1, "Encountered incorrectly encoded content.");
        m_converted = text.toStdString();
        m_convertedAt = 0;
    }
    const size_t given = std::min(room, m_converted.size() - m_convertedAt);
    std::memcpy(into, m_converted.data() + m_convertedAt, given);
    m_convertedAt += given;
    return given;
}

} // namespace exchange
