#pragma once

#include "CdDriveStatus.h"
#include "common/Drives.h"

#include <QObject>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <memory>

struct libmnt_monitor;

// The volumes of the mount table of this process's mount namespace, and the CD drives. Notices come from
// libmount's monitor of that table (debounced, then compared with the previous list) and from polling the
// CD drives for a disc; they are delivered on the thread that created this object.
class MountTableDrives : public QObject, public Drives {
    Q_OBJECT
public:
    explicit MountTableDrives(QStringList mediaRoots = {QStringLiteral("/media"),
                                                        QStringLiteral("/run/media"), QStringLiteral("/mnt")},
                              QString sysfsRoot = QStringLiteral("/sys"),
                              DiscCheck discCheck = driveReportsDisc,
                              std::chrono::milliseconds cdPollInterval = std::chrono::seconds(2));
    ~MountTableDrives() override;

    std::vector<Volume> volumes() override;
    void setListener(std::function<void(const DriveNotice&)> listener) override;

private:
    struct MonitorFree {
        void operator()(libmnt_monitor* monitor) const;
    };

    void drainMonitor();
    void pollCdDrives();
    void compareWithKnown();

    const QStringList mediaRoots_;
    const QString sysfsRoot_;
    const DiscCheck discCheck_;
    std::unique_ptr<libmnt_monitor, MonitorFree> monitor_;
    std::unique_ptr<QSocketNotifier> notifier_; // watches monitor_'s descriptor, so it goes first
    QTimer settle_;
    QTimer cdPoll_;
    std::vector<Volume> known_;
    std::function<void(const DriveNotice&)> listener_;
};
