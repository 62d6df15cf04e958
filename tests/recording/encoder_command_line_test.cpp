#include "platform/audio/CommandLine.h"
#include "recording/BassErrorNames.h"
#include "recording/EncoderCommandLine.h"

#include <gtest/gtest.h>

using namespace recording;

namespace {

const QString Caption = QStringLiteral("Kandolor   Max Muster  01.03.2015");
const QString Folder = QStringLiteral("/home/max/Aufnahmen/");

TEST(EncoderCommandLine, IsTheFixedLineWithTheTextsInserted) {
    EXPECT_EQ(EncoderCommandLine(Caption, "Vortrag", Folder, TempRecordingName(1)),
              "lame -b 48 -m m --id3v2-only --ta \"Kandolor   Max Muster  01.03.2015\" --tl \"Kandolor   Max "
              "Muster  01.03.2015\" --tc \"Vortrag\" --tg \"101\" - \"/home/max/Aufnahmen/aufnahme1.mp3\"");
    EXPECT_EQ(TempRecordingName(12), "aufnahme12.mp3");
}

struct TopicCase {
    const char* userinfo;
    const char* topic;
    const char* expectedUserinfo;
    const char* expectedTopic;
};

class EncoderArgumentsTest : public ::testing::TestWithParam<TopicCase> {};

// The engine splits the line itself; whatever the operator typed stays one argument.
TEST_P(EncoderArgumentsTest, SplitIntoExactlyTheExpectedArguments) {
    const TopicCase& c = GetParam();
    const QString line = EncoderCommandLine(QString::fromUtf8(c.userinfo), QString::fromUtf8(c.topic), Folder,
                                            TempRecordingName(2));
    const QString info = QString::fromUtf8(c.expectedUserinfo);
    const QStringList expected{"lame", "-b",           "48",   "-m",
                               "m",    "--id3v2-only", "--ta", info,
                               "--tl", info,           "--tc", QString::fromUtf8(c.expectedTopic),
                               "--tg", "101",          "-",    "/home/max/Aufnahmen/aufnahme2.mp3"};
    EXPECT_EQ(splitCommandLine(line), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Topics, EncoderArgumentsTest,
    ::testing::Values(
        TopicCase{"Kandolor   Max  09.12.2026", "Vortrag", "Kandolor   Max  09.12.2026", "Vortrag"},
        TopicCase{"Kandolor   Jürgen  09.12.2026", "Öl über Füße – ß", "Kandolor   Jürgen  09.12.2026",
                  "Öl über Füße – ß"},
        TopicCase{"K", "Er sagte \"Hallo\" --tg 5", "K", "Er sagte ”Hallo” --tg 5"},
        TopicCase{"K", "\" -o /tmp/x \"", "K", "” -o /tmp/x ”"}, TopicCase{"K", "", "K", ""},
        TopicCase{"Kandolor   O\"Neil  09.12.2026", "a\tb", "Kandolor   O”Neil  09.12.2026", "a\tb"}));

TEST(EncoderArguments, TheOutputFileIsOneArgumentWhateverTheFolderHolds) {
    for (const QString folder : {QStringLiteral("/media/Meine Aufnahmen/"), QStringLiteral("/a\"b/"),
                                 QStringLiteral("/a\"\" -o x \"/"), QStringLiteral("/ende\"/")}) {
        const QStringList arguments =
            splitCommandLine(EncoderCommandLine(Caption, "Vortrag", folder, TempRecordingName(3)));
        ASSERT_EQ(arguments.size(), 16) << folder.toStdString();
        EXPECT_EQ(arguments.last(), folder + "aufnahme3.mp3");
    }
}

TEST(BassErrorNames, NamesTheTableAndShowsOtherCodesAsNumbers) {
    EXPECT_EQ(BassErrorNames(-1), "BASS_ERROR_UNKNOWN");
    EXPECT_EQ(BassErrorNames(0), "BASS_OK");
    EXPECT_EQ(BassErrorNames(9), "BASS_ERROR_START");
    EXPECT_EQ(BassErrorNames(14), "BASS_ERROR_ALREADY");
    EXPECT_EQ(BassErrorNames(23), "BASS_ERROR_DEVICE");
    EXPECT_EQ(BassErrorNames(44), "BASS_ERROR_CODEC");
    for (int unnamed : {10, 11, 12, 13, 15, 17, 26, 28, 30, 36}) {
        EXPECT_TRUE(BassErrorNames(unnamed).isEmpty()) << unnamed;
        EXPECT_TRUE(BassErrorText(unnamed).isEmpty()) << unnamed;
    }
    EXPECT_TRUE(BassErrorNames(45).isEmpty());
    EXPECT_EQ(BassErrorText(45), "45");
    EXPECT_EQ(BassErrorText(-2), "-2");
    EXPECT_EQ(DeviceStartMessage(0, 23),
              "Start default output device: BASS_OK\rStart default recording device: BASS_ERROR_DEVICE");
}

} // namespace
