#include "CdDriveStatus.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

bool driveReportsDisc(const QString& device) {
    // Non-blocking: an empty drive must not make us wait for it to close its tray.
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const int status = ::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT);
    ::close(fd);
    return status == CDS_DISC_OK;
}

std::vector<Volume> unmountedCdDrives(const QString& sysfsRoot, const QStringList& mountedDevices,
                                      const DiscCheck& discCheck) {
    static const QRegularExpression cdName(QStringLiteral("^sr[0-9]+$"));
    std::vector<Volume> drives;
    const QStringList names =
        QDir(sysfsRoot + QStringLiteral("/class/block"))
            .entryList({QStringLiteral("sr*")}, QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        const QString device = QStringLiteral("/dev/") + name;
        if (!cdName.match(name).hasMatch() || mountedDevices.contains(device))
            continue;
        Volume drive;
        drive.root = device + QLatin1Char('/');
        drive.name = name;
        drive.kind = DriveCdRom;
        drive.medium = discCheck(device);
        drives.push_back(drive);
    }
    return drives;
}
