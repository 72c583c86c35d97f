#pragma once

// The XML of a catalogue file as the pull reader takes it, a piece at a time:
// read from a file or from a member of a zip archive, never past the size a
// catalogue may have whatever the file claims, converted to UTF-8 when the
// document names another encoding. The reader keeps the values short:
// whatever the file, the memory it costs stays the same.

#include "XmlPullReader.h"

#include <QStringDecoder>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace exchange {

class CatalogueXmlSource : public XmlPullReader::Source {
public:
    // The bytes of the file (or the archive's member) from its start: up to n
    // into the buffer, 0 at the end. May throw db::DbError.
    using Bytes = std::function<size_t(char* into, size_t n)>;

    // A catalogue larger than this is no catalogue (the bytes read are
    // counted, not the size a file or an archive claims).
    static constexpr uint64_t kLargestCatalogue = uint64_t{512} << 20;

    // path names the file in messages.
    CatalogueXmlSource(std::string path, Bytes bytes);

    size_t readMore(char* into, size_t room) override;
    bool ended() const override { return m_rawEnded && m_raw.empty() && m_convertedAt == m_converted.size(); }

private:
    // Reads raw bytes into the room given, counting them against the largest catalogue.
    size_t readRaw(char* into, size_t room);
    // The document's encoding, from the byte order mark or declaration at
    // its start; the length of a UTF-8 byte order mark to skip.
    size_t chooseEncoding(std::string_view first);
    // A document in another encoding: a piece converted to UTF-8, then handed out.
    size_t readConverted(char* into, size_t room);

    std::string m_path;
    Bytes m_bytes;
    uint64_t m_read = 0;
    bool m_started = false;
    bool m_rawEnded = false;
    std::unique_ptr<QStringDecoder> m_decoder; // none for UTF-8
    std::string m_raw;       // a piece read in another encoding
    std::string m_converted; // that piece in UTF-8
    size_t m_convertedAt = 0;
};

} // namespace exchange
