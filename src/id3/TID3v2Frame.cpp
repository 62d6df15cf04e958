#include "TID3v2Frame.h"

#include "ByteStream.h"
#include "FrameText.h"
#include "Id3Bytes.h"

const TFrameFlagMasks FrameFlagTable[10] = {
    {0x80, 0x40}, // tag alter preservation
    {0x40, 0x20}, // file alter preservation
    {0x20, 0x10}, // read only
    {0x1F, 0x8F}, // undefined status bits
    {0x80, 0x08}, // compression
    {0x40, 0x04}, // encryption
    {0x20, 0x40}, // grouping identity
    {0x00, 0x02}, // unsynchronisation
    {0x00, 0x01}, // data length indicator
    {0x1F, 0xB0}, // undefined format bits
};

namespace {
constexpr int StatusByte = 8;
constexpr int FormatByte = 9;
// Format bits that make the content unreadable: compression, encryption, undefined.
constexpr std::uint8_t V3NotParsable = 0xDF;
constexpr std::uint8_t V4NotParsable = 0xBC;
} // namespace

TID3v2Frame::TID3v2Frame(const QByteArray& aID, int aVersion)
    : fVersion(aVersion == 3   ? FV_3
               : aVersion == 4 ? FV_4
                               : FV_2),
      fIDString(aID), fHeader(headerSize(), '\0') {
    if (fIDString.size() != idSize() || !IsValidFrameId(fIDString))
        fIDString = QByteArray(idSize(), 'X');
    fHeader.replace(0, idSize(), fIDString);
}

void TID3v2Frame::SetTextSettings(bool alwaysWriteUnicode, bool autoCorrectCodepage,
                                  const TCodePage& charCode) {
    fAlwaysWriteUnicode = alwaysWriteUnicode;
    fAutoCorrectCodepage = autoCorrectCodepage;
    fCharCode = charCode;
}

TFrameIDs TID3v2Frame::ID() const {
    if (!fIDKnown) {
        fID = FrameKindOf(fIDString, fVersion == FV_2 ? 2 : fVersion == FV_3 ? 3 : 4);
        fIDKnown = true;
    }
    return fID;
}

void TID3v2Frame::ReadFromStream(ByteStream& aStream, qint64 end) {
    fParsable = true;
    const int rest = headerSize() - idSize();
    if (aStream.position() + rest > end)
        throw StreamReadError("frame header past the end of the tag");
    fHeader.replace(idSize(), rest, aStream.readExact(rest));

    qint64 size = 0;
    const auto format = static_cast<std::uint8_t>(fVersion == FV_2 ? 0 : fHeader[FormatByte]);
    if (fVersion == FV_2) {
        size = id3::BigEndianToInt(fHeader.constData() + 3, 3);
    } else if (fVersion == FV_3) {
        size = id3::BigEndianToInt(fHeader.constData() + 4, 4);
        fParsable = (format & V3NotParsable) == 0;
    } else {
        size = id3::SyncSafeToInt(fHeader.constData() + 4);
        fParsable = (format & V4NotParsable) == 0;
    }
    if (aStream.position() + size > end)
        throw StreamReadError("frame content past the end of the tag");

    QByteArray content = aStream.readExact(size);
    if (GetFlag(FF_Unsynchronisation))
        content = Deunsynchronise(content);

    const int groupBytes = GetFlag(FF_GroupID) ? 1 : 0;
    const int lengthBytes = GetFlag(FF_DataLengthIndicator) ? 4 : 0;
    // Flags that claim more bytes than the frame holds: the content is kept as it is.
    if (fParsable && groupBytes + lengthBytes > content.size())
        fParsable = false;
    if (!fParsable) {
        fData = content;
        return;
    }
    if (groupBytes)
        fGroupID = content[0];
    if (lengthBytes)
        fDataLength = content.mid(groupBytes, 4);
    fData = content.mid(groupBytes + lengthBytes);
}

QByteArray TID3v2Frame::contentToWrite() {
    if (!fParsable)
        return fData;
    SetFlag(FF_DataLengthIndicator, false);
    return GetFlag(FF_GroupID) ? QByteArray(1, fGroupID) + fData : fData;
}

