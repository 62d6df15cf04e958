#include "common/KandolorError.h"
#include "songs/Id3TitleReader.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const int selector = data[0] % 4; // 0 is no frame at all
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    try {
        const QString text = ReadId3v2Text(file, selector);
        // Text comes from one 4096-byte buffer at most.
        if (text.size() > 4096)
            std::abort();
    } catch (const KandolorError&) {
        // A file ending inside a header or content.
    }
    return 0;
}
