// ComputeCheckDigit in both modes against the position-by-position model.
#include <string>

#include "check_digit_model.h"
#include "fuzz_support.h"
#include "numbrook/check_digit.h"

namespace {

// Mostly the characters of the two modes, with a few that are neither: a
// space, a sign, a byte of a double-byte character.
constexpr std::string_view kAlphabet[] = {"0", "1", "2", "3", "4", "5", "6", "7",    "8",   "9",
                                          "A", "B", "C", "D", "E", "F", "a", "b",    "c",   "d",
                                          "e", "f", "9", "F", " ", "-", "G", "\xA3", "\xA1"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::ByteReader input(data, size);
    const std::uint8_t flags = input.byte();
    const std::string_view raw = input.rest();
    const std::string body =
        (flags & 2) ? fuzz_support::mapToAlphabet(raw, kAlphabet) : std::string(raw);

    for (const auto mode : {numbrook::Mode::Imei, numbrook::Mode::Meid}) {
        const std::string got = numbrook::ComputeCheckDigit(body, mode);
        const std::string expected = fuzz_model::checkCharacter(body, mode);
        FUZZ_CHECK(got == expected, "body " + fuzz_support::printable(body) + " mode " +
                                        (mode == numbrook::Mode::Imei ? "IMEI" : "MEID") +
                                        ": got " + fuzz_support::printable(got) + ", expected " +
                                        fuzz_support::printable(expected));
    }
    return 0;
}
