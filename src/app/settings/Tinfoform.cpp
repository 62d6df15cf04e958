#include "app/settings/Tinfoform.h"

#include "KandolorBuild.h"
#include "settings/UiTexts.h"
#include "ui_Tinfoform.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

namespace {

struct ThirdParty {
    const char* name;
    const char* licence;
};

// Linked into the program.
constexpr ThirdParty Libraries[] = {
    {"Qt 6", "LGPL-3.0"},   {"SDL2", "zlib"},         {"libmpg123", "LGPL-2.1"}, {"libsndfile", "LGPL-2.1"},
    {"libcdio", "GPL-3.0"}, {"libmount", "LGPL-2.1"}, {"libblkid", "LGPL-2.1"},
};
// Started as a process of its own.
constexpr ThirdParty Encoder = {"LAME", "LGPL-2.0"};

QString named(const ThirdParty& part) {
    return QStringLiteral("%1 (%2)").arg(QLatin1String(part.name), QLatin1String(part.licence));
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

// "Dezember 2026" from the date of the entry of `version` ("Ver. 0.9.0 – 09.12.2026"); empty without one.
QString releaseMonth(const QStringList& history, const QString& version) {
    static const QRegularExpression entry(QStringLiteral("^Ver\\. (\\S+) .*(\\d\\d\\.\\d\\d\\.\\d{4})$"));
    for (const QString& line : history) {
        const QRegularExpressionMatch match = entry.match(line);
        if (!match.hasMatch() || match.captured(1) != version)
            continue;
        const QDate date = QDate::fromString(match.captured(2), QStringLiteral("dd.MM.yyyy"));
        if (date.isValid())
            return QLocale(QLocale::German).standaloneMonthName(date.month()) + QLatin1Char(' ') +
                   QString::number(date.year());
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

    const QString version = QString::fromUtf8(KandolorVersion);
    const QStringList history = historyLines(QString::fromUtf8(KandolorChangelog));
    const QString month = releaseMonth(history, version);
    ui->Label1->setText(QStringLiteral("Kandolor, Version ") + version +
                        (month.isEmpty() ? QString() : QStringLiteral(" – ") + month));
    QStringList libraries;
    for (const ThirdParty& library : Libraries)
        libraries << named(library);
    ui->Label6->setText(QStringLiteral("Bibliotheken: ") + libraries.join(QStringLiteral(", ")));
    ui->Label7->setText(QStringLiteral("Programm: ") + named(Encoder) +
                        QStringLiteral(", als eigener Prozess gestartet"));
    ui->ListBox1->addItems(history);

    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    applyTexts(uiTexts);
}

Tinfoform::~Tinfoform() = default;

void Tinfoform::applyTexts(const QStringList& uiTexts) {
    setWindowTitle(uiTexts.at(UiText::InfoCaption));
    ui->BitBtn1->setText(uiTexts.at(UiText::Close));
}
