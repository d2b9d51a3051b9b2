#include "imei_csv.h"

#include <QIODevice>
#include <QSaveFile>
#include <QStringEncoder>
#include <algorithm>
#include <cmath>

#include "imei_text.h"

namespace tallisk {

namespace {

class LineWriter {
public:
    explicit LineWriter(QIODevice& out) : out_(out), encoder_("GB18030") {}

    bool write(const QString& line) {
        // The lines hold only ASCII digits and commas, which every ANSI code page shares; the
        // Latin-1 fallback only matters on a Qt built without GB18030.
        QByteArray bytes = encoder_.isValid() ? QByteArray(encoder_(line)) : line.toLatin1();
        bytes.append("\r\n", 2);
        return out_.write(bytes) == bytes.size();
    }

private:
    QIODevice& out_;
    QStringEncoder encoder_;
};

}  // namespace

bool writeImeiLines(QIODevice& out, const ImeiBatch& batch) {
    LineWriter writer(out);
    const int last = std::min(batch.lastSerial, kLastSerial);
    const bool oneColumn = batch.columns < 2;
    // Only used when columns >= 2, so it is at least 2 and the position test below never divides
    // by zero; a huge count simply completes no row before the last entry.
    const double entriesPerRow = std::nearbyint(batch.columns);

    QString row;
    for (int serial = batch.firstSerial; serial <= last; ++serial) {
        const QString body =
            batch.tacFac + QStringLiteral("%1").arg(serial, int(kSerialLength), 10, QChar(u'0'));
        const QString entry = body + QChar(u'0' + verify(body));
        if (oneColumn) {
            if (!writer.write(entry)) return false;
            continue;
        }
        row += entry;
        row += u',';
        const double position = double(serial) - batch.firstSerial + 1;
        if (std::fmod(position, entriesPerRow) == 0) {
            if (!writer.write(row)) return false;
            row.clear();
        }
        if (serial == last) {
            if (!writer.write(row)) return false;
            row.clear();
        }
    }
    return true;
}

std::optional<QString> saveImeiCsv(const QString& path, const ImeiBatch& batch) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (!writeImeiLines(file, batch) || !file.flush()) {
        // A short write leaves no system error behind ("Unknown error"); writing the rest once
        // more brings out the reason, such as a full disk.
        file.flush();
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) return file.errorString();
    return std::nullopt;
}

}  // namespace tallisk
