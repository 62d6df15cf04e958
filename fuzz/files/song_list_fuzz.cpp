// The song list: any bytes give 54 weeks of fields of at most ten characters, and the written list reads
// back as the same weeks.
#include "common/TextFile.h"
#include "songs/SongList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const SongList list = SongList::fromLines(TextFile::decodeLines(bytes));
    for (int r = 1; r <= SongList::Weeks; ++r) {
        if (list.row(r).date.size() > SongList::FieldLength)
            std::abort();
        for (const QString& number : list.row(r).numbers)
            if (number.size() > SongList::FieldLength)
                std::abort();
    }
    // Written as UTF-8 with CR LF, as the file is.
    const QByteArray written = list.toLines().join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
    const SongList again = SongList::fromLines(TextFile::decodeLines(written));
    if (again.toLines() != list.toLines())
        std::abort();
    return 0;
}
