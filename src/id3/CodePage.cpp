#include "CodePage.h"

#include <QStringDecoder>

const std::array<TCodePage, 17> CodePageTable = {{
    {QStringLiteral("System default"), 0, 0},
    {QStringLiteral("Greek (Windows)"), 1253, 0},
    {QStringLiteral("Greek (ISO)"), 28597, 1},
    {QStringLiteral("Cyrillic (Windows)"), 1251, 0},
    {QStringLiteral("Cyrillic (DOS)"), 866, 1},
    {QStringLiteral("Cyrillic (KOI8-R)"), 20866, 2},
    {QStringLiteral("Cyrillic (KOI8-U)"), 21866, 3},
    {QStringLiteral("Cyrillic (ISO)"), 28595, 4},
    {QStringLiteral("Hebrew (Windows)"), 1255, 0},
    {QStringLiteral("Hebrew (ISO)"), 28598, 1},
    {QStringLiteral("Arabic (Windows)"), 1256, 0},
    {QStringLiteral("Arabic (ISO)"), 28596, 1},
    {QStringLiteral("Thai (Windows)"), 874, 0},
    {QStringLiteral("Chinese Simplified (GBK)"), 936, 0},
    {QStringLiteral("Chinese Traditional (Big5)"), 950, 1},
    {QStringLiteral("Korean"), 949, 0},
    {QStringLiteral("Japanese (Shift-JIS)"), 932, 0},
}};

namespace {

const char* converterName(std::uint32_t codePage) {
    switch (codePage) {
    case 866:
        return "IBM866";
    case 874:
        return "windows-874";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    case 28595:
        return "ISO-8859-5";
    case 28596:
        return "ISO-8859-6";
    case 28597:
        return "ISO-8859-7";
    case 28598:
        return "ISO-8859-8";
    default:
        return nullptr;
    }
}

} // namespace

const TCodePage& DefaultCodePage() {
    return CodePageTable[0];
}

QString DecodeSystem8Bit(const QByteArray& bytes) {
    return QString::fromLatin1(bytes);
}

QByteArray EncodeSystem8Bit(const QString& text) {
    return text.toLatin1();
}

QString DecodeWithCodePage(const QByteArray& bytes, const TCodePage& codePage) {
    if (codePage.CodePage == 0)
        return DecodeSystem8Bit(bytes);
    const char* name = converterName(codePage.CodePage);
    if (!name)
        return {};
    QStringDecoder decoder(name);
    if (!decoder.isValid())
        return {};
    // Composed characters preferred.
    return QString(decoder.decode(bytes)).normalized(QString::NormalizationForm_C);
}
