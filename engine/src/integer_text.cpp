#include "numbrook/integer_text.h"

#include <limits>
#include <string>

namespace numbrook {
namespace {

// GB18030 full-width forms: A3 B0..B9 are the digits, A3 AB and A3 AD the
// plus and minus signs, A1 A1 the ideographic space.
std::string toAsciiForms(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80 || i + 1 == text.size()) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        const unsigned char trail = static_cast<unsigned char>(text[i + 1]);
        if (c == 0xA3 && trail >= 0xB0 && trail <= 0xB9) {
            out.push_back(static_cast<char>('0' + (trail - 0xB0)));
        } else if (c == 0xA3 && trail == 0xAB) {
            out.push_back('+');
        } else if (c == 0xA3 && trail == 0xAD) {
            out.push_back('-');
        } else if (c == 0xA1 && trail == 0xA1) {
            out.push_back(' ');
        } else {
            // Any other double-byte character ends a number; keep both bytes
            // together so a trail byte is never read as an ASCII character.
            out.push_back(static_cast<char>(c));
            out.push_back(static_cast<char>(trail));
        }
        ++i;
    }
    return out;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

std::int32_t ReadEditInteger(std::string_view gbText) {
    const std::string text = toAsciiForms(gbText);
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate the magnitude with a ceiling just past the 32-bit range so
    // that any length of digits saturates instead of overflowing.
    constexpr std::int64_t kCeiling = std::int64_t{1} << 32;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kCeiling) magnitude = kCeiling;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

}  // namespace numbrook
