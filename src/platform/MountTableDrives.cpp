#include "MountTableDrives.h"

#include "VolumeScan.h"

#include <algorithm>
#include <libmount/libmount.h>

namespace {

const Volume* findRoot(const std::vector<Volume>& volumes, const QString& root) {
    const auto it = std::find_if(volumes.begin(), volumes.end(),
                                 [&](const Volume& volume) { return volume.root == root; });
    return it == volumes.end() ? nullptr : &*it;
}

} // namespace

void MountTableDrives::MonitorFree::operator()(libmnt_monitor* monitor) const {
    mnt_unref_monitor(monitor);
}

MountTableDrives::MountTableDrives(QStringList mediaRoots, QString sysfsRoot, DiscCheck discCheck,
                                   std::chrono::milliseconds cdPollInterval)
    : mediaRoots_(std::move(mediaRoots)), sysfsRoot_(std::move(sysfsRoot)), discCheck_(std::move(discCheck)) {
    // Several mounts and unmounts come in a burst (a stick with partitions): compare once they settle.
    settle_.setSingleShot(true);
    settle_.setInterval(150);
    connect(&settle_, &QTimer::timeout, this, &MountTableDrives::compareWithKnown);
    cdPoll_.setInterval(cdPollInterval);
    connect(&cdPoll_, &QTimer::timeout, this, &MountTableDrives::pollCdDrives);

    monitor_.reset(mnt_new_monitor());
    if (!monitor_ || mnt_monitor_enable_kernel(monitor_.get(), 1) != 0) {
        monitor_.reset();
        return; // without the monitor only the CD drives are watched
    }
    const int fd = mnt_monitor_get_fd(monitor_.get());
    if (fd < 0) {
        monitor_.reset();
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &MountTableDrives::drainMonitor);
}

MountTableDrives::~MountTableDrives() {
    notifier_.reset();
    monitor_.reset();
}

std::vector<Volume> MountTableDrives::volumes() {
    QStringList mountedDevices;
    std::vector<Volume> all =
        scanMountedVolumes(QStringLiteral("/proc/self/mountinfo"), mediaRoots_, sysfsRoot_, &mountedDevices);
    for (Volume& drive : unmountedCdDrives(sysfsRoot_, mountedDevices, discCheck_))
        all.push_back(std::move(drive));
    std::sort(all.begin(), all.end(), [](const Volume& a, const Volume& b) { return a.root < b.root; });
    return all;
}

void MountTableDrives::setListener(std::function<void(const DriveNotice&)> listener) {
    listener_ = std::move(listener);
    known_ = volumes();
    cdPoll_.start();
}

void MountTableDrives::drainMonitor() {
    int result = 0;
    while ((result = mnt_monitor_next_change(monitor_.get(), nullptr, nullptr)) == 0) {
    }
    mnt_monitor_event_cleanup(monitor_.get());
    if (result < 0)
        notifier_->setEnabled(false); // a broken monitor must not spin the event loop; the CD poll goes on
    if (listener_)
        settle_.start();
}

void MountTableDrives::pollCdDrives() {
    // Only the drives' status is asked here; the mount table is read again only when a disc came or went.
    for (const Volume& drive : known_) {
        if (drive.kind == DriveCdRom && drive.root.startsWith(QLatin1String("/dev/")) &&
            discCheck_(drive.root.chopped(1)) != drive.medium) {
            compareWithKnown();
            return;
        }
    }
}

void MountTableDrives::compareWithKnown() {
    if (!listener_)
        return;
    std::vector<Volume> now = volumes();
    std::vector<DriveNotice> notices;
    for (const Volume& old : known_) {
        const Volume* still = findRoot(now, old.root);
        if (!still)
            notices.push_back({DriveNotice::Removal, false, old});
        else if (still->kind == DriveCdRom && still->medium != old.medium)
            notices.push_back({still->medium ? DriveNotice::Arrival : DriveNotice::Removal, true, *still});
    }
    for (const Volume& volume : now) {
        if (!findRoot(known_, volume.root))
            notices.push_back({DriveNotice::Arrival, false, volume});
    }
    known_ = std::move(now);
    // The listener may ask for the volumes again or replace itself: hold our own copy.
    const auto listener = listener_;
    for (const DriveNotice& notice : notices)
        listener(notice);
}
