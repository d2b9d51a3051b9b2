#include "numbrook/engine.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "check_accumulator.h"
#include "line_completer.h"
#include "numbrook/check_digit.h"
#include "numbrook/integer_text.h"
#include "numbrook/serial.h"
#include "output_buffer.h"
#include "serial_stepper.h"
#include "system_memory.h"

namespace numbrook {
namespace {

constexpr std::uint64_t kProgressInterval = std::uint64_t{1} << 16;
constexpr qint64 kReadBlockSize = qint64{1} << 20;

QString displayPath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString cannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("无法写入文件“%1”：%2").arg(displayPath(path), reason);
}

QString cannotRead(const QString& path, const QString& reason) {
    return QStringLiteral("无法读取文件“%1”：%2").arg(displayPath(path), reason);
}

// The values of a run, one after the other: the start body, then each body
// stepped from the one before. A step that would go below zero ends them.
class ValueSequence {
public:
    ValueSequence(std::string start, int radix, std::int32_t step, Mode mode)
        : stepper_(std::move(start), radix, step), mode_(mode) {}

    // The next item (body and check character), or nothing once the values
    // have reached zero. The view stays valid until the next call.
    std::optional<std::string_view> next() {
        if (!started_) {
            started_ = true;
            rebuildItem();
            return std::string_view(item_);
        }
        if (!stepper_.advance()) return std::nullopt;
        if (imeiSum_ && stepper_.steppedInPlace() && stepper_.body().size() == bodyLength_) {
            updateItem();
        } else {
            rebuildItem();
        }
        return std::string_view(item_);
    }

private:
    static unsigned imeiContribution(char digit, std::size_t position) {
        return detail::CheckAccumulator::imeiShare(static_cast<unsigned char>(digit),
                                                   position % 2 != 0);
    }

    void rebuildItem() {
        const std::string& body = stepper_.body();
        bodyLength_ = body.size();
        item_.assign(body);
        const char check = detail::CheckCharacter(item_, mode_);
        if (check) item_.push_back(check);
        // A long run of IMEI digit bodies keeps the check sum up to date
        // from the digits that changed, usually one or two.
        imeiSum_.reset();
        if (mode_ == Mode::Imei && check && stepper_.steppedInPlace()) {
            unsigned sum = 0;
            for (std::size_t i = 0; i < body.size(); ++i) sum += imeiContribution(body[i], i);
            imeiSum_ = sum;
        }
    }

    void updateItem() {
        const std::string& body = stepper_.body();
        unsigned sum = *imeiSum_;
        for (std::size_t i = stepper_.keptBefore(); i < bodyLength_; ++i) {
            sum += imeiContribution(body[i], i) - imeiContribution(item_[i], i);
            item_[i] = body[i];
        }
        imeiSum_ = sum;
        item_[bodyLength_] = detail::CheckAccumulator::imeiCheck(sum);
    }

    detail::SerialStepper stepper_;
    Mode mode_;
    bool started_ = false;
    std::string item_;
    std::size_t bodyLength_ = 0;
    std::optional<unsigned> imeiSum_;
};

// Lays items out in rows: one space after every item that does not end its
// row (so a short last row ends with a space), CR LF after every row.
class RowWriter {
public:
    RowWriter(detail::OutputBuffer& out, std::int32_t columns) : out_(out), columns_(columns) {}

    void add(std::string_view item) {
        out_.append(item);
        ++written_;
        if (++column_ == columns_) {
            out_.append("\r\n");
            column_ = 0;
        } else {
            out_.append(' ');
        }
    }
    // Closes a short last row.
    void finish() {
        if (column_ > 0) out_.append("\r\n");
        column_ = 0;
    }
    std::uint64_t written() const { return written_; }

private:
    detail::OutputBuffer& out_;
    std::int32_t columns_;
    std::int32_t column_ = 0;
    std::uint64_t written_ = 0;
};

// Every distinct value of a shuffled run, stored once; the batch list itself
// is a list of indexes into it.
class ValueTable {
public:
    void add(std::string_view item) {
        offsets_.push_back(bytes_.size());
        bytes_.append(item);
    }
    std::size_t size() const { return offsets_.size(); }
    std::string_view at(std::uint32_t index) const {
        const std::size_t begin = offsets_[index];
        const std::size_t end = index + 1 < offsets_.size() ? offsets_[index + 1] : bytes_.size();
        return std::string_view(bytes_).substr(begin, end - begin);
    }

private:
    std::string bytes_;
    std::vector<std::size_t> offsets_;
};

}  // namespace

