#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// Date-time values: days since 1899-12-30, the fraction being the time of day.
using DateTime = double;

constexpr double SecondsPerDay = 86400.0;

DateTime toDateTime(const QDateTime& value);
DateTime toDateTime(const QDate& date);
DateTime timeOfDay(int hours, int minutes, int seconds = 0);
QDateTime toQDateTime(DateTime value);
QDate toQDate(DateTime value);
DateTime dateOf(DateTime value);
DateTime timePart(DateTime value);
// 1 = Sunday, 2 = Monday ... 7 = Saturday.
int dayOfWeek(DateTime value);
// Fixed formats: dd.MM.yyyy, HH:mm:ss (a fraction of a second is cut: 9.6 s is 00:00:09).
QString dateToString(DateTime value);
QString timeToString(DateTime value);
// Parses dd.MM.yyyy strictly; throws KandolorError "''%s'' ist kein gültiges Datum".
DateTime stringToDate(const QString& text);
// Minutes and seconds, each at least two digits: 00:59, 100:00; "--:--" for a negative (unknown) length.
QString minutesSeconds(int totalSeconds);
