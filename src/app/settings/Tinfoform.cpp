#include "app/settings/Tinfoform.h"

#include "KandolorBuild.h"
#include "settings/UiTexts.h"
#include "ui_Tinfoform.h"

#include <QDate>
#include <QRegularExpression>

namespace {

struct ThirdParty {
    const char* name;
    const char* licence;
    const char* maker;
    const char* address;
};

// Linked into the program.
constexpr ThirdParty Libraries[] = {
    {"Qt 6", "LGPL-3.0", "The Qt Company", "https://www.qt.io"},
    {"SDL2", "zlib", "Sam Lantinga", "https://www.libsdl.org"},
    {"libmpg123", "LGPL-2.1", "Michael Hipp, Thomas Orgis", "https://www.mpg123.de"},
    {"libsndfile", "LGPL-2.1", "Erik de Castro Lopo", "https://libsndfile.github.io/libsndfile"},
    {"libcdio", "GPL-3.0", "Rocky Bernstein, GNU Project", "https://www.gnu.org/software/libcdio"},
    {"libmount", "LGPL-2.1", "Karel Zak, util-linux", "https://github.com/util-linux/util-linux"},
    {"libblkid", "LGPL-2.1", "Karel Zak, util-linux", "https://github.com/util-linux/util-linux"},
};
// Started as a process of its own.
constexpr ThirdParty Encoder = {"LAME", "LGPL-2.0", "The LAME Project", "https://lame.sourceforge.io"};

// "SDL2 (zlib) – Sam Lantinga, https://www.libsdl.org": names, licences and addresses are not translated.
QString named(const ThirdParty& part) {
    return QStringLiteral("%1 (%2) – %3, %4")
        .arg(QLatin1String(part.name), QLatin1String(part.licence), QLatin1String(part.maker),
             QLatin1String(part.address));
}

// The history's lines without trailing blanks, empty lines left out.
QStringList historyLines(const QString& changelog) {
    QStringList lines;
    for (QString line : changelog.split(QLatin1Char('\n'))) {
        while (!line.isEmpty() && line.back().isSpace())
            line.chop(1);
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

// "Dezember 2026" from the date of the entry of `version` ("Ver. 0.9.0 – 09.12.2026"), the month named by
// `monthNames` (twelve names separated by blanks); empty without an entry.
QString releaseMonth(const QStringList& history, const QString& version, const QString& monthNames) {
    static const QRegularExpression entry(QStringLiteral("^Ver\\. (\\S+) .*(\\d\\d\\.\\d\\d\\.\\d{4})$"));
    const QStringList months = monthNames.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& line : history) {
        const QRegularExpressionMatch match = entry.match(line);
        if (!match.hasMatch() || match.captured(1) != version)
            continue;
        const QDate date = QDate::fromString(match.captured(2), QStringLiteral("dd.MM.yyyy"));
        if (date.isValid())
            return months.value(date.month() - 1) + QLatin1Char(' ') + QString::number(date.year());
    }
    return {};
}

} // namespace

Tinfoform::Tinfoform(const QStringList& uiTexts, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::Tinfoform>()) {
    ui->setupUi(this);
    setFixedSize(size());
    // A title without buttons: the window closes only with its own button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    ui->ListBox1->addItems(historyLines(QString::fromUtf8(KandolorChangelog)));

    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    applyTexts(uiTexts);
}

Tinfoform::~Tinfoform() = default;

void Tinfoform::applyTexts(const QStringList& uiTexts) {
    setWindowTitle(uiTexts.at(UiText::InfoCaption));
    ui->BitBtn1->setText(uiTexts.at(UiText::Close));
    const QString version = QString::fromUtf8(KandolorVersion);
    const QString month = releaseMonth(historyLines(QString::fromUtf8(KandolorChangelog)), version,
                                       uiTexts.at(UiText::MonthNames));
    ui->Label1->setText(month.isEmpty() ? uiTexts.at(UiText::InfoVersion).arg(version)
                                        : uiTexts.at(UiText::InfoVersionMonth).arg(version, month));
    ui->Label2->setText(uiTexts.at(UiText::InfoRights));
    ui->Label4->setText(uiTexts.at(UiText::InfoOthers));
    ui->Label5->setText(uiTexts.at(UiText::InfoOwnTerms));
    QStringList libraries{uiTexts.at(UiText::InfoLibraries)};
    for (const ThirdParty& library : Libraries)
        libraries << named(library);
    ui->Label6->setText(libraries.join(QLatin1Char('\n')));
    ui->Label7->setText(uiTexts.at(UiText::InfoProgram) + QLatin1Char(' ') + named(Encoder));
}
