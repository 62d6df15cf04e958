#include "Id3Bytes.h"

namespace id3 {

namespace {
std::uint32_t byteAt(const char* bytes, int i) {
    return static_cast<unsigned char>(bytes[i]);
}
} // namespace

std::uint32_t SyncSafeToInt(const char* bytes) {
    return (byteAt(bytes, 0) << 21) + (byteAt(bytes, 1) << 14) + (byteAt(bytes, 2) << 7) + byteAt(bytes, 3);
}

QByteArray IntToSyncSafe(std::uint32_t n) {
    QByteArray out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((n >> (7 * (3 - i))) & 0x7F);
    return out;
}

std::uint32_t BigEndianToInt(const char* bytes, int count) {
    std::uint32_t n = 0;
    for (int i = 0; i < count; ++i)
        n = (n << 8) | byteAt(bytes, i);
    return n;
}

QByteArray IntToBigEndian(std::uint32_t n, int count) {
    QByteArray out(count, '\0');
    for (int i = 0; i < count; ++i)
        out[i] = static_cast<char>((n >> (8 * (count - 1 - i))) & 0xFF);
    return out;
}

QByteArray Unsynchronise(const QByteArray& bytes, bool* inserted) {
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 64 + 1);
    bool any = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out.append(bytes[i]);
        if (b != 0xFF)
            continue;
        const bool last = i + 1 == bytes.size();
        const auto next = last ? 0 : static_cast<unsigned char>(bytes[i + 1]);
        if (last || next == 0x00 || next >= 0xE0) {
            out.append('\0');
            any = true;
        }
    }
    if (inserted)
        *inserted = any;
    return out;
}

QByteArray Deunsynchronise(const QByteArray& bytes) {
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\0' && i > 0 && static_cast<unsigned char>(bytes[i - 1]) == 0xFF)
            continue;
        out.append(bytes[i]);
    }
    return out;
}

bool IsValidFrameId(const QByteArray& id) {
    for (const char c : id) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')))
            return false;
    }
    return true;
}

} // namespace id3
