#include "line_completer.h"

#include <algorithm>
#include <cstring>

namespace numbrook::detail {
namespace {

constexpr unsigned char kCr = '\r';
constexpr unsigned char kLf = '\n';
constexpr unsigned char kFullWidthSpaceByte = 0xA1;  // the space is A1 A1

bool isPlain(unsigned char c) {
    return c != ' ' && c != kCr && c < 0x80;
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
        // and summed without a test per byte.
        if (end - p >= static_cast<std::ptrdiff_t>(kBody + 2) && p[kBody] == kCr &&
            p[kBody + 1] == kLf) {
            unsigned notDigit = 0;
            unsigned sum = 0;
            for (std::size_t i = 0; i < kBody; i += 2) {
                const unsigned a = p[i] - unsigned{'0'};
                const unsigned b = p[i + 1] - unsigned{'0'};
                notDigit |= (a > 9) | (b > 9);
                sum += a + b * 2 - (b > 4 ? 9 : 0);
            }
            if (!notDigit) {
                std::memcpy(w, p, kBody);
                w[kBody] = static_cast<char>('0' + (10 - sum % 10) % 10);
                w[kBody + 1] = '\r';
                w[kBody + 2] = '\n';
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
        if (length >= CheckAccumulator::kMinimumBodyLength)
            *w++ = static_cast<char>('0' + (10 - sum % 10) % 10);
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