void TID3v2Frame::WriteToStream(ByteStream& aStream) {
    SetFlag(FF_Unsynchronisation, false);
    const QByteArray content = contentToWrite();
    SetFrameSize(static_cast<std::uint32_t>(content.size()));
    aStream.write(fHeader);
    aStream.write(content);
}

void TID3v2Frame::WriteUnsyncedToStream(ByteStream& aStream) {
    bool inserted = false;
    const QByteArray content = Unsynchronise(contentToWrite(), &inserted);
    SetFlag(FF_Unsynchronisation, inserted);
    SetFrameSize(static_cast<std::uint32_t>(content.size()));
    aStream.write(fHeader);
    aStream.write(content);
}

void TID3v2Frame::SetFrameSize(std::uint32_t n) {
    switch (fVersion) {
    case FV_2:
        fHeader.replace(3, 3, id3::IntToBigEndian(n, 3));
        break;
    case FV_3:
        fHeader.replace(4, 4, id3::IntToBigEndian(n, 4));
        break;
    case FV_4:
        fHeader.replace(4, 4, id3::IntToSyncSafe(n));
        break;
    }
}

std::uint8_t TID3v2Frame::mask(TFrameFlags flag) const {
    switch (fVersion) {
    case FV_3:
        return FrameFlagTable[flag].V3;
    case FV_4:
        return FrameFlagTable[flag].V4;
    default:
        return 0;
    }
}

bool TID3v2Frame::GetFlag(TFrameFlags flag) const {
    const std::uint8_t m = mask(flag);
    if (m == 0)
        return false;
    const int index = flag <= FF_UnknownStatus ? StatusByte : FormatByte;
    return (static_cast<std::uint8_t>(fHeader[index]) & m) != 0;
}

void TID3v2Frame::SetFlag(TFrameFlags flag, bool on) {
    const std::uint8_t m = mask(flag);
    if (m == 0)
        return;
    const int index = flag <= FF_UnknownStatus ? StatusByte : FormatByte;
    const auto byte = static_cast<std::uint8_t>(fHeader[index]);
    fHeader[index] = static_cast<char>(on ? byte | m : byte & ~m);
}

void TID3v2Frame::ClearContentFlags() {
    for (const TFrameFlags flag : {FF_ReadOnly, FF_UnknownStatus, FF_Compression, FF_Encryption,
                                   FF_Unsynchronisation, FF_DataLengthIndicator, FF_UnknownFormat})
        SetFlag(flag, false);
}

void TID3v2Frame::setContent(const QByteArray& content) {
    fData = content;
    fParsable = true;
    ClearContentFlags();
    SetFrameSize(static_cast<std::uint32_t>(fData.size()));
}

void TID3v2Frame::SetText(const QString& Value) {
    setContent(id3::TextFrameContent(Value, fAlwaysWriteUnicode));
}

QString TID3v2Frame::GetText() const {
    if (!fParsable || fData.isEmpty())
        return {};
    return DecodeText(1, fData.size() - 1, static_cast<unsigned char>(fData[0]));
}

void TID3v2Frame::SetCommentsLyrics(const QString& Language, const QString& Description,
                                    const QString& Value) {
    setContent(id3::CommentFrameContent(Language, Description, Value, fAlwaysWriteUnicode));
}

void TID3v2Frame::GetCommentsLyrics(QString& Language, QString& Description, QString& Text) const {
    id3::CommentParts parts;
    if (fParsable)
        parts = id3::ParseCommentContent(fData, {fAutoCorrectCodepage, fCharCode});
    Language = parts.language;
    Description = parts.description;
    Text = parts.text;
}

QString TID3v2Frame::DecodeText(qint64 from, qint64 to, int encoding) const {
    return id3::DecodeText(fData, from, to, encoding, {fAutoCorrectCodepage, fCharCode});
}

QByteArray TID3v2Frame::Unsynchronise(const QByteArray& bytes, bool* inserted) {
    return id3::Unsynchronise(bytes, inserted);
}

QByteArray TID3v2Frame::Deunsynchronise(const QByteArray& bytes) {
    return id3::Deunsynchronise(bytes);
}

bool TID3v2Frame::IsValidFrameId(const QByteArray& id) {
    return id3::IsValidFrameId(id);
}
