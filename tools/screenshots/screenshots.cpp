// Starts the main window on the user's folders (the demo set-up) with silent audio devices and one USB
// stick, and saves main-de.png, settings-de.png, copy-de.png and main-en.png into the folder given.
// Usage: kandolor_screenshots FOLDER
#include "app/TForm1.h"
#include "app/recordings/TDualListDlg.h"
#include "app/settings/TPagesDlg.h"
#include "common/Drives.h"
#include "common/SystemPower.h"
#include "platform/CdMediaDevice.h"
#include "platform/DurableFileCopier.h"
#include "platform/PosixFileSystem.h"
#include "platform/SystemClock.h"
#include "platform/SystemFolders.h"
#include "platform/audio/AudioFactory.h"
#include "support/PrintingDialogs.h"
#include "ui_TPagesDlg.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>

namespace {

// One USB stick, the folder `root`, whatever is mounted here.
class OneStick : public Drives {
public:
    explicit OneStick(QString root) : root_(std::move(root)) {}
    std::vector<Volume> volumes() override {
        return {{root_, QStringLiteral("USB-STICK"), DriveRemovable, QStringLiteral("USB-STICK"), true}};
    }
    void setListener(std::function<void(const DriveNotice&)>) override {}

private:
    QString root_;
};

class NoPower : public SystemPower {
public:
    QString powerOff() override { return QStringLiteral("not here"); }
};

bool save(QWidget& widget, const QString& path) {
    widget.show();
    widget.raise();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300)
        QApplication::processEvents();
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kandolor_screenshots FOLDER\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    QDir().mkpath(out);
    PrintingDialogs dialogs;
    SystemClock clock;
    SystemFolders folders;
    NullAudioLibrary audio = createNullAudioLibrary();
    const QString stick = QDir::homePath() + QStringLiteral("/USB-STICK/");
    QDir().mkpath(stick);
    OneStick drives(stick);
    DurableFileCopier copier;
    NoPower power;
    CdMediaDevice media(*audio.library, [] { return QStringList(); });
    PosixFileSystem files;
    Services services{dialogs, clock, folders, *audio.library, drives, copier, power, media, files};
    TForm1 form(services);
    bool ok = save(form, out + "main-de.png");
    form.pagesDialog().form().pagecontrol->setCurrentIndex(0);
    ok = save(form.pagesDialog(), out + "settings-de.png") && ok;
    form.pagesDialog().hide();
    ok = save(form.copyDialog(), out + "copy-de.png") && ok;
    form.copyDialog().hide();
    for (QAction* item : form.NewItem())
        if (item->text().startsWith(QLatin1String("English")))
            item->trigger();
    ok = save(form, out + "main-en.png") && ok;
    return ok ? 0 : 1;
}
