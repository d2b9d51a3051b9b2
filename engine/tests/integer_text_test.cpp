#include "numbrook/integer_text.h"

#include <gtest/gtest.h>

#include <QStringEncoder>

namespace numbrook {
namespace {

struct ReadCase {
    const char* name;
    const char* utf8Text;
    std::int32_t expected;
};

class ReadEditIntegerTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadEditIntegerTest, ReadsTheLeadingNumber) {
    QStringEncoder toCodePage("GB18030");
    const QByteArray gb = toCodePage(QString::fromUtf8(GetParam().utf8Text));
    EXPECT_EQ(ReadEditInteger(gb.toStdString()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadEditIntegerTest,
    testing::Values(ReadCase{"Plain", "25", 25}, ReadCase{"Empty", "", 0},
                    ReadCase{"NotANumber", "abc", 0}, ReadCase{"TrailingText", "12abc", 12},
                    ReadCase{"LeadingBlanks", "  \t7", 7}, ReadCase{"Negative", "-3", -3},
                    ReadCase{"Plus", "+4", 4}, ReadCase{"SignOnly", "-", 0},
                    ReadCase{"InnerBlankEnds", "1 2", 1}, ReadCase{"FullWidthDigit", "５", 5},
                    ReadCase{"FullWidthNumber", "１２３", 123},
                    ReadCase{"FullWidthMinus", "－４２", -42}, ReadCase{"FullWidthPlus", "＋８", 8},
                    ReadCase{"IdeographicSpace", "\u3000\u30009", 9},
                    ReadCase{"MixedWidths", "1２3", 123}, ReadCase{"ChineseEnds", "12三4", 12},
                    ReadCase{"Max", "2147483647", 2147483647},
                    ReadCase{"AboveMaxSaturates", "2147483648", 2147483647},
                    ReadCase{"FarAboveMaxSaturates", "99999999999999999999999", 2147483647},
                    ReadCase{"Min", "-2147483648", -2147483647 - 1},
                    ReadCase{"BelowMinSaturates", "-2147483649", -2147483647 - 1}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(ReadEditInteger, LoneLeadByteAtTheEnd) {
    EXPECT_EQ(ReadEditInteger("7\xA3"), 7);
}

}  // namespace
}  // namespace numbrook
