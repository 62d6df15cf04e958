#include "TagHeader.h"

#include "ByteStream.h"
#include "Id3Bytes.h"

TMP3Error ReadTagHeader(ByteStream& stream, TagHeader& header) {
    header = TagHeader{};
    stream.seek(0);
    if (stream.size() < 10)
        return ID3ERR_NoTag;
    const QByteArray bytes = stream.readExact(10);
    if (!bytes.startsWith("ID3"))
        return ID3ERR_NoTag;
    const auto major = static_cast<std::uint8_t>(bytes[3]);
    if (major < 2 || major > 4)
        return ID3ERR_Invalid_Header;
    const auto flags = static_cast<std::uint8_t>(bytes[5]);
    header.major = major;
    header.minor = static_cast<std::uint8_t>(bytes[4]);
    header.tagSize = qint64(id3::SyncSafeToInt(bytes.constData() + 6)) + 10;
    header.unsynch = flags & 0x80;
    if (major == 2) {
        header.compression = flags & 0x40;
        header.unknownFlags = flags & 0x3F;
    } else {
        header.extended = flags & 0x40;
        header.experimental = flags & 0x20;
        header.footer = major == 4 && (flags & 0x10);
        header.unknownFlags = flags & (major == 4 ? 0x0F : 0x1F);
    }
    if (header.footer)
        header.tagSize += 10;
    return header.compression ? ID3ERR_Compression : MP3ERR_None;
}

QByteArray BuildTagHeader(std::uint8_t major, std::uint8_t minor, bool unsynch, std::uint32_t tagSize) {
    QByteArray header("ID3");
    header.append(static_cast<char>(major));
    header.append(static_cast<char>(minor));
    header.append(unsynch ? '\x80' : '\0');
    header.append(id3::IntToSyncSafe(tagSize - 10));
    return header;
}

void SkipExtendedHeader(ByteStream& stream, qint64 end, int major) {
    const qint64 start = stream.position();
    if (start + 6 > end)
        throw StreamReadError("extended header past the end of the tag");
    const QByteArray bytes = stream.readExact(6);
    // v2.4: sync-safe, counting the whole extended header; v2.3: plain, without its four size bytes.
    const qint64 size = major == 4 ? qint64(id3::SyncSafeToInt(bytes.constData()))
                                   : qint64(id3::BigEndianToInt(bytes.constData(), 4)) + 4;
    if (size < 6 || start + size > end)
        throw StreamReadError("extended header size out of range");
    stream.seek(start + size);
}
