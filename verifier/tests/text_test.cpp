#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "imei_text.h"
#include "test_support.h"

using namespace Qt::StringLiterals;

namespace tallisk {
namespace {

template <typename Case>
std::string caseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// ---------------------------------------------------------------------------------------------
struct ValueCase {
    const char* name;
    const char16_t* text;
    double value;
};

class TextValue : public testing::TestWithParam<ValueCase> {};

TEST_P(TextValue, ReadsTheLeadingNumber) {
    EXPECT_EQ(textValue(QStringView(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextValue,
    testing::Values(
        ValueCase{"Empty", u"", 0}, ValueCase{"Digits", u"123", 123},
        ValueCase{"BlanksAnywhere", u"  1 2 3 ", 123}, ValueCase{"TabsAndLineFeeds", u"\t4\n5", 45},
        ValueCase{"CarriageReturnStops", u"4\r5", 4}, ValueCase{"Negative", u"-12", -12},
        ValueCase{"PlusSign", u"+7", 7}, ValueCase{"SignAfterBlanks", u" - 8", -8},
        ValueCase{"SecondSignStops", u"--5", 0}, ValueCase{"Decimal", u"1.5", 1.5},
        ValueCase{"SecondPointStops", u"1.2.3", 1.2}, ValueCase{"LeadingPoint", u"-.5", -0.5},
        ValueCase{"OnlyAPoint", u".", 0}, ValueCase{"OnlyASign", u"-", 0},
        ValueCase{"LettersStop", u"12abc34", 12}, ValueCase{"NoNumber", u"abc", 0},
        ValueCase{"NoExponent", u"1e5", 1}, ValueCase{"NoHexadecimal", u"0x10", 0},
        ValueCase{"FullWidthDigitsAreNotDigits", u"１２", 0},
        ValueCase{"LeadingZeros", u"000001", 1},
        ValueCase{"FourteenDigitsExact", u"49015420323751", 49015420323751.0},
        ValueCase{"TacFacFollowedBySerial", u"  35693803000001", 35693803000001.0}),
    caseName<ValueCase>);

TEST(TextValue, OverlongNumbersDoNotFail) {
    const QString manyDigits(400, u'9');
    EXPECT_TRUE(std::isinf(textValue(manyDigits)));
    EXPECT_TRUE(std::isinf(textValue(u"-"_s + manyDigits)));
    EXPECT_LT(textValue(u"-"_s + manyDigits), 0);
    EXPECT_EQ(textValue(u"0."_s + QString(400, u'0') + u"1"_s), 0.0);
}

// ---------------------------------------------------------------------------------------------
struct NumberTextCase {
    const char* name;
    qint64 number;
    const char16_t* text;
};

class NumberText : public testing::TestWithParam<NumberTextCase> {};

TEST_P(NumberText, LeadsWithSpaceOrMinus) {
    EXPECT_EQ(numberText(GetParam().number), QString::fromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Table, NumberText,
                         testing::Values(NumberTextCase{"Zero", 0, u" 0"},
                                         NumberTextCase{"Small", 3, u" 3"},
                                         NumberTextCase{"Count", 60001, u" 60001"},
                                         NumberTextCase{"Negative", -5, u"-5"}),
                         caseName<NumberTextCase>);

// ---------------------------------------------------------------------------------------------
struct VerifyCase {
    const char* name;
    const char16_t* imei;
    int checksum;
};

class Verify : public testing::TestWithParam<VerifyCase> {};

TEST_P(Verify, GivesTheLuhnDigit) {
    EXPECT_EQ(verify(GetParam().imei), GetParam().checksum);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Verify,
    testing::Values(VerifyCase{"KnownBody", u"49015420323751", 8},
                    VerifyCase{"FirstOfBatch", u"35693803000001", 3},
                    VerifyCase{"BeforeCarry", u"35693803099999", 0},
                    VerifyCase{"AfterCarry", u"35693803100000", 4},
                    VerifyCase{"DoubledFiveFoldsToOne", u"00000000000005", 9},
                    VerifyCase{"DoubledNineFoldsToNine", u"00000000000009", 1},
                    VerifyCase{"OddPositionNotDoubled", u"50000000000000", 5},
                    VerifyCase{"ShortTextCountsMissingAsZero", u"3569380300000", 5},
                    VerifyCase{"LetterCountsAsZero", u"3569380300000X", 5},
                    VerifyCase{"FullWidthDigitCountsAsZero", u"3569380300000７", 5},
                    VerifyCase{"BeyondFourteenIgnored", u"490154203237519999", 8},
                    VerifyCase{"Empty", u"", 0}),
    caseName<VerifyCase>);

// ---------------------------------------------------------------------------------------------
struct CompletionCase {
    const char* name;
    const char16_t* entry;
    const char16_t* result;
};

class SingleNumberBand : public testing::TestWithParam<CompletionCase> {};

TEST_P(SingleNumberBand, CompletesOnlyFullBodies) {
    EXPECT_EQ(completeImei(GetParam().entry), QString::fromUtf16(GetParam().result));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SingleNumberBand,
    testing::Values(CompletionCase{"KnownBody", u"49015420323751", u"490154203237518"},
                    CompletionCase{"SpacesAroundTrimmed", u"  49015420323751 ", u"490154203237518"},
                    CompletionCase{"ThirteenDigits", u"4901542032375", u""},
                    CompletionCase{"FifteenDigits", u"490154203237518", u""},
                    CompletionCase{"LeadingZero", u"01234567890123", u""},
                    CompletionCase{"AllNines", u"99999999999999", u""},
                    CompletionCase{"JustBelowAllNines", u"99999999999998", u"999999999999986"},
                    CompletionCase{"LowestBody", u"10000000000000", u"100000000000009"},
                    CompletionCase{"InnerBlank", u"4901542032375 1", u""},
                    CompletionCase{"TabInside", u"490154203\t23751", u""},
                    CompletionCase{"DecimalPoint", u"490154203237.5", u""},
                    CompletionCase{"Sign", u"+4901542032375", u""},
                    CompletionCase{"Letters", u"4901542032375A", u""},
                    CompletionCase{"Empty", u"", u""}),
    caseName<CompletionCase>);

// ---------------------------------------------------------------------------------------------
struct BoxRuleCase {
    const char* name;
    const char16_t* text;
    qsizetype length;
    BoxVerdict verdict;
    const char16_t* cutText;
};

class BoxRule : public testing::TestWithParam<BoxRuleCase> {};

TEST_P(BoxRule, KeepsCompletesOrCuts) {
    const BoxOutcome outcome = judgeBoxText(GetParam().text, GetParam().length);
    EXPECT_EQ(outcome.verdict, GetParam().verdict);
    EXPECT_EQ(outcome.cutText, QString::fromUtf16(GetParam().cutText));
}

INSTANTIATE_TEST_SUITE_P(
    Table, BoxRule,
    testing::Values(
        BoxRuleCase{"Short", u"1234567", 8, BoxVerdict::Keep, u""},
        BoxRuleCase{"Exact", u"12345678", 8, BoxVerdict::Complete, u""},
        BoxRuleCase{"ExactAfterTrim", u" 12345678  ", 8, BoxVerdict::Complete, u""},
        BoxRuleCase{"PastedNineDigits", u"123456789", 8, BoxVerdict::Cut, u"12345678"},
        BoxRuleCase{"CutKeepsLeadingSpaces", u"   123456789", 8, BoxVerdict::Cut, u"   12345"},
        BoxRuleCase{"TabCountsAsCharacter", u"123456\t7", 6, BoxVerdict::Cut, u"123456"},
        BoxRuleCase{"ChineseCharacters", u"一二三四五六七", 6, BoxVerdict::Cut, u"一二三四五六"},
        BoxRuleCase{"SurrogatePairsStayWhole", u"😀😀😀😀😀😀😀", 6, BoxVerdict::Cut, u"😀😀😀😀😀😀"},
        BoxRuleCase{"SixEmojiComplete", u"😀😀😀😀😀😀", 6, BoxVerdict::Complete, u""},
        BoxRuleCase{"Empty", u"", 6, BoxVerdict::Keep, u""}),
    caseName<BoxRuleCase>);

TEST(BoxRule, CutTextSettlesAfterOneMoreRun) {
    // The cut re-runs the rule on the shorter text; it must never ask for another cut.
    for (const QString& text : {u"123456789"_s, u"   123456789"_s, u"1 2 3 4 5 6 7 8 9"_s}) {
        const BoxOutcome first = judgeBoxText(text, 8);
        ASSERT_EQ(first.verdict, BoxVerdict::Cut);
        EXPECT_NE(judgeBoxText(first.cutText, 8).verdict, BoxVerdict::Cut);
    }
}

// ---------------------------------------------------------------------------------------------
struct ZeroFillCase {
    const char* name;
    const char16_t* text;
    const char16_t* filled;  // nullptr: left as it is
};

class ZeroFill : public testing::TestWithParam<ZeroFillCase> {};

TEST_P(ZeroFill, PadsToSixCharacters) {
    const std::optional<QString> filled = zeroFilledSerial(GetParam().text);
    if (GetParam().filled == nullptr) {
        EXPECT_FALSE(filled.has_value());
    } else {
        ASSERT_TRUE(filled.has_value());
        EXPECT_EQ(*filled, QString::fromUtf16(GetParam().filled));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ZeroFill,
                         testing::Values(ZeroFillCase{"One", u"1", u"000001"},
                                         ZeroFillCase{"Two", u"12", u"000012"},
                                         ZeroFillCase{"Five", u"12345", u"012345"},
                                         ZeroFillCase{"TrimmedFirst", u"  5 ", u"000005"},
                                         ZeroFillCase{"Fraction", u"3.5", u"0003.5"},
                                         ZeroFillCase{"SixLeftAlone", u"123456", nullptr},
                                         ZeroFillCase{"EmptyLeftAlone", u"", nullptr},
                                         ZeroFillCase{"BlanksLeftAlone", u"   ", nullptr}),
                         caseName<ZeroFillCase>);

// ---------------------------------------------------------------------------------------------
struct ColumnsCase {
    const char* name;
    double start;
    double end;
    int columns;
};

class MinimumColumns : public testing::TestWithParam<ColumnsCase> {};

TEST_P(MinimumColumns, KeepsColumnsWithin60000Rows) {
    EXPECT_EQ(minimumColumns(GetParam().start, GetParam().end), GetParam().columns);
}

INSTANTIATE_TEST_SUITE_P(Table, MinimumColumns,
                         testing::Values(ColumnsCase{"SingleEntry", 5, 5, 1},
                                         ColumnsCase{"Exactly60000Entries", 1, 60000, 1},
                                         ColumnsCase{"Entry60001", 1, 60001, 2},
                                         ColumnsCase{"WholeSerialRange", 0, 999999, 17},
                                         ColumnsCase{"FractionRoundsToNearest", 1, 60000.7, 2},
                                         ColumnsCase{"EndBelowStart", 7, 3, 1},
                                         ColumnsCase{"EndInfinite", 0, HUGE_VAL, 16667},
                                         // Found by text_value_fuzz: inf - inf is NaN.
                                         ColumnsCase{"BothInfinite", HUGE_VAL, HUGE_VAL, 1}),
                         caseName<ColumnsCase>);

}  // namespace
}  // namespace tallisk
