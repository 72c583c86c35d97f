#include "PdfCompaction.h"

#include "PdfGlyphCharacters.h"
#include "PdfTextMap.h"

#include <QFile>
#include <QIODevice>
#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace engine {

namespace {

// The file is not of the shape compaction knows: it is copied as it is.
struct OtherShape {};

void require(bool shapeHolds)
{
    if (!shapeHolds)
        throw OtherShape{};
}

bool isWhite(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0'; }
bool isDelimiter(char c) { return c != '\0' && std::strchr("()<>[]{}/%", c) != nullptr; }
bool endsToken(std::string_view s, size_t at) { return at >= s.size() || isWhite(s[at]) || isDelimiter(s[at]); }

size_t skipWhite(std::string_view s, size_t at)
{
    while (at < s.size() && isWhite(s[at]))
        ++at;
    return at;
}

std::optional<uint64_t> unsignedNumber(std::string_view token)
{
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size() || token.empty())
        return std::nullopt;
    return value;
}

size_t tokenEnd(std::string_view s, size_t at)
{
    while (!endsToken(s, at))
        ++at;
    return at;
}

// Where a literal string that opens at `at` ends: parentheses nest, a
// backslash escapes the character after it.
size_t stringEnd(std::string_view s, size_t at)
{
    int depth = 0;
    for (size_t i = at; i < s.size(); ++i) {
        if (s[i] == '\\')
            ++i;
        else if (s[i] == '(')
            ++depth;
        else if (s[i] == ')' && --depth == 0)
            return i + 1;
    }
    throw OtherShape{};
}

size_t hexStringEnd(std::string_view s, size_t at)
{
    const size_t close = s.find('>', at);
    require(close != std::string_view::npos);
    return close + 1;
}

// After a number at [at, end): the end of "N 0 R" when the number opens a
// reference to generation 0, else nullopt.
std::optional<size_t> referenceEnd(std::string_view s, size_t end)
{
    size_t at = skipWhite(s, end);
    if (at == end || at >= s.size() || s[at] != '0' || !endsToken(s, at + 1))
        return std::nullopt;
    at = skipWhite(s, at + 1);
    if (at >= s.size() || s[at] != 'R' || !endsToken(s, at + 1))
        return std::nullopt;
    return at + 1;
}

// Where the one object that starts at or after `at` ends.
size_t objectEnd(std::string_view s, size_t at)
{
    at = skipWhite(s, at);
    require(at < s.size());
    if (s.substr(at, 2) == "<<") {
        for (size_t i = at + 2;;) {
            i = skipWhite(s, i);
            require(i < s.size());
            if (s.substr(i, 2) == ">>")
                return i + 2;
            i = objectEnd(s, i);
        }
    }
    switch (s[at]) {
    case '[':
        for (size_t i = at + 1;;) {
            i = skipWhite(s, i);
            require(i < s.size());
            if (s[i] == ']')
                return i + 1;
            i = objectEnd(s, i);
        }
    case '(':
        return stringEnd(s, at);
    case '<':
        return hexStringEnd(s, at);
    case '/':
        return tokenEnd(s, at + 1);
    default:
        break;
    }
    const size_t end = tokenEnd(s, at);
    require(end > at);
    if (unsignedNumber(s.substr(at, end - at)))
        if (const auto reference = referenceEnd(s, end))
            return *reference;
    return end;
}

std::string_view trimmed(std::string_view s)
{
    const size_t first = skipWhite(s, 0);
    size_t last = s.size();
    while (last > first && isWhite(s[last - 1]))
        --last;
    return s.substr(first, last - first);
}

using Entries = std::vector<std::pair<std::string_view, std::string_view>>;

// The key and value of each entry of a dictionary, in their order.
Entries dictionaryEntries(std::string_view dictionary)
{
    require(dictionary.substr(0, 2) == "<<");
    Entries entries;
    for (size_t at = 2;;) {
        at = skipWhite(dictionary, at);
        require(at < dictionary.size());
        if (dictionary.substr(at, 2) == ">>")
            return entries;
        require(dictionary[at] == '/');
        const size_t keyEnd = tokenEnd(dictionary, at + 1);
        const size_t valueStart = skipWhite(dictionary, keyEnd);
        const size_t valueEnd = objectEnd(dictionary, valueStart);
        entries.emplace_back(dictionary.substr(at, keyEnd - at), dictionary.substr(valueStart, valueEnd - valueStart));
        at = valueEnd;
    }
}

std::string_view valueOf(const Entries& entries, std::string_view key)
{
    for (const auto& [k, v] : entries)
        if (k == key)
            return v;
    return {};
}

std::string dictionaryText(const Entries& entries)
{
    std::string text = "<<\n";
    for (const auto& [key, value] : entries) {
        text += key;
        text += ' ';
        text += value;
        text += '\n';
    }
    text += ">>";
    return text;
}

// The object number a value "N 0 R" refers to.
std::optional<uint32_t> referenceIn(std::string_view value)
{
    const size_t end = tokenEnd(value, 0);
    const auto number = unsignedNumber(value.substr(0, end));
    if (!number || *number > UINT32_MAX || referenceEnd(value, end) != value.size())
        return std::nullopt;
    return static_cast<uint32_t>(*number);
}

// Calls `reference(number)` for each indirect reference in the text, outside
// strings, and writes the text with each reference's number replaced by what
// the call returns.
template <class Renumber>
std::string withReferences(std::string_view s, const Renumber& renumber)
{
    std::string out;
    out.reserve(s.size());
    for (size_t at = 0; at < s.size();) {
        const char c = s[at];
        size_t end = at + 1;
        if (s.substr(at, 2) == "<<" || s.substr(at, 2) == ">>") {
            end = at + 2;
        } else if (c == '(') {
            end = stringEnd(s, at);
        } else if (c == '<' && s.substr(at, 2) != "<<") {
            end = hexStringEnd(s, at);
        } else if (c == '/' || (!isWhite(c) && !isDelimiter(c))) {
            end = tokenEnd(s, c == '/' ? at + 1 : at);
            const auto number = unsignedNumber(s.substr(at, end - at));
            const auto reference = number ? referenceEnd(s, end) : std::nullopt;
            if (reference) {
                require(*number <= UINT32_MAX);
                out += std::to_string(renumber(static_cast<uint32_t>(*number)));
                out += " 0 R";
                at = *reference;
                continue;
            }
        }
        out.append(s.substr(at, end - at));
        at = end;
    }
    return out;
}

class Reader {
public:
    explicit Reader(QIODevice& in)
        : m_in(in)
        , m_size(in.size())
    {
    }
    qint64 size() const { return m_size; }
    std::string read(qint64 offset, qint64 length) const
    {
        require(offset >= 0 && length >= 0 && offset + length <= m_size);
        std::string bytes(static_cast<size_t>(length), '\0');
        if (!m_in.seek(offset) || m_in.read(bytes.data(), length) != length)
            throw std::runtime_error(m_in.errorString().toStdString());
        return bytes;
    }

private:
    QIODevice& m_in;
    qint64 m_size;
};

class Writer {
public:
    explicit Writer(QIODevice& out)
        : m_out(out)
    {
    }
    void put(std::string_view bytes)
    {
        m_buffer += bytes;
        m_written += static_cast<qint64>(bytes.size());
        if (m_buffer.size() >= (size_t{1} << 20))
            flush();
    }
    qint64 written() const { return m_written; }
    void flush()
    {
        if (!m_buffer.empty() && m_out.write(m_buffer.data(), static_cast<qint64>(m_buffer.size())) != static_cast<qint64>(m_buffer.size()))
            throw std::runtime_error(m_out.errorString().toStdString());
        m_buffer.clear();
    }

private:
    QIODevice& m_out;
    std::string m_buffer;
    qint64 m_written = 0;
};

struct PdfObject {
    uint32_t number = 0;
    qint64 offset = 0;
    qint64 end = 0;
    std::string body;         // the value, or a stream's dictionary
    qint64 dataOffset = -1;   // a stream's bytes in the file
    qint64 dataLength = 0;
    uint32_t lengthObject = 0; // a stream's length given by another object
    Entries entries;           // a dictionary's, viewing `body`
    bool dropped = false;
    uint32_t sameAs = 0;       // an earlier object of the same text
    uint32_t newNumber = 0;
    std::string text;          // as written: compacted, renumbered
    std::optional<std::string> data; // a stream's bytes written in place of the file's
};

struct Trailer {
    uint32_t root = 0;
    uint32_t info = 0;
};

struct Xref {
    qint64 offset = 0;
    std::vector<std::pair<uint32_t, qint64>> objects; // number, offset: objects in use
    Trailer trailer;
};

Xref readXref(const Reader& reader)
{
    const qint64 tailLength = std::min<qint64>(reader.size(), 1024);
    const std::string tail = reader.read(reader.size() - tailLength, tailLength);
    const size_t mark = tail.rfind("startxref");
    require(mark != std::string::npos);
    const size_t numberAt = skipWhite(tail, mark + 9);
    const auto offset = unsignedNumber(std::string_view(tail).substr(numberAt, tokenEnd(tail, numberAt) - numberAt));
    require(offset && static_cast<qint64>(*offset) < reader.size());
    Xref xref;
    xref.offset = static_cast<qint64>(*offset);
    const std::string table = reader.read(xref.offset, reader.size() - xref.offset);
    const std::string_view s(table);
    size_t at = skipWhite(s, 0);
    require(s.substr(at, 4) == "xref");
    at += 4;
    const auto token = [&] {
        at = skipWhite(s, at);
        const size_t end = tokenEnd(s, at);
        const std::string_view t = s.substr(at, end - at);
        at = end;
        return t;
    };
    for (std::string_view t = token(); t != "trailer"; t = token()) {
        const auto first = unsignedNumber(t);
        const auto count = unsignedNumber(token());
        require(first && count && *first + *count <= UINT32_MAX);
        for (uint64_t i = 0; i < *count; ++i) {
            const auto entryOffset = unsignedNumber(token());
            const auto generation = unsignedNumber(token());
            const std::string_view kind = token();
            require(entryOffset && generation && (kind == "n" || kind == "f"));
            if (kind == "n") {
                require(*generation == 0);
                xref.objects.emplace_back(static_cast<uint32_t>(*first + i), static_cast<qint64>(*entryOffset));
            }
        }
    }
    const size_t dictionaryStart = skipWhite(s, at);
    const Entries trailer = dictionaryEntries(s.substr(dictionaryStart, objectEnd(s, dictionaryStart) - dictionaryStart));
    for (const auto& [key, value] : trailer) {
        // An updated file, an encrypted one or one with an identity is not Qt's plain shape.
        require(key == "/Size" || key == "/Root" || key == "/Info");
        if (key == "/Root" || key == "/Info") {
            const auto reference = referenceIn(value);
            require(reference.has_value());
            (key == "/Root" ? xref.trailer.root : xref.trailer.info) = *reference;
        }
    }
    require(xref.trailer.root != 0 && !xref.objects.empty());
    return xref;
}

// Reads one object: its value (a dictionary's entries too), or a stream's
// dictionary and where its bytes lie.
void readObject(const Reader& reader, PdfObject& object)
{
    const std::string text = reader.read(object.offset, object.end - object.offset);
    const std::string_view s(text);
    size_t at = skipWhite(s, 0);
    size_t end = tokenEnd(s, at);
    require(unsignedNumber(s.substr(at, end - at)) == object.number);
    at = skipWhite(s, end);
    require(s.substr(at, 1) == "0" && endsToken(s, at + 1));
    at = skipWhite(s, at + 1);
    require(s.substr(at, 3) == "obj" && endsToken(s, at + 3));
    const size_t valueStart = skipWhite(s, at + 3);
    const size_t valueEnd = objectEnd(s, valueStart);
    object.body.assign(s.substr(valueStart, valueEnd - valueStart));
    if (object.body.substr(0, 2) == "<<")
        object.entries = dictionaryEntries(object.body);
    at = skipWhite(s, valueEnd);
    if (s.substr(at, 6) == "stream") {
        at += 6;
        if (s.substr(at, 2) == "\r\n")
            at += 2;
        else if (s.substr(at, 1) == "\n")
            ++at;
        else
            throw OtherShape{};
        object.dataOffset = object.offset + static_cast<qint64>(at);
        const std::string_view length = valueOf(object.entries, "/Length");
        if (const auto direct = unsignedNumber(length))
            object.dataLength = static_cast<qint64>(*direct);
        else if (const auto reference = referenceIn(length))
            object.lengthObject = *reference;
        else
            throw OtherShape{};
        return; // the stream's end is checked once its length is known
    }
    require(s.substr(at, 6) == "endobj" && trimmed(s.substr(at + 6)).empty());
}

// A stream's bytes are followed by the end of the stream and of its object, and nothing else.
void checkStreamEnd(const Reader& reader, const PdfObject& object)
{
    const qint64 after = object.dataOffset + object.dataLength;
    require(after <= object.end);
    const std::string rest = reader.read(after, object.end - after);
    const std::string_view s = trimmed(rest);
    require(s.substr(0, 9) == "endstream" && trimmed(s.substr(9)) == "endobj");
}

class Compaction {
public:
    Compaction(QIODevice& in, QIODevice& out)
        : m_reader(in)
        , m_out(out)
    {
    }

