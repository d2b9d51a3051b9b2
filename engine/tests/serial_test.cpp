#include "numbrook/serial.h"

#include <gtest/gtest.h>

namespace numbrook {
namespace {

struct StepCase {
    const char* name;
    std::string serial;
    int radix;
    std::int32_t step;
    std::optional<std::string> expected;  // nothing: the value would fall below zero
};

class StepSerialTest : public testing::TestWithParam<StepCase> {};

TEST_P(StepSerialTest, StepsExactly) {
    const StepCase& c = GetParam();
    EXPECT_EQ(StepSerial(c.serial, c.radix, c.step), c.expected);
}

const std::optional<std::string> kBelowZero;

INSTANTIATE_TEST_SUITE_P(
    Decimal, StepSerialTest,
    testing::Values(StepCase{"CarryIntoThirdDigit", "00000000000099", 10, 1, "00000000000100"},
                    StepCase{"BorrowFromThirdDigit", "00000000000100", 10, -1, "00000000000099"},
                    StepCase{"FromAllZero", "00000000000000", 10, 5, "00000000000005"},
                    StepCase{"DownToAllZero", "00000000000001", 10, -1, "00000000000000"},
                    StepCase{"GrowsPastFourteen", "99999999999999", 10, 1, "100000000000000"},
                    StepCase{"BelowZero", "00000000000000", 10, -1, kBelowZero},
                    StepCase{"StepZero", "49015420323751", 10, 0, "49015420323751"},
                    StepCase{"LargeStep", "00000000000000", 10, 2147483647, "00002147483647"},
                    StepCase{"LargeStepDown", "00002147483647", 10, -2147483647, "00000000000000"},
                    StepCase{"NoDigitIsLost", "99999999999990", 10, 1000, "100000000000990"},
                    StepCase{"LongerThanFourteen", "123456789012345678901234567890", 10, 10,
                             "123456789012345678901234567900"},
                    StepCase{"PrefixKeepsWidth", "AB0012", 10, 1, "AB0013"},
                    StepCase{"PrefixCarry", "AB0099", 10, 1, "AB0100"},
                    StepCase{"PrefixGrows", "AB99", 10, 1, "AB100"},
                    StepCase{"PrefixBorrow", "AB100", 10, -1, "AB099"},
                    StepCase{"NonDigitEnding", "12X", 10, 1, "12X"},
                    StepCase{"LeadingZerosBeforePrefix", "00AB99", 10, 1, "00AB100"},
                    StepCase{"NegativeText", "-5", 10, 0, kBelowZero},
                    StepCase{"MinusZeroIsNotNegative", "-0", 10, 0, "-0"},
                    StepCase{"EmptyText", "", 10, 1, "1"}, StepCase{"SingleZero", "0", 10, 1, "1"}),
    [](const testing::TestParamInfo<StepCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Hexadecimal, StepSerialTest,
    testing::Values(StepCase{"CarryIntoSecondDigit", "0000000000000F", 16, 1, "00000000000010"},
                    StepCase{"CarryIntoThirdDigit", "000000000000FF", 16, 1, "00000000000100"},
                    StepCase{"BorrowKeepsWidth", "00000000000100", 16, -1, "000000000000FF"},
                    StepCase{"FromAllZero", "00000000000000", 16, 1, "00000000000001"},
                    StepCase{"WrapsAround", "FFFFFFFFFFFFFF", 16, 1, "00000000000000"},
                    StepCase{"BelowZero", "00000000000000", 16, -1, kBelowZero},
                    StepCase{"LowerCaseRaised", "00000000000abc", 16, 1, "00000000000ABD"},
                    StepCase{"StepZeroRaisesCase", "00000000000abc", 16, 0, "00000000000ABC"},
                    StepCase{"LargeStep", "00000000000000", 16, 2147483647, "0000007FFFFFFF"},
                    // "G" is worth 16 by the digit rule: 0G is 16, plus 1 is 17 = 0x11.
                    StepCase{"OutOfRangeLetter", "0G", 16, 1, "11"},
                    // A space is worth 32 - 48 = -16: " 0" is -256, which stays below zero.
                    StepCase{"SpaceMakesNegative", " 0", 16, 1, kBelowZero},
                    StepCase{"SpaceOffsetByStep", " 0", 16, 256, "00"},
                    StepCase{"EmptyText", "", 16, 1, ""}),
    [](const testing::TestParamInfo<StepCase>& info) { return std::string(info.param.name); });

// Stepping repeatedly must agree with stepping once by the sum.
TEST(StepSerialChain, RepeatedStepsAgreeWithOneStep) {
    for (const int radix : {10, 16}) {
        std::string body = "00000000000000";
        for (int i = 0; i < 5000; ++i) body = *StepSerial(body, radix, 7);
        EXPECT_EQ(body, *StepSerial("00000000000000", radix, 35000)) << "radix " << radix;
    }
}

}  // namespace
}  // namespace numbrook
