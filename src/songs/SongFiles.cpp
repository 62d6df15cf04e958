#include "SongFiles.h"
#include "settings/UiTexts.h"

#include <QDir>
#include <algorithm>

QString paddedSongNumber(int number) {
    return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

QString songFileName(const QString& languageCode, int number, const QString& ext) {
    return QStringLiteral("iasn_") + languageCode + QLatin1Char('_') + paddedSongNumber(number) + ext;
}

bool matchesFileMask(const QString& name, const QString& mask) {
    // Iterative wildcard match with backtracking to the last "*".
    qsizetype n = 0, m = 0, starM = -1, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask.at(m) == QLatin1Char('*')) {
            starM = m++;
            starN = n;
        } else if (m < mask.size() && (mask.at(m) == QLatin1Char('?') ||
                                       name.at(n).toCaseFolded() == mask.at(m).toCaseFolded())) {
            ++n;
            ++m;
        } else if (starM >= 0) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask.at(m) == QLatin1Char('*'))
        ++m;
    return m == mask.size();
}

QStringList matchingFiles(const QString& folder, const QString& mask) {
    if (folder.isEmpty())
        return {};
    const QStringList all = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    QStringList found;
    for (const QString& name : all) {
        if (matchesFileMask(name, mask))
            found.append(name);
    }
    std::sort(found.begin(), found.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return found;
}

QString FindSongFile(const QString& folder, const QString& languageCode, const QString& ext, int number,
                     bool fallback) {
    QStringList found = matchingFiles(folder, songFileName(languageCode, number, ext));
    if (found.isEmpty() && fallback)
        found = matchingFiles(folder, songFileName(QStringLiteral("*"), number, ext));
    return found.isEmpty() ? QString() : found.first();
}

int CountSongFiles(const QString& folder, const QString& ext) {
    return static_cast<int>(matchingFiles(folder, QStringLiteral("*") + ext).size());
}

QString songFolderWarning(const QString& folder, const QString& ext) {
    return CountSongFiles(folder, ext) < MinimumSongCount ? uiText(UiText::FewerSongsWarning) : QString();
}

QString folderOfPath(const QString& path) {
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}
