// Writing of TID3v2Tag: in place when the new tag fits into the old one with more than 30 bytes to spare,
// otherwise by rebuilding the file with the audio saved in a temporary file.
#include "TID3v2Tag.h"

#include "ByteStream.h"
#include "FileStream.h"
#include "Id3Bytes.h"
#include "MemoryStream.h"
#include "TagHeader.h"
#include "TempTagFile.h"
#include "common/Folders.h"

#include <QFile>
#include <exception>
#include <stdexcept>

namespace {

constexpr qint64 InPlaceSpare = 30;
constexpr qint64 Id3v1Size = 128;
constexpr qint64 MaxTagSize = 0x0FFFFFFF + 10;
constexpr qint64 DefaultCluster = 2048;
constexpr qint64 MaxCluster = 16 * 1024 * 1024; // larger answers are taken as unknown

bool isStreamFailure(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const StreamReadError&) {
        return true;
    } catch (const StreamWriteError&) {
        return true;
    } catch (...) {
        return false;
    }
}

// Puts the file back as it was: the old tag, then (after a rebuild) the saved audio. False when that fails.
bool restoreOriginal(ByteStream& stream, const QByteArray& oldTag, TempTagFile* audio, qint64 audioSize) {
    try {
        stream.seek(0);
        stream.write(oldTag);
        if (audio) {
            audio->stream().seek(0);
            if (copyStream(audio->stream(), stream, audioSize) != audioSize)
                return false;
            stream.truncate();
        }
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

TMP3Error TID3v2Tag::WriteToFile(const QString& Filename) {
    if (!QFile::exists(Filename))
        return MP3ERR_NoFile;
    fFilename = Filename;
    FileStream file(Filename);
    if (!file.open(FileStream::Mode::ReadWrite))
        return MP3ERR_FOpenRW;
    return WriteToStream(file);
}

TMP3Error TID3v2Tag::WriteToStream(ByteStream& Stream) {
    // Bytes of the old tag that were not understood are never written over.
    if (fUnknownData)
        return ID3ERR_Invalid_Header;
    return guardedOperation(QStringLiteral("Error Error"), [&] { return writeTag(Stream); });
}

void TID3v2Tag::writeFrames(ByteStream& target) {
    if (fFlgUnsynch && fVersion.Major < 4) {
        MemoryStream buffer;
        for (const auto& frame : fFrames)
            frame->WriteToStream(buffer);
        target.write(id3::Unsynchronise(buffer.data()));
    } else {
        for (const auto& frame : fFrames) {
            if (fFlgUnsynch)
                frame->WriteUnsyncedToStream(target);
            else
                frame->WriteToStream(target);
        }
    }
}

std::uint32_t TID3v2Tag::tagSizeFor(qint64 dataSize, qint64 oldSize, bool rewrite, qint64 audioSize,
                                    qint64 extra) {
    qint64 padding = 0;
    if (!fUsePadding)
        padding = 0;
    else if (rewrite)
        padding = GetPaddingSize(fFilename, fUseClusteredPadding, dataSize + audioSize + extra);
    else
        padding = oldSize - dataSize;
    if (dataSize + padding > MaxTagSize)
        throw std::length_error("ID3v2 tag larger than its size field can hold");
    fDataSize = static_cast<std::uint32_t>(dataSize);
    fPaddingSize = static_cast<std::uint32_t>(padding);
    fTagSize = static_cast<std::uint32_t>(dataSize + padding);
    return fTagSize;
}

TMP3Error TID3v2Tag::writeTag(ByteStream& stream) {
    if (fFrames.empty())
        SetText(IDv2_TITEL, QStringLiteral(" "));

    TempTagFile tagFile(folders_.tempFolder());
    ByteStream& t1 = tagFile.stream();
    t1.write(BuildTagHeader(fVersion.Major, fVersion.Minor, fFlgUnsynch, 10));
    writeFrames(t1);
    const qint64 dataSize = t1.size();

    TagHeader old;
    const TMP3Error oldResult = ReadTagHeader(stream, old);
    const qint64 oldSize = oldResult == MP3ERR_None || oldResult == ID3ERR_Compression ? old.tagSize : 0;
    const qint64 fileSize = stream.size();
    const qint64 audioStart = qMin(oldSize, fileSize);
    const qint64 audioSize = fileSize - audioStart;
    // A tag that claims more than the file holds is never written in place.
    const bool rewrite = !fUsePadding || dataSize + InPlaceSpare >= oldSize || oldSize > fileSize;

    std::unique_ptr<TempTagFile> audioFile;
    qint64 extra = Id3v1Size;
    if (rewrite) {
        audioFile = std::make_unique<TempTagFile>(folders_.tempFolder());
        try {
            stream.seek(audioStart);
            if (copyStream(stream, audioFile->stream(), audioSize) != audioSize)
                return ID3ERR_Cache;
            if (fileSize >= Id3v1Size) {
                stream.seek(fileSize - Id3v1Size);
                if (stream.readExact(3) == "TAG")
                    extra = 0;
            }
        } catch (const StreamReadError&) {
            return ID3ERR_Cache;
        } catch (const StreamWriteError&) {
            return ID3ERR_Cache;
        }
    }

    const std::uint32_t tagSize = tagSizeFor(dataSize, oldSize, rewrite, audioSize, extra);
    t1.seek(0);
    t1.write(BuildTagHeader(fVersion.Major, fVersion.Minor, fFlgUnsynch, tagSize));

    // What the new tag overwrites, so that a failed write can put the file back as it was.
    stream.seek(0);
    const QByteArray oldTag = stream.readExact(audioStart);

    const auto failed = [&](TMP3Error code) {
        const std::exception_ptr failure = std::current_exception();
        if (!restoreOriginal(stream, oldTag, audioFile.get(), audioSize) && audioFile)
            audioFile->keep(); // the audio now exists only there
        if (!isStreamFailure(failure))
            std::rethrow_exception(failure);
        return code;
    };
    try {
        stream.seek(0);
        t1.seek(0);
        if (copyStream(t1, stream, dataSize) != dataSize)
            throw StreamReadError("temporary tag file shorter than written");
        writeZeros(stream, fPaddingSize);
    } catch (...) {
        return failed(MP3ERR_SWrite);
    }
    if (rewrite) {
        try {
            audioFile->stream().seek(0);
            if (copyStream(audioFile->stream(), stream, audioSize) != audioSize)
                throw StreamReadError("saved audio shorter than the file's");
            stream.truncate();
        } catch (...) {
            return failed(MP3ERR_FOpenR);
        }
    }
    return MP3ERR_None;
}

std::uint32_t TID3v2Tag::GetPaddingSize(const QString& file, bool clustered, qint64 total) const {
    qint64 cluster = DefaultCluster;
    if (clustered && !file.isEmpty()) {
        const qint64 size = folders_.clusterSize(file);
        if (size > 0 && size <= MaxCluster)
            cluster = size;
    }
    return static_cast<std::uint32_t>((total / cluster + 1) * cluster - total);
}
