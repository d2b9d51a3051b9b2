#include "exact_integer.h"

namespace numbrook::detail {
namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

ExactInteger::ExactInteger(int radix, const std::vector<int>& digitValues) : radix_(radix) {
    digits_.assign(digitValues.rbegin(), digitValues.rend());
    normalize();
}

void ExactInteger::add(std::int64_t amount) {
    if (digits_.empty()) digits_.push_back(0);
    digits_[0] += amount;
    normalize();
}

// Brings every digit into 0..radix-1 by carrying upwards. What is left over
// at the top decides the sign: a negative remainder beyond the highest digit
// outweighs everything below it.
void ExactInteger::normalize() {
    std::int64_t carry = 0;
    for (auto& digit : digits_) {
        const std::int64_t t = digit + carry;
        carry = floorDiv(t, radix_);
        digit = t - carry * radix_;
    }
    top_ += carry;
    while (top_ > 0) {
        digits_.push_back(top_ % radix_);
        top_ /= radix_;
    }
}

std::string ExactInteger::toString() const {
    static constexpr char kDigitChars[] = "0123456789ABCDEF";
    std::size_t top = digits_.size();
    while (top > 0 && digits_[top - 1] == 0) --top;
    if (top == 0) return "0";
    std::string out;
    out.reserve(top);
    for (std::size_t i = top; i-- > 0;) out.push_back(kDigitChars[digits_[i]]);
    return out;
}

}  // namespace numbrook::detail
