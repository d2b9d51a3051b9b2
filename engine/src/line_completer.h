#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "check_accumulator.h"

namespace numbrook::detail {

// A growing byte buffer whose new space is not filled in before it is
// written, which a plain string would do for every block.
class ByteSink {
public:
    std::size_t size() const { return size_; }
    const char* data() const { return bytes_.get(); }
    std::string_view view() const { return {bytes_.get(), size_}; }
    void clear() { size_ = 0; }
    void push_back(char c) {
        *reserve(1) = c;
        ++size_;
    }
    void append(const char* p, std::size_t n) {
        std::memcpy(reserve(n), p, n);
        size_ += n;
    }
    // Room for `n` more bytes after the end; `setSize` then takes what was
    // written there.
    char* reserve(std::size_t n) {
        if (size_ + n > capacity_) {
            const std::size_t capacity = std::max(capacity_ * 2, size_ + n);
            std::unique_ptr<char[]> bytes(new char[capacity]);
            if (size_) std::memcpy(bytes.get(), bytes_.get(), size_);
            bytes_ = std::move(bytes);
            capacity_ = capacity;
        }
        return bytes_.get() + size_;
    }
    void setSize(std::size_t size) { size_ = size; }

private:
    std::unique_ptr<char[]> bytes_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

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
    void feed(std::string_view bytes, ByteSink& out);
    // Ends the content: a last line without CR LF is completed, and empty
    // content gives one empty line.
    void finish(ByteSink& out);

    std::uint64_t lines() const { return lines_; }

private:
    const unsigned char* takePlainImeiLines(const unsigned char* p, const unsigned char* end,
                                            ByteSink& out);
    void content(unsigned char c, ByteSink& out);
    void keep(unsigned char c, ByteSink& out) {
        out.push_back(static_cast<char>(c));
        check_.add(c);
    }
    void endLine(ByteSink& out);

    CheckAccumulator check_;
    std::uint64_t lines_ = 0;
    bool anyInput_ = false;
    bool lineOpen_ = false;   // bytes seen since the last line end
    bool pendingCr_ = false;  // a CR whose partner is still to come
    int pendingLead_ = -1;    // a lead byte waiting for its trail byte
};

}  // namespace numbrook::detail
