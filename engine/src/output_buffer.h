#pragma once

#include <QFileDevice>
#include <QIODevice>
#if defined(__linux__)
#include <fcntl.h>
#endif
#include <string>
#include <string_view>

namespace numbrook::detail {

// A saved file is synced to disk when it is committed. Starting the disk
// writes as the data arrives lets them run while the rest is computed,
// instead of all at once at the end.
inline void startFileWriteback(QIODevice& device, qint64 offset, qint64 size) {
#if defined(__linux__)
    auto* file = qobject_cast<QFileDevice*>(&device);
    if (file && file->handle() >= 0)
        sync_file_range(file->handle(), offset, size, SYNC_FILE_RANGE_WRITE);
#else
    (void)device;
    (void)offset;
    (void)size;
#endif
}

// Collects output in a large buffer and hands it to the device in big
// writes. The first failed write is remembered; later writes are dropped so
// the caller can check once at the end.
class OutputBuffer {
public:
    explicit OutputBuffer(QIODevice& device, std::size_t capacity = std::size_t{1} << 20)
        : device_(device), capacity_(capacity) {
        buffer_.reserve(capacity_);
    }

    void append(std::string_view bytes) {
        if (buffer_.size() + bytes.size() > capacity_) flush();
        if (bytes.size() > capacity_) {
            writeThrough(bytes.data(), bytes.size());
            return;
        }
        buffer_.append(bytes);
    }
    void append(char c) {
        if (buffer_.size() == capacity_) flush();
        buffer_.push_back(c);
    }

    // Writes out what is buffered; false once any write has failed.
    bool flush() {
        if (!buffer_.empty()) writeThrough(buffer_.data(), buffer_.size());
        buffer_.clear();
        return ok_;
    }
    bool ok() const { return ok_; }

private:
    void writeThrough(const char* data, std::size_t size) {
        if (!ok_) return;
        const auto written = device_.write(data, static_cast<qint64>(size));
        if (written != static_cast<qint64>(size)) ok_ = false;
        startWriteback(static_cast<qint64>(size));
    }

    void startWriteback(qint64 size) {
        startFileWriteback(device_, offset_, size);
        offset_ += size;
    }

    QIODevice& device_;
    std::size_t capacity_;
    std::string buffer_;
    bool ok_ = true;
    qint64 offset_ = 0;
};

}  // namespace numbrook::detail
