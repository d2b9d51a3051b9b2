// The streaming interface fed in random pieces (empty ones included) against
// the one-call digest text, and against OpenSSL; the context is wiped by
// MD5Final, and Get_Tw agrees with the digest text.
#include <openssl/evp.h>

#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "md5/md5.h"

namespace {

std::string hex(const unsigned char* bytes, std::size_t count) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(kDigits[bytes[i] >> 4]);
        out.push_back(kDigits[bytes[i] & 15]);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::ByteReader input(data, size);
    const std::string_view sizes = input.bytes(input.byte() % 16);
    const std::string_view message = input.rest();
    const auto* bytes = reinterpret_cast<const unsigned char*>(message.data());
    const auto length = static_cast<std::uint32_t>(message.size());

    Md5Context context;
    std::memset(&context, 0xA5, sizeof context);  // the buffer starts out as garbage
    MD5Init(&context);
    std::size_t at = 0;
    for (std::size_t k = 0; at < message.size(); ++k) {
        // Sizes up to 130 cross the 64-byte blocks in every way; 0 feeds an
        // empty piece through a null pointer, which must change nothing.
        std::size_t piece = sizes.empty()
                                ? message.size()
                                : static_cast<unsigned char>(sizes[k % sizes.size()]) % 131;
        if (piece == 0) {
            MD5Update(&context, nullptr, 0);
            piece = 1;
        }
        piece = std::min(piece, message.size() - at);
        MD5Update(&context, bytes + at, static_cast<std::uint32_t>(piece));
        at += piece;
    }
    unsigned char digest[16];
    MD5Final(digest, &context);
    static const Md5Context kWiped = {};
    FUZZ_CHECK(std::memcmp(&context, &kWiped, sizeof context) == 0,
               "MD5Final left the context unwiped");

    const std::string streamed = hex(digest, sizeof digest);
    const std::string oneCall = MDString(message.empty() ? nullptr : bytes, length);
    FUZZ_CHECK(streamed == oneCall, "message " + fuzz_support::printable(message) + ": streamed " +
                                        streamed + ", one call " + oneCall);
    FUZZ_CHECK(std::string(GetCFSId(bytes, length)) == oneCall, "GetCFSId differs from MDString");

    unsigned char reference[EVP_MAX_MD_SIZE];
    unsigned int referenceLength = 0;
    EVP_Digest(message.data(), message.size(), reference, &referenceLength, EVP_md5(), nullptr);
    FUZZ_CHECK(hex(reference, referenceLength) == oneCall,
               "message " + fuzz_support::printable(message) + ": OpenSSL gives " +
                   hex(reference, referenceLength) + ", Md5 " + oneCall);

    const bool isReference = oneCall == "547b6904dcb4686945958bd804907695";
    FUZZ_CHECK((Get_Tw(bytes, length) == 0) == isReference, "Get_Tw disagrees with the digest");
    FUZZ_CHECK(std::string(MDString(nullptr, 0)).size() == 32, "digest text length");
    return 0;
}
