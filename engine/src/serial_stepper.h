#pragma once

#include <cstdint>
#include <string>

namespace numbrook::detail {

// Steps a serial again and again, each time from the previous result, giving
// exactly what StepSerial gives. A serial made only of digits of its radix
// is stepped in place, digit by digit from the right, which is what long
// runs need; anything else goes through StepSerial.
class SerialStepper {
public:
    SerialStepper(std::string start, int radix, std::int32_t step);

    const std::string& body() const { return body_; }
    // Moves to the next body; false (and the body unchanged) when it would
    // fall below zero.
    bool advance();
    // After an in-place step that kept the width, the lowest position whose
    // digit may have changed; the body's length otherwise.
    std::size_t keptBefore() const { return keptBefore_; }
    bool steppedInPlace() const { return inPlace_; }

private:
    bool qualifies() const;
    bool addInPlace();

    std::string body_;
    int radix_;
    std::int32_t step_;
    bool inPlace_;
    std::size_t keptBefore_ = 0;
};

}  // namespace numbrook::detail
