#include "app/recordings/BusyRecordings.h"

#include "app/TForm1.h"
#include "app/recording/CaptureControl.h"
#include "app/recording/RecordingFinisher.h"

QSet<QString> UnfinishedRecordings(TForm1& form) {
    QSet<QString> files = form.finisher().busyFiles();
    if (form.capture().channelActive())
        files << form.settings().RecordingFolder + form.state().texte[0];
    return files;
}
