#pragma once

#include <QByteArray>
#include <QString>

// Hand-built ID3v2 bytes and file helpers for the tag unit's tests.
namespace id3test {

QByteArray bytes(std::initializer_list<int> values);
// Frames: identifier, size in the version's layout, flags (none in v2.2), content.
QByteArray frameV2(const QByteArray& id, const QByteArray& content);
QByteArray frameV3(const QByteArray& id, const QByteArray& content, int status = 0, int format = 0);
QByteArray frameV4(const QByteArray& id, const QByteArray& content, int status = 0, int format = 0);
// 8-bit text frame content: encoding 0 and the text.
QByteArray latin1(const char* text);
// A tag: header (size = body + padding, plus 10 when a footer is asked for), body, zero padding, footer.
QByteArray buildTag(int major, int flags, const QByteArray& body, int padding = 0, bool footer = false);
// Deterministic bytes that do not begin with "ID3" or "TAG".
QByteArray audio(qint64 size, quint32 seed = 1);

void writeFile(const QString& path, const QByteArray& data);
QByteArray readFile(const QString& path);
// Size of the ID3v2 tag at the start of data (0 without one), from its header alone.
qint64 tagSizeOf(const QByteArray& data);
// The bytes after the ID3v2 tag.
QByteArray afterTag(const QByteArray& data);
QByteArray sha1(const QByteArray& data);

// A short sine as 16-bit mono WAVE data.
QByteArray sineWave(int milliseconds);

} // namespace id3test
