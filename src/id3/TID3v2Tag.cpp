#include "TID3v2Tag.h"

#include "ByteStream.h"
#include "FileStream.h"
#include "Id3Bytes.h"
#include "MemoryStream.h"
#include "TagHeader.h"
#include "common/Dialogs.h"
#include "common/KandolorError.h"

#include <QFile>
#include <algorithm>

namespace {
// True when the stream holds only zero bytes from its position up to end.
bool onlyZerosUpTo(ByteStream& stream, qint64 end) {
    constexpr qint64 Chunk = 64 * 1024;
    while (stream.position() < end) {
        const QByteArray part = stream.readExact(qMin(Chunk, end - stream.position()));
        if (std::any_of(part.begin(), part.end(), [](char c) { return c != '\0'; }))
            return false;
    }
    return true;
}
} // namespace

TID3v2Tag::TID3v2Tag(Dialogs& dialogs, Folders& folders) : dialogs_(dialogs), folders_(folders) {}

void TID3v2Tag::Clear() {
    fVersion = TID3Version{};
    fTagSize = fDataSize = fPaddingSize = 0;
    fExists = false;
    fUsePadding = true;
    fFlgUnsynch = fFlgCompression = fFlgExtended = fFlgExperimental = fFlgFooterPresent = fFlgUnknown = false;
    fUseClusteredPadding = true;
    fUnknownData = false;
    fFrames.clear();
}

TMP3Error TID3v2Tag::unexpected(const QString& title, const QString& message) {
    dialogs_.error(title, message);
    return ID3ERR_Unclassified;
}

TMP3Error TID3v2Tag::guardedOperation(const QString& title, const std::function<TMP3Error()>& operation) {
    try {
        return operation();
    } catch (const StreamReadError&) {
        return MP3ERR_SRead;
    } catch (const StreamWriteError&) {
        return MP3ERR_SWrite;
    } catch (const FileCreateError&) {
        return MP3ERR_FOpenCrt;
    } catch (const KandolorError& e) {
        return unexpected(title, e.message());
    } catch (const std::exception& e) {
        return unexpected(title, QString::fromUtf8(e.what()));
    } catch (...) {
        return unexpected(title, QStringLiteral("Unknown exception"));
    }
}

TMP3Error TID3v2Tag::ReadFromFile(const QString& Filename) {
    if (!QFile::exists(Filename))
        return MP3ERR_NoFile;
    fFilename = Filename;
    FileStream file(Filename);
    if (!file.open(FileStream::Mode::Read))
        return MP3ERR_FOpenR;
    return ReadFromStream(file);
}

TMP3Error TID3v2Tag::ReadFromStream(ByteStream& Stream) {
    return guardedOperation(QStringLiteral("Error"), [&] { return readTag(Stream); });
}

void TID3v2Tag::applyHeader(const TagHeader& header) {
    fExists = true;
    fVersion = {header.major, header.minor};
    fFlgUnsynch = header.unsynch;
    fFlgCompression = header.compression;
    fFlgExtended = header.extended;
    fFlgExperimental = header.experimental;
    fFlgFooterPresent = header.footer;
    fFlgUnknown = header.unknownFlags;
    fTagSize = static_cast<std::uint32_t>(header.tagSize);
}

TMP3Error TID3v2Tag::readTag(ByteStream& stream) {
    Clear();
    TagHeader header;
    const TMP3Error result = ReadTagHeader(stream, header);
    if (result == MP3ERR_None || result == ID3ERR_Compression)
        applyHeader(header);
    if (result == ID3ERR_Compression)
        fUnknownData = true;
    if (!fExists || result != MP3ERR_None)
        return result;

    // The frame area ends before a footer, and where the data ends when the tag claims more.
    const qint64 frameEnd = header.tagSize - (header.footer ? 10 : 0);
    const qint64 areaEnd = qMin(frameEnd, stream.size());
    fUnknownData = true; // until the frame area has been read to its end
    if (header.major != 4 && header.unsynch) {
        MemoryStream buffer(id3::Deunsynchronise(stream.readExact(areaEnd - stream.position())));
        readArea(buffer, buffer.size());
    } else {
        readArea(stream, areaEnd);
    }
    return header.tagSize > stream.size() ? MP3ERR_SRead : MP3ERR_None;
}

void TID3v2Tag::readArea(ByteStream& stream, qint64 end) {
    if (fFlgExtended)
        SkipExtendedHeader(stream, end, fVersion.Major);
    ReadFrames(stream, end);
}

