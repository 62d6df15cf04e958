#include "DateTime.h"

#include "KandolorError.h"

#include <cmath>

namespace {
const QDate Epoch(1899, 12, 30);
}

DateTime toDateTime(const QDate& date) {
    return static_cast<double>(Epoch.daysTo(date));
}

DateTime toDateTime(const QDateTime& value) {
    const QTime t = value.time();
    return toDateTime(value.date()) + timeOfDay(t.hour(), t.minute(), t.second()) +
           t.msec() / 1000.0 / SecondsPerDay;
}

DateTime timeOfDay(int hours, int minutes, int seconds) {
    return (hours * 3600 + minutes * 60 + seconds) / SecondsPerDay;
}

DateTime dateOf(DateTime value) {
    return std::floor(value);
}

DateTime timePart(DateTime value) {
    return value - std::floor(value);
}

QDate toQDate(DateTime value) {
    return Epoch.addDays(static_cast<qint64>(std::floor(value)));
}

QDateTime toQDateTime(DateTime value) {
    const qint64 ms = std::llround(timePart(value) * SecondsPerDay * 1000.0);
    return QDateTime(toQDate(value), QTime(0, 0)).addMSecs(ms);
}

int dayOfWeek(DateTime value) {
    return toQDate(value).dayOfWeek() % 7 + 1;
}

QString dateToString(DateTime value) {
    return toQDate(value).toString(QStringLiteral("dd.MM.yyyy"));
}

QString timeToString(DateTime value) {
    // Fractions of a second are cut; the small margin keeps whole seconds whole after the conversion to a
    // fraction of a day.
    const qint64 s = static_cast<qint64>(std::floor(timePart(value) * SecondsPerDay + 1e-4)) % 86400;
    return QTime(0, 0).addSecs(static_cast<int>(s)).toString(QStringLiteral("HH:mm:ss"));
}

DateTime stringToDate(const QString& text) {
    const QDate d = QDate::fromString(text.trimmed(), QStringLiteral("d.M.yyyy"));
    if (!d.isValid())
        throw KandolorError(QStringLiteral("''%1'' ist kein gültiges Datum").arg(text));
    return toDateTime(d);
}

QString minutesSeconds(int totalSeconds) {
    // A length that could not be read (the audio library's -1) is no time.
    if (totalSeconds < 0)
        return QStringLiteral("--:--");
    return QStringLiteral("%1:%2")
        .arg(totalSeconds / 60, 2, 10, QLatin1Char('0'))
        .arg(totalSeconds % 60, 2, 10, QLatin1Char('0'));
}
