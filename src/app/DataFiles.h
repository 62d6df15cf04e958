#pragma once

#include <QString>

// Paths of the data folders' files.
struct DataFiles {
    QString commonFolder; // <common data>/Kandolor
    QString userFolder;   // <user data>/Kandolor

    QString settingsFile() const { return userFolder + QStringLiteral("/Kandolor.cfg"); }
    QString songConfigFile() const { return commonFolder + QStringLiteral("/Kandolor.txt"); }
    QString legacySongConfigFile() const { return commonFolder + QStringLiteral("/Kandolor.ini"); }
    QString songListFile() const { return commonFolder + QStringLiteral("/liederliste.txt"); }
};
