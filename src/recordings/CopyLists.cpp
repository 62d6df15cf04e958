#include "recordings/CopyLists.h"

#include "recording/RecordingNames.h"
#include "settings/UiTexts.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace recordings {

std::vector<RecordingFile> ListRecordings(const QString& folder) {
    std::vector<RecordingFile> files;
    const QFileInfoList entries =
        QDir(folder).entryInfoList({QStringLiteral("*.mp3")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries)
        files.push_back({entry.fileName(), toDateTime(entry.lastModified().date())});
    return files;
}

int AgeGroupOf(DateTime day, DateTime today) {
    const double d = std::floor(day);
    const double t = std::floor(today);
    if (d > t)
        return 0;
    if (d == t)
        return 1;
    // Days since the last Monday: Monday 0 ... Sunday 6 (dayOfWeek: 1 = Sunday).
    const int w = (dayOfWeek(t) + 5) % 7;
    if (d >= t - w)
        return 2;
    for (int group = 3; group <= 7; ++group)
        if (d >= t - w - 7 * (group - 2))
            return group;
    return 8;
}

namespace {

QString heading(int group, const QStringList& uiTexts) {
    const QString weeks = uiTexts.value(UiText::Weeks);
    switch (group) {
    case 1:
        return QStringLiteral("--> ") + uiTexts.value(UiText::Today);
    case 2:
        return QStringLiteral("--> ") + uiTexts.value(UiText::ThisWeek);
    case 3:
        return QStringLiteral("--> ") + uiTexts.value(UiText::LastWeek);
    case 8:
        return QStringLiteral("--> >= 6 ") + weeks;
    default:
        return QStringLiteral("--> %1 ").arg(group - 2) + weeks;
    }
}

} // namespace

QStringList SourceList(const std::vector<RecordingFile>& recordings, DateTime today,
                       const QStringList& uiTexts) {
    QStringList lines;
    for (int group = 1; group <= 8; ++group) {
        QStringList names;
        for (const RecordingFile& file : recordings)
            if (AgeGroupOf(file.day, today) == group)
                names << file.name;
        if (!names.isEmpty())
            lines << heading(group, uiTexts) << names;
    }
    return lines;
}

bool IsHeading(const QString& line) {
    return line.startsWith(QLatin1String("-->"));
}

QStringList TakenTargets(const QStringList& targetFolders, const std::vector<bool>& selected) {
    QStringList taken;
    for (int i = 0; i < targetFolders.size() && taken.size() < 4; ++i)
        if (static_cast<std::size_t>(i) < selected.size() && selected[static_cast<std::size_t>(i)])
            taken << targetFolders.at(i);
    return taken;
}

QStringList SelectedSources(const QStringList& lines, const std::vector<bool>& selected,
                            const QString& folder) {
    QStringList sources;
    for (int i = 0; i < lines.size(); ++i)
        if (static_cast<std::size_t>(i) < selected.size() && selected[static_cast<std::size_t>(i)] &&
            !IsHeading(lines.at(i)))
            sources << folder + lines.at(i);
    return sources;
}

QString StickName(const QString& name) {
    const recording::NameParts parts = recording::SplitExtension(name);
    QString base = recording::RemoveForbiddenChars(parts.baseName);
    if (base.isEmpty() && !parts.baseName.isEmpty())
        base = QStringLiteral("_");
    return base + recording::RemoveForbiddenChars(parts.extension);
}

QString NameOnTarget(const QString& name, const QString& folder, const recording::FileExists& exists) {
    const recording::NameParts parts = recording::SplitExtension(StickName(name));
    const QString extension = parts.extension.toLower();
    return recording::ApplyNumberingRule(parts.baseName, extension, folder, exists) + extension;
}

QString CopyFailureMessage(const CopyOutcome& outcome, const QString& file, const QString& target) {
    QString reason;
    switch (outcome.result) {
    case CopyResult::Full:
        reason = uiText(UiText::CopyNoRoom);
        break;
    case CopyResult::WriteProtected:
        reason = uiText(UiText::CopyWriteProtected);
        break;
    case CopyResult::Gone:
        reason = uiText(UiText::CopyMediumGone);
        break;
    case CopyResult::Exists:
        reason = uiText(UiText::CopyTargetExists);
        break;
    case CopyResult::NameRefused:
        reason = uiText(UiText::CopyNameRefused);
        break;
    case CopyResult::SourceMissing:
        reason = uiText(UiText::CopySourceUnreadable);
        break;
    default:
        reason = uiText(UiText::CopyWriteFailed);
    }
    return uiText(UiText::CopyFailed, QFileInfo(file).fileName(), target, reason);
}

QString RenamedCopyMessage(const QString& file, const QString& copy, const QString& target) {
    return uiText(UiText::CopyRenamed, QFileInfo(file).fileName(), target, copy);
}

} // namespace recordings
