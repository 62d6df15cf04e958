#include "FrameIdTable.h"

// Frames dropped by v2.4 come last; TYER/TDRC, TORY/TDOR and IPLS/TIPL share a row.
const std::array<TFrameIdRow, FrameIdCount> FrameIdTable = {{
    {"XXX", "XXXX", "XXXX", "Unknown/experimental Frame"},
    {"XMP", "XMP3", "XMP3", "Mp3FileUtils experimental Frame"},
    {"TT2", "TIT2", "TIT2", "Title/songname/content description"},
    {"TP1", "TPE1", "TPE1", "Lead performer(s)/Soloist(s)"},
    {"TAL", "TALB", "TALB", "Album/Movie/Show title"},
    {"TYE", "TYER", "TDRC", "Year / Recording time"},
    {"TCO", "TCON", "TCON", "Content type"},
    {"TRK", "TRCK", "TRCK", "Track number/Position in set"},
    {"TCM", "TCOM", "TCOM", "Composer"},
    {"TOA", "TOPE", "TOPE", "Original artist(s)/performer(s)"},
    {"TCR", "TCOP", "TCOP", "Copyright message"},
    {"TEN", "TENC", "TENC", "Encoded by"},
    {"TLA", "TLAN", "TLAN", "Language(s)"},
    {"TSS", "TSSE", "TSSE", "Software/Hardware and settings used for encoding"},
    {"TMT", "TMED", "TMED", "Media type"},
    {"TLE", "TLEN", "TLEN", "Length"},
    {"TPB", "TPUB", "TPUB", "Publisher"},
    {"TOF", "TOFN", "TOFN", "Original filename"},
    {"TOL", "TOLY", "TOLY", "Original lyricist(s)/text writer(s)"},
    {"TOR", "TORY", "TDOR", "Original release year / time"},
    {"TOT", "TOAL", "TOAL", "Original album/movie/show title"},
    {"TBP", "TBPM", "TBPM", "BPM (beats per minute)"},
    {"TT1", "TIT1", "TIT1", "Content group description"},
    {"TT3", "TIT3", "TIT3", "Subtitle/Description refinement"},
    {"TP2", "TPE2", "TPE2", "Band/orchestra/accompaniment"},
    {"TP3", "TPE3", "TPE3", "Conductor/performer refinement"},
    {"TP4", "TPE4", "TPE4", "Interpreted, remixed, or otherwise modified by"},
    {"TPA", "TPOS", "TPOS", "Part of a set"},
    {"TRC", "TSRC", "TSRC", "ISRC (international standard recording code)"},
    {"TXT", "TEXT", "TEXT", "Lyricist/Text writer"},
    {"TFT", "TFLT", "TFLT", "File type"},
    {"TKE", "TKEY", "TKEY", "Initial key"},
    {"TDY", "TDLY", "TDLY", "Playlist delay"},
    {"---", "TOWN", "TOWN", "File owner/licensee"},
    {"---", "TRSN", "TRSN", "Internet radio station name"},
    {"---", "TRSO", "TRSO", "Internet radio station owner"},
    {"TXX", "TXXX", "TXXX", "User defined text information frame"},
    {"IPL", "IPLS", "TIPL", "Involved people list"},
    {"---", "----", "TDEN", "Encoding time"},
    {"---", "----", "TDRL", "Release time"},
    {"---", "----", "TDTG", "Tagging time"},
    {"---", "----", "TMCL", "Musician credits list"},
    {"---", "----", "TMOO", "Mood"},
    {"---", "----", "TPRO", "Produced notice"},
    {"---", "----", "TSOA", "Album sort order"},
    {"---", "----", "TSOP", "Performer sort order"},
    {"---", "----", "TSOT", "Title sort order"},
    {"---", "----", "TSST", "Set subtitle"},
    {"WCM", "WCOM", "WCOM", "Commercial information"},
    {"WCP", "WCOP", "WCOP", "Copyright/Legal information"},
    {"WAF", "WOAF", "WOAF", "Official audio file webpage"},
    {"WAR", "WOAR", "WOAR", "Official artist/performer webpage"},
    {"WAS", "WOAS", "WOAS", "Official audio source webpage"},
    {"---", "WORS", "WORS", "Official internet radio station homepage"},
    {"---", "WPAY", "WPAY", "Payment"},
    {"WPB", "WPUB", "WPUB", "Publishers official webpage"},
    {"WXX", "WXXX", "WXXX", "User defined URL link frame"},
    {"COM", "COMM", "COMM", "Comments"},
    {"ULT", "USLT", "USLT", "Unsynchronised lyric/text transcription"},
    {"SLT", "SYLT", "SYLT", "Synchronised lyric/text"},
    {"PIC", "APIC", "APIC", "Attached picture"},
    {"POP", "POPM", "POPM", "Popularimeter"},
    {"CNT", "PCNT", "PCNT", "Play counter"},
    {"UFI", "UFID", "UFID", "Unique file identifier"},
    {"GEO", "GEOB", "GEOB", "General encapsulated object"},
    {"---", "PRIV", "PRIV", "Private frame"},
    {"---", "USER", "USER", "Terms of use"},
    {"---", "OWNE", "OWNE", "Ownership frame"},
    {"---", "COMR", "COMR", "Commercial frame"},
    {"---", "ENCR", "ENCR", "Encryption method registration"},
    {"---", "GRID", "GRID", "Group identification registration"},
    {"CRA", "AENC", "AENC", "Audio encryption"},
    {"ETC", "ETCO", "ETCO", "Event timing codes"},
    {"LNK", "LINK", "LINK", "Linked information"},
    {"MCI", "MCDI", "MCDI", "Music CD identifier"},
    {"MLL", "MLLT", "MLLT", "MPEG location lookup table"},
    {"---", "POSS", "POSS", "Position synchronisation frame"},
    {"BUF", "RBUF", "RBUF", "Recommended buffer size"},
    {"REV", "RVRB", "RVRB", "Reverb"},
    {"STC", "SYTC", "SYTC", "Synchronised tempo codes"},
    {"---", "----", "ASPI", "Audio seek point index"},
    {"---", "----", "EQU2", "Equalisation (2)"},
    {"---", "----", "RVA2", "Relative volume adjustment (2)"},
    {"---", "----", "SEEK", "Seek frame"},
    {"---", "----", "SIGN", "Signature frame"},
    {"EQU", "EQUA", "----", "Equalization"},
    {"RVA", "RVAD", "----", "Relative volume adjustment"},
    {"TDA", "TDAT", "----", "Date"},
    {"TIM", "TIME", "----", "Time"},
    {"TRD", "TRDA", "----", "Recording dates"},
    {"TSI", "TSIZ", "----", "Size"},
}};

namespace {
const char* column(const TFrameIdRow& row, int majorVersion) {
    switch (majorVersion) {
    case 2:
        return row.V2;
    case 4:
        return row.V4;
    default:
        return row.V3;
    }
}
} // namespace

QByteArray FrameIdFor(TFrameIDs kind, int majorVersion) {
    return QByteArray(column(FrameIdTable.at(static_cast<size_t>(kind)), majorVersion));
}

TFrameIDs FrameKindOf(const QByteArray& id, int majorVersion) {
    for (size_t i = 0; i < FrameIdTable.size(); ++i) {
        if (id == column(FrameIdTable[i], majorVersion))
            return static_cast<TFrameIDs>(i);
    }
    return IDv2_UNKNOWN;
}
