#include "FinishJob.h"

#include "RecordName.h"
#include "common/FileSystem.h"
#include "id3/TID3v2Tag.h"
#include "settings/UiTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace recording {

namespace {

bool isPlainComment(const TID3v2Frame& frame, QString* text = nullptr) {
    if (frame.IDString() != "COMM" && frame.IDString() != "COM")
        return false;
    QString language, description, value;
    frame.GetCommentsLyrics(language, description, value);
    if (text)
        *text = value;
    return description.isEmpty();
}

// The text of the first comment without description, in whatever language the encoder gave it.
QString plainComment(const TID3v2Tag& tag) {
    QString text;
    for (const auto& frame : tag.Frames())
        if (isPlainComment(*frame, &text))
            return text;
    return QString();
}

// Replaces every comment without description by one holding `text` (none when it is empty).
void setPlainComment(TID3v2Tag& tag, const QString& text) {
    const auto count = std::count_if(tag.Frames().begin(), tag.Frames().end(),
                                     [](const auto& frame) { return isPlainComment(*frame); });
    for (auto i = count; i > 0; --i)
        tag.SetCommentFrame(QStringLiteral("*"), QString(), QString());
    tag.SetComment(text);
}

// Renames the temporary file to the first free name after the numbering rule; the final name, or empty.
QString renameToFreeName(const FinishJob& job) {
    const NameParts parts = SplitExtension(job.fileName);
    const QString extension = parts.extension.toLower();
    // QFile::rename never replaces a file; a name taken meanwhile is numbered again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QString name =
            ApplyNumberingRule(parts.baseName, extension, job.folder, ExistsOnDisk) + extension;
        if (QFile::rename(job.tempPath(), job.folder + name))
            return name;
        if (!QFileInfo::exists(job.tempPath()))
            break;
    }
    return QString();
}

struct Rescued {
    QString tempName; // empty when nothing could be written
    bool whole = false;
};

// Copies everything `held` reads into a new file under a free temporary name in `folder` (synced with the
// rest of the finishing). A copy that fails half-way is kept: it plays up to where it ends.
Rescued copyOut(HeldFile& held, const QString& folder) {
    QDir().mkpath(folder);
    for (int number = RescuedNumber + 1; number < RescuedNumber + 1000; ++number) {
        const QString name = QStringLiteral("aufnahme%1.mp3").arg(number);
        QFile out(folder + name);
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (out.exists())
                continue;
            return {};
        }
        std::vector<char> buffer(std::size_t{1} << 20);
        std::int64_t offset = 0;
        bool whole = true;
        for (;;) {
            const std::int64_t got =
                held.read(buffer.data(), static_cast<std::int64_t>(buffer.size()), offset);
            if (got <= 0) {
                whole = got == 0;
                break;
            }
            if (out.write(buffer.data(), got) != got) {
                whole = false;
                break;
            }
            offset += got;
        }
        whole = out.flush() && whole;
        return {name, whole};
    }
    return {};
}

// The tag of the finished file: the operator's texts when the fields were changed, else the encoder's.
void writeTag(const FinishJob& job, TID3v2Tag& tag, const QString& path) {
    if (job.neu) {
        tag.SetTitle(job.topic);
        tag.SetArtist(job.speaker);
        setPlainComment(tag, job.comment);
        tag.SetAlbum(job.album);
        tag.SetYear(job.year);
    } else {
        setPlainComment(tag, plainComment(tag));
        if (job.recovered)
            tag.SetAlbum(job.album);
    }
    tag.WriteToFile(path);
}

void syncToMedium(const QString& path, const QString& folder, FileSystem& files) {
    files.syncFile(path);
    files.syncFolder(folder);
}

} // namespace

FinishResult FinishRecordingFile(const FinishJob& original, TID3v2Tag& tag, FileSystem& files) {
    FinishResult result;
    FinishJob job = original;
    QString rescueProblem;
    if (job.held && !job.held->isAt(job.tempPath())) {
        const Rescued rescued = copyOut(*job.held, job.folder);
        if (rescued.tempName.isEmpty()) {
            result.problem = uiText(UiText::RescueFailed, job.folder);
            return result;
        }
        job.tempName = rescued.tempName;
        if (!rescued.whole)
            rescueProblem = uiText(UiText::RescuedPart);
    }
    syncToMedium(job.tempPath(), job.folder, files);
    const QString name =
        SplitExtension(job.fileName).baseName.isEmpty() ? job.tempName : renameToFreeName(job);
    if (name.isEmpty()) {
        result.problem = uiText(UiText::RenameFailed, job.tempPath());
        return result;
    }
    result.finalName = name;
    if (!rescueProblem.isEmpty())
        result.problem = rescueProblem.arg(job.folder + name);
    const QString path = job.folder + name;
    if (tag.ReadFromFile(path) == MP3ERR_None && tag.Exists())
        writeTag(job, tag, path);
    syncToMedium(path, job.folder, files);
    return result;
}

} // namespace recording
