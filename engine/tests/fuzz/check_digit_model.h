#pragma once

// The check character written the long way, position by position, as the
// rules describe it; the fuzz targets hold the engine's fast paths against it.

#include <string>
#include <string_view>

#include "numbrook/check_digit.h"

namespace fuzz_model {

inline std::string checkCharacter(std::string_view body, numbrook::Mode mode) {
    static constexpr std::string_view kDigitTable = "0123456789ABCDEF";
    if (body.size() < 14) return {};
    unsigned long long sum = 0;
    for (std::size_t position = 1; position <= body.size(); ++position) {
        const char c = body[position - 1];
        const bool doubled = position % 2 == 0;
        if (mode == numbrook::Mode::Imei) {
            const unsigned value = (c >= '0' && c <= '9') ? static_cast<unsigned>(c - '0') : 0;
            const unsigned d = doubled ? 2 * value : value;
            sum += d > 9 ? d - 9 : d;
            continue;
        }
        const char upper = (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
        const auto index = kDigitTable.find(upper);
        // The chosen outcome for a body the two-digit form cannot hold: no
        // character at all.
        if (index == std::string_view::npos) return {};
        const unsigned d =
            doubled ? 2 * static_cast<unsigned>(index) : static_cast<unsigned>(index);
        sum += d / 16 + d % 16;  // the digits of d written in two hexadecimal places
    }
    if (mode == numbrook::Mode::Imei) {
        const unsigned r = static_cast<unsigned>(sum % 10);
        return std::string(1, r == 0 ? '0' : kDigitTable[10 - r]);
    }
    if (sum > 255) return {};
    const unsigned r = static_cast<unsigned>(sum % 16);
    return std::string(1, r == 0 ? '0' : kDigitTable[16 - r]);
}

}  // namespace fuzz_model
