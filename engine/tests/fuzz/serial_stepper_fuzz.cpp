// The in-place stepper, step after step, against StepSerial applied to each
// previous result; and what it says about the digits it left alone.
#include "fuzz_support.h"
#include "numbrook/serial.h"
#include "serial_stepper.h"

namespace {

constexpr std::string_view kAlphabet[] = {"0", "0", "0", "1", "5", "8", "9", "9", "9", "9",   "A",
                                          "E", "F", "F", "F", "a", "f", "-", " ", "G", "\xA3"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::ByteReader input(data, size);
    const std::uint8_t flags = input.byte();
    const int radix = (flags & 1) ? 16 : 10;
    // Small steps cross many carries within a short chain; large ones cross
    // the width at once.
    const std::int32_t step =
        (flags & 2) ? input.value<std::int32_t>() : std::int32_t{input.value<std::int8_t>()};
    const unsigned steps = input.byte() % 48 + 1u;
    const std::string start = fuzz_support::mapToAlphabet(input.rest(), kAlphabet);

    numbrook::detail::SerialStepper stepper(start, radix, step);
    std::string body = start;
    for (unsigned i = 0; i < steps; ++i) {
        const auto details = [&] {
            return "start " + fuzz_support::printable(start) + " radix " + std::to_string(radix) +
                   " step " + std::to_string(step) + " after " + std::to_string(i) + " steps at " +
                   fuzz_support::printable(body);
        };
        const auto expected = numbrook::StepSerial(body, radix, step);
        const bool inPlace = stepper.steppedInPlace();
        const bool advanced = stepper.advance();
        FUZZ_CHECK(advanced == expected.has_value(), details());
        if (!advanced) {
            FUZZ_CHECK(stepper.body() == body, details() + ": a failed step changed the body");
            break;
        }
        FUZZ_CHECK(stepper.body() == *expected,
                   details() + ": got " + fuzz_support::printable(stepper.body()) + ", expected " +
                       fuzz_support::printable(*expected));
        // Positions before keptBefore() hold the digits they held; the
        // generator relies on it to update check sums from the rest only.
        if (inPlace && stepper.body().size() == body.size()) {
            const std::size_t kept = stepper.keptBefore();
            FUZZ_CHECK(kept <= body.size(), details());
            FUZZ_CHECK(stepper.body().compare(0, kept, body, 0, kept) == 0,
                       details() + ": a digit before keptBefore() changed");
        }
        body = *expected;
    }
    return 0;
}
