#include "serial_stepper.h"

#include <gtest/gtest.h>

#include <random>

#include "numbrook/serial.h"

namespace numbrook {
namespace {

// The in-place stepper must give, step after step, exactly what StepSerial
// gives on the previous result.
void expectSameChain(const std::string& start, int radix, std::int32_t step, int steps) {
    detail::SerialStepper stepper(start, radix, step);
    std::string body = start;
    for (int i = 0; i < steps; ++i) {
        const auto expected = StepSerial(body, radix, step);
        const bool advanced = stepper.advance();
        ASSERT_EQ(advanced, expected.has_value())
            << "start " << start << " radix " << radix << " step " << step << " at " << i;
        if (!advanced) return;
        body = *expected;
        ASSERT_EQ(stepper.body(), body)
            << "start " << start << " radix " << radix << " step " << step;
    }
}

TEST(SerialStepper, AgreesWithStepSerialOnEdgeStarts) {
    const char* starts[] = {"00000000000000",
                            "99999999999999",
                            "99999999999990",
                            "00000000000100",
                            "0",
                            "9",
                            "5",
                            "09",
                            "FFFFFFFFFFFFFF",
                            "0000000000000f",
                            "00000000000abc",
                            "AB0099",
                            "12X",
                            "-5",
                            "",
                            "0G",
                            "  12",
                            "\xA3\xB1"
                            "99"};
    const std::int32_t steps[] = {1, -1, 0, 7, -7, 1000, -1000, 2147483647, -2147483647};
    for (const char* start : starts) {
        for (int radix : {10, 16}) {
            for (std::int32_t step : steps) expectSameChain(start, radix, step, 40);
        }
    }
}

TEST(SerialStepper, AgreesWithStepSerialOnRandomStarts) {
    std::mt19937 random(11);
    const std::string alphabet = "0123456789abcdefABCDEF";
    for (int trial = 0; trial < 2000; ++trial) {
        const int radix = trial % 2 ? 16 : 10;
        std::string start(1 + random() % 16, '0');
        for (char& c : start) c = alphabet[random() % (radix == 10 ? 10 : alphabet.size())];
        const auto step = static_cast<std::int32_t>(random() % 2001) - 1000;
        expectSameChain(start, radix, step, 50);
    }
}

}  // namespace
}  // namespace numbrook