    void run()
    {
        const std::string header = m_reader.read(0, std::min<qint64>(m_reader.size(), 5));
        require(header == "%PDF-");
        m_xref = readXref(m_reader);
        readObjects();
        inlineLengths();
        mendTextMaps();
        dropEmptyAnnotations();
        sayPaperSizeOnce();
        shareSameObjects();
        numberKeptObjects();
        for (PdfObject& object : m_objects)
            if (!object.dropped && object.sameAs == 0)
                object.text = renumbered(object);
        write(); // nothing is written before the whole file is known to be of its shape
    }

private:
    void readObjects()
    {
        std::sort(m_xref.objects.begin(), m_xref.objects.end(),
                  [](const auto& a, const auto& b) { return a.second < b.second; });
        m_objects.resize(m_xref.objects.size());
        for (size_t i = 0; i < m_objects.size(); ++i) {
            PdfObject& object = m_objects[i];
            object.number = m_xref.objects[i].first;
            object.offset = m_xref.objects[i].second;
            object.end = i + 1 < m_objects.size() ? m_xref.objects[i + 1].second : m_xref.offset;
            require(object.end > object.offset && m_byNumber.emplace(object.number, i).second);
            readObject(m_reader, object);
        }
        for (const PdfObject& object : m_objects)
            withReferences(object.body, [&](uint32_t number) { return ++m_references[number]; });
    }

