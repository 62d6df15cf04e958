#include "MemoryStream.h"

#include <cstring>

void MemoryStream::seek(qint64 pos) {
    if (pos < 0)
        throw StreamReadError("seek before the start");
    pos_ = pos;
}

qint64 MemoryStream::read(char* data, qint64 max) {
    const qint64 n = qBound<qint64>(0, max, remaining());
    if (n > 0)
        std::memcpy(data, data_.constData() + pos_, static_cast<size_t>(n));
    pos_ += n;
    return n;
}

void MemoryStream::write(const char* data, qint64 n) {
    if (n <= 0)
        return;
    if (pos_ > data_.size())
        data_.append(pos_ - data_.size(), '\0');
    const qint64 overlap = qMin<qint64>(n, data_.size() - pos_);
    std::memcpy(data_.data() + pos_, data, static_cast<size_t>(overlap));
    data_.append(data + overlap, n - overlap);
    pos_ += n;
}
