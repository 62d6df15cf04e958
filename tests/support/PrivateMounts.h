#pragma once

#include <QString>

// Moves the test process into a private mount namespace, once: mounts made afterwards are seen by this
// process (and its children) only. Returns why that failed (not root, no unshare), or an empty text.
QString enterPrivateMountNamespace();

// A labelled ext4 image on a loop device, or a tmpfs, mounted on a folder inside the private mount
// namespace; unmounted (lazily) at the end. Without root or loop devices path stays empty and skipReason
// says why.
class TestVolume {
public:
    enum Type { Ext4, Tmpfs };
    TestVolume(const QString& folder, Type type, const QString& label,
               const QString& size = QStringLiteral("8M"));
    ~TestVolume();
    TestVolume(const TestVolume&) = delete;
    TestVolume& operator=(const TestVolume&) = delete;

    // Detaches the volume at once, as a pulled stick: open files keep working, the path is gone.
    void unmountLazily();

    QString path;
    QString skipReason;

private:
    QString image_;
};
