#pragma once

#include "common/FileCopier.h"

// Durable copies with POSIX calls: the data goes to a new partial file `<8 random letters>.kandolor.part`
// beside the target (created exclusively, so two copies never share one, and short, so any name that fits
// can be copied), is synced, renamed to the target (atomically without replacing, where the file system
// allows) and the folder synced. The copy stops as soon as the target's folder, looked up again by its
// path, is no longer the volume written to, and is Done only when it still is at the end.
// Keeps no state of its own.
class DurableFileCopier : public FileCopier {
public:
    CopyOutcome copy(const QString& source, const QString& target, bool replace,
                     const Progress& progress = {}) override;
    QStringList removeLeftParts(const QString& folder) override;
};

// What an error (errno) of a copy means; the medium is called gone only when its volume is no longer there
// (exfat-fuse answers ENOENT for a name it refuses, vfat EINVAL).
CopyOutcome CopyOutcomeOf(int error, bool volumeThere);
