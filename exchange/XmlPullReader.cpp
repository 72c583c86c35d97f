#include "XmlPullReader.h"

#include "Cp1252.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <cctype>
#include <cstdint>
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
    , m_checkedUpTo(document.size())
{
}

XmlPullReader::XmlPullReader(Source& source)
    : m_source(&source)
    , m_ended(false)
{
    readMore();
}

namespace {
// The line breaks in a text.
uint64_t lineBreaksIn(std::string_view text)
{
    uint64_t breaks = 0;
    const char* const end = text.data() + text.size();
    for (const char* at = text.data(); (at = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at))));
         ++at)
        ++breaks;
    return breaks;
}
} // namespace

void XmlPullReader::readMore()
{
    if (!m_window)
        m_window = std::make_unique<char[]>(kWindow);
    // What lies before the current place is done with: only its lines are
    // counted. It is dropped once there is much of it, so that each byte is
    // moved about once.
    if (m_at >= kLookahead) {
        m_linesBefore += lineBreaksIn(m_doc.substr(0, m_at));
        m_windowSize -= m_at;
        std::memmove(m_window.get(), m_window.get() + m_at, m_windowSize);
        m_checkedUpTo -= m_at;
        if (m_badAt != kNone)
            m_badAt -= m_at;
        m_at = 0;
    }
    while (!m_ended && m_windowSize - m_at < 2 * kLookahead) {
        m_windowSize += m_source->readMore(m_window.get() + m_windowSize, std::min(kReadPiece, kWindow - m_windowSize));
        m_ended = m_source->ended();
    }
    m_doc = std::string_view(m_window.get(), m_windowSize);
    checkNewBytes();
}

size_t XmlPullReader::shortenRun(size_t start, char terminator)
{
    char* const window = m_window.get();
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    const size_t checkedBefore = m_checkedUpTo;
    bool refilled = false, found = false;
    size_t read = start, write = start, blanks = 0;
    int utf8Pending = 0, referenceLength = -1;
    while (true) {
        if (read == m_windowSize) {
            // All read since write is dropped: the room it took is read into again.
            m_windowSize = read = write;
            m_checkedUpTo = std::min(m_checkedUpTo, write);
            if (m_source->ended())
                break;
            refilled = true;
            m_windowSize += m_source->readMore(window + m_windowSize, kWindow - m_windowSize);
            continue;
        }
        const char c = window[read];
        if (c == terminator) {
            found = true;
            break;
        }
        ++read;
        const auto u = static_cast<unsigned char>(c);
        blanks = blank(c) ? blanks + 1 : 0;
        bool keep;
        if (utf8Pending > 0 && (u & 0xC0) == 0x80) {
            keep = true; // a character begun is finished
            --utf8Pending;
        } else if (referenceLength >= 0 && (c == ';' || (referenceLength < 16 && !blank(c) && c != '&'))) {
            keep = true; // and so is a reference
            referenceLength = c == ';' ? -1 : referenceLength + 1;
        } else {
            utf8Pending = 0;
            referenceLength = -1;
            keep = write - start < kMaxValueBytes && blanks <= kMaxBlankRun;
            if (keep && u >= 0xC0)
                utf8Pending = u >= 0xF0 ? 3 : u >= 0xE0 ? 2 : 1;
            else if (keep && c == '&')
                referenceLength = 0;
        }
        if (keep)
            window[write++] = c;
        else if (c == '\n')
            ++m_linesBefore; // a line of what lies before any later place
    }
    // What was kept moves up to the terminator; the room it leaves is blanks
    // before the run, which nothing reads (and which hold no line break).
    const size_t kept = write - start;
    const size_t runStart = found ? read - kept : start;
    if (found && runStart != start) {
        std::memmove(window + runStart, window + start, kept);
        std::memset(window + start, ' ', runStart - start);
    }
    m_doc = std::string_view(window, m_windowSize);
    // Characters no document may hold: those of the run are looked for again where they now lie.
    if (m_badAt != kNone && m_badAt >= start && m_badAt < read)
        m_badAt = kNone;
    if (!refilled && checkedBefore >= read) {
        const size_t bad = firstBadByte(m_doc.substr(runStart, kept));
        if (bad != kNone && (m_badAt == kNone || m_badAt > runStart + bad))
            m_badAt = runStart + bad;
    } else {
        m_checkedUpTo = std::min(m_checkedUpTo, runStart);
        if (m_badAt != kNone && m_badAt >= runStart)
            m_badAt = kNone;
        checkNewBytes();
    }
    return runStart;
}

