#pragma once

#include <QStringList>

// Number of entries of the user-interface text table; a language file replaces them by position.
constexpr int UiTextCount = 73;

// Index of each user-interface text, named after where the text is shown.
namespace UiText {
enum : int {
    MenuFile = 0,
    MenuEditSongList = 1,
    MenuReloadSongs = 2,
    MenuClose = 3,    // also the tab of settings page 4
    MenuSettings = 4, // also the settings dialog's caption
    MenuBasicSettings = 5,
    MenuView = 6,
    MenuBigButtons = 7,
    MenuRecordings = 8,
    MenuCopyTo = 9,
    MenuLanguage = 10, // also the tab of settings page 5
    MenuInfo = 11,
    ControlsGroup = 12,
    SongNumberLabel = 13,
    Start = 14,
    Stop = 15,
    MusicBeforeMeeting = 16,
    Activate = 17,
    ChooseSongs = 18,
    MeetingGroup = 19,
    WeekendPart1 = 20,
    WeekdayPart1 = 21,
    WeekendPart2 = 22,
    WeekdayPart2 = 23,
    ClosingSong = 24,
    SpecialOccasionsGroup = 25,
    OtherSource = 26,
    EndlessLoop = 27,
    Recording = 28,
    TopicLabel = 29,
    SpeakerLabel = 30,
    CommentLabel = 31,
    FileNameLabel = 32,
    OptionsGroup = 33,
    SaveHereToo = 34,
    SavedAfterRecording = 35,
    MusicAfterMeeting = 36,
    Deactivate = 37,
    CopyDialogCaption = 38,
    ExistingRecordings = 39,
    DrivesLabel = 40,
    CopyButton = 41,
    Close = 42,
    InfoCaption = 43,
    FoldersTab = 44,
    RecordingOptionsTab = 45,
    MeetingTimesTab = 46,
    SongFolderLabel = 47,
    RecordingFolderLabel = 48,
    StartMelodyLabel = 49,
    Enabled = 50,
    Disabled = 51,
    AutoRecording = 52,
    AutoLevelReduction = 53,
    SplitFiles = 54,
    Minutes = 55,
    DeleteRecordings = 56,
    Days = 57,
    FileNames = 58,
    WordUser = 59,
    WordDate = 60,
    WordTitle = 61,
    Cancel = 62,
    Save = 63,
    OverwriteSongList = 64,
    Today = 65,
    ThisWeek = 66,
    LastWeek = 67,
    Weeks = 68,
    RandomPlayback = 69,
    MinutesAfterEnd = 70,
    ShutDownComputer = 71,
    ShutdownNotice = 72,
};
} // namespace UiText

// The built-in German texts, entry n at index n (UiTextCount entries).
QStringList defaultUiTexts();
