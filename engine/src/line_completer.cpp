#include "line_completer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace numbrook::detail {
namespace {

constexpr unsigned char kCr = '\r';
constexpr unsigned char kLf = '\n';
constexpr unsigned char kFullWidthSpaceByte = 0xA1;  // the space is A1 A1

bool isPlain(unsigned char c) {
    return c != ' ' && c != kCr && c < 0x80;
}

// Sixteen bytes read as two little-endian words: fourteen digits in the low
// fourteen bytes, CR LF in the top two. Byte-parallel arithmetic on the words
// never carries between bytes, as every per-byte value stays below 0x80.
constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kLow14 = 0x0000FFFFFFFFFFFFu;    // the high word's digits
constexpr std::uint64_t kDoubled = 0xFF00FF00FF00FF00u;  // the 2nd, 4th, ... digit

std::uint64_t loadWord(const unsigned char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    return word;
}

void storeWord(std::uint64_t word, char* w) {
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    std::memcpy(w, &word, sizeof word);
}

// All bytes of `word` under `mask` are '0'..'9'.
bool allDigits(std::uint64_t word, std::uint64_t mask) {
    const bool highNibbleIs3 = (word & mask & (kOnes * 0xF0)) == (mask & (kOnes * 0x30));
    const bool lowNibbleBelow10 =
        (((word & kOnes * 0x0F) + kOnes * 0x06) & mask & (kOnes * 0xF0)) == 0;
    return highNibbleIs3 && lowNibbleBelow10;
}

// Each digit's share of the Luhn sum: itself, or for every second digit its
// double with the digits of the double added (2d - 9 from 5 up).
std::uint64_t luhnShares(std::uint64_t digits) {
    const std::uint64_t atLeast5 = ((digits + kOnes * 0x7B) >> 7) & kOnes;
    const std::uint64_t doubled = (digits * 2 - atLeast5 * 9) & kDoubled;
    return (digits & ~kDoubled) | doubled;
}

// The check digit for each Luhn sum a line of fourteen digits can have.
constexpr auto kCheckOfSum = [] {
    std::array<char, 14 * 9 + 1> table{};
    for (std::size_t sum = 0; sum < table.size(); ++sum)
        table[sum] = CheckAccumulator::imeiCheck(sum);
    return table;
}();

// The check digit of a line of fourteen digits and CR LF, or -1 when the
// sixteen bytes at `p` are not such a line.
int checkOfDigitLine(const unsigned char* p) {
    const std::uint64_t low = loadWord(p);
    const std::uint64_t high = loadWord(p + 8);
    if ((high >> 48) != 0x0A0D || !allDigits(low, ~std::uint64_t{0}) || !allDigits(high, kLow14))
        return -1;
    const std::uint64_t shares =
        luhnShares(low - kOnes * '0') + luhnShares((high & kLow14) - (kOnes * '0' & kLow14));
    // Every partial sum stays below 127, so the multiply adds the bytes up
    // in the top byte without a carry between them.
    return kCheckOfSum[(shares * kOnes) >> 56];
}

// The line's fourteen digits, its check digit and CR LF: 17 bytes at `w`.
void storeCompletedDigitLine(const unsigned char* p, char check, char* w) {
    storeWord(loadWord(p), w);
    storeWord((loadWord(p + 8) & kLow14) | std::uint64_t{static_cast<unsigned char>(check)} << 48 |
                  std::uint64_t{'\r'} << 56,
              w + 8);
    w[16] = '\n';
}

}  // namespace

void LineCompleter::feed(std::string_view bytes, ByteSink& out) {
    if (bytes.empty()) return;
    anyInput_ = true;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        if (check_.mode() == Mode::Imei && !lineOpen_ && !pendingCr_) {
            p = takePlainImeiLines(p, end, out);
            if (p == end) return;
        }
        // Most lines hold nothing to remove: take the plain bytes up to the
        // next CR, space or lead byte in one piece, and anything else byte by
        // byte below. (Looking for the CR first would scan the rest of a long
        // line again for every space in it.)
        if (!pendingCr_ && pendingLead_ < 0) {
            const auto* stop = std::find_if_not(p, end, isPlain);
            if (stop > p) {
                out.append(reinterpret_cast<const char*>(p), static_cast<std::size_t>(stop - p));
                check_.addRun(p, static_cast<std::size_t>(stop - p));
                lineOpen_ = true;
                p = stop;
            }
            if (p == end) return;
            if (*p == kCr) {
                ++p;
                if (p == end) {
                    lineOpen_ = true;
                    pendingCr_ = true;
                } else if (*p == kLf) {
                    endLine(out);
                    ++p;
                } else {
                    lineOpen_ = true;
                    keep(kCr, out);
                }
                continue;
            }
        }
        const unsigned char c = *p++;
        if (pendingCr_) {
            pendingCr_ = false;
            if (c == kLf) {
                endLine(out);
                continue;
            }
            content(kCr, out);
        }
        lineOpen_ = true;
        if (c == kCr) {
            pendingCr_ = true;
            continue;
        }
        content(c, out);
    }
}

