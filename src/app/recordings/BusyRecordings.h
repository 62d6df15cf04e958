#pragma once

#include <QSet>
#include <QString>

class TForm1;

// The full paths of the recordings that are not finished yet: the file of the running recording and those
// waiting for their encoder to exit or being finished.
QSet<QString> UnfinishedRecordings(TForm1& form);
