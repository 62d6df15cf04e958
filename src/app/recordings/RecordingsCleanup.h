#pragma once

#include <QString>

class TForm1;

// The deletion of old recordings and the age menu items (N30Tage1, N60Tage1, N90Tage1, Nie1).
class RecordingsCleanup {
public:
    explicit RecordingsCleanup(TForm1& form);

    // Deletes the system's own recordings older than the chosen age; never one that is being recorded or
    // finished.
    void DeleteOldRecordings();
    // An age menu item: checks it alone and sets DeleteAgeCode.
    void chooseAge(const QString& code);

private:
    TForm1& form_;
};
