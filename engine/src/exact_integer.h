#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace numbrook::detail {

// A signed integer of any length in radix 10 or 16, made from a row of digit
// values that may lie outside 0..radix-1 (serial texts can hold any byte, and
// each byte gets a value). Only what stepping needs: add a machine integer,
// tell the sign, print a non-negative value.
class ExactInteger {
public:
    // `digitValues` are most significant first.
    ExactInteger(int radix, const std::vector<int>& digitValues);

    void add(std::int64_t amount);
    bool isNegative() const { return top_ < 0; }
    // Digits "0"-"9", "A"-"F" without leading zeros; "0" for zero. Only for
    // non-negative values.
    std::string toString() const;

private:
    void normalize();

    int radix_;
    std::vector<std::int64_t> digits_;  // least significant first
    // What is left over above the highest digit, in units of radix^size:
    // only ever negative (a positive remainder becomes more digits).
    std::int64_t top_ = 0;
};

}  // namespace numbrook::detail
