#pragma once

#include "TMP3Error.h"

#include <QByteArray>
#include <QtGlobal>
#include <cstdint>

class ByteStream;

// The 10-byte header at the start of an ID3v2 tag, as read.
struct TagHeader {
    std::uint8_t major = 3;
    std::uint8_t minor = 0;
    bool unsynch = false;
    bool compression = false;  // v2.2
    bool extended = false;     // v2.3, v2.4
    bool experimental = false; // v2.3, v2.4
    bool footer = false;       // v2.4
    bool unknownFlags = false;
    // Whole tag with its header and footer.
    qint64 tagSize = 0;
};

// Reads the header at offset 0. ID3ERR_NoTag without "ID3", ID3ERR_Invalid_Header for a major version other
// than 2, 3, 4 (tagSize stays 0), ID3ERR_Compression for a compressed v2.2 tag (the rest is filled in).
TMP3Error ReadTagHeader(ByteStream& stream, TagHeader& header);

// The header that is written: "ID3", version, flags 0x80 or 0, the size of the whole tag.
QByteArray BuildTagHeader(std::uint8_t major, std::uint8_t minor, bool unsynch, std::uint32_t tagSize);

// Skips an extended header at the current position; throws StreamReadError when it is not within end.
void SkipExtendedHeader(ByteStream& stream, qint64 end, int major);
