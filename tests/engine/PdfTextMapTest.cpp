// The mending of a PDF font's map from glyphs to characters: what Qt's PDF
// writer maps to a radical or a presentation form becomes the character the
// text had, glyphs it leaves out are asked for, and the rest stays as it was.
#include "PdfTextMap.h"

#include <gtest/gtest.h>

using engine::mendedTextMap;

namespace {

// A map in the shape Qt writes, around the given entries.
std::string mapWith(const std::string& blocks)
{
    return "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
           "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n1 begincodespacerange\n<0000> <FFFF>\n"
           "endcodespacerange\n"
           + blocks + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

} // namespace

TEST(PdfTextMap, RadicalsBecomeIdeographsAndPresentationFormsLetters)
{
    const std::string map = mapWith("3 beginbfrange\n<0000> <0000> <0000>\n"
                                    "<0001> <0003> [<2F47> <2EF0> <0041>]\n"
                                    "<0004> <0005> <FEFB>\nendbfrange\n"
                                    "1 beginbfchar\n<0006> <FE8D>\nendbfchar\n");
    const auto mended = mendedTextMap(map);
    ASSERT_TRUE(mended.has_value());
    EXPECT_EQ(*mended, mapWith("7 beginbfchar\n<0000> <0000>\n<0001> <65E5>\n<0002> <9F99>\n<0003> <0041>\n"
                               "<0004> <06440627>\n<0005> <06440627>\n<0006> <0627>\nendbfchar\n"))
        << "日, 龙, A, the lam-alef ligature (isolated and final) as its two letters, alef";
}

TEST(PdfTextMap, GlyphsTheMapLeavesOutAreAskedForAndTheRestIsLeftAlone)
{
    const std::string map = mapWith("2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0002> <0049>\nendbfrange\n");
    EXPECT_FALSE(mendedTextMap(map).has_value()) << "nothing to mend";
    std::vector<uint32_t> asked;
    const auto mended = mendedTextMap(map, 5, [&](uint32_t glyph) {
        asked.push_back(glyph);
        return glyph == 3 ? QString::fromUcs4(U"\U0001F3AC") : QString();
    });
    EXPECT_EQ(asked, (std::vector<uint32_t>{3, 4}));
    ASSERT_TRUE(mended.has_value());
    EXPECT_EQ(*mended, mapWith("4 beginbfchar\n<0000> <0000>\n<0001> <0049>\n<0002> <004A>\n<0003> <D83CDFAC>\n"
                               "endbfchar\n"));
}

TEST(PdfTextMap, AMapOfAnotherShapeIsLeftAlone)
{
    for (const std::string& odd : {std::string("not a map at all"), mapWith("1 beginbfrange\n<0001> <0000> <2F47>\nendbfrange\n"),
                                   mapWith("1 beginbfchar\n<0001> <2F4>\nendbfchar\n"),
                                   mapWith("1 beginbfrange\n<0001> <0002> [<2F47>\nendbfrange\n")})
        EXPECT_FALSE(mendedTextMap(odd).has_value()) << odd;
}
