#include "VolumeScan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <blkid/blkid.h>
#include <libmount/libmount.h>
#include <map>
#include <memory>

namespace {

struct TableFree {
    void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
struct IterFree {
    void operator()(libmnt_iter* iter) const { mnt_free_iter(iter); }
};
struct ProbeFree {
    void operator()(blkid_struct_probe* probe) const { blkid_free_probe(probe); }
};

QString text(const char* value) {
    return value ? QString::fromLocal8Bit(value) : QString();
}

QString lastPart(const QString& path) {
    return path == QLatin1String("/") ? path : path.section(QLatin1Char('/'), -1);
}

bool atOrBelow(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

bool systemFolder(const QString& target) {
    return target == QLatin1String("/") || target.startsWith(QLatin1String("/boot")) ||
           atOrBelow(target, QStringLiteral("/home"));
}

bool networkFileSystem(libmnt_fs* fs) {
    static const QStringList fuseNetworks{QStringLiteral("fuse.rclone"), QStringLiteral("fuse.smbnetfs"),
                                          QStringLiteral("fuse.s3fs"), QStringLiteral("davfs")};
    return mnt_fs_is_netfs(fs) || fuseNetworks.contains(text(mnt_fs_get_fstype(fs)));
}

bool ramFileSystem(const QString& type) {
    return type == QLatin1String("tmpfs") || type == QLatin1String("ramfs");
}

// The device a /dev source stands for (/dev/mapper/x, /dev/disk/by-label/x resolved); else empty.
QString deviceOf(libmnt_fs* fs) {
    const QString source = text(mnt_fs_get_source(fs));
    if (!source.startsWith(QLatin1String("/dev/")))
        return {};
    const QString resolved = QFileInfo(source).canonicalFilePath();
    return resolved.isEmpty() ? source : resolved;
}

int mountKind(libmnt_fs* fs, const QString& device, const QString& sysfsRoot) {
    if (networkFileSystem(fs))
        return DriveNetwork;
    if (ramFileSystem(text(mnt_fs_get_fstype(fs))))
        return DriveRamDisk;
    if (!device.isEmpty())
        return blockDeviceKind(sysfsRoot, QFileInfo(device).fileName());
    return DriveOther;
}

QByteArray attribute(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

int diskKind(const QString& sysfsRoot, const QString& name, int depth) {
    QString path = QFileInfo(sysfsRoot + QStringLiteral("/class/block/") + name).canonicalFilePath();
    if (path.isEmpty())
        return DriveUnknown;
    if (QFileInfo::exists(path + QStringLiteral("/partition")))
        path = QFileInfo(path).path();
    // A mapped device (an encrypted stick) is of the kind of the one device below it.
    const QStringList below =
        QDir(path + QStringLiteral("/slaves")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    if (below.size() == 1 && depth < 8)
        return diskKind(sysfsRoot, below.first(), depth + 1);
    const QString disk = QFileInfo(path).fileName();
    if (disk.startsWith(QLatin1String("zram")))
        return DriveRamDisk;
    if (disk.startsWith(QLatin1String("sr")))
        return DriveCdRom;
    const QString inSysfs = path.mid(QFileInfo(sysfsRoot).canonicalFilePath().size());
    if (attribute(path + QStringLiteral("/removable")) == "1" || inSysfs.contains(QLatin1String("/usb")) ||
        disk.startsWith(QLatin1String("mmcblk")))
        return DriveRemovable;
    return DriveFixed;
}

} // namespace

int blockDeviceKind(const QString& sysfsRoot, const QString& name) {
    return diskKind(sysfsRoot, name, 0);
}

QString fileSystemLabel(const QString& device) {
    const std::unique_ptr<blkid_struct_probe, ProbeFree> probe(
        blkid_new_probe_from_filename(QFile::encodeName(device).constData()));
    if (!probe)
        return {};
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_LABEL);
    const char* label = nullptr;
    if (blkid_do_safeprobe(probe.get()) != 0 ||
        blkid_probe_lookup_value(probe.get(), "LABEL", &label, nullptr) != 0)
        return {};
    return QString::fromUtf8(label);
}

std::vector<Volume> scanMountedVolumes(const QString& mountTable, const QStringList& mediaRoots,
                                       const QString& sysfsRoot, QStringList* mountedDevices) {
    const std::unique_ptr<libmnt_table, TableFree> table(
        mnt_new_table_from_file(QFile::encodeName(mountTable).constData()));
    const std::unique_ptr<libmnt_iter, IterFree> iter(mnt_new_iter(MNT_ITER_FORWARD));
    if (!table || !iter)
        return {};

    // The last mount on a mount point hides the earlier ones; the first mount of a file system is the
    // real one, later ones with the same device number are binds of it.
    std::map<QString, libmnt_fs*> visible;
    std::map<dev_t, QString> firstTarget;
    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(table.get(), iter.get(), &fs) == 0) {
        const QString target = text(mnt_fs_get_target(fs));
        visible[target] = fs;
        firstTarget.emplace(mnt_fs_get_devno(fs), target);
        if (mountedDevices && !deviceOf(fs).isEmpty())
            mountedDevices->append(deviceOf(fs));
    }

    std::vector<Volume> volumes;
    for (const auto& [target, mount] : visible) {
        const QString type = text(mnt_fs_get_fstype(mount));
        const bool network = networkFileSystem(mount);
        const bool media = std::any_of(mediaRoots.begin(), mediaRoots.end(), [&](const QString& root) {
            return atOrBelow(target, QDir::cleanPath(root));
        });
        const dev_t devno = mnt_fs_get_devno(mount);
        if ((!media && !network) || systemFolder(target) || atOrBelow(target, QStringLiteral("/snap")) ||
            type == QLatin1String("squashfs") || text(mnt_fs_get_root(mount)) != QLatin1String("/") ||
            (devno != 0 && firstTarget[devno] != target) ||
            (mnt_fs_is_pseudofs(mount) && !ramFileSystem(type)))
            continue;
        const QString device = deviceOf(mount);
        Volume volume;
        volume.root = target + QLatin1Char('/');
        volume.name = lastPart(target);
        volume.kind = mountKind(mount, device, sysfsRoot);
        volume.label = device.isEmpty() ? QString() : fileSystemLabel(device);
        if (volume.label.isEmpty())
            volume.label = volume.name;
        volume.medium = true;
        volumes.push_back(volume);
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const Volume& a, const Volume& b) { return a.root < b.root; });
    return volumes;
}
