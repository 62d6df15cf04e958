#include "TextFile.h"

#include "KandolorError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <cerrno>

namespace {

// 0x80..0x9F of Windows-1252; 0 where the code page leaves the byte undefined (kept as the C1 control).
constexpr char16_t Cp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int ioCodeOf(const QFileDevice& file) {
    switch (file.error()) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return errno == ENOENT ? IoCode::FileNotFound : IoCode::AccessDenied;
    case QFileDevice::ReadError:
        return IoCode::DiskRead;
    default:
        return IoCode::DiskWrite;
    }
}

} // namespace

QString fromWindows1252(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        const char16_t mapped = (b >= 0x80 && b < 0xA0) ? Cp1252High[b - 0x80] : 0;
        out.append(QChar(mapped ? mapped : b));
    }
    return out;
}

namespace TextFile {

bool exists(const QString& path) {
    return QFileInfo(path).isFile();
}

QStringList decodeLines(const QByteArray& raw) {
    QByteArray bytes = raw;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = fromWindows1252(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the line end of the last line ends no further line
    return lines;
}

QStringList readLines(const QString& path) {
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        throw KandolorError::io(ioCodeOf(file));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw KandolorError::io(IoCode::DiskRead);
    return decodeLines(bytes);
}

void writeLines(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    // A new file beside the old one, synced and then renamed over it: a crash, a full disk or a power cut
    // during the save leaves the old file whole.
    QSaveFile file(path);
    // A folder that takes no new file but lets the file be written (a shared data folder): in place, as
    // the only way to save there.
    file.setDirectWriteFallback(true);
    errno = 0;
    // Unbuffered, so that a full disk fails the write itself: a failure seen only when closing would not
    // keep the new file from replacing the old one. Refused at once: a folder, or a file that may not be
    // written.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw KandolorError::io(file.error() == QFileDevice::OpenError ? ioCodeOf(file)
                                                                       : IoCode::AccessDenied);
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw KandolorError::io(IoCode::DiskWrite);
    if (!file.commit())
        throw KandolorError::io(file.error() == QFileDevice::RenameError ? IoCode::AccessDenied
                                                                         : IoCode::DiskWrite);
}

} // namespace TextFile
