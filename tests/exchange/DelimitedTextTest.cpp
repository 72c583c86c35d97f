#include "DelimitedText.h"

#include <gtest/gtest.h>

using exchange::delimitedLine;
using exchange::delimitedValue;

TEST(DelimitedText, QuotesAreDoubledAndBlanksTrimmed)
{
    EXPECT_EQ(delimitedValue("a\"b"), "a\"\"b");
    EXPECT_EQ(delimitedLine({"a\"b"}), "\"a\"\"b\"");
    EXPECT_EQ(delimitedValue("  inner  blanks  "), "inner  blanks");
    EXPECT_EQ(delimitedValue("    "), "");
    EXPECT_EQ(delimitedLine({"Title", "", "1942"}), "\"Title\",\"\",\"1942\"");
}

TEST(DelimitedText, LongValuesAreCutWithoutSplittingADoubledQuote)
{
    EXPECT_EQ(delimitedValue(std::string(300, 'x')).size(), 255u);
    const std::string quotes(200, '"');
    const std::string written = delimitedValue(quotes);
    EXPECT_EQ(written.size(), 254u);
    EXPECT_EQ(written.find_first_not_of('"'), std::string::npos);
}
