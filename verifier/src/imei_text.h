#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Reading and writing the texts of the verifier's boxes. Nothing here knows about widgets.
namespace tallisk {

// Removes leading and trailing ' ' only; tabs and other blanks are kept, they count as characters.
QString trimSpaces(QStringView text);

// Lengths and cuts count characters (code points), so a cut never splits a surrogate pair.
qsizetype characterCount(QStringView text);
QString leftCharacters(QStringView text, qsizetype count);

// The number a box holds: blanks, tabs and line feeds anywhere are skipped, then the longest
// leading run of an optional sign, ASCII digits and at most one decimal point is read. A text
// without such a run is 0. No exponents, no hexadecimal.
double textValue(QStringView text);

// A whole number as the boxes and messages show it: " 42" for 42, "-3" for -3.
QString numberText(qint64 number);

// Luhn check digit (0-9) of the first 14 characters of an IMEI body. A character that is not an
// ASCII digit, or a missing one, counts as 0; characters after the 14th are ignored.
int verify(QStringView imei);

// A 14-digit body has a value strictly inside these bounds: no leading 0, and never all nines.
inline constexpr double kBodyValueLow = 9'999'999'999'999.0;
inline constexpr double kBodyValueHigh = 99'999'999'999'999.0;
bool isCompletableBodyValue(double value);

// The full IMEI for the text of the single-number entry box, or an empty text when the trimmed
// entry is not a completable 14-character body.
QString completeImei(QStringView entry);

// What a length-limited entry box does after its text changed.
enum class BoxVerdict { Keep, Complete, Cut };
struct BoxOutcome {
    BoxVerdict verdict = BoxVerdict::Keep;
    QString cutText;  // the new text of the box when verdict is Cut
};
BoxOutcome judgeBoxText(QStringView text, qsizetype length);

// Serial boxes are zero-filled to six characters when their trimmed text has 1 to 5 characters;
// nullopt means the box is left as it is.
inline constexpr qsizetype kSerialLength = 6;
std::optional<QString> zeroFilledSerial(QStringView text);

// No spreadsheet column may hold more than this many rows.
inline constexpr int kRowsPerColumn = 60000;
// The fewest columns that keep the serials start..end within kRowsPerColumn rows each.
int minimumColumns(double start, double end);

}  // namespace tallisk
