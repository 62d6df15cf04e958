#pragma once

#include "recording/MeetingDefaults.h"

#include <QString>

class TForm1;

// The recording's name fields (topic, speaker, comment, file name), their defaults for the meeting of the
// day, and the meeting-day defaults of the window.
class RecordingFields {
public:
    explicit RecordingFields(TForm1& form);

    void SetRecordingDefaults();
    void BuildDefaultFileNames();
    void ThemaChange();
    void RemoveForbiddenChars();
    void ResetRecordingFields(int part);
    void SpeedButton9Click();
    // Fixes the file name at the start of a recording (RecordBaseName, RecordExtension).
    void FixNameAtStart();
    // Takes the folder chosen in the settings dialog unless recordings cannot be written there.
    void ApplyRecordingFolder(const QString& folder);
    // Whether recordings can be written to RecordingFolder; tells the operator at once when not.
    bool CheckRecordingFolder();
    // At start: a RecordingFolder that cannot be made (a damaged settings file) is replaced by the default
    // recording folder, and the operator told so; then CheckRecordingFolder.
    bool CheckRecordingFolderAtStart();
    // The default recording folder below the home folder, as RecordingFolder holds it (with its "/").
    QString defaultFolder() const;
    // Labels of the song slots, recording defaults and the emptied background music list.
    void ResetMeetingDefaults();

    recording::RecordingDefaults defaults;
    QString RecordBaseName;
    QString RecordExtension;

private:
    TForm1& form_;
};
