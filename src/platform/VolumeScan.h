#pragma once

#include "common/Drives.h"

#include <QString>
#include <QStringList>
#include <vector>

// The mounted volumes that recordings can go to, from a mount table in mountinfo format: file systems
// mounted at or below one of mediaRoots, and network file systems; never "/", "/boot*", "/home", bind,
// snap or pseudo mounts (tmpfs and ramfs are RAM disks). Ordered by root. mountedDevices, when given,
// receives the resolved device of every mount in the table.
std::vector<Volume> scanMountedVolumes(const QString& mountTable, const QStringList& mediaRoots,
                                       const QString& sysfsRoot, QStringList* mountedDevices = nullptr);

// The kind of the block device `name` (sdb1, sr0, mmcblk0p1) from /class/block below sysfsRoot; a
// partition takes the kind of its disk.
int blockDeviceKind(const QString& sysfsRoot, const QString& name);

// The label of the file system on `device`, empty when it has none or cannot be read.
QString fileSystemLabel(const QString& device);
