#pragma once

// Serial stepping written out step by step from the rules (leading zeros z,
// rest H, digit run D and prefix P, growth g, ...) on a plain signed big
// integer of 32-bit limbs. Slow and simple on purpose: the fuzz targets hold
// the engine's StepSerial and its in-place stepper against it.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz_model {

// Sign and magnitude; the magnitude's limbs are least significant first and
// carry no zero limbs at the top.
class BigInt {
public:
    static BigInt fromInt(std::int64_t value) {
        BigInt out;
        out.negative_ = value < 0;
        std::uint64_t magnitude =
            value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
        for (; magnitude != 0; magnitude >>= 32) {
            out.limbs_.push_back(static_cast<std::uint32_t>(magnitude));
        }
        return out;
    }

    bool isZero() const { return limbs_.empty(); }
    bool isNegative() const { return negative_ && !isZero(); }

    void multiplySmall(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (auto& limb : limbs_) {
            const std::uint64_t t = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        if (carry) limbs_.push_back(static_cast<std::uint32_t>(carry));
        trim();
    }

    void add(const BigInt& other) {
        if (negative_ == other.negative_) {
            addMagnitude(other.limbs_);
        } else if (compareMagnitude(limbs_, other.limbs_) >= 0) {
            subtractMagnitude(other.limbs_);
        } else {
            std::vector<std::uint32_t> mine = limbs_;
            limbs_ = other.limbs_;
            negative_ = other.negative_;
            subtractMagnitude(mine);
        }
        trim();
    }

    // Digits of the magnitude in `radix` (10 or 16), upper case, no leading
    // zeros, "0" for zero.
    std::string toString(unsigned radix) const {
        if (isZero()) return "0";
        std::vector<std::uint32_t> rest = limbs_;
        std::string reversed;
        while (!rest.empty()) {
            std::uint64_t remainder = 0;
            for (std::size_t i = rest.size(); i-- > 0;) {
                const std::uint64_t t = (remainder << 32) | rest[i];
                rest[i] = static_cast<std::uint32_t>(t / radix);
                remainder = t % radix;
            }
            reversed.push_back("0123456789ABCDEF"[remainder]);
            while (!rest.empty() && rest.back() == 0) rest.pop_back();
        }
        return std::string(reversed.rbegin(), reversed.rend());
    }

private:
    static int compareMagnitude(const std::vector<std::uint32_t>& a,
                                const std::vector<std::uint32_t>& b) {
        if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
        for (std::size_t i = a.size(); i-- > 0;) {
            if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
        }
        return 0;
    }
    void addMagnitude(const std::vector<std::uint32_t>& other) {
        if (limbs_.size() < other.size()) limbs_.resize(other.size(), 0);
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < limbs_.size(); ++i) {
            const std::uint64_t t =
                std::uint64_t{limbs_[i]} + (i < other.size() ? other[i] : 0) + carry;
            limbs_[i] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        if (carry) limbs_.push_back(static_cast<std::uint32_t>(carry));
    }
    // Only when |this| >= |other|.
    void subtractMagnitude(const std::vector<std::uint32_t>& other) {
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < limbs_.size(); ++i) {
            std::int64_t t = std::int64_t{limbs_[i]} - (i < other.size() ? other[i] : 0) - borrow;
            borrow = t < 0;
            if (t < 0) t += std::int64_t{1} << 32;
            limbs_[i] = static_cast<std::uint32_t>(t);
        }
    }
    void trim() {
        while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
    }

    bool negative_ = false;
    std::vector<std::uint32_t> limbs_;
};

// The leading-zero count of a text: its "0" characters at the start, none
// for a text of one character.
inline std::ptrdiff_t leadingZeros(std::string_view text) {
    if (text.size() < 2) return 0;
    std::ptrdiff_t count = 0;
    while (count < static_cast<std::ptrdiff_t>(text.size()) && text[count] == '0') ++count;
    return count;
}