    PdfObject* find(uint32_t number)
    {
        const auto it = m_byNumber.find(number);
        return it == m_byNumber.end() ? nullptr : &m_objects[it->second];
    }

    bool referencedOnce(uint32_t number) const
    {
        const auto it = m_references.find(number);
        return it != m_references.end() && it->second == 1 && number != m_xref.trailer.root && number != m_xref.trailer.info;
    }

    static bool hasType(const PdfObject& object, std::string_view type) { return valueOf(object.entries, "/Type") == type; }

    // A stream whose length is another object's gets the number itself.
    void inlineLengths()
    {
        for (PdfObject& stream : m_objects) {
            if (stream.dataOffset < 0)
                continue;
            if (stream.lengthObject != 0) {
                PdfObject* length = find(stream.lengthObject);
                require(length && length->dataOffset < 0);
                const auto value = unsignedNumber(length->body);
                require(value.has_value());
                stream.dataLength = static_cast<qint64>(*value);
                if (referencedOnce(length->number))
                    length->dropped = true;
            }
            checkStreamEnd(m_reader, stream);
            for (auto& [key, value] : stream.entries)
                if (key == "/Length")
                    value = m_texts.emplace_back(std::to_string(stream.dataLength));
        }
    }

    // The fonts' maps from glyphs to characters say what the text was (see PdfTextMap.h).
    void mendTextMaps()
    {
        for (const PdfObject& font : m_objects) {
            const auto reference = referenceIn(valueOf(font.entries, "/ToUnicode"));
            PdfObject* map = reference ? find(*reference) : nullptr;
            if (!map || map->dataOffset < 0 || map->data)
                continue;
            const std::string_view filter = valueOf(map->entries, "/Filter");
            if (!filter.empty() && filter != "/FlateDecode")
                continue;
            const std::string stored = m_reader.read(map->dataOffset, map->dataLength);
            std::optional<PdfGlyphCharacters> characters;
            const auto unmapped = [&](uint32_t glyph) {
                if (!characters)
                    characters.emplace(fontProgramOf(font));
                return characters->characterOf(glyph);
            };
            const std::optional<std::string> mended =
                mendedTextMap(filter.empty() ? stored : inflated(stored), glyphCountOf(font), unmapped);
            if (!mended)
                continue;
            map->data = filter.empty() ? *mended : deflated(*mended);
            for (auto& [key, value] : map->entries)
                if (key == "/Length")
                    value = m_texts.emplace_back(std::to_string(map->data->size()));
        }
    }

