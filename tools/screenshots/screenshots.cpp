// Starts the main window as on a desk: the user's folders (the demo set-up), the system's sound server and
// the volumes mounted below /media, where a desktop mounts sticks. It records the input for a few seconds
// and saves main-de.png (the recording running), settings-de.png, copy-de.png (recordings and the stick
// chosen) and main-en.png into FOLDER.
// Usage: kandolor_screenshots FOLDER [SYSFS]   (SYSFS: the sysfs tree the drive list reads, default /sys)
#include "app/TForm1.h"
#include "app/recording/CaptureControl.h"
#include "app/recording/RecordingFinisher.h"
#include "app/recordings/TDualListDlg.h"
#include "app/settings/TPagesDlg.h"
#include "common/SystemPower.h"
#include "platform/CdMediaDevice.h"
#include "platform/DurableFileCopier.h"
#include "platform/MountTableDrives.h"
#include "platform/PosixFileSystem.h"
#include "platform/SystemClock.h"
#include "platform/SystemFolders.h"
#include "platform/audio/AudioFactory.h"
#include "support/PrintingDialogs.h"
#include "ui_TDualListDlg.h"
#include "ui_TForm1.h"
#include "ui_TPagesDlg.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>
#include <functional>

namespace {

class NoPower : public SystemPower {
public:
    QString powerOff() override { return QStringLiteral("not here"); }
};

// Runs the event loop until `done` or `ms` have passed; returns whether `done` came.
bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

bool save(QWidget& widget, const QString& path, const std::function<void()>& arrange = {}) {
    widget.show();
    widget.raise();
    waitFor([] { return false; }, 500);
    if (arrange) {
        arrange();
        waitFor([] { return false; }, 300);
    }
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
    return saved;
}

// Selects the recordings of the copy dialog (not the group headings) and its first target.
void chooseCopies(Ui::TDualListDlg& dialog) {
    for (int i = 0; i < dialog.SrcList->count(); ++i)
        dialog.SrcList->item(i)->setSelected(dialog.SrcList->item(i)->text().endsWith(QLatin1String(".mp3")));
    if (dialog.DstList->count() > 0)
        dialog.DstList->item(0)->setSelected(true);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kandolor"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: kandolor_screenshots FOLDER [SYSFS]\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    const QString sysfs = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/sys");
    QDir().mkpath(out);
    PrintingDialogs dialogs;
    SystemClock clock;
    SystemFolders folders;
    const std::unique_ptr<AudioLibrary> audio = createAudioLibrary();
    MountTableDrives drives({QStringLiteral("/media")}, sysfs);
    DurableFileCopier copier;
    NoPower power;
    CdMediaDevice media(*audio, [] { return QStringList(); });
    PosixFileSystem files;
    Services services{dialogs, clock, folders, *audio, drives, copier, power, media, files};
    TForm1 form(services);
    Ui::TForm1& ui = form.form();
    form.show();

    // The stick ticked under "hier ebenfalls speichern"; a talk recorded by hand: topic and speaker typed,
    // then "Aufnahme".
    waitFor([&] { return ui.CheckListBox1->count() > 0; }, 5000);
    for (int i = 0; i < ui.CheckListBox1->count(); ++i)
        ui.CheckListBox1->item(i)->setCheckState(Qt::Checked);
    ui.Thema->clear();
    QTest::keyClicks(ui.Thema, QStringLiteral("Vortrag"));
    QTest::keyClicks(ui.Redner, QStringLiteral("Max Muster"));
    waitFor([] { return false; }, 2000);
    QTest::mouseClick(ui.BitBtn4, Qt::LeftButton);
    if (!waitFor([&] { return form.capture().channelActive(); }, 15000))
        std::fprintf(stderr, "the recording input did not open; the window shows no recording\n");
    waitFor([] { return false; }, 6000);
    bool ok = save(form, out + "main-de.png");

    form.pagesDialog().form().pagecontrol->setCurrentIndex(0);
    ok = save(form.pagesDialog(), out + "settings-de.png") && ok;
    form.pagesDialog().hide();
    ok = save(form.copyDialog(), out + "copy-de.png", [&] { chooseCopies(form.copyDialog().form()); }) && ok;
    form.copyDialog().hide();
    for (QAction* item : form.NewItem())
        if (item->text().startsWith(QLatin1String("English")))
            item->trigger();
    ok = save(form, out + "main-en.png") && ok;

    // The recording is stopped and finished before the window goes.
    if (ui.BitBtn4->property("Tag").toInt() != 0)
        QTest::mouseClick(ui.BitBtn4, Qt::LeftButton);
    if (!waitFor([&] { return !form.finisher().busy(); }, 30000))
        std::fprintf(stderr, "the recording was not finished within 30 s\n");
    return ok ? 0 : 1;
}
