// The value of a box text against a model that first drops blanks, tabs and
// line feeds, then cuts the leading number (sign, digits, one point) and
// converts it with the C library; with it the Luhn digit, the single-number
// completion and the box rules, which must hold for any text.
#include <QString>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "imei_text.h"

namespace {

double modelValue(const QString& text) {
    std::string number;
    bool point = false;
    bool first = true;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u' ' || c == u'\t' || c == u'\n') continue;
        if (first && (c == u'+' || c == u'-')) {
            number.push_back(static_cast<char>(c));
        } else if (c >= u'0' && c <= u'9') {
            number.push_back(static_cast<char>(c));
        } else if (c == u'.' && !point) {
            number.push_back('.');
            point = true;
        } else {
            break;
        }
        first = false;
    }
    // strtod reads nothing from "", "+", "-." and the like, which gives 0.
    return std::strtod(number.c_str(), nullptr);
}

int modelLuhn(const QString& body) {
    int sum = 0;
    for (qsizetype position = 1; position <= 14; ++position) {
        const char16_t c = position <= body.size() ? body[position - 1].unicode() : u'x';
        const int digit = (c >= u'0' && c <= u'9') ? c - u'0' : 0;
        const int added = position % 2 == 0 ? 2 * digit : digit;
        sum += added > 9 ? added - 9 : added;
    }
    return (10 - sum % 10) % 10;
}

std::string utf8(const QString& text) {
    return text.toStdString();
}

constexpr std::u16string_view kAlphabet[] = {
    u"0",  u"1",      u"2",          u"3",      u"4",      u"5",
    u"6",  u"7",      u"8",          u"9",      u"0",      u"9",
    u".",  u".",      u"+",          u"-",      u" ",      u" ",
    u"\t", u"\n",     u"\r",         u"e",      u"E",      u"x",
    u"１", u"\u3000", u"\U0001F600", u"\xD800", u"\x00A0", u"99999999999999"};

QString textFrom(fuzz_support::ByteReader& input, bool raw) {
    const std::string_view bytes = input.rest();
    QString text;
    if (raw) {
        // Any UTF-16 code units, unpaired surrogates included.
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            text.append(QChar(char16_t(static_cast<unsigned char>(bytes[i]) |
                                       static_cast<unsigned char>(bytes[i + 1]) << 8)));
        }
        return text;
    }
    for (const char c : bytes) {
        const std::u16string_view piece =
            kAlphabet[static_cast<unsigned char>(c) % std::size(kAlphabet)];
        text.append(QStringView(piece.data(), static_cast<qsizetype>(piece.size())));
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::ByteReader input(data, size);
    const std::uint8_t flags = input.byte();
    const QString text = textFrom(input, flags & 1);
    const std::string shown = "text " + fuzz_support::printable(utf8(text));

    const double got = tallisk::textValue(text);
    const double expected = modelValue(text);
    // Below the smallest normal double the two may round differently to zero;
    // no handler can tell such values from 0.
    const bool tiny = std::fabs(expected) < DBL_MIN && got == 0.0;
    FUZZ_CHECK(got == expected || tiny,
               shown + ": value " + std::to_string(got) + ", expected " + std::to_string(expected));

    const int luhn = tallisk::verify(text);
    FUZZ_CHECK(luhn == modelLuhn(text), shown + ": check digit " + std::to_string(luhn));

    const QString trimmed = tallisk::trimSpaces(text);
    FUZZ_CHECK(!trimmed.startsWith(u' ') && !trimmed.endsWith(u' ') && text.contains(trimmed),
               shown);
    const QString completed = tallisk::completeImei(text);
    const bool completable = tallisk::characterCount(trimmed) == 14 &&
                             expected > tallisk::kBodyValueLow &&
                             expected < tallisk::kBodyValueHigh;
    FUZZ_CHECK(completed.isEmpty() != completable, shown + ": completion " + utf8(completed));
    if (completable) {
        FUZZ_CHECK(completed == trimmed + QChar(u'0' + modelLuhn(trimmed)), shown);
    }

    // The box rules: a cut keeps whole characters and settles after one more run.
    const qsizetype length = 1 + flags % 9;
    const tallisk::BoxOutcome outcome = tallisk::judgeBoxText(text, length);
    if (outcome.verdict == tallisk::BoxVerdict::Cut) {
        FUZZ_CHECK(
            tallisk::characterCount(outcome.cutText) == length && text.startsWith(outcome.cutText),
            shown + ": cut to " + utf8(outcome.cutText));
        FUZZ_CHECK(
            tallisk::judgeBoxText(outcome.cutText, length).verdict != tallisk::BoxVerdict::Cut,
            shown);
    }
    if (const auto filled = tallisk::zeroFilledSerial(text)) {
        FUZZ_CHECK(tallisk::characterCount(*filled) == tallisk::kSerialLength, shown);
    }
    FUZZ_CHECK(tallisk::minimumColumns(expected, modelValue(trimmed + text)) >= 1, shown);
    return 0;
}
