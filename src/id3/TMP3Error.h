#pragma once

// Results of the tag unit's file operations.
enum TMP3Error {
    MP3ERR_None = 0,
    MP3ERR_NoFile = 1,
    MP3ERR_FOpenCrt = 2,
    MP3ERR_FOpenR = 3,
    MP3ERR_FOpenRW = 4,
    MP3ERR_FOpenW = 5,
    MP3ERR_SRead = 6,
    MP3ERR_SWrite = 7,
    ID3ERR_Cache = 8,
    ID3ERR_NoTag = 9,
    ID3ERR_Invalid_Header = 10,
    ID3ERR_Compression = 11,
    ID3ERR_Unclassified = 12,
    MPEGERR_NoFrame = 13
};