Engine::Engine(WindowOps& window, MillisecondClock clock)
    : window_(window), rng_(std::move(clock)) {}

Mode Engine::currentMode() const {
    return window_.isChecked(control::kImeiRadio) ? Mode::Imei : Mode::Meid;
}

void Engine::ImeiModeClicked() {
    window_.setStartInputMode(InputMode::Integer);
}
void Engine::MeidModeClicked() {
    window_.setStartInputMode(InputMode::AnyCharacter);
}

Outcome Engine::CheckStartValue() {
    const std::string value = window_.editText(control::kStartBox);
    const Mode mode = currentMode();
    const std::string_view allowed = mode == Mode::Imei ? "0123456789" : "0123456789ABCDEF";
    for (char c : value) {
        if (allowed.find(c) == std::string_view::npos) {
            window_.showMessage(
                mode == Mode::Imei ? message::kImeiCharacters : message::kMeidCharacters,
                applicationTitle_, MessageIcon::Exclamation);
            return Outcome::Rejected;
        }
    }
    window_.setCheckDisplay(ComputeCheckDigit(window_.editText(control::kStartBox), mode));
    return Outcome::Checked;
}

Outcome Engine::GenerateBatch() {
    window_.setDialogKind(DialogKind::Save);
    if (!window_.showDialog()) return Outcome::Cancelled;
    const QString path = window_.dialogFileName();

    const std::int32_t count = ReadEditInteger(window_.editText(control::kCountBox));
    std::string start = window_.editText(control::kStartBox);
    const Mode mode = currentMode();
    const std::int32_t copies = std::max(1, ReadEditInteger(window_.editText(control::kCopiesBox)));
    const int radix = mode == Mode::Imei ? 10 : 16;
    std::int64_t step = ReadEditInteger(window_.editText(control::kStepBox));
    if (!window_.isChecked(control::kIncreaseRadio)) step = -step;
    const std::int32_t columns =
        std::max(1, ReadEditInteger(window_.editText(control::kColumnsBox)));
    const bool shuffle = window_.isChecked(control::kShuffleCheck);

    // A negated minimum does not fit; stepping by one less cannot be told
    // apart in any run that fits in memory or on a disk.
    const auto signedStep = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(step, std::numeric_limits<std::int32_t>::min() + 1,
                                 std::numeric_limits<std::int32_t>::max()));

    // With the shuffle every value and copy must be held at once; refuse a
    // list that cannot fit before anything is written.
    const std::uint64_t valueCount = static_cast<std::uint64_t>(std::max(count, 1));
    const std::uint64_t itemCount = valueCount * static_cast<std::uint64_t>(copies);
    if (shuffle && !detail::shuffleFitsInMemory(valueCount, itemCount)) {
        window_.showMessage(
            QStringLiteral("打乱顺序需要同时保存全部 %1 个号码，超出了可用内存，未生成文件。"
                           "请减小生成数量或单条复制。")
                .arg(itemCount),
            applicationTitle_, MessageIcon::Exclamation);
        return Outcome::Refused;
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        window_.showMessage(cannotWrite(path, file.errorString()), applicationTitle_,
                            MessageIcon::Exclamation);
        return Outcome::Failed;
    }
    detail::OutputBuffer out(file);
    RowWriter rows(out, columns);
    ValueSequence values(std::move(start), radix, signedStep, mode);
    const std::uint64_t wanted = count > 0 ? static_cast<std::uint64_t>(count) : 0;
    bool reachedZero = false;

    if (!shuffle) {
        // Only the first `count` items are ever written, so they are made as
        // they are written and no list is kept.
        std::uint64_t nextReport = kProgressInterval;
        while (rows.written() < wanted && out.ok()) {
            const auto item = values.next();
            if (!item) {
                reachedZero = true;
                break;
            }
            // A failed write ends the copies too: they may number two billion.
            for (std::int32_t c = 0; c < copies && rows.written() < wanted && out.ok(); ++c) {
                rows.add(*item);
            }
            if (rows.written() >= nextReport) {
                window_.reportProgress(rows.written(), wanted);
                nextReport = rows.written() + kProgressInterval;
            }
        }
    } else {
        try {
            ValueTable table;
            std::vector<std::uint32_t> items;
            items.reserve(itemCount);
            const std::uint64_t totalWork = valueCount + 4 * itemCount + wanted;
            for (std::uint64_t v = 0; v < valueCount; ++v) {
                const auto item = values.next();
                if (!item) {
                    reachedZero = true;
                    break;
                }
                table.add(*item);
                items.insert(items.end(), static_cast<std::size_t>(copies),
                             static_cast<std::uint32_t>(v));
                if ((v + 1) % kProgressInterval == 0) window_.reportProgress(v + 1, totalWork);
            }
            ShuffleBatch(items, rng_, [&](std::uint64_t moves) {
                window_.reportProgress(valueCount + moves, totalWork);
            });
            const std::size_t toWrite = std::min<std::uint64_t>(wanted, items.size());
            for (std::size_t i = 0; i < toWrite && out.ok(); ++i) {
                rows.add(table.at(items[i]));
                if ((i + 1) % kProgressInterval == 0) {
                    window_.reportProgress(valueCount + 4 * itemCount + i + 1, totalWork);
                }
            }
        } catch (const std::bad_alloc&) {
            file.cancelWriting();
            window_.showMessage(
                QStringLiteral("打乱顺序需要同时保存全部 %1 个号码，内存不足，未生成文件。"
                               "请减小生成数量或单条复制。")
                    .arg(itemCount),
                applicationTitle_, MessageIcon::Exclamation);
            return Outcome::Refused;
        }
    }
    rows.finish();

    if (!out.flush() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        window_.showMessage(cannotWrite(path, reason), applicationTitle_, MessageIcon::Exclamation);
        return Outcome::Failed;
    }
    if (reachedZero) {
        window_.showMessage(
            QStringLiteral("数据已递减到零，生成在此停止：共写入 %1 个号码。").arg(rows.written()),
            applicationTitle_, MessageIcon::Exclamation);
        return Outcome::ReachedZero;
    }
    window_.showMessage(message::kGenerated, applicationTitle_, MessageIcon::Information);
    return Outcome::Completed;
}

