#pragma once

#include "ByteStream.h"

#include <QFile>

// A byte stream over a file.
class FileStream : public ByteStream {
public:
    enum class Mode { Read, ReadWrite, CreateNew };
    explicit FileStream(const QString& path) : file_(path) {}

    // False when the file cannot be opened; CreateNew fails when the file exists.
    bool open(Mode mode);
    void close() { file_.close(); }

    qint64 size() const override { return file_.size(); }
    qint64 position() const override { return file_.pos(); }
    void seek(qint64 pos) override;
    qint64 read(char* data, qint64 max) override;
    void write(const char* data, qint64 n) override;
    using ByteStream::write;
    void truncate() override;

private:
    QFile file_;
};
