#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "check_accumulator.h"

namespace numbrook::detail {

// Completes a text file that arrives in pieces of any size: the content is
// split into lines at CR LF pairs only (a pair split across two pieces still
// counts), spaces and full-width spaces (A1 A1) are removed from each line, a
// lone lead byte at a line's end is dropped, and every line leaves as its
// cleaned bytes, its check character (if any) and CR LF. Only the current
// line's running state is held, so memory does not grow with the input.
class LineCompleter {
public:
    explicit LineCompleter(Mode mode) : check_(mode) {}

    // Processes `bytes`, appending the output they complete to `out`.
    void feed(std::string_view bytes, std::string& out);
    // Ends the content: a last line without CR LF is completed, and empty
    // content gives one empty line.
    void finish(std::string& out);

    std::uint64_t lines() const { return lines_; }

private:
    const unsigned char* takePlainImeiLines(const unsigned char* p, const unsigned char* end,
                                            std::string& out);
    void content(unsigned char c, std::string& out);
    void keep(unsigned char c, std::string& out) {
        out.push_back(static_cast<char>(c));
        check_.add(c);
    }
    void endLine(std::string& out);

    CheckAccumulator check_;
    std::uint64_t lines_ = 0;
    bool anyInput_ = false;
    bool lineOpen_ = false;   // bytes seen since the last line end
    bool pendingCr_ = false;  // a CR whose partner is still to come
    int pendingLead_ = -1;    // a lead byte waiting for its trail byte
};

}  // namespace numbrook::detail
