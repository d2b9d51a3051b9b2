#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "numbrook/check_digit.h"

namespace numbrook::detail {

// Computes a check character byte by byte, so a line can be checked while it
// streams past without being held.
class CheckAccumulator {
public:
    explicit CheckAccumulator(Mode mode) : mode_(mode) {}

    void add(unsigned char c) {
        const bool doubled = (length_++ & 1) != 0;  // positions 2, 4, ... from the left
        if (mode_ == Mode::Imei) {
            sum_ += imeiShare(c, doubled);
            return;
        }
        if (!valid_) return;
        const int value = hexValue(c);
        if (value < 0) {
            valid_ = false;
            return;
        }
        const unsigned twice = 2 * static_cast<unsigned>(value);
        sum_ += doubled ? (twice > 15 ? twice - 15 : twice) : static_cast<unsigned>(value);
        // The sum passes through a two-digit hexadecimal form, which ends at 255.
        if (sum_ >= 256) valid_ = false;
    }

    // Adds a run of bytes at once; the same as adding them one by one.
    void addRun(const unsigned char* bytes, std::size_t count) {
        if (mode_ != Mode::Imei) {
            for (std::size_t i = 0; i < count; ++i) add(bytes[i]);
            return;
        }
        static constexpr unsigned kByParity[2][10] = {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
                                                      {0, 2, 4, 6, 8, 1, 3, 5, 7, 9}};
        unsigned long long sum = 0;
        std::size_t parity = length_ & 1;
        for (std::size_t i = 0; i < count; ++i, parity ^= 1) {
            const unsigned value = bytes[i] - unsigned{'0'};
            sum += value < 10 ? kByParity[parity][value] : 0;
        }
        sum_ += sum;
        length_ += count;
    }

    std::size_t length() const { return length_; }
    Mode mode() const { return mode_; }

    // The check character, or '\0' when there is none.
    char character() const {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        if (length_ < kMinimumBodyLength) return '\0';
        if (mode_ == Mode::Imei) return imeiCheck(sum_);
        if (!valid_) return '\0';
        return kDigits[(16 - sum_ % 16) % 16];
    }

    void reset() {
        sum_ = 0;
        length_ = 0;
        valid_ = true;
    }

    static constexpr std::size_t kMinimumBodyLength = 14;

    // A byte's share of an IMEI sum: a digit counts its value, or on the
    // doubled positions its double with the two digits added (2d - 9 from 5
    // up); any other byte counts 0.
    static constexpr unsigned imeiShare(unsigned char c, bool doubled) {
        const unsigned value = (c >= '0' && c <= '9') ? c - '0' : 0;
        return doubled ? kImeiDoubled[value] : value;
    }
    // The check digit that brings an IMEI sum to a multiple of ten.
    static constexpr char imeiCheck(unsigned long long sum) {
        return static_cast<char>('0' + (10 - sum % 10) % 10);
    }

private:
    static constexpr unsigned kImeiDoubled[10] = {0, 2, 4, 6, 8, 1, 3, 5, 7, 9};

    static int hexValue(unsigned char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    }

    Mode mode_;
    unsigned long long sum_ = 0;
    std::size_t length_ = 0;
    bool valid_ = true;
};

// The check character of a whole body, or '\0' when it has none.
char CheckCharacter(std::string_view body, Mode mode);

}  // namespace numbrook::detail
