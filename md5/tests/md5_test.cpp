#include "md5/md5.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Digest = std::array<unsigned char, 16>;

std::string toHex(const Digest& digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

// Feeds the input to MD5Update in pieces of at most pieceSize bytes.
Digest streamDigest(std::string_view input, std::size_t pieceSize) {
    Md5Context context;
    MD5Init(&context);
    for (std::size_t offset = 0; offset < input.size(); offset += pieceSize) {
        const std::size_t length = std::min(pieceSize, input.size() - offset);
        MD5Update(&context, input.data() + offset, static_cast<std::uint32_t>(length));
    }
    Digest digest{};
    MD5Final(digest.data(), &context);
    return digest;
}

Digest oneCallDigest(const void* input, std::size_t length) {
    Md5Context context;
    MD5Init(&context);
    MD5Update(&context, input, static_cast<std::uint32_t>(length));
    Digest digest{};
    MD5Final(digest.data(), &context);
    return digest;
}

Digest opensslDigest(const void* input, std::size_t length) {
    Digest digest{};
    unsigned int written = 0;
    if (EVP_Digest(input, length, digest.data(), &written, EVP_md5(), nullptr) != 1 ||
        written != digest.size()) {
        ADD_FAILURE() << "OpenSSL could not compute an MD5 digest";
    }
    return digest;
}

// Bytes that differ from block to block, so a block fed twice or skipped changes the digest.
std::string patternedBytes(std::size_t length) {
    std::string bytes(length, '\0');
    std::uint32_t x = 0x9e3779b9;
    for (char& byte : bytes) {
        x = x * 1664525 + 1013904223;
        byte = static_cast<char>(x >> 24);
    }
    return bytes;
}

bool isAllZero(const Md5Context& context) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&context);
    return std::all_of(bytes, bytes + sizeof context, [](unsigned char b) { return b == 0; });
}

constexpr std::string_view kReferenceInput = "Md5.fne";
constexpr std::string_view kReferenceDigest = "547b6904dcb4686945958bd804907695";
constexpr std::string_view kEmptyDigest = "d41d8cd98f00b204e9800998ecf8427e";

// RFC 1321, appendix A.5.
struct RfcCase {
    const char* name;
    std::string_view input;
    std::string_view digest;
};

