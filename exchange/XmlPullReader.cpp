#include "XmlPullReader.h"

#include "Cp1252.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace exchange {

namespace {

constexpr size_t kNone = std::string_view::npos;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A name begins with a letter or '_' (Qt's reader, which knows namespaces,
// takes no ':' first) and goes on with letters, digits and ".-_:".
bool isNameStart(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

bool isNameChar(unsigned char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == ':';
}

// A letter, then letters, digits and "._-".
bool isEncodingName(std::string_view name)
{
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    return !name.empty() && letter(name[0]) && std::all_of(name.begin(), name.end(), [&](char c) {
        return letter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    });
}

// A character XML allows in a document.
bool isXmlChar(uint32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
           || (c >= 0x10000 && c <= 0x10FFFF);
}

// Where the first byte lies that is not valid UTF-8 or not a character XML
// allows (kNone when every byte is good).
size_t firstBadByte(std::string_view s)
{
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const size_t n = s.size();
    size_t i = 0;
    while (i < n) {
        // Eight plain printable characters at a time: no byte of 0x80 or more, none below 0x20.
        if (i + 8 <= n) {
            uint64_t word;
            std::memcpy(&word, p + i, 8);
            constexpr uint64_t kOnes = 0x0101010101010101ULL, kHigh = 0x8080808080808080ULL;
            if (((word | (word - kOnes * 0x20)) & kHigh) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned char c = p[i];
        if (c < 0x80) {
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
                return i;
            ++i;
            continue;
        }
        size_t length;
        uint32_t code;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07;
        } else {
            return i;
        }
        if (i + length > n)
            return i;
        for (size_t k = 1; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return i;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        const uint32_t smallest = length == 3 ? 0x800 : length == 4 ? 0x10000 : 0x80;
        if (code < smallest || !isXmlChar(code))
            return i;
        i += length;
    }
    return kNone;
}

} // namespace

XmlPullReader::XmlPullReader(std::string_view document)
    : m_doc(document)
    , m_badAt(firstBadByte(document))
{
}

int XmlPullReader::line() const
{
    const size_t upTo = std::min(m_at, m_doc.size());
    return 1 + static_cast<int>(std::count(m_doc.begin(), m_doc.begin() + static_cast<std::ptrdiff_t>(upTo), '\n'));
}

void XmlPullReader::fail(const std::string& what) const
{
    // A byte no document may hold, met on the way, is the fault to name.
    if (m_badAt != kNone && m_badAt <= m_at)
        failAt(m_badAt, "Invalid XML character.");
    throw Damage(line(), what);
}

void XmlPullReader::failAt(size_t at, const std::string& what) const
{
    const size_t upTo = std::min(at, m_doc.size());
    throw Damage(1 + static_cast<int>(std::count(m_doc.begin(), m_doc.begin() + static_cast<std::ptrdiff_t>(upTo), '\n')),
                 what);
}

void XmlPullReader::skipSpaces()
{
    while (m_at < m_doc.size() && isSpace(m_doc[m_at]))
        ++m_at;
}

std::string_view XmlPullReader::readName()
{
    const size_t start = m_at;
    if (m_at >= m_doc.size() || !isNameStart(static_cast<unsigned char>(m_doc[m_at])))
        return {};
    ++m_at;
    while (m_at < m_doc.size() && isNameChar(static_cast<unsigned char>(m_doc[m_at])))
        ++m_at;
    const std::string_view name = m_doc.substr(start, m_at - start);
    // A prefix and a local name at most, as namespaces have it ("x:y").
    if (const size_t colon = name.find(':'); colon != kNone && name.find(':', colon + 1) != kNone)
        fail("Invalid name.");
    return name;
}

XmlPullReader::Token XmlPullReader::next()
{
    const Token token = nextToken();
    // A token that took in a byte no XML document may hold is not handed out.
    if (m_badAt != kNone && m_at > m_badAt)
        failAt(m_badAt, "Invalid XML character.");
    return token;
}

XmlPullReader::Token XmlPullReader::nextToken()
{
    if (m_pendingEnd) {
        m_pendingEnd = false;
        m_open.pop_back();
        return Token::EndElement; // the name is the empty element's own
    }
    while (true) {
        if (m_at >= m_doc.size()) {
            if (!m_open.empty() || !m_rootSeen)
                fail("Premature end of document.");
            return Token::End;
        }
        if (m_doc[m_at] == '<') {
            if (startsWith("</")) {
                readEndTag();
                return Token::EndElement;
            }
            if (startsWith("<![CDATA[")) {
                if (m_open.empty())
                    fail("Start tag expected.");
                readText();
                return Token::Text;
            }
            if (startsWith("<!") || startsWith("<?")) {
                skipMarkup();
                continue;
            }
            readStartTag();
            return Token::StartElement;
        }
        if (m_open.empty()) {
            // Outside the root only spaces may stand between the markup.
            skipSpaces();
            if (m_at < m_doc.size() && m_doc[m_at] != '<')
                fail(m_rootSeen ? "Extra content at end of document." : "Start tag expected.");
            continue;
        }
        readText();
        return Token::Text;
    }
}

void XmlPullReader::skipMarkup()
{
    auto skipPast = [this](std::string_view end) {
        const size_t found = m_doc.find(end, m_at);
        if (found == kNone) {
            m_at = m_doc.size();
            fail("Premature end of document.");
        }
        m_at = found + end.size();
    };
    if (startsWith("<!--")) {
        m_at += 4;
        const size_t start = m_at;
        skipPast("-->");
        const std::string_view comment = m_doc.substr(start, m_at - 3 - start);
        if (comment.find("--") != kNone || (!comment.empty() && comment.back() == '-'))
            fail("Invalid comment.");
        return;
    }
    if (startsWith("<?")) {
        m_at += 2;
        const std::string_view target = readName();
        if (target.empty())
            fail("Invalid processing instruction name.");
        if (target == "xml") {
            if (m_at != 5) // the declaration opens the document or is none
                fail("XML declaration not at start of document.");
            readDeclaration();
            return;
        }
        if (target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' && (target[2] | 0x20) == 'l')
            fail("Invalid processing instruction name.");
        if (!startsWith("?>") && (m_at >= m_doc.size() || !isSpace(m_doc[m_at])))
            fail("Invalid processing instruction name.");
        skipPast("?>");
        return;
    }
    if (startsWith("<!DOCTYPE") && !m_rootSeen) {
        // Up to its closing '>', past quoted texts and the internal subset in brackets.
        int brackets = 0;
        for (m_at += 9; m_at < m_doc.size(); ++m_at) {
            const char c = m_doc[m_at];
            if (c == '"' || c == '\'') {
                const size_t close = m_doc.find(c, m_at + 1);
                if (close == kNone)
                    break;
                m_at = close;
            } else if (c == '[') {
                ++brackets;
            } else if (c == ']') {
                --brackets;
            } else if (c == '>' && brackets <= 0) {
                ++m_at;
                return;
            }
        }
        m_at = m_doc.size();
        fail("Premature end of document.");
    }
    fail("Start tag expected.");
}

void XmlPullReader::readDeclaration()
{
    // version="1.x", then perhaps encoding="..." and standalone="yes|no", in that order.
    static constexpr std::string_view kOrder[] = {"version", "encoding", "standalone"};
    size_t next = 0;
    while (true) {
        const size_t before = m_at;
        skipSpaces();
        if (startsWith("?>") && next > 0) {
            m_at += 2;
            return;
        }
        if (m_at == before)
            fail("Invalid XML declaration.");
        const std::string_view name = readName();
        while (next < std::size(kOrder) && kOrder[next] != name)
            ++next;
        if (next == std::size(kOrder) || (next > 0 && name == "version") || (next != 0 && before == 5))
            fail("Invalid XML declaration.");
        skipSpaces();
        if (m_at >= m_doc.size() || m_doc[m_at] != '=')
            fail("Invalid XML declaration.");
        ++m_at;
        skipSpaces();
        if (m_at >= m_doc.size() || (m_doc[m_at] != '"' && m_doc[m_at] != '\''))
            fail("Invalid XML declaration.");
        const size_t close = m_doc.find(m_doc[m_at], m_at + 1);
        if (close == kNone)
            fail("Premature end of document.");
        const std::string_view value = m_doc.substr(m_at + 1, close - m_at - 1);
        if (name == "version" && value != "1.0")
            fail("Unsupported XML version.");
        const bool good = name == "version"      ? true
                          : name == "standalone" ? value == "yes" || value == "no"
                                                 : isEncodingName(value);
        if (!good)
            fail("Invalid XML declaration.");
        m_at = close + 1;
        ++next;
    }
}

void XmlPullReader::readStartTag()
{
    if (m_rootSeen && m_open.empty())
        fail("Extra content at end of document.");
    ++m_at; // '<'
    const std::string_view name = readName();
    if (name.empty())
        fail("Start tag expected.");
    m_attributes.clear();
    size_t slot = 0;
    while (true) {
        const size_t before = m_at;
        skipSpaces();
        if (m_at >= m_doc.size())
            fail("Premature end of document.");
        if (m_doc[m_at] == '>') {
            ++m_at;
            break;
        }
        if (startsWith("/>")) {
            m_at += 2;
            m_pendingEnd = true;
            break;
        }
        if (m_at == before)
            fail("Expected '>' or '/', but got '" + std::string(1, m_doc[m_at]) + "'.");
        const std::string_view attributeName = readName();
        if (attributeName.empty())
            fail("Expected attribute name.");
        skipSpaces();
        if (m_at >= m_doc.size() || m_doc[m_at] != '=')
            fail("Expected '=', but got something else.");
        ++m_at;
        skipSpaces();
        if (m_at >= m_doc.size() || (m_doc[m_at] != '"' && m_doc[m_at] != '\''))
            fail("Expected '\"' or '\\'', but got something else.");
        const char quote = m_doc[m_at++];
        const size_t close = m_doc.find(quote, m_at);
        if (close == kNone) {
            m_at = m_doc.size();
            fail("Premature end of document.");
        }
        if (std::memchr(m_doc.data() + m_at, '<', close - m_at) != nullptr) {
            m_at = m_doc.find('<', m_at);
            fail("Invalid character '<' in attribute value.");
        }
        for (const Attribute& a : m_attributes)
            if (a.name == attributeName)
                fail("Attribute '" + std::string(attributeName) + "' redefined.");
        if (m_decoded.size() <= slot)
            m_decoded.emplace_back();
        std::string& room = m_decoded[slot++];
        room.clear();
        const std::string_view value = decode(m_at, close, true, room);
        m_at = close + 1;
        m_attributes.push_back({attributeName, value});
    }
    m_open.push_back(name);
    m_rootSeen = true;
    m_name = name;
}

void XmlPullReader::readEndTag()
{
    m_at += 2;
    const std::string_view name = readName();
    skipSpaces();
    if (m_at >= m_doc.size())
        fail("Premature end of document.");
    if (m_doc[m_at] != '>')
        fail("Expected '>', but got something else.");
    if (m_open.empty() || m_open.back() != name)
        fail("Opening and ending tag mismatch.");
    ++m_at;
    m_open.pop_back();
    m_name = name;
}

void XmlPullReader::readText()
{
    // Characters up to the next tag; CDATA sections and references join the
    // run. The common case, one plain piece, is a view into the document.
    bool joining = false;
    auto join = [&] {
        if (!joining)
            m_joinedText.clear();
        joining = true;
    };
    while (m_at < m_doc.size()) {
        if (startsWith("<![CDATA[")) {
            const size_t end = m_doc.find("]]>", m_at + 9);
            if (end == kNone) {
                m_at = m_doc.size();
                fail("Premature end of document.");
            }
            join();
            // Taken as it stands, but for its line ends: "\r\n" and "\r" are "\n" everywhere.
            const std::string_view cdata = m_doc.substr(m_at + 9, end - m_at - 9);
            for (size_t i = 0; i < cdata.size(); ++i) {
                if (cdata[i] != '\r') {
                    m_joinedText += cdata[i];
                    continue;
                }
                m_joinedText += '\n';
                if (i + 1 < cdata.size() && cdata[i + 1] == '\n')
                    ++i;
            }
            m_at = end + 3;
            continue;
        }
        if (m_doc[m_at] == '<')
            break;
        const void* lt = std::memchr(m_doc.data() + m_at, '<', m_doc.size() - m_at);
        const size_t end = lt ? static_cast<size_t>(static_cast<const char*>(lt) - m_doc.data()) : m_doc.size();
        const std::string_view piece = m_doc.substr(m_at, end - m_at);
        if (const size_t bad = piece.find("]]>"); bad != kNone) {
            m_at += bad;
            fail("Sequence ']]>' not allowed in content.");
        }
        const bool cdataFollows = m_doc.substr(end, 9) == "<![CDATA[";
        if (!joining && !cdataFollows) {
            m_joinedText.clear();
            m_text = decode(m_at, end, false, m_joinedText);
            m_at = end;
            return;
        }
        join();
        const size_t before = m_joinedText.size();
        const std::string_view characters = decode(m_at, end, false, m_joinedText);
        if (m_joinedText.size() == before) // nothing decoded: a view of the document
            m_joinedText.append(characters);
        m_at = end;
    }
    m_text = m_joinedText;
}

std::string_view XmlPullReader::decode(size_t from, size_t to, bool attribute, std::string& out)
{
    const std::string_view raw = m_doc.substr(from, to - from);
    const bool plain = std::none_of(raw.begin(), raw.end(), [attribute](char c) {
        return c == '&' || c == '\r' || (attribute && (c == '\t' || c == '\n'));
    });
    if (plain)
        return raw;
    const size_t start = out.size();
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\r') {
            out += attribute ? ' ' : '\n';
            if (i + 1 < raw.size() && raw[i + 1] == '\n')
                ++i;
        } else if (attribute && (c == '\t' || c == '\n')) {
            out += ' ';
        } else if (c != '&') {
            out += c;
        } else {
            i = appendReference(raw, i, from, out);
        }
    }
    return std::string_view(out).substr(start);
}

size_t XmlPullReader::appendReference(std::string_view raw, size_t i, size_t from, std::string& out)
{
    const size_t semicolon = raw.find(';', i + 1);
    if (semicolon == kNone || semicolon - i > 12) {
        m_at = from + i;
        fail("Invalid entity reference.");
    }
    const std::string_view reference = raw.substr(i + 1, semicolon - i - 1);
    if (reference == "lt") {
        out += '<';
    } else if (reference == "gt") {
        out += '>';
    } else if (reference == "amp") {
        out += '&';
    } else if (reference == "quot") {
        out += '"';
    } else if (reference == "apos") {
        out += '\'';
    } else if (reference.size() >= 2 && reference[0] == '#') {
        const bool hex = reference[1] == 'x';
        const std::string_view digits = reference.substr(hex ? 2 : 1);
        uint32_t code = 0;
        bool good = !digits.empty();
        for (const char d : digits) {
            int value = -1;
            if (d >= '0' && d <= '9')
                value = d - '0';
            else if (hex && d >= 'a' && d <= 'f')
                value = d - 'a' + 10;
            else if (hex && d >= 'A' && d <= 'F')
                value = d - 'A' + 10;
            if (value < 0 || code > 0x10FFFF) {
                good = false;
                break;
            }
            code = code * (hex ? 16 : 10) + static_cast<uint32_t>(value);
        }
        if (!good || !isXmlChar(code)) {
            m_at = from + i;
            fail("Invalid character reference.");
        }
        db::appendUtf8(out, code);
    } else {
        m_at = from + i;
        fail("Entity '" + std::string(reference) + "' not declared.");
    }
    return semicolon;
}

std::string_view XmlPullReader::attribute(std::string_view name) const
{
    for (const Attribute& a : m_attributes)
        if (a.name == name)
            return a.value;
    return {};
}

bool XmlPullReader::hasAttribute(std::string_view name) const
{
    return std::any_of(m_attributes.begin(), m_attributes.end(), [&](const Attribute& a) { return a.name == name; });
}

bool XmlPullReader::nextChildElement()
{
    while (true) {
        switch (next()) {
        case Token::StartElement: return true;
        case Token::EndElement:
        case Token::End: return false;
        case Token::Text: break;
        }
    }
}

std::string XmlPullReader::elementText()
{
    std::string text;
    for (int depth = 1; depth > 0;) {
        switch (next()) {
        case Token::StartElement: ++depth; break;
        case Token::EndElement: --depth; break;
        case Token::Text: text.append(m_text); break;
        case Token::End: return text; // not reached: an open element's end of document is damage
        }
    }
    return text;
}

void XmlPullReader::skipElement()
{
    for (int depth = 1; depth > 0;) {
        switch (next()) {
        case Token::StartElement: ++depth; break;
        case Token::EndElement: --depth; break;
        case Token::Text: break;
        case Token::End: return;
        }
    }
}

std::string_view utf8Document(std::string_view bytes, std::string& converted)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return bytes.substr(3);
    QString encoding;
    if (bytes.substr(0, 2) == "\xFE\xFF" || bytes.substr(0, 2) == "\xFF\xFE") {
        encoding = "UTF-16";
    } else if (bytes.substr(0, 5) == "<?xml") {
        const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
        const size_t at = declaration.find("encoding");
        if (at != kNone) {
            size_t quote = declaration.find_first_of("\"'", at);
            const size_t close = quote == kNone ? kNone : declaration.find(declaration[quote], quote + 1);
            if (close != kNone)
                encoding = QString::fromLatin1(declaration.substr(quote + 1, close - quote - 1));
        }
    }
    const QString name = encoding.toLower();
    if (name.isEmpty() || name == "utf-8" || name == "utf8" || name == "us-ascii" || name == "ascii")
        return bytes;
    QStringDecoder decoder(encoding.toLatin1().constData());
    if (!decoder.isValid())
        throw XmlPullReader::Damage(1, "Encoding " + encoding.toStdString() + " is unsupported");
    const QString text = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError())
        throw XmlPullReader::Damage(1, "Encountered incorrectly encoded content.");
    converted = text.toStdString();
    return converted;
}

} // namespace exchange
