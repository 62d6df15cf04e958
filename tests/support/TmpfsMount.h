#pragma once

#include <QString>

// A small tmpfs mounted on a folder inside a private mount namespace of the calling thread, so nothing
// outside the test sees it; unmounted again at the end. Needs root; otherwise path stays empty and
// skipReason says why.
class TmpfsMount {
public:
    enum Access { ReadOnly, Writable };
    TmpfsMount(const QString& folder, Access access, const QString& size = QStringLiteral("1m"));
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    // Mounts the volume read-only from now on, with what it holds; false when that failed.
    bool makeReadOnly();
    // Unmounts the volume at once (lazily, as when a stick is pulled while files are open); false when that
    // failed.
    bool unmount();
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    QString path;
    QString skipReason;
};
