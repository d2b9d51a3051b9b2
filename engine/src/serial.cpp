#include "numbrook/serial.h"

#include <algorithm>
#include <vector>

#include "exact_integer.h"

namespace numbrook {
namespace {

using detail::ExactInteger;

bool isDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number of "0" characters a text starts with; texts of one character
// count none.
std::ptrdiff_t leadingZeroCount(std::string_view text) {
    if (text.size() < 2) return 0;
    const auto firstOther = text.find_first_not_of('0');
    return static_cast<std::ptrdiff_t>(firstOther == std::string_view::npos ? text.size()
                                                                            : firstOther);
}

std::string rightmost(const std::string& text, std::ptrdiff_t count) {
    if (count <= 0) return {};
    const auto n = static_cast<std::size_t>(count);
    return n >= text.size() ? text : text.substr(text.size() - n);
}

// A text that reads as a negative number: a minus sign followed by decimal
// digits that are not all zero.
bool readsNegative(std::string_view text) {
    if (text.empty() || text[0] != '-') return false;
    for (std::size_t i = 1; i < text.size() && isDecimalDigit(text[i]); ++i) {
        if (text[i] != '0') return true;
    }
    return false;
}

std::optional<std::string> stepDecimal(std::string_view serial, std::int32_t step) {
    const auto width = static_cast<std::ptrdiff_t>(serial.size());
    std::ptrdiff_t zeros = leadingZeroCount(serial);
    const std::string_view rest = serial.substr(static_cast<std::size_t>(zeros));

    std::ptrdiff_t growth = 0;
    std::string stepped;
    if (!rest.empty() && !isDecimalDigit(rest.back())) {
        // A text that does not end in a digit has no number to step.
        stepped.assign(rest);
    } else {
        std::size_t split = rest.size();
        while (split > 0 && isDecimalDigit(rest[split - 1])) --split;
        const std::string_view prefix = rest.substr(0, split);
        const std::string_view digits = rest.substr(split);
        std::ptrdiff_t digitZeros = leadingZeroCount(digits);

        std::vector<int> values;
        values.reserve(digits.size());
        for (char c : digits) values.push_back(c - '0');
        ExactInteger value(10, values);
        value.add(step);
        if (value.isNegative()) return std::nullopt;
        const std::string result = value.toString();

        const auto digitWidth = static_cast<std::ptrdiff_t>(digits.size());
        const auto resultWidth = static_cast<std::ptrdiff_t>(result.size());
        if (step > 0) {
            growth = std::max<std::ptrdiff_t>(0, resultWidth - digitWidth);
            // Without a prefix, extra digits first use up the leading zeros.
            if (growth > 0 && prefix.empty()) zeros -= growth;
        } else if (step < 0) {
            growth = resultWidth - digitWidth + digitZeros;
            if (growth < 0) {
                digitZeros -= growth;
                growth = -growth;
            }
        }
        const std::string padded = std::string(static_cast<std::size_t>(digitZeros), '0') + result;
        stepped = std::string(prefix) + rightmost(padded, digitWidth + growth);
    }
    if (readsNegative(stepped)) return std::nullopt;
    const std::string full =
        std::string(static_cast<std::size_t>(std::max<std::ptrdiff_t>(zeros, 0)), '0') + stepped;
    return rightmost(full, width + growth);
}

int hexDigitValue(unsigned char c) {
    return c < 'A' ? c - 48 : c - 55;
}

std::optional<std::string> stepHexadecimal(std::string_view serial, std::int32_t step) {
    const std::size_t width = serial.size();
    const std::string_view rest = serial.substr(static_cast<std::size_t>(leadingZeroCount(serial)));
    std::vector<int> values;
    values.reserve(rest.size());
    for (std::size_t i = 0; i < rest.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(rest[i]);
        if (c >= 0x80 && i + 1 < rest.size()) {
            // Both bytes of a double-byte character keep their own codes.
            values.push_back(hexDigitValue(c));
            values.push_back(hexDigitValue(static_cast<unsigned char>(rest[++i])));
            continue;
        }
        if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
        values.push_back(hexDigitValue(c));
    }
    ExactInteger value(16, values);
    value.add(step);
    if (value.isNegative()) return std::nullopt;
    const std::string result = value.toString();
    if (result.size() >= width) return result.substr(result.size() - width);
    return std::string(width - result.size(), '0') + result;
}

}  // namespace

std::optional<std::string> StepSerial(std::string_view serial, int radix, std::int32_t step) {
    return radix == 16 ? stepHexadecimal(serial, step) : stepDecimal(serial, step);
}

}  // namespace numbrook
