#include "TempTagFile.h"

#include <QFile>

namespace {
constexpr int MaxTries = 0x1000;
}

QString TempTagFile::NameFor(const QString& folder, int n) {
    QString dir = folder.trimmed();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + QStringLiteral("TagTemp.t") +
           QString::number(n, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

TempTagFile::TempTagFile(const QString& folder) {
    for (int n = 0; n < MaxTries; ++n) {
        const QString name = NameFor(folder, n);
        if (QFile::exists(name))
            continue;
        auto stream = std::make_unique<FileStream>(name);
        if (stream->open(FileStream::Mode::CreateNew)) {
            path_ = name;
            stream_ = std::move(stream);
            return;
        }
        if (!QFile::exists(name)) // not a lost race: the folder does not take new files
            break;
    }
    throw FileCreateError("cannot create a temporary file in " + folder.toStdString());
}

TempTagFile::~TempTagFile() {
    stream_->close();
    if (!keep_)
        QFile::remove(path_);
}