void TID3v2Tag::ReadFrames(ByteStream& stream, qint64 end) {
    fUsePadding = false;
    fFrames.clear();
    const int idLength = fVersion.Major == 2 ? 3 : 4;
    bool unknownBytes = false;
    while (stream.position() < end) {
        const qint64 start = stream.position();
        const QByteArray id = end - start >= idLength ? stream.readExact(idLength) : QByteArray();
        if (!id.isEmpty() && id3::IsValidFrameId(id)) {
            auto frame = std::make_unique<TID3v2Frame>(id, fVersion.Major);
            frame->ReadFromStream(stream, end);
            frame->SetTextSettings(fAlwaysWriteUnicode, fAutoCorrectCodepage, fCharCode);
            fFrames.push_back(std::move(frame));
            continue;
        }
        fPaddingSize = static_cast<std::uint32_t>(end - start);
        fUsePadding = true;
        stream.seek(start);
        unknownBytes = !onlyZerosUpTo(stream, end);
        break;
    }
    fUnknownData = unknownBytes;
}

TID3v2Frame* TID3v2Tag::FindFrame(const QByteArray& id) const {
    for (const auto& frame : fFrames) {
        if (frame->IDString() == id)
            return frame.get();
    }
    return nullptr;
}

TID3v2Frame* TID3v2Tag::FindCommentFrame(const QByteArray& id, const QString& language,
                                         const QString& description) const {
    for (const auto& frame : fFrames) {
        if (frame->IDString() != id)
            continue;
        QString lang, desc, text;
        frame->GetCommentsLyrics(lang, desc, text);
        const bool languageMatches = language == QLatin1String("*") || language.isEmpty() || lang == language;
        const bool descriptionMatches = description == QLatin1String("*") || desc == description;
        if (languageMatches && descriptionMatches)
            return frame.get();
    }
    return nullptr;
}

TID3v2Frame& TID3v2Tag::appendFrame(const QByteArray& id) {
    fFrames.push_back(std::make_unique<TID3v2Frame>(id, fVersion.Major));
    fFrames.back()->SetTextSettings(fAlwaysWriteUnicode, fAutoCorrectCodepage, fCharCode);
    return *fFrames.back();
}

void TID3v2Tag::deleteFrame(TID3v2Frame* frame) {
    std::erase_if(fFrames, [frame](const auto& f) { return f.get() == frame; });
}

void TID3v2Tag::SetText(TFrameIDs FrameID, const QString& Value) {
    const QByteArray id = FrameIdFor(FrameID, fVersion.Major);
    if (id.size() < 3 || !id.startsWith('T'))
        return;
    TID3v2Frame* frame = FindFrame(id);
    if (frame && Value.isEmpty())
        deleteFrame(frame);
    else if (frame)
        frame->SetText(Value);
    else if (!Value.isEmpty())
        appendFrame(id).SetText(Value);
}

QString TID3v2Tag::GetText(TFrameIDs FrameID) const {
    const TID3v2Frame* frame = FindFrame(FrameIdFor(FrameID, fVersion.Major));
    return frame ? frame->GetText() : QString();
}

void TID3v2Tag::SetYear(const QString& Value) {
    const QString trimmed = Value.trimmed();
    bool digitsOnly = !trimmed.isEmpty();
    for (const QChar c : trimmed)
        digitsOnly = digitsOnly && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const int year = digitsOnly && trimmed.size() <= 9 ? trimmed.toInt() : 0;
    const QString text = year >= 1 && year <= 9999 ? trimmed.rightJustified(4, QLatin1Char('0')) : QString();
    SetText(IDv2_YEAR, text);
}

void TID3v2Tag::SetComment(const QString& Value) {
    SetCommentFrame(QStringLiteral("XXX"), QString(), Value);
}

void TID3v2Tag::SetCommentFrame(QString Language, const QString& Description, const QString& Value) {
    const QByteArray id = FrameIdFor(IDv2_COMMENT, fVersion.Major);
    if (id.size() != (fVersion.Major == 2 ? 3 : 4) || !id3::IsValidFrameId(id))
        return;
    if (Language != QLatin1String("*") && Language.size() != 3)
        Language = QStringLiteral("eng");
    TID3v2Frame* frame = FindCommentFrame(id, Language, Description);
    if (frame && Value.isEmpty())
        deleteFrame(frame);
    else if (frame)
        frame->SetCommentsLyrics(Language, Description, Value);
    else if (!Value.isEmpty())
        appendFrame(id).SetCommentsLyrics(Language, Description, Value);
}