    // A Type 0 font's one descendant, which has its widths and its descriptor.
    PdfObject* descendantOf(const PdfObject& font)
    {
        const std::string_view list = valueOf(font.entries, "/DescendantFonts");
        if (list.size() < 2 || list.front() != '[')
            return nullptr;
        const auto reference = referenceIn(trimmed(list.substr(1, list.size() - 2)));
        return reference ? find(*reference) : nullptr;
    }

    // The number of glyphs, as the widths Qt writes for every one of them say
    // ("/W [0 [w0 w1 ...]]"); 0 where they say otherwise.
    uint32_t glyphCountOf(const PdfObject& font)
    {
        const PdfObject* descendant = descendantOf(font);
        const std::string_view widths = descendant ? valueOf(descendant->entries, "/W") : std::string_view();
        const size_t inner = widths.find('[', 1);
        if (widths.empty() || inner == std::string_view::npos || trimmed(widths.substr(1, inner - 1)) != "0")
            return 0;
        uint32_t count = 0;
        for (size_t at = skipWhite(widths, inner + 1); at < widths.size() && widths[at] != ']';
             at = skipWhite(widths, tokenEnd(widths, at)))
            ++count;
        return count;
    }

    // A Type 0 font's embedded TrueType program, empty where it has none.
    QByteArray fontProgramOf(const PdfObject& font)
    {
        const PdfObject* descendant = descendantOf(font);
        const auto descriptorNumber = descendant ? referenceIn(valueOf(descendant->entries, "/FontDescriptor")) : std::nullopt;
        const PdfObject* descriptor = descriptorNumber ? find(*descriptorNumber) : nullptr;
        const auto programNumber = descriptor ? referenceIn(valueOf(descriptor->entries, "/FontFile2")) : std::nullopt;
        const PdfObject* program = programNumber ? find(*programNumber) : nullptr;
        if (!program || program->dataOffset < 0)
            return {};
        const std::string stored = m_reader.read(program->dataOffset, program->dataLength);
        const std::string_view filter = valueOf(program->entries, "/Filter");
        if (!filter.empty() && filter != "/FlateDecode")
            return {};
        return QByteArray::fromStdString(filter.empty() ? stored : inflated(stored));
    }

