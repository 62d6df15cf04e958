#pragma once

#include "CodePage.h"

#include <QByteArray>
#include <QString>

// Text content of text and comment frames: the encoding byte, then the text.
namespace id3 {

enum TextEncoding { Enc8Bit = 0, EncUtf16Bom = 1, EncUtf16BE = 2, EncUtf8 = 3 };

// True when any character lies above U+00FF.
bool NeedsUnicode(const QString& text);
// With utf16: FF FE and the UTF-16 little-endian code units; otherwise the system's 8-bit code page.
QByteArray EncodeText(const QString& text, bool utf16);

// How 8-bit text is read.
struct Text8BitReading {
    bool autoCorrectCodepage = false;
    TCodePage charCode = DefaultCodePage();
};

// Decodes data[from..to] (inclusive, clipped to the data) in the given encoding byte; trimmed of characters
// up to U+0020 at both ends.
QString DecodeText(const QByteArray& data, qint64 from, qint64 to, int encoding,
                   const Text8BitReading& reading);

// Content of a text frame: encoding byte and text, no terminator.
QByteArray TextFrameContent(const QString& value, bool alwaysWriteUnicode);
// Content of a comment or lyrics frame; a language without exactly three characters becomes "eng".
QByteArray CommentFrameContent(const QString& language, const QString& description, const QString& value,
                               bool alwaysWriteUnicode);

struct CommentParts {
    QString language;
    QString description;
    QString text;
};
// Language, description and text of a comment frame's content; all empty for 4 bytes or fewer.
CommentParts ParseCommentContent(const QByteArray& data, const Text8BitReading& reading);

} // namespace id3
