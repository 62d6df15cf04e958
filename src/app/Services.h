#pragma once

class AudioLibrary;
class Clock;
class Dialogs;
class Drives;
class FileCopier;
class SystemPower;
class Folders;
class FileSystem;
class MediaDevice;

// The operating-system services the main window and its subsystems use.
struct Services {
    Dialogs& dialogs;
    Clock& clock;
    Folders& folders;
    AudioLibrary& audio;
    Drives& drives;
    FileCopier& copier;
    SystemPower& power;
    MediaDevice& media;
    FileSystem& files;
};
