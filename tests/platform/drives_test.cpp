#include "platform/CdDriveStatus.h"
#include "platform/MountTableDrives.h"
#include "platform/VolumeScan.h"
#include "support/PrivateMounts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/mount.h>

using namespace std::chrono_literals;

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

QStringList roots(const std::vector<Volume>& volumes) {
    QStringList result;
    for (const Volume& volume : volumes)
        result << volume.root;
    return result;
}

const Volume* findRoot(const std::vector<Volume>& volumes, const QString& root) {
    for (const Volume& volume : volumes)
        if (volume.root == root)
            return &volume;
    return nullptr;
}

// A sysfs tree laid out as the kernel does: /class/block/<name> links to the device's folder.
struct FakeSysfs {
    QTemporaryDir dir;
    QString folder(const QString& devicePath) const { return dir.path() + "/devices/" + devicePath; }
    void link(const QString& name, const QString& devicePath) const {
        QDir().mkpath(dir.path() + "/class/block");
        QFile::link(folder(devicePath), dir.path() + "/class/block/" + name);
    }
    void addDisk(const QString& devicePath, const QByteArray& removable) const {
        writeFile(folder(devicePath) + "/removable", removable);
        link(devicePath.section('/', -1), devicePath);
    }
    void addPartition(const QString& devicePath) const {
        writeFile(folder(devicePath) + "/partition", "1");
        link(devicePath.section('/', -1), devicePath);
    }
};

} // namespace

class DrivesKind : public ::testing::TestWithParam<std::pair<const char*, int>> {
protected:
    static void SetUpTestSuite() {
        sysfs = std::make_unique<FakeSysfs>();
        sysfs->addDisk("pci0/ata1/block/sda", "0");
        sysfs->addPartition("pci0/ata1/block/sda/sda1");
        sysfs->addDisk("pci0/usb1/1-1/host0/block/sdb", "0");
        sysfs->addDisk("pci0/ata2/block/sdc", "1");
        sysfs->addPartition("pci0/ata2/block/sdc/sdc1");
        sysfs->addDisk("platform/mmc0/block/mmcblk0", "0");
        sysfs->addPartition("platform/mmc0/block/mmcblk0/mmcblk0p1");
        sysfs->addDisk("pci0/ata3/block/sr0", "1");
        sysfs->addDisk("virtual/block/zram0", "0");
        sysfs->addDisk("virtual/block/loop0", "0");
        sysfs->addDisk("virtual/block/dm-0", "0");
        QDir().mkpath(sysfs->folder("virtual/block/dm-0/slaves"));
        QFile::link(sysfs->folder("pci0/ata2/block/sdc/sdc1"),
                    sysfs->folder("virtual/block/dm-0/slaves/sdc1"));
    }
    static void TearDownTestSuite() { sysfs.reset(); }
    static inline std::unique_ptr<FakeSysfs> sysfs;
};

