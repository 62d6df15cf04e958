#include "Id3TitleReader.h"

#include "common/KandolorError.h"

#include <QFile>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

constexpr int HeaderSize = 10;
constexpr int BufferSize = 4096;
using Buffer = std::array<unsigned char, BufferSize>;

const char* frameIdOf(int selector) {
    switch (selector) {
    case 1:
        return "TIT2";
    case 2:
        return "TCOM";
    case 3:
        return "TALB";
    default:
        return nullptr;
    }
}

// Reads exactly count bytes at pos; a file that ends first is a read error.
void readAt(QIODevice& device, std::int64_t pos, unsigned char* into, int count) {
    if (!device.seek(pos) || device.read(reinterpret_cast<char*>(into), count) != count)
        throw KandolorError::io(IoCode::DiskRead);
}

bool isBlankOrControl(char16_t c) {
    return c <= u' ';
}

QString trimmed(const QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlankOrControl(text.at(begin).unicode()))
        ++begin;
    while (end > begin && isBlankOrControl(text.at(end - 1).unicode()))
        --end;
    return text.mid(begin, end - begin);
}

// count little-endian UTF-16 code units from byte offset start, never past the buffer.
QString utf16At(const Buffer& c, int start, int count) {
    QString text;
    for (int k = 0; k < count && start + 2 * k + 1 < BufferSize; ++k) {
        const int i = start + 2 * k;
        text.append(QChar(static_cast<char16_t>(c[i] | (c[i + 1] << 8))));
    }
    return text;
}

QString latin1Text(const Buffer& c, int size, int selector) {
    QString text;
    for (int i = selector == 1 ? 6 : 1; i < size; ++i) {
        if (c[i] != 0)
            text.append(QChar(static_cast<char16_t>(c[i])));
    }
    return text;
}

// Replaces a/o/u/A/O/U followed by the combining diaeresis by the precomposed letter and removes every
// combining diaeresis, moving the rest of the buffer two bytes to the left.
void joinUmlauts(Buffer& c, int size, int selector) {
    for (int i = selector == 1 ? 7 : 0; i <= size && i + 2 < BufferSize; ++i) {
        if (c[i + 1] != 0x08 || c[i + 2] != 0x03 || i < 1)
            continue;
        if (c[i] == 0) {
            switch (c[i - 1]) {
            case 'a':
                c[i - 1] = 0xE4;
                break;
            case 'o':
                c[i - 1] = 0xF6;
                break;
            case 'u':
                c[i - 1] = 0xFC;
                break;
            case 'A':
                c[i - 1] = 0xC4;
                break;
            case 'O':
                c[i - 1] = 0xD6;
                break;
            case 'U':
                c[i - 1] = 0xDC;
                break;
            default:
                break;
            }
        }
        std::copy(c.begin() + i + 3, c.end(), c.begin() + i + 1);
        c[BufferSize - 2] = 0;
        c[BufferSize - 1] = 0;
    }
}

QString decode(Buffer& c, int size, int selector) {
    switch (c[0]) {
    case 0:
        return latin1Text(c, size, selector);
    case 1:
        if (c[1] == 0xFF && c[2] == 0xFE) {
            joinUmlauts(c, size, selector);
            const QString text = trimmed(utf16At(c, 1, size / 2 - 1));
            // The title drops the byte-order mark and the song number with its separator; the other
            // frames only the byte-order mark.
            return text.mid(selector == 1 ? 7 : 1);
        }
        return trimmed(utf16At(c, 10, size / 2 - 1));
    default:
        return Id3NoTagText;
    }
}

} // namespace

QString ReadId3v2Text(QIODevice& device, int selector) {
    unsigned char header[HeaderSize];
    readAt(device, 0, header, HeaderSize);
    const char* wanted = frameIdOf(selector);
    if (!wanted || header[0] != 'I' || header[1] != 'D' || header[2] != '3' || header[3] < 2 || header[3] > 4)
        return Id3NoTagText;

    std::int64_t endOfTag = HeaderSize + (std::int64_t{header[6]} << 21) + (std::int64_t{header[7]} << 14) +
                            (std::int64_t{header[8]} << 7) + header[9];
    if (header[3] == 4 && (header[5] & 0x10) != 0)
        endOfTag += HeaderSize;

    const std::int64_t fileSize = device.size();
    std::int64_t pos = HeaderSize;
    for (;;) {
        unsigned char frame[HeaderSize];
        readAt(device, pos, frame, HeaderSize);
        if (frame[0] == 0)
            return Id3NoTagText;
        const auto size =
            static_cast<std::int32_t>((std::uint32_t{frame[4]} << 24) | (std::uint32_t{frame[5]} << 16) |
                                      (std::uint32_t{frame[6]} << 8) | std::uint32_t{frame[7]});
        // A negative size would walk backwards for ever; a size past the end of the file ends the search.
        if (size < 0)
            return Id3NoTagText;
        const std::int64_t content = pos + HeaderSize;
        if (std::memcmp(frame, wanted, 4) != 0) {
            pos = content + size;
            if (pos > endOfTag || pos > fileSize)
                return Id3NoTagText;
            continue;
        }
        Buffer c{};
        const int length = size < BufferSize ? size : BufferSize;
        readAt(device, content, c.data(), length);
        return decode(c, length, selector);
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
