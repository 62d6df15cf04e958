#pragma once

#include "CodePage.h"
#include "FrameIdTable.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

class ByteStream;

enum TID3v2FrameVersions { FV_2, FV_3, FV_4 };

// Flag indexes of FrameFlagTable: 0..3 in the status byte, 4..9 in the format byte.
enum TFrameFlags {
    FF_TagAlterPreservation,
    FF_FileAlterPreservation,
    FF_ReadOnly,
    FF_UnknownStatus,
    FF_Compression,
    FF_Encryption,
    FF_GroupID,
    FF_Unsynchronisation,
    FF_DataLengthIndicator,
    FF_UnknownFormat
};

// Bit masks of the flags for FV_3 and FV_4 (0: the version lacks the flag).
struct TFrameFlagMasks {
    std::uint8_t V3;
    std::uint8_t V4;
};
extern const TFrameFlagMasks FrameFlagTable[10];

// One frame of an ID3v2 tag: its header in the layout of its version and its content.
class TID3v2Frame {
public:
    // aVersion is the tag's major version (2, 3, 4; anything else gives FV_2). An identifier that is
    // not valid for the version becomes "XXX" / "XXXX".
    TID3v2Frame(const QByteArray& aID, int aVersion);

    // Reads the rest of the header and the content; the stream stands right after the identifier.
    // Throws StreamReadError when the header or the content reaches past end (a stream position).
    void ReadFromStream(ByteStream& aStream, qint64 end);
    void WriteToStream(ByteStream& aStream);
    // Writes the content unsynchronised (v2.4 tags with the unsynchronisation flag).
    void WriteUnsyncedToStream(ByteStream& aStream);

    void SetFrameSize(std::uint32_t n);
    bool GetFlag(TFrameFlags flag) const;
    void SetFlag(TFrameFlags flag, bool on);
    // Clears read only, undefined status bits, compression, encryption, unsynchronisation, data length
    // and undefined format bits.
    void ClearContentFlags();

    // Text frames and comment / lyrics frames (content building and reading).
    void SetText(const QString& Value);
    QString GetText() const;
    void SetCommentsLyrics(const QString& Language, const QString& Description, const QString& Value);
    void GetCommentsLyrics(QString& Language, QString& Description, QString& Text) const;
    QString DecodeText(qint64 from, qint64 to, int encoding) const;

    static QByteArray Unsynchronise(const QByteArray& bytes, bool* inserted = nullptr);
    static QByteArray Deunsynchronise(const QByteArray& bytes);
    static bool IsValidFrameId(const QByteArray& id);

    TID3v2FrameVersions Version() const { return fVersion; }
    const QByteArray& IDString() const { return fIDString; }
    TFrameIDs ID() const;
    const QByteArray& Header() const { return fHeader; }
    const QByteArray& Data() const { return fData; }
    char GroupID() const { return fGroupID; }
    const QByteArray& DataLength() const { return fDataLength; }
    bool Parsable() const { return fParsable; }

    void SetTextSettings(bool alwaysWriteUnicode, bool autoCorrectCodepage, const TCodePage& charCode);

private:
    int headerSize() const { return fVersion == FV_2 ? 6 : 10; }
    int idSize() const { return fVersion == FV_2 ? 3 : 4; }
    std::uint8_t mask(TFrameFlags flag) const;
    QByteArray contentToWrite();
    void setContent(const QByteArray& content);

    TID3v2FrameVersions fVersion;
    QByteArray fIDString;
    mutable TFrameIDs fID = IDv2_UNKNOWN;
    mutable bool fIDKnown = false;
    QByteArray fHeader;
    QByteArray fData;
    char fGroupID = 0;
    QByteArray fDataLength;
    bool fAlwaysWriteUnicode = false;
    bool fAutoCorrectCodepage = false;
    TCodePage fCharCode = DefaultCodePage();
    bool fParsable = true;
};
