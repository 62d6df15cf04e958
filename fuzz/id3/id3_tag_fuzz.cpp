// The first byte chooses the changes and whether the cycle runs on a file or in memory; the rest is the file.
// Besides sanitizer reports, the target aborts when a write that reports success leaves a tag that does not
// read back with the same frames or changes the audio, when a failed write changes the file, and on any
// unexpected failure (which would show a message box).
#include "common/Dialogs.h"
#include "common/Folders.h"
#include "id3/MemoryStream.h"
#include "id3/TID3v2Tag.h"
#include "id3/TagHeader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "id3 fuzz: %s\n", what);
    std::abort();
}

class AbortingDialogs : public Dialogs {
public:
    void showMessage(const QString& text) override { fail(qPrintable(text)); }
    void information(const QString&, const QString& text) override { fail(qPrintable(text)); }
    void error(const QString& title, const QString& text) override { fail(qPrintable(title + ": " + text)); }
    bool confirm(const QString&, const QString&) override { fail("confirm"); }
    QString openFile(const QString&, const QString&, const QString&) override { fail("openFile"); }
    QString saveFile(const QString&, const QString&, const QString&) override { fail("saveFile"); }
    QString chooseFolder(const QString&, const QString&) override { fail("chooseFolder"); }
    int runModal(QDialog&) override { fail("runModal"); }
};

class TempFolders : public Folders {
public:
    QString commonDataFolder() override { return dir_.path(); }
    QString userDataFolder() override { return dir_.path(); }
    QString userName() override { return QStringLiteral("fuzz"); }
    QString homeFolder() override { return dir_.path(); }
    QString currentFolder() override { return dir_.path(); }
    QString languagesFolder() override { return dir_.path(); }
    QString tempFolder() override { return dir_.path(); }
    std::int64_t clusterSize(const QString&) override { return 512; }
    std::int64_t freeSpace(const QString&) override { return -1; }

private:
    QTemporaryDir dir_;
};

void change(TID3v2Tag& tag, std::uint8_t control) {
    switch (control & 3) {
    case 1:
        tag.SetTitle(QStringLiteral("Titel"));
        break;
    case 2:
        tag.SetTitle(QString(300, QLatin1Char('t')));
        break;
    case 3:
        tag.SetTitle(QString());
        break;
    }
    if (control & 4)
        tag.SetArtist(QStringLiteral("Łukasz"));
    if (control & 8)
        tag.SetComment((control & 0x40) ? QString() : QStringLiteral("Teil 1"));
    if (control & 0x10)
        tag.SetYear((control & 0x20) ? QStringLiteral("abc") : QStringLiteral("2015"));
}

qint64 audioStartOf(const QByteArray& file) {
    MemoryStream stream(file);
    TagHeader header;
    const TMP3Error result = ReadTagHeader(stream, header);
    const qint64 size = result == MP3ERR_None || result == ID3ERR_Compression ? header.tagSize : 0;
    return qMin<qint64>(size, file.size());
}

void checkWritten(const QByteArray& before, const QByteArray& after, TMP3Error result,
                  const TID3v2Tag& written, Dialogs& dialogs, Folders& folders) {
    if (result != MP3ERR_None) {
        if (after != before)
            fail("a failed write changed the file");
        return;
    }
    if (after.mid(audioStartOf(after)) != before.mid(audioStartOf(before)))
        fail("the audio changed");
    TID3v2Tag check(dialogs, folders);
    MemoryStream stream(after);
    if (check.ReadFromStream(stream) != MP3ERR_None || check.HasUnknownData())
        fail("the written tag does not read back");
    if (check.Frames().size() != written.Frames().size())
        fail("the written tag lost or gained frames");
    for (size_t i = 0; i < check.Frames().size(); ++i) {
        const TID3v2Frame& a = *check.Frames()[i];
        const TID3v2Frame& b = *written.Frames()[i];
        if (a.IDString() != b.IDString() || a.Data() != b.Data() || a.Parsable() != b.Parsable())
            fail("a frame changed");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static AbortingDialogs dialogs;
    static TempFolders folders;
    if (size < 1)
        return 0;
    const std::uint8_t control = data[0];
    const QByteArray file(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    TID3v2Tag tag(dialogs, folders);
    if (control & 0x80) {
        const QString path = folders.tempFolder() + QStringLiteral("/input.mp3");
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(file) != file.size())
            fail("cannot write the input file");
        out.close();
        tag.ReadFromFile(path);
        change(tag, control);
        const TMP3Error result = tag.WriteToFile(path);
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            fail("cannot read the written file");
        checkWritten(file, in.readAll(), result, tag, dialogs, folders);
        if (QDir(folders.tempFolder()).entryList(QDir::Files).size() != 1)
            fail("a temporary file was left behind");
    } else {
        MemoryStream stream(file);
        tag.ReadFromStream(stream);
        change(tag, control);
        const TMP3Error result = tag.WriteToStream(stream);
        checkWritten(file, stream.data(), result, tag, dialogs, folders);
    }
    return 0;
}
