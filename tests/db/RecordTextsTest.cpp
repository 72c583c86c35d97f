// The whole-record reader gives every field exactly the text the record gives
// field by field, for any bytes: realistic values, padding of blanks or NULs,
// and garbage, in every field kind and width, whichever vector instructions
// measure the fields.
#include "EditText.h"
#include "Record.h"
#include "RecordTexts.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace db;

namespace {

std::vector<FieldDef> layout(const std::vector<FieldDef>& kinds)
{
    std::vector<FieldDef> fields = kinds;
    int offset = 1; // after the deletion flag
    for (FieldDef& f : fields) {
        f.offset = offset;
        offset += f.width;
    }
    return fields;
}

// Every kind, widths on both sides of the mask's 57-byte pieces and of the
// 16- and 32-byte loads, fields at the very start and the very end.
std::vector<FieldDef> everyKind()
{
    return layout({{"A", 'C', 3}, {"B", 'N', 11}, {"C", 'C', 57}, {"D", 'C', 58}, {"E", 'F', 20, 4},
                   {"F", 'D', 8}, {"G", 'C', 1}, {"H", 'C', 114}, {"I", 'C', 115}, {"J", 'N', 20, 2},
                   {"K", 'L', 1}, {"L", 'C', 254}, {"M", 'N', 60}, {"N", 'C', 16}, {"O", 'N', 5},
                   {"P", 'F', 20, 0}, {"Q", 'D', 8}, {"R", 'C', 31}, {"S", 'C', 2}});
}

class Filler {
public:
    explicit Filler(unsigned seed)
        : m_random(seed)
    {
    }

    std::string record(const std::vector<FieldDef>& fields, size_t length)
    {
        std::string bytes(length, ' ');
        bytes[0] = pick(4) == 0 ? '*' : ' ';
        for (const FieldDef& f : fields)
            fill(bytes, f);
        return bytes;
    }

private:
    size_t pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(m_random); }

    char padding() { return pick(5) == 0 ? '\0' : ' '; }

    char garbage()
    {
        static const std::string alphabet = " \0\0 0123456789-.,+eEaZ\"*\xe9\x1a";
        return alphabet[pick(alphabet.size())];
    }

    void fill(std::string& bytes, const FieldDef& f)
    {
        const auto width = static_cast<size_t>(f.width);
        std::string value;
        switch (pick(3) == 0 ? 'X' : f.type) {
        case 'C':
            for (size_t n = pick(width + 1); value.size() < n;)
                value += pick(6) == 0 ? ' ' : static_cast<char>('a' + pick(26));
            value.resize(width, padding());
            break;
        case 'N':
        case 'F': {
            std::string digits = std::to_string(pick(2) ? pick(100000) : pick(20));
            if (f.decimals > 0 || pick(4) == 0)
                digits += "." + std::string(static_cast<size_t>(std::max(f.decimals, 1)), static_cast<char>('0' + pick(10)));
            if (pick(4) == 0)
                digits = "-" + digits;
            if (pick(10) == 0)
                digits = "0" + digits;
            digits = digits.substr(0, width);
            value = std::string(width - digits.size(), padding()) + digits;
            break;
        }
        case 'D': {
            const char* dates[] = {"19991231", "20000229", "20230229", "20231341", "        ", "1947010", "00000000"};
            value = dates[pick(std::size(dates))];
            value.resize(width, ' ');
            break;
        }
        default:
            for (size_t i = 0; i < width; ++i)
                value += garbage();
        }
        bytes.replace(static_cast<size_t>(f.offset), width, value);
    }

    std::mt19937 m_random;
};

void expectSameTexts(const std::vector<FieldDef>& fields, RecordTexts::Instructions instructions, unsigned seed)
{
    const size_t length = static_cast<size_t>(fields.back().offset + fields.back().width);
    Filler filler(seed);
    RecordTexts reader(fields, instructions);
    for (int n = 0; n < 3000; ++n) {
        const std::string made = filler.record(fields, length);
        // Exactly the record's bytes, so that the sanitizers catch a read past either end.
        const std::vector<char> exact(made.begin(), made.end());
        const auto& texts = reader.read(exact.data());
        const Record record(&fields, exact.data());
        ASSERT_EQ(texts.size(), fields.size());
        for (size_t i = 0; i < fields.size(); ++i)
            ASSERT_EQ(texts[i], record.text(static_cast<int>(i)))
                << "record " << n << ", field " << fields[i].name << ", stored \""
                << std::string(exact.data() + fields[i].offset, static_cast<size_t>(fields[i].width)) << "\"";
    }
}

class RecordTextsTest : public ::testing::TestWithParam<RecordTexts::Instructions> {
protected:
    void TearDown() override { setEditTextFormat({}); }
};

} // namespace

TEST_P(RecordTextsTest, EveryFieldReadsAsTheRecordReadsIt)
{
    expectSameTexts(everyKind(), GetParam(), 1);
}

TEST_P(RecordTextsTest, TheFormatInForceWhenTheReaderIsMadeWritesDatesAndDecimals)
{
    setEditTextFormat({'.', "dd/mm/yyyy", ','});
    expectSameTexts(everyKind(), GetParam(), 2);
    RecordTexts reader(layout({{"D", 'D', 8}, {"P", 'F', 12, 3}, {"T", 'C', 10}}), GetParam());
    const std::string bytes = " 19990704      12.500Casablanc ";
    const auto& texts = reader.read(bytes.data());
    EXPECT_EQ(texts[0], "04.07.1999");
    EXPECT_EQ(texts[1], "12,5");
    EXPECT_EQ(texts[2], "Casablanc");
}

TEST_P(RecordTextsTest, NarrowRecordsAndOneFieldRecordsReadToo)
{
    expectSameTexts(layout({{"A", 'C', 3}, {"B", 'N', 4}, {"C", 'D', 8}}), GetParam(), 3); // 16 bytes
    expectSameTexts(layout({{"A", 'C', 5}, {"B", 'N', 3}}), GetParam(), 4);                // too short to mask
    expectSameTexts(layout({{"A", 'C', 200}}), GetParam(), 5);
    expectSameTexts(layout({{"A", 'N', 19, 3}, {"B", 'C', 13}}), GetParam(), 6);           // 33 bytes
}

INSTANTIATE_TEST_SUITE_P(Instructions, RecordTextsTest,
                         ::testing::Values(RecordTexts::Instructions::Best, RecordTexts::Instructions::Baseline));
