#include "serial_stepper.h"

#include <algorithm>

#include "numbrook/serial.h"

namespace numbrook::detail {
namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return c - 'a' + 10;  // only called on digits of the radix
}

constexpr char kDigitChars[] = "0123456789ABCDEF";

}  // namespace

SerialStepper::SerialStepper(std::string start, int radix, std::int32_t step)
    : body_(std::move(start)), radix_(radix), step_(step), inPlace_(qualifies()) {}

// For a non-empty text of digits of its radix, stepping reduces to plain
// arithmetic: a decimal result is the new value zero-padded to the old width
// (wider when it needs more digits), a hexadecimal one is the new value
// modulo 16^width in upper case; both fail below zero.
bool SerialStepper::qualifies() const {
    if (body_.empty()) return false;
    return std::all_of(body_.begin(), body_.end(), [this](char c) {
        if (c >= '0' && c <= '9') return true;
        return radix_ == 16 && ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'));
    });
}

bool SerialStepper::advance() {
    keptBefore_ = 0;
    if (inPlace_) return addInPlace();
    auto next = StepSerial(body_, radix_, step_);
    if (!next) return false;
    body_ = std::move(*next);
    inPlace_ = qualifies();
    return true;
}

bool SerialStepper::addInPlace() {
    // Work on the digits from the right with a signed carry; a text keeps
    // its own digits until the carry has run out.
    std::int64_t carry = step_;
    // Only a step down can fail, and then the body must stay as it was.
    std::string scratch;
    if (step_ < 0) scratch = body_;
    std::string& next = step_ < 0 ? scratch : body_;
    std::size_t i = next.size();
    for (; i-- > 0;) {
        if (carry == 0 && radix_ == 10) break;
        const std::int64_t t = digitValue(next[i]) + carry;
        std::int64_t q = t / radix_;
        std::int64_t r = t % radix_;
        if (r < 0) {
            r += radix_;
            --q;
        }
        next[i] = kDigitChars[r];
        carry = q;
    }
    if (carry < 0) return false;  // below zero
    keptBefore_ = i + 1;          // i wrapped below zero when every digit was visited
    if (carry > 0 && radix_ == 10) {
        keptBefore_ = 0;
        std::string head;
        for (; carry > 0; carry /= 10) head.insert(head.begin(), kDigitChars[carry % 10]);
        next.insert(0, head);
    }
    // A hexadecimal carry out of the top wraps around.
    if (step_ < 0) body_ = std::move(scratch);
    return true;
}

}  // namespace numbrook::detail
