// StepSerial in both radixes against the step-by-step model.
#include <limits>

#include "fuzz_support.h"
#include "numbrook/serial.h"
#include "serial_model.h"

namespace {

// Zeros, nines and Fs make the carries and the leading-zero rules happen;
// the rest are the characters a serial text may hold by mistake.
constexpr std::string_view kAlphabet[] = {
    "0", "0", "0", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "9", "9",        "A",
    "B", "C", "D", "E", "F", "F", "f", "a", "-", "-", " ", "G", "z", ".", "\xA3\xB0", "\xB0"};

std::int32_t takeStep(fuzz_support::ByteReader& input, unsigned kind) {
    constexpr std::int32_t kExtremes[] = {std::numeric_limits<std::int32_t>::min(),
                                          std::numeric_limits<std::int32_t>::min() + 1,
                                          std::numeric_limits<std::int32_t>::max(),
                                          -1,
                                          0,
                                          1,
                                          -10,
                                          16};
    switch (kind) {
        case 0:
            return input.value<std::int8_t>();
        case 1:
            return input.value<std::int16_t>();
        case 2:
            return input.value<std::int32_t>();
        default:
            return kExtremes[input.byte() % std::size(kExtremes)];
    }
}

std::string describe(std::string_view serial, int radix, std::int32_t step) {
    return "serial " + fuzz_support::printable(serial) + " radix " + std::to_string(radix) +
           " step " + std::to_string(step);
}

std::string shown(const std::optional<std::string>& result) {
    return result ? fuzz_support::printable(*result) : std::string("-1 (below zero)");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::ByteReader input(data, size);
    const std::uint8_t flags = input.byte();
    const int radix = (flags & 1) ? 16 : 10;
    const std::int32_t step = takeStep(input, (flags >> 1) & 3);
    const std::string_view raw = input.rest();
    const std::string serial =
        (flags & 8) ? std::string(raw) : fuzz_support::mapToAlphabet(raw, kAlphabet);

    const auto got = numbrook::StepSerial(serial, radix, step);
    const auto expected = fuzz_model::stepSerial(serial, radix, step);
    FUZZ_CHECK(got == expected, describe(serial, radix, step) + ": got " + shown(got) +
                                    ", expected " + shown(expected));
    return 0;
}
