#include "settings/LanguageFile.h"

#include "settings/UiTexts.h"

#include <QDir>
#include <algorithm>

namespace language {

std::vector<LanguageEntry> ListLanguages(const QString& programFolder, const QString& currentFolder) {
    std::vector<LanguageEntry> entries;
    const auto add = [&entries](const QString& folder) {
        if (folder.isEmpty())
            return;
        const QDir dir(folder);
        for (const QFileInfo& file : dir.entryInfoList({QStringLiteral("*.lng")}, QDir::Files)) {
            const LanguageEntry entry{file.completeBaseName(), QDir::cleanPath(dir.absolutePath()),
                                      file.fileName()};
            const auto same = std::find_if(entries.begin(), entries.end(), [&](const LanguageEntry& e) {
                return e.name.compare(entry.name, Qt::CaseInsensitive) == 0;
            });
            if (same == entries.end())
                entries.push_back(entry);
            else
                *same = entry;
        }
    };
    add(programFolder);
    if (QDir::cleanPath(QDir(currentFolder).absolutePath()) !=
        QDir::cleanPath(QDir(programFolder).absolutePath()))
        add(currentFolder);
    std::sort(entries.begin(), entries.end(), [](const LanguageEntry& a, const LanguageEntry& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return entries;
}

QString LanguageText(const QString& written) {
    QString text;
    text.reserve(written.size());
    for (qsizetype i = 0; i < written.size(); ++i) {
        const QChar c = written.at(i);
        const QChar next = i + 1 < written.size() ? written.at(i + 1) : QChar();
        if (c == QLatin1Char('\\') && (next == QLatin1Char('n') || next == QLatin1Char('r'))) {
            text += next == QLatin1Char('n') ? QLatin1Char('\n') : QLatin1Char('\r');
            ++i;
        } else {
            text += c;
        }
    }
    return text;
}

AppliedLanguage ApplyLanguageLines(const QStringList& lines, const QString& path, const QString& pfad,
                                   QStringList& uiTexts) {
    AppliedLanguage applied;
    if (lines.size() < 3) {
        applied.error = uiText(UiText::LanguageHeaderMissing, path, QString::number(lines.size() + 1));
        return applied;
    }
    applied.headerRead = true;
    applied.songLanguageCode = lines.at(1).isEmpty() ? QStringLiteral("*") : lines.at(1);
    applied.pfad_lk = lines.at(2).isEmpty() ? pfad : lines.at(2);
    for (int i = 3; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) {
            applied.error = uiText(UiText::LanguageLineError, path, QString::number(i + 1));
            return applied;
        }
        if (const int n = i - 3; n < uiTexts.size())
            uiTexts[n] = LanguageText(line.mid(equals + 1).left(255));
    }
    return applied;
}

} // namespace language
