#pragma once

#include "FinishJob.h"

#include <QDate>
#include <QString>
#include <functional>
#include <vector>

namespace recording {

// Whether `name` is one the encoder writes under: "aufnahme" + a number + ".mp3", in any case.
bool IsTempRecordingName(const QString& name);

// The jobs that finish the temporary recordings an earlier run left in `folder` (a crash, a power cut),
// oldest first: each gets the name `nameOfDay` gives for the day it was last written, and the album mark.
std::vector<FinishJob> LeftRecordingJobs(const QString& folder,
                                         const std::function<QString(QDate)>& nameOfDay,
                                         const QString& album);

} // namespace recording
