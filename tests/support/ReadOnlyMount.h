#pragma once

#include <QString>

// A read-only tmpfs mounted on a folder inside a private mount namespace of the calling thread, so nothing
// outside the test sees it; unmounted again at the end. Needs root; otherwise path stays empty and
// skipReason says why.
class ReadOnlyMount {
public:
    explicit ReadOnlyMount(const QString& folder);
    ~ReadOnlyMount();
    ReadOnlyMount(const ReadOnlyMount&) = delete;
    ReadOnlyMount& operator=(const ReadOnlyMount&) = delete;

    QString path;
    QString skipReason;
};
