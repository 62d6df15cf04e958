#pragma once

#include "CodePage.h"
#include "FrameIdTable.h"
#include "TID3v2Frame.h"
#include "TMP3Error.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class ByteStream;
class Dialogs;
class Folders;
struct TagHeader;

struct TID3Version {
    std::uint8_t Major = 3;
    std::uint8_t Minor = 0;
};

// The ID3v2 tag at the start of an MP3 file: reads it, changes text and comment frames, writes it back in
// place when it fits with more than 30 bytes to spare, otherwise rebuilds the file through temporary files
// with padding up to the next cluster boundary. No exception leaves it: every operation on a file or stream
// returns a TMP3Error; unexpected failures also show a message box through dialogs (from any thread).
class TID3v2Tag {
public:
    TID3v2Tag(Dialogs& dialogs, Folders& folders);

    void Clear();
    TMP3Error ReadFromFile(const QString& Filename);
    TMP3Error ReadFromStream(ByteStream& Stream);
    TMP3Error WriteToFile(const QString& Filename);
    TMP3Error WriteToStream(ByteStream& Stream);

    // Sets, replaces or (with an empty value) deletes a text frame.
    void SetText(TFrameIDs FrameID, const QString& Value);
    QString GetText(TFrameIDs FrameID) const;
    void SetTitle(const QString& Value) { SetText(IDv2_TITEL, Value); }
    void SetArtist(const QString& Value) { SetText(IDv2_ARTIST, Value); }
    void SetAlbum(const QString& Value) { SetText(IDv2_ALBUM, Value); }
    // A year 1..9999 (leading zeros up to four digits); anything else deletes the year frame.
    void SetYear(const QString& Value);
    // The comment with language "XXX" and an empty description.
    void SetComment(const QString& Value);
    void SetCommentFrame(QString Language, const QString& Description, const QString& Value);

    // Padding up to the next multiple of the cluster size of file's file system (2048 when unknown or not
    // clustered): between 1 and a whole cluster.
    std::uint32_t GetPaddingSize(const QString& file, bool clustered, qint64 total) const;

    bool Exists() const { return fExists; }
    TID3Version Version() const { return fVersion; }
    const std::vector<std::unique_ptr<TID3v2Frame>>& Frames() const { return fFrames; }
    std::uint32_t TagSize() const { return fTagSize; }
    std::uint32_t PaddingSize() const { return fPaddingSize; }
    std::uint32_t DataSize() const { return fDataSize; }
    bool UsePadding() const { return fUsePadding; }
    bool FlgUnsynch() const { return fFlgUnsynch; }
    bool FlgExtended() const { return fFlgExtended; }
    bool FlgFooterPresent() const { return fFlgFooterPresent; }
    bool FlgUnknown() const { return fFlgUnknown; }
    // The last read left bytes of the tag that it could not take as frames or zero padding; such a tag is
    // not written over.
    bool HasUnknownData() const { return fUnknownData; }

private:
    TMP3Error readTag(ByteStream& stream);
    void applyHeader(const TagHeader& header);
    void readArea(ByteStream& stream, qint64 end);
    void ReadFrames(ByteStream& stream, qint64 end);
    TMP3Error writeTag(ByteStream& stream);
    void writeFrames(ByteStream& target);
    std::uint32_t tagSizeFor(qint64 dataSize, qint64 oldSize, bool rewrite, qint64 audioSize, qint64 extra);
    TID3v2Frame* FindFrame(const QByteArray& id) const;
    TID3v2Frame* FindCommentFrame(const QByteArray& id, const QString& language,
                                  const QString& description) const;
    TID3v2Frame& appendFrame(const QByteArray& id);
    void deleteFrame(TID3v2Frame* frame);
    // Maps what operation throws to a result; unexpected failures show a message box with title.
    TMP3Error guardedOperation(const QString& title, const std::function<TMP3Error()>& operation);
    TMP3Error unexpected(const QString& title, const QString& message);

    Dialogs& dialogs_;
    Folders& folders_;

    std::vector<std::unique_ptr<TID3v2Frame>> fFrames;
    bool fExists = false;
    TID3Version fVersion;
    bool fFlgUnsynch = false;
    bool fFlgCompression = false;
    bool fFlgExtended = false;
    bool fFlgExperimental = false;
    bool fFlgFooterPresent = false;
    bool fFlgUnknown = false;
    std::uint32_t fPaddingSize = 0;
    std::uint32_t fTagSize = 0;
    std::uint32_t fDataSize = 0;
    bool fUsePadding = false;
    bool fUseClusteredPadding = true;
    QString fFilename;
    bool fAlwaysWriteUnicode = false;
    bool fAutoCorrectCodepage = false;
    TCodePage fCharCode = DefaultCodePage();
    bool fUnknownData = false;
};
