#include "FrameText.h"

namespace id3 {

namespace {

QString trimControls(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start).unicode() <= 0x20)
        ++start;
    while (end > start && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(start, end - start);
}

QString decodeUtf16(const QByteArray& bytes, bool bigEndian) {
    const qsizetype units = bytes.size() / 2;
    QString out(units, Qt::Uninitialized);
    for (qsizetype i = 0; i < units; ++i) {
        const auto a = static_cast<unsigned char>(bytes[2 * i]);
        const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
        out[i] = QChar(static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
    }
    return out;
}

int normalisedEncoding(char byte) {
    const int e = static_cast<unsigned char>(byte);
    return e >= EncUtf16Bom && e <= EncUtf8 ? e : Enc8Bit;
}

bool isUtf16(int encoding) {
    return encoding == EncUtf16Bom || encoding == EncUtf16BE;
}

} // namespace

bool NeedsUnicode(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return true;
    }
    return false;
}

QByteArray EncodeText(const QString& text, bool utf16) {
    if (!utf16)
        return EncodeSystem8Bit(text);
    QByteArray out;
    out.reserve(2 + 2 * text.size());
    out.append('\xFF').append('\xFE');
    for (const QChar c : text) {
        out.append(static_cast<char>(c.unicode() & 0xFF));
        out.append(static_cast<char>(c.unicode() >> 8));
    }
    return out;
}

QString DecodeText(const QByteArray& data, qint64 from, qint64 to, int encoding,
                   const Text8BitReading& reading) {
    to = qMin<qint64>(to, data.size() - 1);
    from = qMax<qint64>(from, 0);
    if (to < from)
        return {};
    const QByteArray bytes = data.mid(from, to - from + 1);
    QString text;
    switch (encoding) {
    case EncUtf16Bom:
        if (bytes.startsWith("\xFE\xFF"))
            text = decodeUtf16(bytes.mid(2), true);
        else
            text = decodeUtf16(bytes.mid(2), false);
        break;
    case EncUtf16BE:
        text = decodeUtf16(bytes, true);
        break;
    case EncUtf8:
        text = QString::fromUtf8(bytes);
        break;
    default:
        if (reading.autoCorrectCodepage)
            text = DecodeWithCodePage(bytes, reading.charCode);
        if (text.isEmpty())
            text = DecodeSystem8Bit(bytes);
        break;
    }
    return trimControls(text);
}

QByteArray TextFrameContent(const QString& value, bool alwaysWriteUnicode) {
    const bool utf16 = alwaysWriteUnicode || NeedsUnicode(value);
    QByteArray content(1, utf16 ? char(EncUtf16Bom) : char(Enc8Bit));
    return content + EncodeText(value, utf16);
}

QByteArray CommentFrameContent(const QString& language, const QString& description, const QString& value,
                               bool alwaysWriteUnicode) {
    const bool utf16 = alwaysWriteUnicode || NeedsUnicode(value) || NeedsUnicode(description);
    const QString lang = language.size() == 3 ? language : QStringLiteral("eng");
    QByteArray content(1, utf16 ? char(EncUtf16Bom) : char(Enc8Bit));
    content += EncodeSystem8Bit(lang).leftJustified(3, ' ', true);
    content += EncodeText(description, utf16);
    content += utf16 ? QByteArray(2, '\0') : QByteArray(1, '\0');
    content += EncodeText(value, utf16);
    return content;
}

CommentParts ParseCommentContent(const QByteArray& data, const Text8BitReading& reading) {
    CommentParts parts;
    if (data.size() <= 4)
        return parts;
    const int encoding = normalisedEncoding(data[0]);
    parts.language = DecodeSystem8Bit(data.mid(1, 3));
    const qsizetype start = 4;
    qsizetype end = data.size(); // first byte of the terminator
    qsizetype terminator = 0;
    if (isUtf16(encoding)) {
        for (qsizetype i = start; i + 1 < data.size(); i += 2) {
            if (data[i] == '\0' && data[i + 1] == '\0') {
                end = i;
                terminator = 2;
                break;
            }
        }
    } else {
        const qsizetype zero = data.indexOf('\0', start);
        if (zero >= 0) {
            end = zero;
            terminator = 1;
        }
    }
    parts.description = DecodeText(data, start, end - 1, encoding, reading);
    parts.text = DecodeText(data, end + terminator, data.size() - 1, encoding, reading);
    return parts;
}

} // namespace id3
