#pragma once

// Shared by every fuzz target of the project: reading the fuzzer's bytes as
// typed values, and a check that stops the run with a readable report (the
// fuzzer then keeps the input that broke it).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace fuzz_support {

[[noreturn]] inline void fail(const char* file, int line, const char* condition,
                              const std::string& details) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n%s\n", file, line, condition, details.c_str());
    std::fflush(stderr);
    std::abort();
}

// Shows a byte text with everything outside printable ASCII escaped.
inline std::string printable(std::string_view bytes) {
    std::string out = "\"";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && u != '"' && u != '\\') {
            out.push_back(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
            out += escaped;
        }
    }
    return out + "\"";
}

// Takes values from the front of the fuzzer's input; once the input is used
// up every value reads as zero, so any input is a valid one.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

    // An integer from the next bytes, least significant first.
    template <typename T>
    T value() {
        using Unsigned = std::make_unsigned_t<T>;
        std::uint64_t bits = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) bits |= std::uint64_t{byte()} << (8 * i);
        return static_cast<T>(static_cast<Unsigned>(bits));
    }

    // The next `count` bytes (fewer when the input ends first).
    std::string_view bytes(std::size_t count) {
        const std::size_t n = count < size_ - at_ ? count : size_ - at_;
        const std::string_view out(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return out;
    }
    std::string_view rest() { return bytes(size_ - at_); }
    std::size_t remaining() const { return size_ - at_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Maps every byte onto a small alphabet, so that the fuzzer reaches the
// texts that matter (digits, signs, spaces) far more often than raw bytes
// would. The alphabet's characters are texts, so multi-byte characters can
// be part of it.
template <std::size_t N>
std::string mapToAlphabet(std::string_view bytes, const std::string_view (&alphabet)[N]) {
    std::string out;
    for (const char c : bytes) out += alphabet[static_cast<unsigned char>(c) % N];
    return out;
}

}  // namespace fuzz_support

#define FUZZ_CHECK(condition, details)                                                   \
    do {                                                                                 \
        if (!(condition)) ::fuzz_support::fail(__FILE__, __LINE__, #condition, details); \
    } while (false)
