#pragma once

#include <QString>
#include <functional>
#include <vector>

// Codes of the kinds of drive, as the drive list names them.
enum DriveKind : int {
    DriveUnknown = 0, // sysfs could not be read
    DriveNoRoot = 1,
    DriveRemovable = 2, // on USB, marked removable, or an SD card
    DriveFixed = 3,
    DriveNetwork = 4,
    DriveCdRom = 5,
    DriveRamDisk = 6, // tmpfs, ramfs, zram
    DriveOther = 9,
};

// One volume that recordings can be written to: a mounted file system, or a CD drive (audio CDs are
// never mounted).
struct Volume {
    QString root; // the mount point with a closing "/"; for a CD drive that is not mounted, its device + "/"
    QString name; // the last part of the mount point; for such a CD drive the device name (sr0)
    int kind = DriveUnknown;
    QString label;       // the file system's label, else the last part of the mount point
    bool medium = false; // a medium is present (a mounted volume always; a CD drive when it reports a disc)

    bool operator==(const Volume&) const = default;
};

// A volume that came or went. `medium` marks a medium changed in an existing drive (a CD put in or taken
// out); a stick plugged in or pulled out is a volume that arrives or is removed.
struct DriveNotice {
    enum Event { Arrival, Removal };
    Event event = Arrival;
    bool medium = false;
    Volume volume;
};

// The volumes and their notices. Real: the mount table through libmount, kinds from sysfs; notices are
// delivered on the thread that created the backend (the UI thread).
class Drives {
public:
    virtual ~Drives() = default;

    // Every volume, in ascending order of root.
    virtual std::vector<Volume> volumes() = 0;
    // Called for every notice from now on.
    virtual void setListener(std::function<void(const DriveNotice&)> listener) = 0;
};
