#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// Builders of ID3v2 tag bytes for the title reader's tests.
namespace TagBytes {

inline QByteArray be32(std::uint32_t v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
    return b;
}

// A frame: identifier, plain 32-bit big-endian size (the content's own unless given), two flag bytes,
// content.
inline QByteArray frame(const char* id, const QByteArray& content, std::int64_t size = -1) {
    const auto declared = static_cast<std::uint32_t>(size < 0 ? content.size() : size);
    return QByteArray(id, 4) + be32(declared) + QByteArray(2, '\0') + content;
}

// A version 2.4 frame: its size synchsafe (7 bits a byte), as the version demands.
inline QByteArray frame4(const char* id, const QByteArray& content) {
    QByteArray size;
    for (int shift = 21; shift >= 0; shift -= 7)
        size += static_cast<char>((content.size() >> shift) & 0x7F);
    return QByteArray(id, 4) + size + QByteArray(2, '\0') + content;
}

// A version 2.2 frame: three-letter identifier, three-byte size, no flags.
inline QByteArray frame22(const char* id, const QByteArray& content) {
    return QByteArray(id, 3) + be32(static_cast<std::uint32_t>(content.size())).mid(1) + content;
}

// Tag header + frames + zero padding; the size field is synchsafe (frames + padding unless given).
inline QByteArray tag(int version, const QByteArray& frames, int padding = 0, unsigned char flags = 0,
                      std::int64_t size = -1) {
    const auto s = static_cast<std::uint32_t>(size < 0 ? frames.size() + padding : size);
    QByteArray header("ID3");
    header += static_cast<char>(version);
    header += '\0';
    header += static_cast<char>(flags);
    for (int shift = 21; shift >= 0; shift -= 7)
        header += static_cast<char>((s >> shift) & 0x7F);
    return header + frames + QByteArray(padding, '\0');
}

inline QByteArray utf16le(const QString& text) {
    QByteArray b;
    for (const QChar c : text) {
        b += static_cast<char>(c.unicode() & 0xFF);
        b += static_cast<char>(c.unicode() >> 8);
    }
    return b;
}

inline QByteArray utf16be(const QString& text) {
    QByteArray b;
    for (const QChar c : text) {
        b += static_cast<char>(c.unicode() >> 8);
        b += static_cast<char>(c.unicode() & 0xFF);
    }
    return b;
}

// Content in ISO-8859-1: encoding byte 0 and the text.
inline QByteArray latin1(const QString& text) {
    return QByteArray(1, '\0') + text.toLatin1();
}

// Content in UTF-16 with the little-endian byte-order mark, optionally with a terminating zero code unit.
inline QByteArray utf16Bom(const QString& text, bool terminated = true) {
    return QByteArray("\x01\xFF\xFE", 3) + utf16le(text) + (terminated ? QByteArray(2, '\0') : QByteArray());
}

// Content in UTF-16 big-endian without byte-order mark (encoding 2), terminated.
inline QByteArray utf16Be(const QString& text) {
    return QByteArray(1, '\2') + utf16be(text) + QByteArray(2, '\0');
}

// Content in UTF-8 (encoding 3), terminated.
inline QByteArray utf8(const QString& text) {
    return QByteArray(1, '\3') + text.toUtf8() + QByteArray(1, '\0');
}

} // namespace TagBytes
