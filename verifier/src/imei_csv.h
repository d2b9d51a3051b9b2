#pragma once

#include <QString>
#include <optional>

class QIODevice;

namespace tallisk {

// One run of the batch: every serial from firstSerial to lastSerial under one TAC + FAC.
struct ImeiBatch {
    QString tacFac;        // eight digits
    int firstSerial = 0;   // 0..999999
    int lastSerial = 0;    // firstSerial..999999
    double columns = 1.0;  // value of the columns box; below 2 means one entry per line

    qint64 entryCount() const { return qint64(lastSerial) - firstSerial + 1; }
};

inline constexpr int kLastSerial = 999999;

// Writes the CSV lines: one IMEI per line, or rows of `columns` (rounded to the nearest integer)
// entries each followed by ','. A row completed by the last entry is followed by an empty line,
// which readers of the file may count on. Every line ends with CR LF. Returns false as soon as a
// write fails.
bool writeImeiLines(QIODevice& out, const ImeiBatch& batch);

// Replaces the file at `path` with the batch, or leaves it untouched and returns the system's
// reason when any part of the writing fails.
std::optional<QString> saveImeiCsv(const QString& path, const ImeiBatch& batch);

}  // namespace tallisk
