#include "line_completer.h"

#include <gtest/gtest.h>

#include <random>

#include "numbrook/check_digit.h"

namespace numbrook {
namespace {

std::string completeInPieces(const std::string& input, Mode mode, std::size_t piece) {
    detail::LineCompleter completer(mode);
    detail::ByteSink out;
    for (std::size_t at = 0; at < input.size(); at += piece) {
        completer.feed(std::string_view(input).substr(at, piece), out);
    }
    completer.finish(out);
    return std::string(out.view());
}

struct CompletionCase {
    const char* name;
    Mode mode;
    std::string input;
    std::string expected;
};

class LineCompleterTest : public testing::TestWithParam<CompletionCase> {};

// Every case is also fed in small pieces, so that CR LF pairs, lead bytes
// and full-width spaces fall across piece boundaries.
TEST_P(LineCompleterTest, CompletesEveryLineWhateverThePieces) {
    const CompletionCase& c = GetParam();
    for (std::size_t piece : {c.input.size() + 1, std::size_t{1}, std::size_t{2}, std::size_t{3},
                              std::size_t{5}, std::size_t{13}}) {
        EXPECT_EQ(completeInPieces(c.input, c.mode, piece), c.expected) << "pieces of " << piece;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, LineCompleterTest,
    testing::Values(
        CompletionCase{"WorkedExample", Mode::Imei,
                       "49015420323751\r\n3520 9900 1761 48\r\n\r\n123\r\n",
                       "490154203237518\r\n352099001761481\r\n\r\n123\r\n"},
        CompletionCase{"NoFinalLineEnd", Mode::Imei, "49015420323751\r\n123",
                       "490154203237518\r\n123\r\n"},
        CompletionCase{"EmptyFile", Mode::Imei, "", "\r\n"},
        CompletionCase{"OnlyLineEnd", Mode::Imei, "\r\n", "\r\n"},
        CompletionCase{"TwoLineEnds", Mode::Imei, "A\r\n\r\n", "A\r\n\r\n"},
        CompletionCase{"SpacesOnly", Mode::Imei, "   ", "\r\n"},
        CompletionCase{"FullWidthSpaces", Mode::Imei,
                       "4901\xA1\xA1"
                       "5420\xA1\xA1"
                       "323751\r\n",
                       "490154203237518\r\n"},
        CompletionCase{"LfOnlyIsOneLine", Mode::Imei, "4901542032\n3751\n",
                       "4901542032\n3751\n"
                       "8\r\n"},
        CompletionCase{"LoneCrStays", Mode::Imei, "12\r34\r\n", "12\r34\r\n"},
        CompletionCase{"CrAtTheVeryEnd", Mode::Imei, "12\r", "12\r\r\n"},
        CompletionCase{"CrCrLf", Mode::Imei, "12\r\r\n", "12\r\r\n"},
        CompletionCase{"LoneLeadByteAtLineEndDropped", Mode::Imei, "12\xA3\r\n34\xA3",
                       "12\r\n34\r\n"},
        CompletionCase{"DoubleByteCharacterKept", Mode::Imei,
                       "\xD6\xD0"
                       "1 2\r\n",
                       "\xD6\xD0"
                       "12\r\n"},
        CompletionCase{"LeadByteTakesTheSpaceAfterIt", Mode::Imei, "\xB0 1\r\n", "\xB0 1\r\n"},
        CompletionCase{"LeadByteBeforeLoneCr", Mode::Imei, "\xB0\r1\r\n", "\xB0\r1\r\n"},
        CompletionCase{"FifteenDigitsGetASixteenth", Mode::Imei, "490154203237518\r\n",
                       "4901542032375180\r\n"},
        CompletionCase{"MeidLowerCaseKeptAsRead", Mode::Meid, "af0123450abcde\r\n",
                       "af0123450abcdeC\r\n"},
        CompletionCase{"MeidNonHexGetsNothing", Mode::Meid, "AF0123450ABCDG\r\n",
                       "AF0123450ABCDG\r\n"},
        CompletionCase{"MeidNulByte", Mode::Meid, std::string("AF0123450ABCD\0E\r\n", 17),
                       std::string("AF0123450ABCD\0E\r\n", 17)},
        CompletionCase{"ImeiNulByteCountsZero", Mode::Imei, std::string("4901542032375\0\r\n", 16),
                       std::string("4901542032375\0"
                                   "0\r\n",
                                   17)}),
    [](const testing::TestParamInfo<CompletionCase>& info) {
        return std::string(info.param.name);
    });

// Whole lines of fourteen digits are summed a word at a time; fed one byte at
// a time the same lines go through the general path. Every digit at every
// position, and the bytes next to the digits, must come out the same way.
TEST(LineCompleter, DigitLinesAgreeWithTheBytePath) {
    std::string input;
    std::string expected;
    std::mt19937 random(1);
    const auto digitLine = [&] {
        std::string line(14, '0');
        for (char& c : line) c = static_cast<char>('0' + random() % 10);
        return line;
    };
    for (std::size_t position = 0; position < 14; ++position) {
        for (const char c : std::string("0123456789/:\x00 A\xA1\xB0\x7F\xB9", 19)) {
            std::string line = digitLine();
            line[position] = c;
            input += line + "\r\n";
            if (c >= '0' && c <= '9')
                expected += line + ComputeCheckDigit(line, Mode::Imei) + "\r\n";
        }
    }
    const std::string whole = completeInPieces(input, Mode::Imei, input.size() + 1);
    EXPECT_EQ(whole, completeInPieces(input, Mode::Imei, 1));
    // The lines of digits only, in order, carry the public check digit.
    std::string digitLinesOut;
    for (std::size_t at = 0; at < whole.size();) {
        const std::size_t end = whole.find("\r\n", at) + 2;
        const std::string line = whole.substr(at, end - at);
        if (line.size() == 17 && line.find_first_not_of("0123456789") == 15) digitLinesOut += line;
        at = end;
    }
    EXPECT_EQ(digitLinesOut, expected);
}

TEST(LineCompleter, CountsLines) {
    detail::LineCompleter completer(Mode::Imei);
    detail::ByteSink out;
    completer.feed("1\r\n2\r\n3", out);
    completer.finish(out);
    EXPECT_EQ(completer.lines(), 3u);
}

}  // namespace
}  // namespace numbrook
