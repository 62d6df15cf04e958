#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Set before the application object: test discovery runs this program at build time.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
