// A language file: whatever its bytes, applying it keeps the 73 texts, each at most 255 characters, ends
// either cleanly or with the error message, and applying the same file again changes nothing more.
#include "common/TextFile.h"
#include "settings/LanguageFile.h"
#include "settings/UiTexts.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList lines = TextFile::decodeLines(bytes);
    QStringList texts = defaultUiTexts();
    const language::AppliedLanguage applied =
        language::ApplyLanguageLines(lines, QStringLiteral("/l/x.lng"), QStringLiteral("/lieder/"), texts);
    if (texts.size() != UiTextCount)
        std::abort();
    for (const QString& text : texts)
        if (text.size() > 255)
            std::abort();
    if (!applied.error.isEmpty() && !applied.error.startsWith(QStringLiteral("Error ! \n/l/x.lng\nLine ")))
        std::abort();
    if (applied.headerRead != (lines.size() >= 3) ||
        (applied.headerRead && applied.songLanguageCode.isEmpty()))
        std::abort();
    QStringList again = texts;
    language::ApplyLanguageLines(lines, QStringLiteral("/l/x.lng"), QStringLiteral("/lieder/"), again);
    if (again != texts)
        std::abort();
    return 0;
}
