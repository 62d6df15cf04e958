#pragma once

#include "SongList.h"
#include "common/DateTime.h"

#include <QString>
#include <array>
#include <optional>

// This week's songs for the three meeting slots.

// Row (1..54) of the first week whose date lies 0..6 days before today, or 0 when there is none. Rows with an
// empty date are skipped; a date that does not convert throws KandolorError ("ist kein gültiges Datum").
int findThisWeek(const SongList& list, DateTime today);

// New texts of the slot fields ComboBox1..3 from a week: on Monday to Friday (todayWeekday 2..6) columns 1..3
// go to slots 1..3, on Saturday and Sunday (7, 1) columns 4 and 5 go to slots 2 and 3. A column gives a text
// only when its integer value is above 0 (a text that is no number counts as 0); other slots keep theirs.
std::array<std::optional<QString>, 3> slotTextsOfWeek(const SongWeek& week, int todayWeekday);

// What reading the song list does to the slots.
struct WeekSlots {
    bool listFileFound = false;                  // the song list file existed and was read
    SongList list;                               // its weeks (empty when not found)
    int week = 0;                                // row of this week, 0 when none
    std::array<std::optional<QString>, 3> texts; // new texts of ComboBox1..3
    bool runChangeHandlers = false;              // run ComboBox1Change..ComboBox3Change, in this order
};

// Reads songListFile when it exists and finds this week; without the file all three slots become "0" and
// their change handlers run. Throws KandolorError on a read error or a date that does not convert.
WeekSlots loadWeekSlots(const QString& songListFile, DateTime today, int todayWeekday);

// The main window's caption: "Kandolor   " + user name + "  " + today's date (dd.MM.yyyy).
QString userInfoText(const QString& userName, DateTime today);
