#include "numbrook/check_digit.h"

#include <gtest/gtest.h>

namespace numbrook {
namespace {

struct CheckCase {
    const char* name;
    Mode mode;
    std::string body;
    std::string expected;
};

class CheckDigitTest : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckDigitTest, GivesTheCheckCharacter) {
    const CheckCase& c = GetParam();
    EXPECT_EQ(ComputeCheckDigit(c.body, c.mode), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, CheckDigitTest,
    testing::Values(CheckCase{"ImeiWorkedExample", Mode::Imei, "49015420323751", "8"},
                    CheckCase{"ImeiSecondExample", Mode::Imei, "35209900176148", "1"},
                    CheckCase{"ImeiAllZero", Mode::Imei, "00000000000000", "0"},
                    CheckCase{"ImeiCounting", Mode::Imei, "12345678901234", "7"},
                    CheckCase{"ImeiThirteenBytes", Mode::Imei, "3520990017614", ""},
                    CheckCase{"MeidThirteenBytes", Mode::Meid, "3520990017614", ""},
                    CheckCase{"ImeiEmpty", Mode::Imei, "", ""},
                    CheckCase{"ImeiFifteenBytesAllCount", Mode::Imei, "490154203237518", "0"},
                    CheckCase{"ImeiNonDigitCountsZero", Mode::Imei, "4901542032375X", "0"},
                    CheckCase{"ImeiDoubleByteCountsZero", Mode::Imei, "4901542032375\xA3\xB1", "0"},
                    CheckCase{"ImeiLongBodyKeepsLeftParity", Mode::Imei, "4901542032375100", "8"},
                    CheckCase{"MeidWorkedExample", Mode::Meid, "AF0123450ABCDE", "C"},
                    CheckCase{"MeidLowerCase", Mode::Meid, "af0123450abcde", "C"},
                    CheckCase{"MeidAllF", Mode::Meid, "FFFFFFFFFFFFFF", "E"},
                    CheckCase{"MeidDigits", Mode::Meid, "A0000000002329", "9"},
                    CheckCase{"MeidSumMultipleOfSixteen", Mode::Meid, "00000000000000", "0"},
                    CheckCase{"MeidSeventeenF", Mode::Meid, "FFFFFFFFFFFFFFFFF", "1"},
                    CheckCase{"MeidNonHexHasNone", Mode::Meid, "AF0123450ABCDG", ""},
                    CheckCase{"MeidSpaceHasNone", Mode::Meid, "AF0123450 BCDE", ""},
                    CheckCase{"MeidSumReaching256HasNone", Mode::Meid, "FFFFFFFFFFFFFFFFFF", ""}),
    [](const testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace numbrook
