#pragma once

// The characters of the glyphs a PDF's font subset holds, where the font's
// own map leaves them out: Qt's PDF writer maps glyphs back to characters of
// the Basic Multilingual Plane only, so an emoji or a CJK ideograph of the
// planes beyond comes out of the file as nothing. Each such glyph's outline
// is looked for among the installed font's characters beyond that plane.

#include <QByteArray>
#include <QRawFont>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

namespace engine {

class PdfGlyphCharacters {
public:
    // program: the subset's TrueType font program as embedded (FontFile2).
    explicit PdfGlyphCharacters(const QByteArray& program);
    // The character the subset's glyph draws, "" when it is not found.
    QString characterOf(uint32_t glyph);

private:
    using Shape = std::pair<int, uint64_t>; // the outline's element count and the kinds of its elements
    void findCandidates();

    QRawFont m_subset;
    QRawFont m_installed;
    std::optional<std::multimap<Shape, char32_t>> m_candidates;
};

} // namespace engine