const RfcCase kRfcSuite[] = {
    {"Empty", "", "d41d8cd98f00b204e9800998ecf8427e"},
    {"A", "a", "0cc175b9c0f1b6a831c399e269772661"},
    {"Abc", "abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"MessageDigest", "message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"Alphabet", "abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"AlphaNumeric", "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"EightyDigits",
     "1234567890123456789012345678901234567890123456789012345678901234567890123456789"
     "0",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

class RfcSuite : public testing::TestWithParam<RfcCase> {};

TEST_P(RfcSuite, StreamingInterfaceGivesTheRfcDigest) {
    const RfcCase& c = GetParam();
    EXPECT_EQ(toHex(oneCallDigest(c.input.data(), c.input.size())), c.digest);
    EXPECT_EQ(toHex(streamDigest(c.input, 1)), c.digest);
}

TEST_P(RfcSuite, MDStringAndGetCFSIdGiveTheRfcDigestText) {
    const RfcCase& c = GetParam();
    const auto length = static_cast<std::uint32_t>(c.input.size());
    EXPECT_EQ(std::string_view(MDString(c.input.data(), length)), c.digest);
    EXPECT_EQ(std::string_view(GetCFSId(c.input.data(), length)), c.digest);
}

INSTANTIATE_TEST_SUITE_P(Md5, RfcSuite, testing::ValuesIn(kRfcSuite),
                         [](const auto& info) { return std::string(info.param.name); });

// Every total length up to a few blocks, so each piece size meets every
// buffer offset and both padding cases (one or two final blocks).
class PieceSize : public testing::TestWithParam<std::size_t> {};

TEST_P(PieceSize, PiecesGiveTheSameDigestAsOneCall) {
    const std::string input = patternedBytes(300);
    for (std::size_t length = 0; length <= input.size(); ++length) {
        const std::string_view message(input.data(), length);
        EXPECT_EQ(streamDigest(message, GetParam()), oneCallDigest(message.data(), length))
            << "length " << length;
    }
}

INSTANTIATE_TEST_SUITE_P(Md5, PieceSize, testing::Values(1, 55, 56, 63, 64, 65),
                         [](const auto& info) { return "Bytes" + std::to_string(info.param); });

TEST(Md5Digest, MatchesOpenSslForEveryLengthUpToFiveBlocks) {
    const std::string input = patternedBytes(320);
    for (std::size_t length = 0; length <= input.size(); ++length) {
        EXPECT_EQ(oneCallDigest(input.data(), length), opensslDigest(input.data(), length))
            << "length " << length;
    }
}

TEST(Md5Digest, MatchesOpenSslForRandomLengthsSplitAtRandom) {
    std::mt19937 random(20240517);  // fixed, so a failure can be replayed
    const std::string source = patternedBytes(5000 + 8);
    for (int round = 0; round < 400; ++round) {
        const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 5000)(random);
        // Unaligned starts too: message words are loaded from any address.
        const std::size_t start = std::uniform_int_distribution<std::size_t>(0, 7)(random);
        const char* message = source.data() + start;

        Md5Context context;
        MD5Init(&context);
        std::size_t offset = 0;
        while (offset < length) {
            const std::size_t piece =
                std::uniform_int_distribution<std::size_t>(0, length - offset)(random);
            MD5Update(&context, message + offset, static_cast<std::uint32_t>(piece));
            offset += piece;
        }
        Digest digest{};
        MD5Final(digest.data(), &context);

        ASSERT_EQ(digest, opensslDigest(message, length))
            << "round " << round << ", length " << length << ", start " << start;
    }
}

TEST(Md5Digest, ZeroLengthGivesTheEmptyDigestAndChangesNothing) {
    Md5Context context;
    MD5Init(&context);
    const Md5Context before = context;
    MD5Update(&context, nullptr, 0);
    MD5Update(&context, "ignored", 0);
    EXPECT_EQ(std::memcmp(&before, &context, sizeof context), 0);

    Digest digest{};
    MD5Final(digest.data(), &context);
    EXPECT_EQ(toHex(digest), kEmptyDigest);
    EXPECT_EQ(std::string_view(MDString(nullptr, 0)), kEmptyDigest);
}

TEST(Md5Context, CountsBitsLowWordFirstAndFinalWipesTheRecord) {
    const std::string input = patternedBytes(100);
    Md5Context context;
    std::memset(&context, 0xab, sizeof context);
    MD5Init(&context);
    EXPECT_EQ(context.state[0], 0x67452301u);
    EXPECT_EQ(context.state[1], 0xefcdab89u);
    EXPECT_EQ(context.state[2], 0x98badcfeu);
    EXPECT_EQ(context.state[3], 0x10325476u);
    EXPECT_EQ(context.count[0], 0u);
    EXPECT_EQ(context.count[1], 0u);

    MD5Update(&context, input.data(), 100);
    EXPECT_EQ(context.count[0], 800u);
    EXPECT_EQ(context.count[1], 0u);
    EXPECT_EQ(std::memcmp(context.buffer, input.data() + 64, 36), 0);

    Digest digest{};
    MD5Final(digest.data(), &context);
    EXPECT_EQ(digest, opensslDigest(input.data(), 100));
    EXPECT_TRUE(isAllZero(context));
}

TEST(Md5Context, LowCountWordCarriesIntoTheHighWord) {
    const std::string block = patternedBytes(64);
    Md5Context context;
    MD5Init(&context);
    context.count[0] = 0xfffffe00;  // 64 bytes short of wrapping, buffer empty
    MD5Update(&context, block.data(), 64);
    EXPECT_EQ(context.count[0], 0u);
    EXPECT_EQ(context.count[1], 1u);
}

// 2^29 bytes are 2^32 bits: the high count word has to take the length
// itself, not only a carry. Read-only anonymous pages cost no memory.
TEST(Md5Context, InputOfHalfAGibibyteCountsIntoTheHighWord) {
    constexpr std::size_t kLength = (std::size_t{1} << 29) + 3;
    void* pages =
        mmap(nullptr, kLength, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(pages, MAP_FAILED);

    Md5Context context;
    MD5Init(&context);
    MD5Update(&context, pages, static_cast<std::uint32_t>(kLength));
    EXPECT_EQ(context.count[0], 24u);
    EXPECT_EQ(context.count[1], 1u);
    Digest digest{};
    MD5Final(digest.data(), &context);
    EXPECT_EQ(digest, opensslDigest(pages, kLength));

    munmap(pages, kLength);
}

TEST(Md5DigestText, EveryCallReturnsTheSameAreaWithTheNewText) {
    const char* first = MDString("abc", 3);
    const std::string firstText = first;
    const char* second = MDString("a", 1);
    EXPECT_EQ(first, second);
    EXPECT_EQ(firstText, "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_STREQ(first, "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(GetCFSId("abc", 3), first);
    EXPECT_EQ(std::strlen(first), 32u);
}

struct TwCase {
    const char* name;
    std::string_view input;
    std::int32_t expected;
};

const TwCase kTwCases[] = {
    {"ReferenceInput", kReferenceInput, 0},
    {"Empty", "", -1},
    {"OtherCase", "md5.fne", -1},
    {"WithTerminator", std::string_view("Md5.fne", 8), -1},
    {"ReferenceDigestTextItself", kReferenceDigest, -1},
};

class GetTw : public testing::TestWithParam<TwCase> {};

TEST_P(GetTw, ComparesWithTheReferenceAndLeavesTheInputsDigestText) {
    const TwCase& c = GetParam();
    const char* area = MDString("abc", 3);
    const auto length = static_cast<std::uint32_t>(c.input.size());
    EXPECT_EQ(Get_Tw(c.input.data(), length), c.expected);
    const std::string expectedText = toHex(opensslDigest(c.input.data(), c.input.size()));
    EXPECT_EQ(std::string_view(area), expectedText);
    EXPECT_EQ(std::string_view(MDString(c.input.data(), length)), expectedText);
}

INSTANTIATE_TEST_SUITE_P(Md5, GetTw, testing::ValuesIn(kTwCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Md5FixedNumbers, ReturnTheirValuesWhateverTheArgument) {
    for (std::int32_t argument : {0, 1, -1, 2008, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(GetCFS(argument), 2008) << "argument " << argument;
    }
    EXPECT_EQ(GetFga(), 10);
    EXPECT_EQ(Get_cfs(), 1979);
    EXPECT_EQ(Get_W(), 888);
}

}  // namespace
