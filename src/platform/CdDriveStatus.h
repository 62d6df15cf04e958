#pragma once

#include "common/Drives.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// Whether the CD drive `device` (/dev/sr0) holds a disc.
using DiscCheck = std::function<bool(const QString& device)>;

// Asks the drive itself (CDROM_DRIVE_STATUS); false when it cannot be opened.
bool driveReportsDisc(const QString& device);

// The CD drives below sysfsRoot (/class/block/sr*) whose device is none of mountedDevices, as volumes
// rooted at their device, with medium as discCheck reports it. Ordered by root.
std::vector<Volume> unmountedCdDrives(const QString& sysfsRoot, const QStringList& mountedDevices,
                                      const DiscCheck& discCheck);
