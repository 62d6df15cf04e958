#pragma once

#include "ByteStream.h"

// A byte stream over a buffer in memory.
class MemoryStream : public ByteStream {
public:
    MemoryStream() = default;
    explicit MemoryStream(QByteArray bytes) : data_(std::move(bytes)) {}

    qint64 size() const override { return data_.size(); }
    qint64 position() const override { return pos_; }
    void seek(qint64 pos) override;
    qint64 read(char* data, qint64 max) override;
    void write(const char* data, qint64 n) override;
    using ByteStream::write;
    void truncate() override { data_.truncate(pos_); }

    const QByteArray& data() const { return data_; }

private:
    QByteArray data_;
    qint64 pos_ = 0;
};
