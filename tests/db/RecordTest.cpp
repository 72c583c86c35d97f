// Character fields read without their padding wherever they sit in the record
// and whatever their width: the search for the last character looks at
// several bytes at once and must never look outside the record.
#include "Record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace db;

namespace {

// A record of the given character fields (widths), filled from values padded with pad.
struct Built {
    std::vector<FieldDef> fields;
    std::string bytes;
};

Built build(const std::vector<std::pair<int, std::string>>& values, char pad = ' ')
{
    Built b;
    b.bytes = " "; // the deletion flag
    for (const auto& [width, value] : values) {
        FieldDef f;
        f.name = "F" + std::to_string(b.fields.size());
        f.type = 'C';
        f.width = width;
        f.offset = static_cast<int>(b.bytes.size());
        b.fields.push_back(f);
        std::string stored = value;
        stored.resize(static_cast<size_t>(width), pad);
        b.bytes += stored;
    }
    return b;
}

std::vector<std::string> textsOf(const Built& b)
{
    // A copy of exactly the record's bytes, so that a read past its end is caught by the sanitizers.
    std::vector<char> exact(b.bytes.begin(), b.bytes.end());
    const Record record(&b.fields, exact.data());
    std::vector<std::string> texts;
    std::string scratch;
    for (int i = 0; i < static_cast<int>(b.fields.size()); ++i) {
        texts.emplace_back(record.textView(i, scratch));
        EXPECT_EQ(texts.back(), record.text(i)) << "field " << i;
    }
    return texts;
}

} // namespace

TEST(Record, CharacterFieldsOfEveryWidthLoseOnlyTheirPadding)
{
    const std::vector<std::pair<int, std::string>> values{
        {5, "PG"},          // short, at the start: looks forward
        {1, ""},            // one byte, empty
        {16, "exactly sixteen!"},
        {17, "a"},
        {64, std::string(63, 'x') + " "},
        {65, "x"},          // the blocks of 64 leave one byte
        {70, "ab"},         // and here six, read from the field's start
        {130, std::string(129, 'y')},
        {254, ""},
        {40, "  leading blanks stay"},
        {3, "end"},         // short, at the end: looks backward
    };
    const auto texts = textsOf(build(values));
    ASSERT_EQ(texts.size(), values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        std::string expected = values[i].second;
        while (!expected.empty() && expected.back() == ' ')
            expected.pop_back();
        EXPECT_EQ(texts[i], expected) << "field " << i;
    }
}

TEST(Record, NulPaddingIsPaddingToo)
{
    const auto texts = textsOf(build({{10, "Casablanca"}, {20, "Bogart"}, {4, "x"}}, '\0'));
    EXPECT_EQ(texts, (std::vector<std::string>{"Casablanca", "Bogart", "x"}));
}

TEST(Record, AShortRecordIsReadByteByByte)
{
    // Too short for any 16-byte look either way.
    const auto texts = textsOf(build({{3, "ab"}, {4, "cd"}, {2, ""}}));
    EXPECT_EQ(texts, (std::vector<std::string>{"ab", "cd", ""}));
}

TEST(Record, NumbersPaddedWithNulsOnEitherSideReadAsTheirValue)
{
    // Some writers fill a number field with NULs instead of blanks.
    std::vector<FieldDef> fields{{"YEAR", 'N', 6, 0, 1}, {"PRICE", 'N', 8, 2, 7}};
    const std::string bytes = std::string(" \0\0" "1984\0\0" "12.50\0", 15);
    const Record record(&fields, bytes.data());
    EXPECT_EQ(record.text(0), "1984");
    EXPECT_EQ(record.number(0), 1984.0);
    EXPECT_EQ(record.text(1), "12.5");
    EXPECT_FALSE(record.isEmpty(1));
}