TEST_P(DrivesKind, FollowsSysfsToTheDisk) {
    EXPECT_EQ(blockDeviceKind(sysfs->dir.path(), GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(DrivesOfSysfs, DrivesKind,
                         ::testing::Values(std::pair{"sda", DriveFixed}, std::pair{"sda1", DriveFixed},
                                           std::pair{"sdb", DriveRemovable}, std::pair{"sdc", DriveRemovable},
                                           std::pair{"sdc1", DriveRemovable},
                                           std::pair{"mmcblk0p1", DriveRemovable},
                                           std::pair{"sr0", DriveCdRom}, std::pair{"zram0", DriveRamDisk},
                                           std::pair{"loop0", DriveFixed}, std::pair{"dm-0", DriveRemovable},
                                           std::pair{"sdz", DriveUnknown}),
                         [](const auto& info) {
                             return QString(info.param.first).remove('-').toStdString();
                         });

TEST(DrivesMountTable, KeepsMediaAndNetworkVolumesOnly) {
    QTemporaryDir dir;
    writeFile(dir.path() + "/mountinfo", "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                         "2 1 8:2 / /boot/efi rw - vfat /dev/sda2 rw\n"
                                         "3 1 0:40 / /home/shared rw - nfs4 server:/home rw\n"
                                         "4 1 0:41 / /srv/share rw - nfs4 server:/share rw\n"
                                         "5 1 0:42 / /net/box rw - fuse.sshfs user@box:/ rw\n"
                                         "6 1 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
                                         "7 1 8:17 / /media/stick rw - ext4 /dev/sdz1 rw\n"
                                         "8 1 8:18 /music /media/music rw - ext4 /dev/sdz2 rw\n"
                                         "9 1 8:17 / /media/again rw - ext4 /dev/sdz1 rw\n"
                                         "10 1 0:43 / /media/proc rw - proc proc rw\n"
                                         "11 1 0:44 / /media/ram rw - tmpfs tmpfs rw\n"
                                         "12 1 8:33 / /media/hidden rw - ext4 /dev/sdy1 rw\n"
                                         "13 1 0:45 / /media/hidden rw - ramfs ramfs rw\n"
                                         "14 1 7:1 / /media/image ro - squashfs /dev/loop1 ro\n"
                                         "15 1 8:49 / /mnt/other rw - ext4 /dev/sdx1 rw\n");

    const auto volumes = scanMountedVolumes(dir.path() + "/mountinfo", {"/media/"}, dir.path() + "/nosysfs");

    EXPECT_EQ(roots(volumes),
              QStringList({"/media/hidden/", "/media/ram/", "/media/stick/", "/net/box/", "/srv/share/"}));
    ASSERT_EQ(volumes.size(), 5u);
    EXPECT_EQ(volumes[0].kind, DriveRamDisk);
    EXPECT_EQ(volumes[1].kind, DriveRamDisk);
    EXPECT_EQ(volumes[2], (Volume{"/media/stick/", "stick", DriveUnknown, "stick", true}));
    EXPECT_EQ(volumes[3].kind, DriveNetwork);
    EXPECT_EQ(volumes[4], (Volume{"/srv/share/", "share", DriveNetwork, "share", true}));
}

class DrivesMounted : public ::testing::Test {
protected:
    void SetUp() override {
        const QString failure = enterPrivateMountNamespace();
        if (!failure.isEmpty())
            GTEST_SKIP() << failure.toStdString();
    }
    QString at(const QString& name) const { return media.path() + "/" + name; }
    QTemporaryDir media;
};

TEST_F(DrivesMounted, ListsLabelledVolumesButNoBindsOrOutsiders) {
    TestVolume stick(at("stick"), TestVolume::Ext4, "STICK");
    TestVolume ram(at("ram"), TestVolume::Tmpfs, "scratch");
    QTemporaryDir elsewhere;
    TestVolume outside(elsewhere.path() + "/out", TestVolume::Tmpfs, "out");
    if (stick.path.isEmpty() || ram.path.isEmpty() || outside.path.isEmpty())
        GTEST_SKIP() << (stick.skipReason + ram.skipReason + outside.skipReason).toStdString();
    QDir().mkpath(stick.path + "/sub");
    for (const char* bind : {"again", "sub"}) {
        QDir().mkpath(at(bind));
        const QString source = QString(bind) == "sub" ? stick.path + "/sub" : stick.path;
        ASSERT_EQ(mount(QFile::encodeName(source), QFile::encodeName(at(bind)), nullptr, MS_BIND, nullptr),
                  0);
    }

    const auto volumes =
        MountTableDrives({media.path()}, "/sys", [](const QString&) { return false; }).volumes();
    umount2(QFile::encodeName(at("again")), MNT_DETACH);
    umount2(QFile::encodeName(at("sub")), MNT_DETACH);

    EXPECT_EQ(roots(volumes), QStringList({at("ram/"), at("stick/")}));
    ASSERT_EQ(volumes.size(), 2u);
    EXPECT_EQ(volumes[0], (Volume{at("ram/"), "ram", DriveRamDisk, "ram", true}));
    EXPECT_EQ(volumes[1], (Volume{at("stick/"), "stick", DriveFixed, "STICK", true}));
}

TEST_F(DrivesMounted, NoticesEachMountAndUnmountOnce) {
    TestVolume early(at("early"), TestVolume::Tmpfs, "early");
    MountTableDrives drives(
        {media.path()}, "/sys", [](const QString&) { return false; }, 1h);
    std::vector<DriveNotice> notices;
    QTest::qWait(300);
    drives.setListener([&](const DriveNotice& notice) { notices.push_back(notice); });
    QTest::qWait(300);
    EXPECT_TRUE(notices.empty()) << "a volume mounted before the listener is no arrival";

    TestVolume stick(at("stick"), TestVolume::Tmpfs, "stick");
    if (stick.path.isEmpty())
        GTEST_SKIP() << stick.skipReason.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notices.empty(); }, 5000));
    QTest::qWait(300);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].event, DriveNotice::Arrival);
    EXPECT_FALSE(notices[0].medium);
    EXPECT_EQ(notices[0].volume.root, at("stick/"));

    stick.unmountLazily();
    ASSERT_TRUE(QTest::qWaitFor([&] { return notices.size() > 1; }, 5000));
    QTest::qWait(300);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[1].event, DriveNotice::Removal);
    EXPECT_FALSE(notices[1].medium);
    EXPECT_EQ(notices[1].volume.root, at("stick/"));
}

TEST(DrivesCd, ListsUnmountedDrivesAndPollsForDiscs) {
    FakeSysfs sysfs;
    sysfs.addDisk("pci0/ata3/block/sr0", "1");
    sysfs.addDisk("pci0/ata4/block/sr1", "1");
    QTemporaryDir media;
    bool disc = false;
    const DiscCheck check = [&](const QString& device) { return device == "/dev/sr0" && disc; };

    EXPECT_EQ(roots(unmountedCdDrives(sysfs.dir.path(), {"/dev/sr1"}, check)), QStringList{"/dev/sr0/"});
    MountTableDrives drives({media.path()}, sysfs.dir.path(), check, 20ms);
    EXPECT_EQ(drives.volumes(), (std::vector<Volume>{{"/dev/sr0/", "sr0", DriveCdRom, "", false},
                                                     {"/dev/sr1/", "sr1", DriveCdRom, "", false}}));

    std::vector<DriveNotice> notices;
    drives.setListener([&](const DriveNotice& notice) { notices.push_back(notice); });
    disc = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notices.empty(); }, 3000));
    disc = false;
    ASSERT_TRUE(QTest::qWaitFor([&] { return notices.size() > 1; }, 3000));
    QTest::qWait(100);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].event, DriveNotice::Arrival);
    EXPECT_EQ(notices[1].event, DriveNotice::Removal);
    for (const DriveNotice& notice : notices) {
        EXPECT_TRUE(notice.medium);
        EXPECT_EQ(notice.volume.root, "/dev/sr0/");
    }
    EXPECT_TRUE(notices[0].volume.medium);
    EXPECT_TRUE(findRoot(drives.volumes(), "/dev/sr1/"));
}
