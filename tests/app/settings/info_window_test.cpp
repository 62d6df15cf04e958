#include "app/settings/Tinfoform.h"
#include "settings/UiTexts.h"
#include "ui_Tinfoform.h"

#include <QFile>
#include <QRegularExpression>
#include <QVersionNumber>
#include <gtest/gtest.h>

namespace {

QString sourceText(const char* name) {
    QFile file(QStringLiteral(KANDOLOR_SOURCE_DIR "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The version of the project() in the source tree's top-level CMakeLists.txt.
QString projectVersion() {
    static const QRegularExpression project(QStringLiteral(R"(project\(Kandolor\s+VERSION\s+([0-9.]+))"));
    return project.match(sourceText("CMakeLists.txt")).captured(1);
}

// The lines of the source tree's CHANGELOG that are not empty.
QStringList changelogLines() {
    return sourceText("CHANGELOG").split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// "Ver. 0.9.0 – 09.12.2026": the number and the date of a version.
const QRegularExpression VersionLine(QStringLiteral(R"(^Ver\. (\d+\.\d+\.\d+) – (\d\d)\.(\d\d)\.(\d{4})$)"));

class InfoWindowTest : public ::testing::Test {
protected:
    QString allLabels() {
        const Ui::Tinfoform& f = info.form();
        return QStringList{f.Label1->text(), f.Label2->text(), f.Label4->text(),
                           f.Label5->text(), f.Label6->text(), f.Label7->text()}
            .join(QLatin1Char('\n'));
    }
    QStringList history() {
        QStringList lines;
        for (int i = 0; i < info.form().ListBox1->count(); ++i)
            lines << info.form().ListBox1->item(i)->text();
        return lines;
    }

    Tinfoform info{defaultUiTexts()};
};

} // namespace

TEST_F(InfoWindowTest, IsTitledInformationenAndClosesWithSchliessen) {
    EXPECT_EQ(info.windowTitle(), "Informationen");
    EXPECT_EQ(info.form().BitBtn1->text(), "Schliessen");
    info.show();
    ASSERT_TRUE(info.isVisible());
    info.form().BitBtn1->click();
    EXPECT_FALSE(info.isVisible());
    EXPECT_EQ(info.result(), QDialog::Accepted);
}

TEST_F(InfoWindowTest, ItsTitleBarHasATitleAndNoCloseButton) {
    info.show();
    const Qt::WindowFlags flags = info.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
}

TEST_F(InfoWindowTest, ShowsTheBuildsVersionWhichIsTheNewestOfTheHistoryWithItsMonth) {
    const QString version = projectVersion();
    ASSERT_FALSE(version.isEmpty());
    const QRegularExpressionMatch newest = VersionLine.match(changelogLines().value(0));
    ASSERT_TRUE(newest.hasMatch());
    EXPECT_EQ(newest.captured(1), version);
    static const char* const Months[] = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                                         "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    const QString month = QString::fromUtf8(Months[newest.captured(3).toInt() - 1]);
    EXPECT_EQ(info.form().Label1->text(),
              QStringLiteral("Kandolor, Version %1 – %2 %3").arg(version, month, newest.captured(4)));
}

TEST_F(InfoWindowTest, StatesTheProgramsOwnLicence) {
    EXPECT_TRUE(info.form().Label2->text().contains("GPL-3.0-or-later"));
}

TEST_F(InfoWindowTest, TheEncoderIsNamedAsAProgramOfItsOwn) {
    EXPECT_TRUE(info.form().Label7->text().contains("LAME (LGPL-2.0)"));
    EXPECT_TRUE(info.form().Label7->text().contains("Prozess"));
    EXPECT_FALSE(info.form().Label6->text().contains("LAME"));
}

TEST_F(InfoWindowTest, TheHistoryIsTheChangelogOfTheSourceTree) {
    const QStringList expected = changelogLines();
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(history(), expected);
}

TEST_F(InfoWindowTest, TheHistoryListsTheNewestVersionFirstWithItsChangesIndented) {
    const QStringList lines = history();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.first().startsWith("Ver."));
    std::vector<QVersionNumber> versions;
    for (const QString& line : lines) {
        if (line.startsWith("Ver.")) {
            const QRegularExpressionMatch match = VersionLine.match(line);
            EXPECT_TRUE(match.hasMatch()) << line.toStdString();
            versions.push_back(QVersionNumber::fromString(match.captured(1)));
        } else {
            EXPECT_TRUE(line.startsWith(QLatin1Char(' '))) << line.toStdString();
        }
    }
    ASSERT_GE(versions.size(), 2u);
    for (std::size_t i = 1; i < versions.size(); ++i)
        EXPECT_GT(versions[i - 1], versions[i]) << versions[i].toString().toStdString();
}

TEST_F(InfoWindowTest, ALanguageChangesTheTextsButNotTheNamesAddressesOrHistory) {
    const QStringList lines = history();
    QStringList english = defaultUiTexts();
    english[UiText::Close] = "Close";
    english[UiText::InfoCaption] = "Information";
    english[UiText::InfoVersionMonth] = "Kandolor, version %1 – %2";
    english[UiText::MonthNames] = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec";
    english[UiText::InfoLibraries] = "Libraries:";
    english[UiText::InfoRights] = "Free software.";
    info.applyTexts(english);
    EXPECT_EQ(info.windowTitle(), "Information");
    EXPECT_EQ(info.form().BitBtn1->text(), "Close");
    EXPECT_TRUE(info.form().Label1->text().startsWith("Kandolor, version " + projectVersion() + " – "));
    EXPECT_FALSE(info.form().Label1->text().contains("Dezember"));
    EXPECT_EQ(info.form().Label2->text(), "Free software.");
    EXPECT_TRUE(info.form().Label6->text().startsWith("Libraries:\nQt 6 (LGPL-3.0) – The Qt Company"));
    EXPECT_EQ(history(), lines);
}

TEST_F(InfoWindowTest, NamesTheMakerAndWebAddressOfEachLibraryAndProgram) {
    for (const char* line :
         {"Qt 6 (LGPL-3.0) – The Qt Company, https://www.qt.io",
          "SDL2 (zlib) – Sam Lantinga, https://www.libsdl.org",
          "libmpg123 (LGPL-2.1) – Michael Hipp, Thomas Orgis, https://www.mpg123.de",
          "libcdio (GPL-3.0) – Rocky Bernstein, GNU Project, https://www.gnu.org/software/libcdio",
          "LAME (LGPL-2.0) – The LAME Project, https://lame.sourceforge.io"})
        EXPECT_TRUE(allLabels().contains(QString::fromUtf8(line))) << line;
    for (const QString& line : info.form().Label6->text().split('\n').mid(1))
        EXPECT_TRUE(line.contains(" – ") && line.contains(", https://")) << line.toStdString();
}

namespace {

struct Licensed {
    const char* name;
    const char* licence;
};
void PrintTo(const Licensed& licensed, std::ostream* out) {
    *out << licensed.name << " (" << licensed.licence << ")";
}

class InfoWindowLicenceTest : public InfoWindowTest, public ::testing::WithParamInterface<Licensed> {};

} // namespace

TEST_P(InfoWindowLicenceTest, NamesTheLibraryOrProgramWithItsLicence) {
    const QString named = QStringLiteral("%1 (%2)").arg(GetParam().name, GetParam().licence);
    EXPECT_TRUE(allLabels().contains(named)) << named.toStdString() << "\n" << allLabels().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Used, InfoWindowLicenceTest,
                         ::testing::Values(Licensed{"Qt 6", "LGPL-3.0"}, Licensed{"SDL2", "zlib"},
                                           Licensed{"libmpg123", "LGPL-2.1"},
                                           Licensed{"libsndfile", "LGPL-2.1"}, Licensed{"libcdio", "GPL-3.0"},
                                           Licensed{"libmount", "LGPL-2.1"}, Licensed{"libblkid", "LGPL-2.1"},
                                           Licensed{"LAME", "LGPL-2.0"}),
                         [](const ::testing::TestParamInfo<Licensed>& info) {
                             QString name = QString::fromLatin1(info.param.name);
                             name.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")));
                             return name.toStdString();
                         });
