#include "playback/ShortPath.h"

#include <QStringList>

namespace playback {

QString ShortenPath(const QString& path, const std::function<bool(const QString&)>& fits) {
    if (fits(path))
        return path;
    const QString ellipsis = QStringLiteral("...");
    QStringList parts = path.split(QLatin1Char('/'));
    // parts: the root ("" for an absolute path), the folders, the file name.
    if (parts.size() < 3)
        return path;
    const QString file = parts.takeLast();
    const QString root = parts.takeFirst();
    while (!parts.isEmpty()) {
        parts.removeFirst();
        const QString candidate =
            QStringList{root, ellipsis}.join(QLatin1Char('/')) +
            (parts.isEmpty() ? QString() : QLatin1Char('/') + parts.join(QLatin1Char('/'))) +
            QLatin1Char('/') + file;
        if (fits(candidate))
            return candidate;
    }
    return ellipsis + QLatin1Char('/') + file;
}

} // namespace playback