// Takes whole lines from the start of `p` as long as they end with CR LF
// within the piece and hold only ASCII bytes other than spaces: the bytes of
// such a line go out unchanged, so one pass finds its end and sums its
// digits, and it is written with plain stores.
const unsigned char* LineCompleter::takePlainImeiLines(const unsigned char* p,
                                                       const unsigned char* end, ByteSink& out) {
    const std::size_t base = out.size();
    // A line of 14 bytes or more grows by one byte, from at least 16 with its
    // CR LF: the output is at most 17/16 of the input.
    const auto available = static_cast<std::size_t>(end - p);
    char* const start = out.reserve(available + available / 16 + 16);
    char* w = start;
    // The plain ASCII bytes that may stand in such a line: anything below
    // 0x80 but CR and space. Digits count, other bytes count as 0.
    const auto plainValue = [](unsigned c, unsigned& value) {
        value = c - unsigned{'0'};
        if (value < 10) return true;
        value = 0;
        return c < 0x80 && c != kCr && c != ' ';
    };
    constexpr std::size_t kBody = CheckAccumulator::kMinimumBodyLength;
    while (p < end) {
        // The line of every ordinary file: fourteen digits and CR LF, checked
        // and summed eight bytes at a time.
        if (end - p >= static_cast<std::ptrdiff_t>(kBody + 2)) {
            if (const int check = checkOfDigitLine(p); check >= 0) {
                storeCompletedDigitLine(p, static_cast<char>(check), w);
                w += kBody + 3;
                ++lines_;
                p += kBody + 2;
                continue;
            }
        }
        const unsigned char* q = p;
        // Positions 1, 3, ... and 2, 4, ... are summed apart, so neither sum
        // waits on the other.
        unsigned odd = 0;
        unsigned even = 0;
        unsigned value = 0;
        for (;;) {
            if (q == end || !plainValue(*q, value)) break;
            odd += value;
            ++q;
            if (q == end || !plainValue(*q, value)) break;
            even += value * 2 - (value > 4 ? 9 : 0);
            ++q;
        }
        const unsigned sum = odd + even;
        if (q + 1 >= end || q[0] != kCr || q[1] != kLf) break;
        const auto length = static_cast<std::size_t>(q - p);
        std::memcpy(w, p, length);
        w += length;
        if (length >= CheckAccumulator::kMinimumBodyLength) *w++ = CheckAccumulator::imeiCheck(sum);
        *w++ = '\r';
        *w++ = '\n';
        ++lines_;
        p = q + 2;
    }
    out.setSize(base + static_cast<std::size_t>(w - start));
    return p;
}

void LineCompleter::content(unsigned char c, ByteSink& out) {
    if (pendingLead_ >= 0) {
        const auto lead = static_cast<unsigned char>(pendingLead_);
        pendingLead_ = -1;
        if (lead == kFullWidthSpaceByte && c == kFullWidthSpaceByte) return;
        keep(lead, out);
        keep(c, out);
        return;
    }
    if (c >= 0x80) {
        pendingLead_ = c;
    } else if (c != ' ') {
        keep(c, out);
    }
}

void LineCompleter::endLine(ByteSink& out) {
    pendingLead_ = -1;  // a lead byte without its trail byte is dropped
    if (const char check = check_.character()) out.push_back(check);
    out.append("\r\n", 2);
    check_.reset();
    lineOpen_ = false;
    ++lines_;
}

void LineCompleter::finish(ByteSink& out) {
    if (pendingCr_) {
        pendingCr_ = false;
        content(kCr, out);
    }
    if (lineOpen_ || !anyInput_) endLine(out);
}

}  // namespace numbrook::detail