inline std::string rightmost(std::string_view text, std::ptrdiff_t count) {
    if (count <= 0) return {};
    if (static_cast<std::size_t>(count) >= text.size()) return std::string(text);
    return std::string(text.substr(text.size() - static_cast<std::size_t>(count)));
}

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A text read as a number is negative when a minus sign leads it and the
// digits right after the sign are not all zeros.
inline bool readsAsNegativeNumber(std::string_view text) {
    if (text.empty() || text[0] != '-') return false;
    for (std::size_t i = 1; i < text.size() && isDigit(text[i]); ++i) {
        if (text[i] != '0') return true;
    }
    return false;
}

// nullopt stands for the failure text "-1".
inline std::optional<std::string> stepDecimal(std::string_view s, std::int32_t d) {
    const auto w = static_cast<std::ptrdiff_t>(s.size());
    std::ptrdiff_t z = leadingZeros(s);
    const std::string_view h = s.substr(static_cast<std::size_t>(z));
    std::string t;
    std::ptrdiff_t g = 0;
    if (!h.empty() && !isDigit(h.back())) {  // step 1
        t = std::string(h);
    } else {
        // Step 2.
        std::size_t split = h.size();
        while (split > 0 && isDigit(h[split - 1])) --split;
        const std::string_view p = h.substr(0, split);
        const std::string_view digits = h.substr(split);
        // Step 3.
        std::ptrdiff_t l = leadingZeros(digits);
        // Step 4.
        BigInt v = BigInt::fromInt(0);
        for (const char c : digits) {
            v.multiplySmall(10);
            v.add(BigInt::fromInt(c - '0'));
        }
        v.add(BigInt::fromInt(d));
        // Step 5.
        if (v.isNegative()) return std::nullopt;
        // Step 6.
        const std::string r = v.toString(10);
        const auto lenR = static_cast<std::ptrdiff_t>(r.size());
        const auto lenD = static_cast<std::ptrdiff_t>(digits.size());
        // Step 7.
        if (d > 0) {
            g = lenR - lenD;
            if (g <= 0) {
                g = 0;
            } else if (p.empty()) {
                z = z - g;
            }
        } else if (d < 0) {
            g = lenR - lenD + l;
            if (g < 0) {
                l = l + (-g);
                g = -g;
            }
        }
        // Steps 8 and 9.
        const std::string dPrime =
            rightmost(std::string(static_cast<std::size_t>(l), '0') + r, lenD + g);
        t = std::string(p) + dPrime;
    }
    // Step 10.
    if (readsAsNegativeNumber(t)) return std::nullopt;
    // Step 11.
    const std::string zeros(static_cast<std::size_t>(std::max<std::ptrdiff_t>(z, 0)), '0');
    return rightmost(zeros + t, w + g);
}

inline std::optional<std::string> stepHexadecimal(std::string_view s, std::int32_t d) {
    const std::size_t w = s.size();
    std::string h(s.substr(static_cast<std::size_t>(leadingZeros(s))));
    // Step 1: upper case for ASCII letters; both bytes of a double-byte
    // character stay as they are.
    for (std::size_t i = 0; i < h.size(); ++i) {
        const auto c = static_cast<unsigned char>(h[i]);
        if (c >= 0x80 && i + 1 < h.size()) {
            ++i;
        } else if (c >= 'a' && c <= 'z') {
            h[i] = static_cast<char>(c - 'a' + 'A');
        }
    }
    // Step 2: every byte has a digit value, in or out of 0..15.
    BigInt v = BigInt::fromInt(0);
    for (const char c : h) {
        const int code = static_cast<unsigned char>(c);
        v.multiplySmall(16);
        v.add(BigInt::fromInt(code < 65 ? code - 48 : code - 55));
    }
    // Steps 3 and 4.
    v.add(BigInt::fromInt(d));
    if (v.isNegative()) return std::nullopt;
    // Steps 5 and 6.
    const std::string r = v.toString(16);
    if (r.size() >= w) return r.substr(r.size() - w);
    return std::string(w - r.size(), '0') + r;
}

inline std::optional<std::string> stepSerial(std::string_view s, int radix, std::int32_t d) {
    return radix == 16 ? stepHexadecimal(s, d) : stepDecimal(s, d);
}

}  // namespace fuzz_model
