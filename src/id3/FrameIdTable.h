#pragma once

#include <QByteArray>
#include <array>

// Kinds of frames; the order is the row order of FrameIdTable.
enum TFrameIDs {
    IDv2_UNKNOWN,
    IDv2_EXPERIMENTAL,
    IDv2_TITEL,
    IDv2_ARTIST,
    IDv2_ALBUM,
    IDv2_YEAR,
    IDv2_GENRE,
    IDv2_TRACK,
    IDv2_COMPOSER,
    IDv2_ORIGINALARTIST,
    IDv2_COPYRIGHT,
    IDv2_ENCODEDBY,
    IDv2_LANGUAGES,
    IDv2_SOFTWARESETTINGS,
    IDv2_MEDIATYPE,
    IDv2_LENGTH,
    IDv2_PUBLISHER,
    IDv2_ORIGINALFILENAME,
    IDv2_ORIGINALLYRICIST,
    IDv2_ORIGINALYEAR,
    IDv2_ORIGINALALBUMTITEL,
    IDv2_BPM,
    IDv2_CONTENTGROUP,
    IDv2_SUBTITLE,
    IDv2_BAND,
    IDv2_CONDUCTOR,
    IDv2_INTERPRETEDBY,
    IDv2_PARTOFASET,
    IDv2_ISRC,
    IDv2_LYRICIST,
    IDv2_FILETYPE,
    IDv2_INITIALKEY,
    IDv2_PLAYLISTDELAY,
    IDv2_FILEOWNER,
    IDv2_RADIOSTATIONNAME,
    IDv2_RADIOSTATIONOWNER,
    IDv2_USERDEFINEDTEXT,
    IDv2_INVOLVEDPEOPLE,
    IDv2_ENCODINGTIME,
    IDv2_RELEASETIME,
    IDv2_TAGGINGTIME,
    IDv2_MUSICIANCREDITS,
    IDv2_MOOD,
    IDv2_PRODUCEDNOTICE,
    IDv2_ALBUMSORTORDER,
    IDv2_PERFORMERSORTORDER,
    IDv2_TITLESORTORDER,
    IDv2_SETSUBTITLE,
    IDv2_COMMERCIALINFO,
    IDv2_COPYRIGHTINFO,
    IDv2_OFFICIALAUDIOFILEWEBPAGE,
    IDv2_OFFICIALARTISTWEBPAGE,
    IDv2_OFFICIALAUDIOSOURCEWEBPAGE,
    IDv2_OFFICIALRADIOSTATIONWEBPAGE,
    IDv2_PAYMENT,
    IDv2_OFFICIALPUBLISHERWEBPAGE,
    IDv2_USERDEFINEDURL,
    IDv2_COMMENT,
    IDv2_LYRICS,
    IDv2_SYNCHEDLYRICS,
    IDv2_PICTURE,
    IDv2_RATING,
    IDv2_PLAYCOUNTER,
    IDv2_UNIQUEFILEID,
    IDv2_GENERALOBJECT,
    IDv2_PRIVATE,
    IDv2_TERMSOFUSE,
    IDv2_OWNERSHIP,
    IDv2_COMMERCIAL,
    IDv2_ENCRYPTIONMETHOD,
    IDv2_GROUPIDENTIFICATION,
    IDv2_AUDIOENCRYPTION,
    IDv2_EVENTTIMINGCODES,
    IDv2_LINKEDINFO,
    IDv2_MUSICCDID,
    IDv2_MPEGLOOKUPTABLE,
    IDv2_POSITIONSYNCH,
    IDv2_RECOMMENDEDBUFFERSIZE,
    IDv2_REVERB,
    IDv2_SYNCHEDTEMPOCODES,
    IDv2_AUDIOSEEKPOINTINDEX,
    IDv2_EQUALIZATION2,
    IDv2_RELATIVEVOLUMEADJUSTMENT2,
    IDv2_SEEK,
    IDv2_SIGNATURE,
    IDv2_EQUALIZATION,
    IDv2_RELATIVEVOLUMEADJUSTMENT,
    IDv2_DATE,
    IDv2_TIME,
    IDv2_RECORDINGDATES,
    IDv2_SIZE,
};

// One row of FrameIdTable: the identifier in ID3v2.2, v2.3 and v2.4 ("---" / "----" when the version
// lacks the frame) and an English description.
struct TFrameIdRow {
    const char* V2;
    const char* V3;
    const char* V4;
    const char* Description;
};

inline constexpr int FrameIdCount = IDv2_SIZE + 1;
extern const std::array<TFrameIdRow, FrameIdCount> FrameIdTable;

// The identifier of a kind in the header layout of a tag's major version (2, 3 or 4; others as 3).
QByteArray FrameIdFor(TFrameIDs kind, int majorVersion);
// The kind of an identifier in a major version; IDv2_UNKNOWN when the table does not have it.
TFrameIDs FrameKindOf(const QByteArray& id, int majorVersion);
