// The integer reading of edit-box texts (GB18030 bytes) against a model that
// decodes the text character by character and saturates at the 32-bit range.
// Texts that are valid UTF-8 also take the window's road: Unicode, encoded
// to GB18030 the way the edit boxes hand their texts over.
#include <QString>
#include <QStringEncoder>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "numbrook/integer_text.h"

namespace {

// A text as a row of characters: ASCII bytes stand for themselves, the
// full-width forms and the ideographic space for their ASCII forms, and any
// other character for a character that ends a number (0).
std::vector<char> charactersOfGbText(std::string_view bytes) {
    std::vector<char> out;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        if (i + 1 == bytes.size()) {
            out.push_back('\0');
            break;
        }
        const auto trail = static_cast<unsigned char>(bytes[i + 1]);
        char ascii = '\0';
        if (lead == 0xA3 && trail >= 0xB0 && trail <= 0xB9)
            ascii = static_cast<char>('0' + trail - 0xB0);
        if (lead == 0xA3 && trail == 0xAB) ascii = '+';
        if (lead == 0xA3 && trail == 0xAD) ascii = '-';
        if (lead == 0xA1 && trail == 0xA1) ascii = ' ';
        out.push_back(ascii);
        i += 2;
    }
    return out;
}

std::vector<char> charactersOfUnicodeText(const QString& text) {
    std::vector<char> out;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c >= u'\uFF10' && c <= u'\uFF19') {
            out.push_back(static_cast<char>('0' + (c - u'\uFF10')));
        } else if (c == u'\uFF0B') {
            out.push_back('+');
        } else if (c == u'\uFF0D') {
            out.push_back('-');
        } else if (c == u'\u3000') {
            out.push_back(' ');
        } else {
            out.push_back('\0');
        }
    }
    return out;
}

// Blanks, a sign, then digits; the result clamped to the 32-bit range.
std::int32_t readInteger(const std::vector<char>& text) {
    std::size_t i = 0;
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    while (i < text.size() && blank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::string digits;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (digits.empty() && text[i] == '0') continue;  // leading zeros change nothing
        digits.push_back(text[i]);
    }
    if (digits.size() > 10) {
        return negative ? std::numeric_limits<std::int32_t>::min()
                        : std::numeric_limits<std::int32_t>::max();
    }
    const std::int64_t magnitude = digits.empty() ? 0 : std::stoll(digits);
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

constexpr std::string_view kAlphabet[] = {
    "0", "1",    "2",        "7",        "9",        "9",        "+",        "-",
    " ", "\t",   "\xA3\xB0", "\xA3\xB1", "\xA3\xB9", "\xA3\xAB", "\xA3\xAD", "\xA1\xA1",
    "x", "\xA3", "\xA1",     "\xB0\xA1", "4",        "8",        "3",        "6"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::ByteReader input(data, size);
    const std::uint8_t flags = input.byte();
    const std::string_view raw = input.rest();
    const std::string text =
        (flags & 1) ? std::string(raw) : fuzz_support::mapToAlphabet(raw, kAlphabet);

    const std::int32_t got = numbrook::ReadEditInteger(text);
    const std::int32_t expected = readInteger(charactersOfGbText(text));
    FUZZ_CHECK(got == expected, "text " + fuzz_support::printable(text) + ": got " +
                                    std::to_string(got) + ", expected " + std::to_string(expected));

    // The window's road: a Unicode text, encoded to GB18030.
    QStringDecoder fromUtf8(QStringDecoder::Utf8);
    const QString unicode =
        fromUtf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (!fromUtf8.hasError()) {
        QStringEncoder toGb("GB18030");
        const QByteArray gb = toGb(unicode);
        const std::int32_t viaWindow =
            numbrook::ReadEditInteger(std::string_view(gb.data(), gb.size()));
        const std::int32_t expectedUnicode = readInteger(charactersOfUnicodeText(unicode));
        FUZZ_CHECK(viaWindow == expectedUnicode,
                   "UTF-8 text " + fuzz_support::printable(text) + " as GB18030 " +
                       fuzz_support::printable(std::string_view(gb.data(), gb.size())) + ": got " +
                       std::to_string(viaWindow) + ", expected " + std::to_string(expectedUnicode));
    }
    return 0;
}
