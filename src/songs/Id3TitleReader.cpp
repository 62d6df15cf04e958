#include "Id3TitleReader.h"

#include "Id3FrameText.h"
#include "common/KandolorError.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace {

constexpr int HeaderSize = 10;

const char* frameIdOf(int selector, int version) {
    const bool v22 = version == 2;
    switch (selector) {
    case 1:
        return v22 ? "TT2" : "TIT2";
    case 2:
        return v22 ? "TCM" : "TCOM";
    case 3:
        return v22 ? "TAL" : "TALB";
    default:
        return nullptr;
    }
}

// Reads exactly count bytes at pos; a file that ends first is a read error.
void readAt(QIODevice& device, std::int64_t pos, unsigned char* into, int count) {
    if (!device.seek(pos) || device.read(reinterpret_cast<char*>(into), count) != count)
        throw KandolorError::io(IoCode::DiskRead);
}

// A 32-bit big-endian number, negative from 2^31 on.
std::int64_t plainSize(const unsigned char* b) {
    return static_cast<std::int32_t>((std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) |
                                     (std::uint32_t{b[2]} << 8) | std::uint32_t{b[3]});
}

// Whether a frame, the padding or the end of the tag begins at pos.
bool framePlausibleAt(QIODevice& device, std::int64_t pos, std::int64_t endOfTag) {
    if (pos == endOfTag)
        return true;
    unsigned char id[4];
    if (pos > endOfTag || !device.seek(pos) || device.read(reinterpret_cast<char*>(id), 4) != 4)
        return false;
    if (id[0] == 0)
        return true;
    return std::all_of(std::begin(id), std::end(id),
                       [](unsigned char b) { return (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9'); });
}

// A version 2.4 frame size is synchsafe (7 bits a byte). Some taggers write plain numbers there: a size
// that is no synchsafe number, or one whose synchsafe reading leads into the middle of something while the
// plain reading leads to the next frame, is taken as plain.
std::int64_t version4Size(QIODevice& device, const unsigned char* b, std::int64_t content,
                          std::int64_t endOfTag) {
    const std::int64_t plain = plainSize(b);
    if (((b[0] | b[1] | b[2] | b[3]) & 0x80) != 0)
        return plain;
    const std::int64_t synchsafe = (b[0] << 21) | (b[1] << 14) | (b[2] << 7) | b[3];
    if (synchsafe != plain && !framePlausibleAt(device, content + synchsafe, endOfTag) &&
        framePlausibleAt(device, content + plain, endOfTag))
        return plain;
    return synchsafe;
}

} // namespace

QString ReadId3v2Text(QIODevice& device, int selector) {
    unsigned char header[HeaderSize];
    readAt(device, 0, header, HeaderSize);
    const int version = header[3];
    const char* wanted = frameIdOf(selector, version);
    if (!wanted || header[0] != 'I' || header[1] != 'D' || header[2] != '3' || version < 2 || version > 4)
        return Id3NoTagText;

    std::int64_t endOfTag = HeaderSize + (std::int64_t{header[6]} << 21) + (std::int64_t{header[7]} << 14) +
                            (std::int64_t{header[8]} << 7) + header[9];
    if (version == 4 && (header[5] & 0x10) != 0)
        endOfTag += HeaderSize;

    // Version 2.2 frames: three-letter identifier, three-byte size; later versions: four and four.
    const int idLength = version == 2 ? 3 : 4;
    const int frameHeaderSize = version == 2 ? 6 : HeaderSize;
    const std::int64_t fileSize = device.size();
    std::int64_t pos = HeaderSize;
    for (;;) {
        unsigned char frame[HeaderSize];
        readAt(device, pos, frame, frameHeaderSize);
        if (frame[0] == 0)
            return Id3NoTagText;
        const std::int64_t content = pos + frameHeaderSize;
        const std::int64_t size = version == 2   ? (frame[3] << 16) | (frame[4] << 8) | frame[5]
                                  : version == 3 ? plainSize(frame + 4)
                                                 : version4Size(device, frame + 4, content, endOfTag);
        // A negative size would walk backwards for ever; a size past the end of the file ends the search.
        if (size < 0)
            return Id3NoTagText;
        if (std::memcmp(frame, wanted, static_cast<std::size_t>(idLength)) != 0) {
            pos = content + size;
            if (pos > endOfTag || pos > fileSize)
                return Id3NoTagText;
            continue;
        }
        Id3FrameText::Buffer c{};
        const int length = static_cast<int>(std::min<std::int64_t>(size, Id3FrameText::BufferSize));
        readAt(device, content, c.data(), length);
        return Id3FrameText::decode(c, length, selector == 1);
    }
}

QString ReadId3v2Text(const QString& fileName, int selector) {
    QFile file(fileName);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int err = errno;
        throw KandolorError::fromErrno(err != 0 ? err : ENOENT);
    }
    return ReadId3v2Text(file, selector);
}