void XmlPullReader::checkNewBytes()
{
    if (m_badAt != kNone)
        return; // the first is the one to name
    // A character whose bytes are not all read yet is checked when they are.
    size_t upTo = m_doc.size();
    if (!m_ended) {
        for (size_t back = 1; back <= 3 && back <= upTo - m_checkedUpTo; ++back) {
            const auto c = static_cast<unsigned char>(m_doc[upTo - back]);
            if (c >= 0xC0) {
                const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
                if (length > back)
                    upTo -= back;
                break;
            }
            if (c < 0x80)
                break;
        }
    }
    const size_t bad = firstBadByte(m_doc.substr(m_checkedUpTo, upTo - m_checkedUpTo));
    if (bad != kNone)
        m_badAt = m_checkedUpTo + bad;
    m_checkedUpTo = upTo;
}

int XmlPullReader::lineAt(size_t at) const
{
    const size_t upTo = std::min(at, m_doc.size());
    const uint64_t lines = m_linesBefore + lineBreaksIn(m_doc.substr(0, upTo));
    return 1 + static_cast<int>(std::min<uint64_t>(lines, INT32_MAX - 1));
}

int XmlPullReader::line() const { return lineAt(m_at); }

void XmlPullReader::fail(const std::string& what) const
{
    // A byte no document may hold, met on the way, is the fault to name.
    if (m_badAt != kNone && m_badAt <= m_at)
        failAt(m_badAt, "Invalid XML character.");
    // The end of what is held is not the document's end: the token is too long to hold.
    if (!m_ended && what == "Premature end of document.")
        throw Damage(line(), "A tag, a comment or a declaration is longer than a catalogue's (more than 8 MB).");
    throw Damage(line(), what);
}

void XmlPullReader::failAt(size_t at, const std::string& what) const
{
    throw Damage(lineAt(at), what);
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
        fill();
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
        size_t close = m_doc.find(quote, m_at);
        if (m_source && ((close == kNone && !m_ended) || (close != kNone && close - m_at > kMaxValueBytes))) {
            m_at = shortenRun(m_at, quote);
            close = m_doc.find(quote, m_at);
        }
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
    if (m_open.size() >= kMaxDepth)
        fail("Elements are nested deeper than a catalogue's.");
    m_open.emplace_back(name);
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
        size_t end = lt ? static_cast<size_t>(static_cast<const char*>(lt) - m_doc.data()) : m_doc.size();
        if (m_source && (end - m_at > kMaxValueBytes || (!lt && !m_ended))) {
            m_at = shortenRun(m_at, '<');
            lt = std::memchr(m_doc.data() + m_at, '<', m_doc.size() - m_at);
            end = lt ? static_cast<size_t>(static_cast<const char*>(lt) - m_doc.data()) : m_doc.size();
        }
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
        case Token::Text: text.append(m_text.substr(0, kMaxElementText - std::min(text.size(), kMaxElementText))); break;
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

std::string documentEncoding(std::string_view start)
{
    if (start.substr(0, 2) == "\xFE\xFF" || start.substr(0, 2) == "\xFF\xFE")
        return "UTF-16";
    std::string encoding;
    if (start.substr(0, 5) == "<?xml") {
        const std::string_view declaration = start.substr(0, start.find("?>"));
        const size_t at = declaration.find("encoding");
        if (at != kNone) {
            size_t quote = declaration.find_first_of("\"'", at);
            const size_t close = quote == kNone ? kNone : declaration.find(declaration[quote], quote + 1);
            if (close != kNone)
                encoding = std::string(declaration.substr(quote + 1, close - quote - 1));
        }
    }
    std::string name = encoding;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name.empty() || name == "utf-8" || name == "utf8" || name == "us-ascii" || name == "ascii")
        return {};
    return encoding;
}

std::string_view utf8Document(std::string_view bytes, std::string& converted)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return bytes.substr(3);
    const std::string encoding = documentEncoding(bytes);
    if (encoding.empty())
        return bytes;
    QStringDecoder decoder(encoding.c_str());
    if (!decoder.isValid())
        throw XmlPullReader::Damage(1, "Encoding " + encoding + " is unsupported");
    const QString text = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError())
        throw XmlPullReader::Damage(1, "Encountered incorrectly encoded content.");
    converted = text.toStdString();
    return converted;
}

} // namespace exchange
