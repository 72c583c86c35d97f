#pragma once

// A small pull reader for the XML of catalogue files, many times faster than
// Qt's stream reader on a large GCstar collection: it reads UTF-8 text held
// in memory and hands out names, attributes and texts as views into it,
// copying only where a reference (&amp;, &#233;) has to be decoded.
//
// It checks what makes a document well formed (tags that nest and match,
// quoted attributes without repeats, known references, one root, legal
// characters and UTF-8) and reports the first fault with its line. It does
// not read document type definitions: their entities are unknown to it, as
// to Qt's reader.

#include <cstdint>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace exchange {

class XmlPullReader {
public:
    enum class Token { StartElement, EndElement, Text, End };

    struct Damage : std::runtime_error {
        Damage(int line, const std::string& what)
            : std::runtime_error(what)
            , line(line)
        {
        }
        int line;
    };

    // Where a document too large to hold comes from: its UTF-8 bytes, a piece
    // at a time (it may throw Damage or db::DbError).
    class Source {
    public:
        virtual ~Source() = default;
        // Writes the next bytes of the document into the room given (at
        // most room of them, perhaps none) and says how many.
        virtual size_t readMore(char* into, size_t room) = 0;
        // Whether the document has been given whole.
        virtual bool ended() const = 0;
    };

    // The document's bytes stay the caller's and must outlive the reader.
    // A document in another encoding than UTF-8 is converted first
    // (utf8Document below).
    explicit XmlPullReader(std::string_view document);
    // A document read from the source as it goes: the reader holds the
    // token it reads and kLookahead bytes after it, so that its memory does
    // not grow with the document, and keeps values short: a run of text or
    // an attribute value keeps its first kMaxValueBytes bytes, and a run of
    // blanks inside one its first kMaxBlankRun, the rest being dropped
    // unread (never inside a character or a reference). A collection field
    // holds 255 characters: what is dropped could never be stored, and a
    // 400 MB plot costs no memory. A tag, a comment or a declaration longer
    // than kLookahead is damage. The source must outlive the reader.
    explicit XmlPullReader(Source& source);

    static constexpr size_t kLookahead = size_t{8} << 20;
    static constexpr size_t kMaxValueBytes = size_t{16} << 10;
    static constexpr size_t kMaxBlankRun = 256;
    static constexpr size_t kReadPiece = size_t{1} << 20;
    static constexpr size_t kWindow = 2 * kLookahead + kReadPiece;
    static constexpr size_t kMaxDepth = 1024;         // elements open at once
    static constexpr size_t kMaxElementText = size_t{64} << 10; // what elementText() keeps

    // The next token; Damage when the document is not well formed.
    Token next();

    // The element of a StartElement or EndElement token.
    std::string_view name() const { return m_name; }
    // The attribute of the current StartElement ("" when it has none of that name).
    std::string_view attribute(std::string_view name) const;
    bool hasAttribute(std::string_view name) const;
    // The characters of a Text token: a run of text, CDATA and references.
    std::string_view text() const { return m_text; }

    // Moves to the next child element of the current element; false at the
    // current element's end (which is then the current token).
    bool nextChildElement();
    // The text of the current element and of all its children, read to its
    // end (its first kMaxElementText bytes).
    std::string elementText();
    // Reads past the end of the current element.
    void skipElement();

    // The line of the current position (counted on demand, for messages).
    int line() const;

private:
    struct Attribute {
        std::string_view name;
        std::string_view value;
    };

    [[noreturn]] void fail(const std::string& what) const;
    [[noreturn]] void failAt(size_t at, const std::string& what) const;
    int lineAt(size_t at) const;
    // Keeps kLookahead bytes (or the rest of the document) after the current
    // place, dropping what lies before it.
    void fill()
    {
        if (!m_ended && m_doc.size() - m_at < kLookahead)
            readMore();
    }
    void readMore();
    // Where the run of text or the attribute value from start, ending at
    // terminator, is longer than a value is kept: keeps what a value keeps of
    // it and drops the rest, reading on from the source as far as the run
    // goes; gives where the run now starts. Only for a document read from a source.
    size_t shortenRun(size_t start, char terminator);
    // Finds the first byte no document may hold in what was read since the last look.
    void checkNewBytes();
    Token nextToken();
    void skipMarkup(); // a comment, a processing instruction or the DOCTYPE
    void readDeclaration();
    std::string_view readName();
    void readStartTag();
    void readEndTag();
    void readText();
    // The characters of [from, to) with their references decoded and their
    // line ends made plain: a view of the document when there is nothing to
    // decode, else appended to out (and a view of out).
    std::string_view decode(size_t from, size_t to, bool attribute, std::string& out);
    // Appends the reference at raw[i] ('&') and gives the place of its ';'.
    size_t appendReference(std::string_view raw, size_t i, size_t from, std::string& out);
    void skipSpaces();
    bool startsWith(std::string_view prefix) const { return m_doc.substr(m_at, prefix.size()) == prefix; }

    std::string_view m_doc; // the document, or the part of it read and not yet dropped
    size_t m_at = 0;
    size_t m_badAt = std::string_view::npos; // the first byte that is no character of a document
    Source* m_source = nullptr;
    std::unique_ptr<char[]> m_window; // what was read from the source and not yet dropped
    size_t m_windowSize = 0;
    bool m_ended = true;        // the whole document is in m_doc
    size_t m_checkedUpTo = 0;   // bytes of m_doc checked for characters no document may hold
    uint64_t m_linesBefore = 0; // line breaks in what was dropped
    std::vector<std::string> m_open; // the elements open, outermost first
    bool m_rootSeen = false;
    bool m_pendingEnd = false; // an empty element's end, still to come
    std::string_view m_name;
    std::string_view m_text;
    std::vector<Attribute> m_attributes;
    std::string m_joinedText;
    std::deque<std::string> m_decoded; // room for decoded attribute values, which keeps its place as it grows
};

// The document as UTF-8: as it is when it is UTF-8 (a byte order mark
// dropped), converted when its declaration or byte order mark names another
// encoding Qt knows. Damage for an encoding nobody knows or bytes that are
// not valid UTF-8 where UTF-8 is said.
std::string_view utf8Document(std::string_view bytes, std::string& converted);
// The encoding a document's start (its byte order mark or declaration) names,
// when it is another than UTF-8 (or ASCII, which UTF-8 reads): "" for UTF-8.
std::string documentEncoding(std::string_view start);

} // namespace exchange