    // A zlib stream (FlateDecode) and back, through Qt's zlib, whose own form
    // puts the length of the whole before the stream.
    static std::string inflated(const std::string& stream)
    {
        QByteArray framed(4, '\0');
        const uint32_t guess = static_cast<uint32_t>(std::min<size_t>(stream.size() * 8, 1u << 24));
        for (int i = 0; i < 4; ++i)
            framed[i] = static_cast<char>(guess >> (24 - 8 * i));
        framed.append(stream.data(), static_cast<qsizetype>(stream.size()));
        const QByteArray whole = qUncompress(framed);
        require(!whole.isEmpty());
        return whole.toStdString();
    }
    static std::string deflated(const std::string& text)
    {
        const QByteArray framed = qCompress(QByteArray::fromStdString(text), 9);
        return framed.sliced(4).toStdString();
    }

    // A page's empty list of annotations says nothing.
    void dropEmptyAnnotations()
    {
        for (PdfObject& page : m_objects) {
            if (!hasType(page, "/Page"))
                continue;
            const auto reference = referenceIn(valueOf(page.entries, "/Annots"));
            PdfObject* annotations = reference ? find(*reference) : nullptr;
            if (!annotations || annotations->dataOffset >= 0 || !referencedOnce(annotations->number))
                continue;
            const std::string_view list = annotations->body;
            if (list.front() != '[' || !trimmed(list.substr(1, list.size() - 2)).empty())
                continue;
            annotations->dropped = true;
            std::erase_if(page.entries, [](const auto& entry) { return entry.first == "/Annots"; });
        }
    }

    // Pages of one size inherit it from the one page tree node they hang from.
    void sayPaperSizeOnce()
    {
        PdfObject* tree = nullptr;
        std::string_view paper;
        for (PdfObject& object : m_objects) {
            if (hasType(object, "/Pages")) {
                if (tree || !valueOf(object.entries, "/MediaBox").empty())
                    return;
                tree = &object;
            }
        }
        std::vector<PdfObject*> pages;
        for (PdfObject& object : m_objects) {
            if (!hasType(object, "/Page"))
                continue;
            const std::string_view box = valueOf(object.entries, "/MediaBox");
            const auto parent = referenceIn(valueOf(object.entries, "/Parent"));
            if (!tree || box.empty() || (!paper.empty() && box != paper) || !parent || *parent != tree->number)
                return;
            paper = box;
            pages.push_back(&object);
        }
        if (pages.empty())
            return;
        tree->entries.insert(tree->entries.begin() + 1, {std::string_view("/MediaBox"), paper});
        for (PdfObject* page : pages)
            std::erase_if(page->entries, [](const auto& entry) { return entry.first == "/MediaBox"; });
    }

