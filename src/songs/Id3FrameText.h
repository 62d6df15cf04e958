#pragma once

#include <QString>
#include <array>

// Decoding of one ID3v2 text frame's content for the title reader.
namespace Id3FrameText {

constexpr int BufferSize = 4096;
// One frame's content, zero-filled past what was read.
using Buffer = std::array<unsigned char, BufferSize>;

// The text of content c[0..size-1], whose first byte is the text encoding: 0 ISO-8859-1, 1 UTF-16 with
// byte-order mark, 2 UTF-16 big-endian, 3 UTF-8. Without a known encoding: "ID3ERR_NoTag". A title loses
// its song number prefix ("001 - "): in ISO-8859-1 the digits and " -", so the blank stays; in the other
// encodings the whole prefix. A title without that prefix stays whole. The text ends at its first
// terminating zero (ISO-8859-1 skips zero bytes instead); UTF-16 and UTF-8 texts are trimmed of blanks and
// control characters, and a/o/u/A/O/U followed by a combining diaeresis become the precomposed letters.
// May change c (the joining of decomposed umlauts works in place).
QString decode(Buffer& c, int size, bool title);

} // namespace Id3FrameText
