#include "app/TForm1.h"
#include "platform/CdMediaDevice.h"
#include "platform/DurableFileCopier.h"
#include "platform/LogindPower.h"
#include "platform/MountTableDrives.h"
#include "platform/PosixFileSystem.h"
#include "platform/QtDialogs.h"
#include "platform/SystemClock.h"
#include "platform/SystemFolders.h"
#include "platform/audio/AudioFactory.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kandolor"));

    QtDialogs dialogs;
    SystemClock clock;
    SystemFolders folders;
    const std::unique_ptr<AudioLibrary> audio = createAudioLibrary();
    MountTableDrives drives;
    DurableFileCopier copier;
    LogindPower power;
    CdMediaDevice media(*audio, &CdMediaDevice::systemDrives);
    PosixFileSystem files;
    Services services{dialogs, clock, folders, *audio, drives, copier, power, media, files};

    TForm1 mainWindow(services);
    mainWindow.show();
    return QApplication::exec();
}