    // Objects of the same text (the resource dictionary each page repeats) are one.
    void shareSameObjects()
    {
        std::unordered_map<std::string_view, uint32_t> firstOfText;
        for (PdfObject& object : m_objects) {
            if (object.dropped || object.dataOffset >= 0 || hasType(object, "/Page") || hasType(object, "/Pages")
                || object.number == m_xref.trailer.root || object.number == m_xref.trailer.info)
                continue;
            const auto [first, added] = firstOfText.emplace(object.body, object.number);
            if (!added)
                object.sameAs = first->second;
        }
    }

    void numberKeptObjects()
    {
        uint32_t next = 1;
        for (PdfObject& object : m_objects)
            if (!object.dropped && object.sameAs == 0)
                object.newNumber = next++;
        m_count = next;
    }

    uint32_t newNumberOf(uint32_t number)
    {
        PdfObject* object = find(number);
        if (object && object->sameAs != 0)
            object = find(object->sameAs);
        // A reference to a missing object stays one ("null"); number 0 is free.
        return object && !object->dropped ? object->newNumber : 0;
    }

    std::string renumbered(const PdfObject& object)
    {
        const std::string text = object.entries.empty() ? object.body : dictionaryText(object.entries);
        return withReferences(text, [&](uint32_t number) { return newNumberOf(number); });
    }

    void write()
    {
        Writer out(m_out);
        out.put(m_reader.read(0, m_objects.front().offset));
        std::vector<qint64> offsets(m_count, 0);
        for (const PdfObject& object : m_objects) {
            if (object.dropped || object.sameAs != 0)
                continue;
            offsets[object.newNumber] = out.written();
            out.put(std::to_string(object.newNumber) + " 0 obj\n");
            out.put(object.text);
            if (object.data) {
                out.put("\nstream\n");
                out.put(*object.data);
                out.put("\nendstream");
            } else if (object.dataOffset >= 0) {
                out.put("\nstream\n");
                for (qint64 at = 0; at < object.dataLength; at += qint64{1} << 20) {
                    const qint64 piece = std::min(object.dataLength - at, qint64{1} << 20);
                    out.put(m_reader.read(object.dataOffset + at, piece));
                }
                out.put("\nendstream");
            }
            out.put("\nendobj\n");
        }
        const qint64 xrefAt = out.written();
        std::string table = "xref\n0 " + std::to_string(m_count) + "\n0000000000 65535 f \n";
        char entry[32];
        for (uint32_t n = 1; n < m_count; ++n) {
            std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(offsets[n]));
            table += entry;
        }
        table += "trailer\n<<\n/Size " + std::to_string(m_count) + "\n";
        if (m_xref.trailer.info != 0)
            table += "/Info " + std::to_string(newNumberOf(m_xref.trailer.info)) + " 0 R\n";
        table += "/Root " + std::to_string(newNumberOf(m_xref.trailer.root)) + " 0 R\n>>\nstartxref\n"
            + std::to_string(xrefAt) + "\n%%EOF\n";
        out.put(table);
        out.flush();
    }

    Reader m_reader;
    QIODevice& m_out;
    Xref m_xref;
    std::vector<PdfObject> m_objects; // in the file's order
    std::unordered_map<uint32_t, size_t> m_byNumber;
    std::unordered_map<uint32_t, uint32_t> m_references;
    std::deque<std::string> m_texts; // values written in place of others (kept where they are)
    uint32_t m_count = 0;             // the new numbers are below it
};

void copyAll(QIODevice& in, QIODevice& out)
{
    Writer writer(out);
    const Reader reader(in);
    for (qint64 at = 0; at < reader.size(); at += qint64{1} << 20)
        writer.put(reader.read(at, std::min(reader.size() - at, qint64{1} << 20)));
    writer.flush();
}

} // namespace

PdfCompaction compactPdf(QIODevice& in, QIODevice& out)
{
    try {
        Compaction(in, out).run();
        return PdfCompaction::Compacted;
    } catch (const OtherShape&) {
        copyAll(in, out);
        return PdfCompaction::Unchanged;
    }
}

void compactPdfFile(const QString& path)
{
    QFile in(path);
    QSaveFile out(path);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return;
    try {
        if (compactPdf(in, out) == PdfCompaction::Compacted)
            out.commit();
        else
            out.cancelWriting();
    } catch (const std::runtime_error&) {
        out.cancelWriting();
    }
}

} // namespace engine
