#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Splits a command line into arguments: blanks and tabs outside double quotes separate them, a double quote
// starts or ends a quoted part and is removed; "" gives an empty argument; inside a quoted part two double
// quotes stand for one. Nothing else is special.
QStringList splitCommandLine(const QString& commandLine);

// Header of a WAVE stream of unknown length (RIFF and data sizes 0xFFFFFFFF) of 16-bit PCM.
QByteArray waveHeader(int rate, int channels);
