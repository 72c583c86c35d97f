#include "PdfGlyphCharacters.h"

#include <QFont>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace engine {

namespace {

// Outlines are compared unhinted at a thousand pixels to the em, where a
// glyph copied into a subset has the points it has in the installed font but
// for the subset's rounding.
constexpr double kPixelSize = 1000;

QPainterPath outline(const QRawFont& font, uint32_t glyph) { return font.pathForGlyph(static_cast<quint32>(glyph)); }

// The kinds of an outline's elements in their order: the same in a subset,
// whose writer rounds the points to the font's units.
uint64_t digest(const QPainterPath& path)
{
    uint64_t sum = 0;
    for (int i = 0; i < path.elementCount(); ++i)
        sum = sum * 5 + static_cast<uint64_t>(path.elementAt(i).type);
    return sum;
}

// How far apart two outlines of the same kinds of elements are: their
// furthest pair of points, in pixels at the font's scale.
double distance(const QPainterPath& a, const QPainterPath& b)
{
    double furthest = 0;
    for (int i = 0; i < a.elementCount(); ++i) {
        const QPainterPath::Element p = a.elementAt(i), q = b.elementAt(i);
        furthest = std::max({furthest, std::abs(p.x - q.x), std::abs(p.y - q.y)});
    }
    return furthest;
}

} // namespace

PdfGlyphCharacters::PdfGlyphCharacters(const QByteArray& program)
    : m_subset(program, kPixelSize, QFont::PreferNoHinting)
{
    if (!m_subset.isValid())
        return;
    QFont font(m_subset.familyName());
    font.setStyleName(m_subset.styleName());
    font.setPixelSize(static_cast<int>(kPixelSize));
    font.setHintingPreference(QFont::PreferNoHinting);
    m_installed = QRawFont::fromFont(font);
}

void PdfGlyphCharacters::findCandidates()
{
    m_candidates.emplace();
    if (!m_installed.isValid() || m_installed.familyName() != m_subset.familyName())
        return;
    // The planes beyond the first that fonts cover: emoji, symbols and
    // historic scripts (1), rarer CJK ideographs (2 and 3).
    for (char32_t code = 0x10000; code < 0x40000; ++code) {
        if (!m_installed.supportsCharacter(static_cast<uint>(code)))
            continue;
        const QList<quint32> glyphs = m_installed.glyphIndexesForString(QString::fromUcs4(&code, 1));
        if (glyphs.size() != 1 || glyphs[0] == 0)
            continue;
        const QPainterPath path = outline(m_installed, glyphs[0]);
        m_candidates->emplace(Shape{path.elementCount(), digest(path)}, code);
    }
}

QString PdfGlyphCharacters::characterOf(uint32_t glyph)
{
    if (!m_subset.isValid())
        return {};
    if (!m_candidates)
        findCandidates();
    const QPainterPath path = outline(m_subset, glyph);
    if (path.isEmpty())
        return {};
    // The subset's writer rounds the points to the font's units (a few
    // thousandths of the em apart): the nearest outline within that is the one.
    constexpr double kRounding = 4;
    const auto [first, last] = m_candidates->equal_range(Shape{path.elementCount(), digest(path)});
    double nearest = kRounding;
    QString found;
    for (auto it = first; it != last; ++it) {
        const char32_t code = it->second;
        const QList<quint32> glyphs = m_installed.glyphIndexesForString(QString::fromUcs4(&code, 1));
        if (glyphs.size() != 1)
            continue;
        const double apart = distance(outline(m_installed, glyphs[0]), path);
        if (apart <= nearest) {
            nearest = apart;
            found = QString::fromUcs4(&code, 1);
        }
    }
    return found;
}

} // namespace engine
