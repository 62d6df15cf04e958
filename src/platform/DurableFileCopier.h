#pragma once

#include "common/FileCopier.h"

// Durable copies with POSIX calls: the data goes to `<name>.kandolor.part` beside the target, is synced,
// renamed to the target (atomically without replacing, where the file system allows) and the folder synced.
// A copy is Done only when the target's folder, looked up again by its path, is still the volume written to.
// Keeps no state of its own.
class DurableFileCopier : public FileCopier {
public:
    CopyOutcome copy(const QString& source, const QString& target, bool replace,
                     const Progress& progress = {}) override;
    QStringList removeLeftParts(const QString& folder) override;
};
