#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <stdexcept>

// A failed or short read, a failed write and a file that cannot be created: the three failures the tag
// unit reports with their own result codes. Anything else thrown inside the unit counts as unexpected.
class StreamReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class StreamWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class FileCreateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Random-access byte stream: a file or a buffer in memory.
class ByteStream {
public:
    virtual ~ByteStream() = default;

    virtual qint64 size() const = 0;
    virtual qint64 position() const = 0;
    // Positions beyond the end are allowed; a later write fills the gap with zeros.
    virtual void seek(qint64 pos) = 0;
    // Reads up to max bytes; returns how many were read (0 at the end). Throws StreamReadError on failure.
    virtual qint64 read(char* data, qint64 max) = 0;
    // Writes all n bytes or throws StreamWriteError.
    virtual void write(const char* data, qint64 n) = 0;
    // Ends the stream at the current position.
    virtual void truncate() = 0;

    // Exactly n bytes, or StreamReadError.
    QByteArray readExact(qint64 n);
    void write(const QByteArray& bytes) { write(bytes.constData(), bytes.size()); }
    qint64 remaining() const { return qMax<qint64>(0, size() - position()); }
};

// Copies up to count bytes from the current position of source to the current position of target;
// returns how many were copied (fewer when source ends first).
qint64 copyStream(ByteStream& source, ByteStream& target, qint64 count);
// Writes n zero bytes.
void writeZeros(ByteStream& target, qint64 n);
