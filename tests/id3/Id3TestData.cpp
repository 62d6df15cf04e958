#include "Id3TestData.h"

#include <QCryptographicHash>
#include <QFile>
#include <QtEndian>
#include <cmath>
#include <stdexcept>

namespace id3test {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values)
        out.append(static_cast<char>(v));
    return out;
}

namespace {
QByteArray bigEndian(quint32 n, int count) {
    QByteArray out;
    for (int i = count - 1; i >= 0; --i)
        out.append(static_cast<char>((n >> (8 * i)) & 0xFF));
    return out;
}
QByteArray syncSafe(quint32 n) {
    return bytes({int((n >> 21) & 0x7F), int((n >> 14) & 0x7F), int((n >> 7) & 0x7F), int(n & 0x7F)});
}
} // namespace

QByteArray frameV2(const QByteArray& id, const QByteArray& content) {
    return id + bigEndian(static_cast<quint32>(content.size()), 3) + content;
}

QByteArray frameV3(const QByteArray& id, const QByteArray& content, int status, int format) {
    return id + bigEndian(static_cast<quint32>(content.size()), 4) + bytes({status, format}) + content;
}

QByteArray frameV4(const QByteArray& id, const QByteArray& content, int status, int format) {
    return id + syncSafe(static_cast<quint32>(content.size())) + bytes({status, format}) + content;
}

QByteArray latin1(const char* text) {
    return QByteArray(1, '\0') + QByteArray(text);
}

QByteArray buildTag(int major, int flags, const QByteArray& body, int padding, bool footer) {
    const auto size = static_cast<quint32>(body.size() + padding);
    QByteArray header = QByteArray("ID3") + bytes({major, 0, flags}) + syncSafe(size);
    QByteArray out = header + body + QByteArray(padding, '\0');
    if (footer)
        out += QByteArray("3DI") + header.mid(3);
    return out;
}

QByteArray audio(qint64 size, quint32 seed) {
    QByteArray out(size, Qt::Uninitialized);
    quint32 x = seed * 2654435761u + 12345u;
    for (qint64 i = 0; i < size; ++i) {
        x = x * 1664525u + 1013904223u;
        out[i] = static_cast<char>(x >> 24);
    }
    if (size > 0)
        out[0] = '\xFF'; // like an MPEG frame sync, never "ID3" or "TAG"
    return out;
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

qint64 tagSizeOf(const QByteArray& data) {
    if (data.size() < 10 || !data.startsWith("ID3"))
        return 0;
    qint64 size = 10;
    for (int i = 6; i < 10; ++i)
        size += qint64(static_cast<unsigned char>(data[i]) & 0x7F) << (7 * (9 - i));
    if (data[3] == 4 && (static_cast<unsigned char>(data[5]) & 0x10))
        size += 10;
    return size;
}

QByteArray afterTag(const QByteArray& data) {
    return data.mid(tagSizeOf(data));
}

QByteArray sha1(const QByteArray& data) {
    return QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex();
}

QByteArray sineWave(int milliseconds) {
    const int rate = 44100;
    const int samples = rate * milliseconds / 1000;
    QByteArray pcm;
    for (int i = 0; i < samples; ++i) {
        const auto v = static_cast<qint16>(8000 * std::sin(2 * M_PI * 440.0 * i / rate));
        pcm.append(static_cast<char>(v & 0xFF)).append(static_cast<char>((v >> 8) & 0xFF));
    }
    QByteArray wav("RIFF");
    const auto le = [](quint32 v, int n) {
        QByteArray b;
        for (int i = 0; i < n; ++i)
            b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
        return b;
    };
    wav += le(36 + static_cast<quint32>(pcm.size()), 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) +
           le(rate, 4) + le(rate * 2, 4) + le(2, 2) + le(16, 2) + "data" +
           le(static_cast<quint32>(pcm.size()), 4) + pcm;
    return wav;
}

} // namespace id3test