Outcome Engine::CompleteTextFile() {
    window_.setDialogKind(DialogKind::Open);
    if (!window_.showDialog()) return Outcome::Cancelled;
    const QString inputPath = window_.dialogFileName();
    QFile input(inputPath);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        window_.showMessage(cannotRead(inputPath, input.errorString()), message::kCompletionTitle,
                            MessageIcon::Exclamation);
        return Outcome::Failed;
    }

    window_.setDialogKind(DialogKind::Save);
    if (!window_.showDialog()) return Outcome::Cancelled;
    const QString outputPath = window_.dialogFileName();

    // The output goes to a temporary file renamed over the target at the
    // end, so the input itself may be chosen as the output.
    QSaveFile output(outputPath);
    if (!output.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        window_.showMessage(cannotWrite(outputPath, output.errorString()),
                            message::kCompletionTitle, MessageIcon::Exclamation);
        return Outcome::Failed;
    }

    detail::LineCompleter completer(currentMode());
    const qint64 total = std::max<qint64>(input.size(), 0);
    std::string block(static_cast<std::size_t>(kReadBlockSize), '\0');
    detail::ByteSink completed;
    // The completed blocks are large already: each goes straight to the file.
    detail::OutputBuffer out(output, 0);
    qint64 done = 0;
    while (out.ok()) {
        const qint64 got = input.read(block.data(), kReadBlockSize);
        if (got < 0) {
            output.cancelWriting();
            window_.showMessage(cannotRead(inputPath, input.errorString()),
                                message::kCompletionTitle, MessageIcon::Exclamation);
            return Outcome::Failed;
        }
        if (got == 0) break;
        completer.feed(std::string_view(block.data(), static_cast<std::size_t>(got)), completed);
        out.append(completed.view());
        completed.clear();
        done += got;
        window_.reportProgress(static_cast<std::uint64_t>(done), static_cast<std::uint64_t>(total));
    }
    completer.finish(completed);
    out.append(completed.view());

    if (!out.flush() || !output.commit()) {
        const QString reason = output.errorString();
        output.cancelWriting();
        window_.showMessage(cannotWrite(outputPath, reason), message::kCompletionTitle,
                            MessageIcon::Exclamation);
        return Outcome::Failed;
    }
    window_.showMessage(message::kCompleted, message::kCompletionTitle, MessageIcon::Information);
    return Outcome::Completed;
}

}  // namespace numbrook
