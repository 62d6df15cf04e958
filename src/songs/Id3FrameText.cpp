#include "Id3FrameText.h"

#include "Id3TitleReader.h"

#include <algorithm>

namespace Id3FrameText {

namespace {

constexpr char16_t Diaeresis = 0x0308;

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

QString upToZero(QString text) {
    const qsizetype zero = text.indexOf(QChar(u'\0'));
    if (zero >= 0)
        text.truncate(zero);
    return text;
}

char16_t withDiaeresis(char16_t letter) {
    switch (letter) {
    case u'a':
        return 0xE4;
    case u'o':
        return 0xF6;
    case u'u':
        return 0xFC;
    case u'A':
        return 0xC4;
    case u'O':
        return 0xD6;
    case u'U':
        return 0xDC;
    default:
        return 0;
    }
}

// Length of a song number prefix: digits, then " - "; 0 when the units do not begin so. unitAt(k) is the
// k-th code unit, or -1 past the text.
template <typename UnitAt> int prefixLength(UnitAt unitAt) {
    int digits = 0;
    while (unitAt(digits) >= '0' && unitAt(digits) <= '9')
        ++digits;
    if (digits == 0 || unitAt(digits) != ' ' || unitAt(digits + 1) != '-' || unitAt(digits + 2) != ' ')
        return 0;
    return digits + 3;
}

// count little-endian UTF-16 code units from byte offset start, never past the buffer.
QString utf16LeAt(const Buffer& c, int start, int count) {
    QString text;
    for (int k = 0; k < count && start + 2 * k + 1 < BufferSize; ++k) {
        const int i = start + 2 * k;
        text.append(QChar(static_cast<char16_t>(c[i] | (c[i + 1] << 8))));
    }
    return text;
}

QString utf16BeAt(const Buffer& c, int start, int count) {
    QString text;
    for (int k = 0; k < count && start + 2 * k + 1 < BufferSize; ++k) {
        const int i = start + 2 * k;
        text.append(QChar(static_cast<char16_t>((c[i] << 8) | c[i + 1])));
    }
    return text;
}

QString latin1Text(const Buffer& c, int size, bool title) {
    const auto unitAt = [&](int k) { return 1 + k < size ? int{c[1 + k]} : -1; };
    // ISO-8859-1 keeps the blank after the separator: only the digits and " -" go.
    const int prefix = title ? prefixLength(unitAt) : 0;
    QString text;
    for (int i = 1 + (prefix > 0 ? prefix - 1 : 0); i < size; ++i) {
        if (c[i] != 0)
            text.append(QChar(static_cast<char16_t>(c[i])));
    }
    return text;
}

// Replaces a/o/u/A/O/U followed by the combining diaeresis by the precomposed letter and removes every
// combining diaeresis, moving the rest of the buffer two bytes to the left. Scans byte by byte from the
// start of the content.
void joinUmlautBytes(Buffer& c, int size) {
    for (int i = 1; i <= size && i + 2 < BufferSize; ++i) {
        if (c[i + 1] != 0x08 || c[i + 2] != 0x03)
            continue;
        if (c[i] == 0) {
            if (const char16_t joined = withDiaeresis(c[i - 1]))
                c[i - 1] = static_cast<unsigned char>(joined);
        }
        std::copy(c.begin() + i + 3, c.end(), c.begin() + i + 1);
        c[BufferSize - 2] = 0;
        c[BufferSize - 1] = 0;
    }
}

QString joinUmlauts(const QString& text) {
    QString joined;
    joined.reserve(text.size());
    for (const QChar ch : text) {
        if (ch.unicode() != Diaeresis) {
            joined.append(ch);
        } else if (!joined.isEmpty()) {
            if (const char16_t letter = withDiaeresis(joined.back().unicode()))
                joined.back() = QChar(letter);
        }
    }
    return joined;
}

// UTF-16 with the little-endian byte-order mark in c[1..2].
QString utf16LeText(Buffer& c, int size, bool title) {
    const auto unitAt = [&](int k) { return 4 + 2 * k < size ? c[3 + 2 * k] | (c[4 + 2 * k] << 8) : -1; };
    const int prefix = title ? prefixLength(unitAt) : 0;
    joinUmlautBytes(c, size);
    const QString text = trimmed(upToZero(utf16LeAt(c, 1, (size - 1) / 2)));
    // The byte-order mark goes, and the title's song number prefix.
    return text.mid(1 + prefix);
}

// UTF-8 bytes from c[1] on, without a sequence that the end of the content (or of the buffer) cuts off.
QString utf8Text(const Buffer& c, int size) {
    int end = std::max(1, size);
    int lead = end - 1;
    while (lead > 1 && (c[lead] & 0xC0) == 0x80)
        --lead;
    const int length = c[lead] >= 0xF0 ? 4 : c[lead] >= 0xE0 ? 3 : c[lead] >= 0xC0 ? 2 : 1;
    if (lead + length > end)
        end = lead;
    return QString::fromUtf8(reinterpret_cast<const char*>(c.data()) + 1, end - 1);
}

// The text of the newer encodings: up to its terminator, umlauts joined, trimmed, the prefix cut.
QString finished(const QString& units, bool title) {
    const QString text = trimmed(joinUmlauts(upToZero(units)));
    if (!title)
        return text;
    const int prefix = prefixLength([&](int k) { return k < text.size() ? int{text.at(k).unicode()} : -1; });
    return text.mid(prefix);
}

} // namespace

QString decode(Buffer& c, int size, bool title) {
    switch (size > 0 ? c[0] : 0) {
    case 0:
        return latin1Text(c, size, title);
    case 1:
        if (c[1] == 0xFF && c[2] == 0xFE)
            return utf16LeText(c, size, title);
        if (c[1] == 0xFE && c[2] == 0xFF)
            return finished(utf16BeAt(c, 3, (size - 3) / 2), title);
        // No byte-order mark: little-endian from byte 10, as in a frame with language and description.
        return trimmed(utf16LeAt(c, 10, size / 2 - 1));
    case 2:
        return finished(utf16BeAt(c, 1, (size - 1) / 2), title);
    case 3:
        return finished(utf8Text(c, size), title);
    default:
        return Id3NoTagText;
    }
}

} // namespace Id3FrameText
