#include "imei_text.h"

#include <QByteArray>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace tallisk {

QString trimSpaces(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ') ++begin;
    while (end > begin && text[end - 1] == u' ') --end;
    return text.sliced(begin, end - begin).toString();
}

namespace {

// Index of the character after the one starting at `index`.
qsizetype nextCharacter(QStringView text, qsizetype index) {
    const bool pair = text[index].isHighSurrogate() && index + 1 < text.size() &&
                      text[index + 1].isLowSurrogate();
    return index + (pair ? 2 : 1);
}

}  // namespace

qsizetype characterCount(QStringView text) {
    qsizetype count = 0;
    for (qsizetype index = 0; index < text.size(); index = nextCharacter(text, index)) ++count;
    return count;
}

QString leftCharacters(QStringView text, qsizetype count) {
    qsizetype index = 0;
    for (qsizetype taken = 0; taken < count && index < text.size(); ++taken) {
        index = nextCharacter(text, index);
    }
    return text.first(index).toString();
}

double textValue(QStringView text) {
    QByteArray number;
    bool seenDigitOrPoint = false;
    bool seenPoint = false;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u' ' || c == u'\t' || c == u'\n') continue;
        if ((c == u'+' || c == u'-') && number.isEmpty()) {
            number.append(char(c));
        } else if (c >= u'0' && c <= u'9') {
            number.append(char(c));
            seenDigitOrPoint = true;
        } else if (c == u'.' && !seenPoint) {
            number.append('.');
            seenPoint = true;
            seenDigitOrPoint = true;
        } else {
            break;
        }
    }
    if (!seenDigitOrPoint) return 0.0;

    // from_chars takes no '+', and wants a digit somewhere: "-." and "." read as 0.
    const bool negative = number.startsWith('-');
    const char* first = number.constData() + (number.startsWith('+') ? 1 : 0);
    const char* last = number.constData() + number.size();
    double value = 0.0;
    const std::from_chars_result result =
        std::from_chars(first, last, value, std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        // Either too large for a double or so small that it rounds to zero.
        const qsizetype point = number.indexOf('.');
        const QByteArrayView whole =
            QByteArrayView(number).first(point < 0 ? number.size() : point);
        const bool large = std::ranges::any_of(whole, [](char c) { return c >= '1' && c <= '9'; });
        const double magnitude = large ? HUGE_VAL : 0.0;
        return negative ? -magnitude : magnitude;
    }
    return result.ec == std::errc() ? value : 0.0;
}

QString numberText(qint64 number) {
    const QString digits = QString::number(number);
    return number < 0 ? digits : QStringLiteral(" ") + digits;
}

int verify(QStringView imei) {
    auto digitAt = [imei](qsizetype position) -> int {
        if (position > imei.size()) return 0;
        const char16_t c = imei[position - 1].unicode();
        return (c >= u'0' && c <= u'9') ? int(c - u'0') : 0;
    };
    int sum = 0;
    for (qsizetype p = 2; p <= 14; p += 2) {
        const int doubled = 2 * digitAt(p);
        sum += doubled % 10 + doubled / 10;
    }
    for (qsizetype p = 1; p <= 13; p += 2) sum += digitAt(p);
    return (10 - sum % 10) % 10;
}

bool isCompletableBodyValue(double value) {
    return value > kBodyValueLow && value < kBodyValueHigh;
}

QString completeImei(QStringView entry) {
    const QString body = trimSpaces(entry);
    if (characterCount(body) != 14 || !isCompletableBodyValue(textValue(body))) return {};
    return body + QChar(u'0' + verify(body));
}

BoxOutcome judgeBoxText(QStringView text, qsizetype length) {
    const qsizetype trimmedLength = characterCount(trimSpaces(text));
    if (trimmedLength == length) return {BoxVerdict::Complete, {}};
    if (trimmedLength > length) return {BoxVerdict::Cut, leftCharacters(text, length)};
    return {BoxVerdict::Keep, {}};
}

std::optional<QString> zeroFilledSerial(QStringView text) {
    const QString serial = trimSpaces(text);
    const qsizetype length = characterCount(serial);
    if (length < 1 || length >= kSerialLength) return std::nullopt;
    return QString(kSerialLength - length, u'0') + serial;
}

int minimumColumns(double start, double end) {
    // Serials are at most six digits, but the difference is clamped so that no input can make
    // the conversion overflow; two equal infinities differ by NaN, which no clamp catches.
    const double difference = end - start;
    const double span =
        std::isnan(difference) ? 0.0 : std::clamp(std::nearbyint(difference), 0.0, 1e9);
    return int(qint64(span) / kRowsPerColumn) + 1;
}

}  // namespace tallisk
