#include "ByteStream.h"

namespace {
constexpr qint64 ChunkSize = 256 * 1024;
}

QByteArray ByteStream::readExact(qint64 n) {
    if (n < 0 || n > remaining())
        throw StreamReadError("read past the end of the data");
    QByteArray bytes(n, Qt::Uninitialized);
    if (read(bytes.data(), n) != n)
        throw StreamReadError("short read");
    return bytes;
}

qint64 copyStream(ByteStream& source, ByteStream& target, qint64 count) {
    QByteArray buffer(qMin(count, ChunkSize), Qt::Uninitialized);
    qint64 copied = 0;
    while (copied < count) {
        const qint64 got = source.read(buffer.data(), qMin<qint64>(buffer.size(), count - copied));
        if (got <= 0)
            break;
        target.write(buffer.constData(), got);
        copied += got;
    }
    return copied;
}

void writeZeros(ByteStream& target, qint64 n) {
    const QByteArray zeros(qMin(n, ChunkSize), '\0');
    while (n > 0) {
        const qint64 part = qMin<qint64>(n, zeros.size());
        target.write(zeros.constData(), part);
        n -= part;
    }
}
