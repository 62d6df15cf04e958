#pragma once

class AudioLibrary;
class Clock;
class Dialogs;
class Folders;

// The operating-system services the main window and its subsystems use.
struct Services {
    Dialogs& dialogs;
    Clock& clock;
    Folders& folders;
    AudioLibrary& audio;
};
