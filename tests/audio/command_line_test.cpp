#include "platform/audio/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct Split {
    const char* line;
    QStringList arguments;
};

class SplitTest : public ::testing::TestWithParam<Split> {};

TEST_P(SplitTest, SplitsAtBlanksOutsideQuotes) {
    EXPECT_EQ(splitCommandLine(QString::fromUtf8(GetParam().line)), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(Lines, SplitTest,
                         ::testing::Values(Split{"lame -b 48", {"lame", "-b", "48"}},
                                           Split{"  lame\t -b  48  ", {"lame", "-b", "48"}},
                                           Split{"--ta \"Kandolor   Max  09.12.2026\" -",
                                                 {"--ta", "Kandolor   Max  09.12.2026", "-"}},
                                           Split{"--tc \"\" --tg \"101\"", {"--tc", "", "--tg", "101"}},
                                           Split{"--tc \"Öl über ß\" /tmp/a.mp3",
                                                 {"--tc", "Öl über ß", "/tmp/a.mp3"}},
                                           Split{"a\"b c\"d e", {"ab cd", "e"}}, Split{"", {}},
                                           Split{"\"a \"\"b\"\"\" c", {"a \"b\"", "c"}}));

TEST(WaveHeader, DescribesAStreamOfUnknownLength) {
    const QByteArray header = waveHeader(22050, 1);
    ASSERT_EQ(header.size(), 44);
    EXPECT_EQ(header.mid(0, 4), "RIFF");
    EXPECT_EQ(header.mid(4, 4), QByteArray(4, '\xff'));
    EXPECT_EQ(header.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(header.mid(20, 4), QByteArray("\x01\x00\x01\x00", 4)); // PCM, mono
    EXPECT_EQ(header.mid(24, 4), QByteArray("\x22\x56\x00\x00", 4)); // 22050 Hz
    EXPECT_EQ(header.mid(28, 4), QByteArray("\x44\xac\x00\x00", 4)); // 44100 bytes per second
    EXPECT_EQ(header.mid(32, 4), QByteArray("\x02\x00\x10\x00", 4)); // 2-byte frames, 16 bits
    EXPECT_EQ(header.mid(36, 8), QByteArray("data\xff\xff\xff\xff", 8));
}

} // namespace
