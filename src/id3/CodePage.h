#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// A code page for reading 8-bit text; CodePage 0 is the system's 8-bit code page (ISO-8859-1 here).
struct TCodePage {
    QString Description;
    std::uint32_t CodePage = 0;
    std::uint32_t Index = 0;
};

// The default entry followed by 16 code pages in eight language groups.
extern const std::array<TCodePage, 17> CodePageTable;

// "System default", 0, 0.
const TCodePage& DefaultCodePage();

// The system's 8-bit code page.
QString DecodeSystem8Bit(const QByteArray& bytes);
QByteArray EncodeSystem8Bit(const QString& text);
// Decodes with the given code page; empty when the code page is unknown or yields no characters.
QString DecodeWithCodePage(const QByteArray& bytes, const TCodePage& codePage);
