#include "line_completer.h"

namespace numbrook::detail {
namespace {

constexpr unsigned char kCr = '\r';
constexpr unsigned char kLf = '\n';
constexpr unsigned char kFullWidthSpaceByte = 0xA1;  // the space is A1 A1

bool isPlain(unsigned char c) {
    return c != ' ' && c != kCr && c < 0x80;
}

}  // namespace

void LineCompleter::feed(std::string_view bytes, std::string& out) {
    if (bytes.empty()) return;
    anyInput_ = true;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
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
        // Runs of ordinary bytes are the bulk of any real file: take them
        // in one piece.
        if (pendingLead_ < 0) {
            const auto* run = p;
            while (p < end && isPlain(*p)) ++p;
            out.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run));
            check_.addRun(run, static_cast<std::size_t>(p - run));
        }
    }
}

void LineCompleter::content(unsigned char c, std::string& out) {
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

void LineCompleter::endLine(std::string& out) {
    pendingLead_ = -1;  // a lead byte without its trail byte is dropped
    if (const char check = check_.character()) out.push_back(check);
    out.append("\r\n", 2);
    check_.reset();
    lineOpen_ = false;
    ++lines_;
}

void LineCompleter::finish(std::string& out) {
    if (pendingCr_) {
        pendingCr_ = false;
        content(kCr, out);
    }
    if (lineOpen_ || !anyInput_) endLine(out);
}

}  // namespace numbrook::detail
