#pragma once

#include <QByteArray>
#include <cstdint>

// Byte-level helpers of the ID3v2 format; every multi-byte number is big-endian.
namespace id3 {

// Four bytes of seven bits each, most significant first.
std::uint32_t SyncSafeToInt(const char* bytes);
QByteArray IntToSyncSafe(std::uint32_t n);
std::uint32_t BigEndianToInt(const char* bytes, int count);
QByteArray IntToBigEndian(std::uint32_t n, int count);

// After every FF followed by 00 or by a byte of E0 or more a 00 is inserted; a final FF gets a 00 after it.
// inserted (when given) tells whether anything was inserted.
QByteArray Unsynchronise(const QByteArray& bytes, bool* inserted = nullptr);
// Removes every 00 that directly follows an FF.
QByteArray Deunsynchronise(const QByteArray& bytes);

// True when every character is 0-9 or A-Z.
bool IsValidFrameId(const QByteArray& id);

} // namespace id3
