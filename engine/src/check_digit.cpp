#include "numbrook/check_digit.h"

#include "check_accumulator.h"

namespace numbrook {
namespace detail {

char CheckCharacter(std::string_view body, Mode mode) {
    if (body.size() < CheckAccumulator::kMinimumBodyLength) return '\0';
    if (mode == Mode::Imei) {
        // The common case, kept free of the accumulator's per-byte mode test.
        static constexpr unsigned kDoubled[10] = {0, 2, 4, 6, 8, 1, 3, 5, 7, 9};
        const auto digit = [](char c) {
            const unsigned v = static_cast<unsigned char>(c) - unsigned{'0'};
            return v < 10 ? v : 0u;
        };
        unsigned long long sum = 0;
        std::size_t i = 0;
        for (; i + 1 < body.size(); i += 2) sum += digit(body[i]) + kDoubled[digit(body[i + 1])];
        if (i < body.size()) sum += digit(body[i]);
        return static_cast<char>('0' + (10 - sum % 10) % 10);
    }
    CheckAccumulator accumulator(mode);
    for (char c : body) accumulator.add(static_cast<unsigned char>(c));
    return accumulator.character();
}

}  // namespace detail

std::string ComputeCheckDigit(std::string_view body, Mode mode) {
    const char check = detail::CheckCharacter(body, mode);
    return check == '\0' ? std::string() : std::string(1, check);
}

}  // namespace numbrook
