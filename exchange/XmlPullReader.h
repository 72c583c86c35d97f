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

    // The document's bytes stay the caller's and must outlive the reader.
    // A document in another encoding than UTF-8 is converted first
    // (utf8Document below).
    explicit XmlPullReader(std::string_view document);

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
    // The text of the current element and of all its children, read to its end.
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

    std::string_view m_doc;
    size_t m_at = 0;
    size_t m_badAt; // the first byte that is no character of a document
    std::vector<std::string_view> m_open; // the elements open, outermost first
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

} // namespace exchange
