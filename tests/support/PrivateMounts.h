#pragma once

#include <QString>
#include <QStringList>

// Moves the test process into a private mount namespace, once: mounts made afterwards are seen by this
// process (and its children) only. Returns why that failed (not root, no unshare), or an empty text.
QString enterPrivateMountNamespace();

// A labelled file system image on a loop device (ext4 that turns read-only at an error, as a stick's is
// mounted; exFAT through exfat-fuse; vfat where the kernel has it), or a tmpfs, mounted on a folder inside
// the private mount namespace; unmounted (lazily) at the end. Without root, loop devices, the file system
// or its tools path stays empty and skipReason says why.
class TestVolume {
public:
    enum Type { Ext4, Tmpfs, Exfat, Vfat };
    TestVolume(const QString& folder, Type type, const QString& label,
               const QString& size = QStringLiteral("8M"));
    ~TestVolume();
    TestVolume(const TestVolume&) = delete;
    TestVolume& operator=(const TestVolume&) = delete;

    // Detaches the volume at once, as a pulled stick: open files keep working, the path is gone.
    void unmountLazily();
    // Mounts the image again on `folder`, once the volume has been unmounted and let go: what is on the
    // device. Empty when that failed.
    QString mountAgain(const QString& folder);
    // An ext4 volume meets an error and the kernel makes it read-only, as it does with a failing stick;
    // false when that failed.
    bool failAndTurnReadOnly();

    QString path;
    QString skipReason;

private:
    QString mountImage(const QString& folder);

    Type type_;
    QString image_;
    QStringList devices_; // the loop devices of a FUSE-mounted image
    QStringList mountedAgain_;
};
