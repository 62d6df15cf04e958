#include "UiTexts.h"

#include <iterator>
#include <mutex>

namespace {

struct Entry {
    const char* key; // the key in the language files; none for the first 73, whose key is their text
    const char* text;
};

// clang-format off
constexpr Entry Entries[] = {
    {nullptr, "Datei"},
    {nullptr, "Liederliste bearbeiten"},
    {nullptr, "Lieder neu einlesen"},
    {nullptr, "Beenden"},
    {nullptr, "Einstellungen"},
    {nullptr, "Grundeinstellungen"},
    {nullptr, "Ansicht"},
    {nullptr, "große Schaltflächen"},
    {nullptr, "Aufnahmen"},
    {nullptr, "Kopieren nach..."},
    {nullptr, "Sprache"},
    {nullptr, "Info"},
    {nullptr, "Steuerung"},
    {nullptr, "Lied Nr.:"},
    {nullptr, "Start"},
    {nullptr, "Stop"},
    {nullptr, "Musik vor Kandolorsbeginn"},
    {nullptr, "aktivieren"},
    {nullptr, "Lieder wählen"},
    {nullptr, "Kandolor"},
    {nullptr, "Vortrag"},
    {nullptr, "Buchstudium"},
    {nullptr, "Wachtturmstudium"},
    {nullptr, "Dienstzusammenkunft"},
    {nullptr, "Schlusslied"},
    {nullptr, "besondere Anlässe"},
    {nullptr, "sonstige Quelle"},
    {nullptr, "Endloswiedergabe"},
    {nullptr, "Aufnahme"},
    {nullptr, "Vortragsthema"},
    {nullptr, "Redner"},
    {nullptr, "Kommentar"},
    {nullptr, "Dateiname"},
    {nullptr, "Optionen"},
    {nullptr, "hier ebenfalls speichern"},
    {nullptr, "Dateien werden erst nach der Aufnahme gespeichert !"},
    {nullptr, "Musik nach der Kandolor"},
    {nullptr, "deaktivieren"},
    {nullptr, "Auswahldialog"},
    {nullptr, "vorhandene Aufnahmen"},
    {nullptr, "Laufwerke / Datenträger  (max. 4 auswählen)"},
    {nullptr, "--> Kopieren -->"},
    {nullptr, "Schliessen"},
    {nullptr, "Informationen"},
    {nullptr, "Verzeichnisse"},
    {nullptr, "Aufnahme-Optionen"},
    {nullptr, "Kandolorszeiten"},
    {nullptr, "Lieder-Verzeichnis"},
    {nullptr, "Aufnahme-Verzeichnis"},
    {nullptr, "Melodie Programmbeginn"},
    {nullptr, "aktiviert"},
    {nullptr, "deaktiviert"},
    {nullptr, "automatische Aufnahme"},
    {nullptr, "automatische Pegelreduzierung"},
    {nullptr, "Dateien splitten"},
    {nullptr, "Minuten"},
    {nullptr, "Aufnahmen löschen"},
    {nullptr, "Tage"},
    {nullptr, "Dateinamen"},
    {nullptr, "\"User\""},
    {nullptr, "\"Datum\""},
    {nullptr, "\"Titel\""},
    {nullptr, "Abbrechen"},
    {nullptr, "Speichern"},
    {nullptr, "Liederliste überschreiben"},
    {nullptr, "Heute"},
    {nullptr, "diese Woche"},
    {nullptr, "letzte Woche"},
    {nullptr, "Wochen"},
    {nullptr, "zufällige Wiedergabe"},
    {nullptr, "Minuten nach Programmende"},
    {nullptr, "Computer herunterfahren"},
    {nullptr, "Computer wird nach laufendem Lied heruntergefahren"},
    {"NoSongFolderNotice", "Es ist noch kein Verzeichnis der Lieder eingestellt !"},
    {"CableNotice", "Wichtiger Hinweis zur Aufnahme !\n\nErst Kabel für Aufnahme am Laptop einstecken,\ndann mit OK bestätigen !"},
    {"ClosingWait", "Die Aufnahmen werden abgeschlossen und kopiert, bitte warten …"},
    {"FewerSongsWarning", "Im ausgewählten Verzeichnis befinden sich weniger als 135 Lieder!"},
    {"InvalidSongListNumber", "\"%1\" ist keine gültige Liednummer !"},
    {"AbbrevWeekdayPart1", "BST"},
    {"AbbrevWeekdayPart2", "DZK"},
    {"AbbrevWeekendPart2", "WTS"},
    {"HeadingClosingSong", "Schluss"},
    {"ConfirmTitle", "Bestätigen"},
    {"OkButton", "OK"},
    {"SongsInFolder", "Lieder im Verzeichnis"},
    {"TipEndlessLoop", "erklärt sich selbst..."},
    {"ChooseOtherSource", "andere Quelle auswählen"},
    {"TipBack", "1 Sec. zurück"},
    {"TipForward", "1 Sec. vor"},
    {"TipSetStart", "Startpunkt festlegen"},
    {"TipResetMarks", "Start- Endpunkt zurücksetzen"},
    {"TipSetEnd", "Endpunkt festlegen"},
    {"TipRecord", "Aufnahme starten"},
    {"TipStopRecording", "Aufnahme stoppen"},
    {"TipAutoRec", "Startet Aufnahme nach Ende des 1. Liedes, wechselt Dateinamen bei Start des 2. Liedes"},
    {"TipInput", "Eingangskanal"},
    {"TipResetFields", "alle Felder zurücksetzen"},
    {"TipPlay", "Play"},
    {"TipPause", "Pause"},
    {"TipStop", "Stop"},
    {"AutoRec", "Auto-Rec"},
    {"NoInputPlaceholder", "Fehler"},
    {"ClickToCancel", "zum Abbrechen hier klicken"},
    {"ShutdownWaits", "Computer wird heruntergefahren, sobald Aufnahme und Kopien gesichert sind"},
    {"PowerOffNoConnection", "Der Computer kann nicht heruntergefahren werden: keine Verbindung zum System (%1)."},
    {"PowerOffRefused", "Der Computer wurde nicht heruntergefahren: %1"},
    {"DriveUnknown", "konnte nicht ermittelt werden"},
    {"DriveNoRoot", "Existiert nicht"},
    {"DriveRemovable", "Wechseldatenträger"},
    {"DriveFixed", "Festplatte"},
    {"DriveNetwork", "Netzlaufwerk"},
    {"DriveCdRom", "CDROM"},
    {"DriveRamDisk", "RAMdisk"},
    {"DriveOther", "Unbekannt"},
    {"MediumInserted", "Datenträger in Laufwerk %1 eingelegt."},
    {"MediumRemoved", "Datenträger aus Laufwerk %1 entfernt."},
    {"DoNotRemoveStick", "USB-Speicher nicht entfernen !"},
    {"LeftPartsRemoved", "Auf %1 lagen unvollständige Kopien eines abgebrochenen Kopierens; sie wurden gelöscht:\n%2"},
    {"ChooseCopyFolder", "Verzeichnis für die Kopien wählen"},
    {"FolderNotOnMedium", "Bitte einen Ordner auf diesem Datenträger wählen (%1)."},
    {"NoTargetChosen", "Kein Ziel ausgewählt !"},
    {"ReplaceFileTitle", "Datei ersetzen"},
    {"ReplaceFileQuestion", "In %1 gibt es schon die Datei %2.\nSoll sie ersetzt werden?"},
    {"CopyingProgress", "%1 wird nach %2 kopiert …"},
    {"CopyFailed", "%1 konnte nicht nach %2 kopiert werden.\n%3\nDie Aufnahme selbst bleibt, wo sie ist."},
    {"CopyNoRoom", "Auf dem Datenträger ist nicht genug Platz."},
    {"CopyWriteProtected", "Der Datenträger ist schreibgeschützt oder beschädigt. Wenn er nicht schreibgeschützt ist, sollte er an einem Computer geprüft werden."},
    {"CopyMediumGone", "Der Datenträger wurde während des Kopierens entfernt."},
    {"CopyTargetExists", "Dort gibt es schon eine Datei mit diesem Namen."},
    {"CopySourceUnreadable", "Die Datei kann nicht gelesen werden."},
    {"InputMissingStatus", "Eingang fehlt !"},
    {"ErrorTitle", "Error"},
    {"CannotStartRecording", "Kann Aufnahme nicht starten"},
    {"LibraryVersionWrong", "An incorrect version of BASS.DLL was loaded"},
    {"DeviceStartFailed", "Start default output device: %1\rStart default recording device: %2"},
    {"CantCloseMp3", "Can't close mp3-file  Error %1"},
    {"LeftRecordingsKept", "Aufnahmen, die beim letzten Mal nicht abgeschlossen wurden, sind gesichert in %1 :\r%2"},
    {"NotRenamed", "nicht umbenannt"},
    {"KeptSoFar", "Was bis dahin aufgenommen wurde, ist gesichert: %1"},
    {"NoRoomStopped", "Der Speicher für %1 ist voll: Platz für weniger als %2 Minuten Aufnahme !\rDie Aufnahme ist angehalten; bitte Platz schaffen oder in den Einstellungen einen anderen Ordner wählen."},
    {"NoRoomNotStarted", "Der Speicher für %1 ist voll: Platz für weniger als %2 Minuten Aufnahme !\rDie Aufnahme startet nicht; bitte Platz schaffen oder in den Einstellungen einen anderen Ordner wählen."},
    {"LostAudio", "Der Encoder kam nicht nach: %1 Sekunden dieser Aufnahme fehlen !\rDer Computer war zu stark belastet; der Rest der Aufnahme ist gesichert."},
    {"StatusRoomLow", "Speicher fast voll: noch %1 Minuten Aufnahme"},
    {"StatusNoSignal", "Kein Eingangssignal !"},
    {"StatusEncoderBehind", "Encoder kommt nicht nach !"},
    {"StatusEncoderRestarted", "Encoder neu gestartet: Aufnahme läuft in neuer Datei"},
    {"FolderGone", "Der Aufnahme-Ordner %1 ist verschwunden !"},
    {"FolderGoneNoFallback", "Er kann nicht neu angelegt werden, und der Standard-Ordner auch nicht: die Aufnahme ist angehalten."},
    {"FolderRemade", "Er wurde neu angelegt."},
    {"FolderNotRemade", "Er kann nicht neu angelegt werden; Aufnahmen gehen ab jetzt in den Standard-Ordner %1 ."},
    {"FolderGoneKept", "Was bis dahin aufgenommen wurde, wird in %1 gesichert."},
    {"FolderGoneGoesOn", "Die Aufnahme läuft weiter in %1 ; was bis dahin aufgenommen wurde, wird dort gesichert."},
    {"FolderGoneStatus", "Ordner fehlte – Aufnahme läuft weiter in \"%1\""},
    {"FinishingStatus", "Aufnahme wird noch geschrieben …"},
    {"FolderCannotBeMade", "Der Aufnahme-Ordner %1 kann nicht angelegt werden !\rAufnahmen sind so nicht möglich !\rBitte in den Einstellungen einen anderen Ordner wählen !"},
    {"FolderNotWritable", "Der Aufnahme-Ordner %1 kann nicht beschrieben werden !\rAufnahmen sind so nicht möglich !\rBitte in den Einstellungen einen anderen Ordner wählen !"},
    {"FolderFallback", "Der Aufnahme-Ordner %1 kann nicht angelegt werden !\rAufnahmen gehen ab jetzt in den Standard-Ordner %2 ; in den Einstellungen kann ein anderer gewählt werden."},
    {"NoOutputDevice", "Kein Tongerät verfügbar – im Moment kann nichts abgespielt werden.\rKandolor sucht selbst weiter nach dem Gerät; sobald es bereit ist, kann abgespielt werden."},
    {"NoInputDevice", "Kein Aufnahmegerät verfügbar – im Moment wird nichts aufgenommen.\rDie Aufnahme beginnt von selbst, sobald das Gerät bereit ist; bis dahin steht „Eingang fehlt !“ im Fenster."},
    {"InputWasMissing", "Der Eingang fehlte während der Aufnahme insgesamt %1; was davor und danach aufgenommen wurde, ist gesichert."},
    {"OneSecond", "1 Sekunde"},
    {"Seconds", "%1 Sekunden"},
    {"EncoderFailedAgain", "Der Encoder (lame) hat erneut aufgehört zu arbeiten !\rDie Aufnahme ist angehalten; bitte neu starten."},
    {"EncoderRestartFailed", "Der Encoder (lame) hat aufgehört zu arbeiten und lässt sich nicht neu starten !\rDie Aufnahme ist angehalten."},
    {"EncoderNotInstalled", "Kann Mp3-Encoding nicht starten\rDas Programm \"lame\" ist nicht installiert. Bitte das Paket \"lame\" installieren (lassen).\rEs wird nicht aufgenommen !"},
    {"EncoderNotRunnable", "Kann Mp3-Encoding nicht starten\rDas Programm \"lame\" lässt sich nicht ausführen.\rEs wird nicht aufgenommen !"},
    {"EncoderRestartedKept", "Der Encoder wurde neu gestartet; die Aufnahme ist gesichert: %1"},
    {"EncoderRestartedParts", "Der Encoder wurde neu gestartet; die Aufnahme ist in %1 Dateien: %2"},
    {"WordAnd", "und"},
    {"WordTwo", "zwei"},
    {"RescueFailed", "Die Aufnahme konnte nicht in %1 gerettet werden !"},
    {"RescuedPart", "Die Aufnahme konnte nur zum Teil gerettet werden: %1"},
    {"RenameFailed", "Die Aufnahme konnte nicht umbenannt werden !\rSie liegt unter %1 ."},
    {"FileNotPlayableLabel", "Datei kann nicht abgespielt werden: %1"},
    {"FileNotPlayable", "Die Datei kann nicht abgespielt werden:\n%1"},
    {"InvalidSongNumber", "Liednummer ungültig!"},
    {"CdTrackNotOpened", "Die Audio-CD-Spur kann nicht geöffnet werden:\n%1"},
    {"CdTrackNotOpenedBecause", "Die Audio-CD-Spur kann nicht geöffnet werden:\n%1\n(%2)"},
    {"CdNoTrackName", "kein Spurname der Form TrackNN.cda"},
    {"CdDriveMissing", "Laufwerk oder Abbild nicht gefunden"},
    {"CdNoAccess", "kein Zugriff auf das Laufwerk oder Abbild"},
    {"CdNoDisc", "keine CD im Laufwerk"},
    {"CdNoSuchTrack", "Spur %1 gibt es auf dieser CD nicht"},
    {"CdNotAudio", "Spur %1 ist keine Audiospur"},
    {"CdUnreadable", "die Spur kann nicht gelesen werden"},
    {"CdTrackLine", "Audio-CD %1   Spur %2   %3"},
    {"ChooseTrack", "Spur wählen"},
    {"ChooseFile", "Datei wählen …"},
    {"MelodyNotPlayable", "Die Melodie kann nicht abgespielt werden:\n%1"},
    {"NoMelodyChosen", "keine Melodie gewählt"},
    {"AudioFileFilter", "Audiodateien (*.wav *.ogg *.oga *.flac *.mp3);;Alle Dateien (*)"},
    {"InfoVersion", "Kandolor, Version %1"},
    {"InfoVersionMonth", "Kandolor, Version %1 – %2"},
    {"MonthNames", "Januar Februar März April Mai Juni Juli August September Oktober November Dezember"},
    {"InfoRights", "© 2026 die Entwickler von Kandolor. Freie Software unter der GNU General Public License, Version 3 oder später (GPL-3.0-or-later), ohne jede Gewährleistung."},
    {"InfoOthers", "Kandolor verwendet Bibliotheken und Programme anderer Hersteller,"},
    {"InfoOwnTerms", "jeweils unter deren eigenen Lizenzbedingungen:"},
    {"InfoLibraries", "Bibliotheken:"},
    {"InfoProgram", "Programm, als eigener Prozess gestartet:"},
    {"LanguageLineError", "Error ! \n%1\nLine %2: \"=\" missing "},
    {"LanguageHeaderMissing", "Error ! \n%1\nLine %2: header missing "},
    {"SongUnreadable", "Die Datei kann nicht gelesen werden, das Lied wurde dort beendet:\n%1"},
    {"MusicUnreadable", "Die Datei kann nicht gelesen werden, die Hintergrundmusik geht mit dem nächsten Lied weiter:\n%1"},
    {"CopyNameRefused", "Der Datenträger nimmt diesen Dateinamen nicht an."},
    {"CopyWriteFailed", "Beim Schreiben auf den Datenträger ist ein Fehler aufgetreten; er wurde vielleicht entfernt oder ist beschädigt."},
    {"CopyRenamed", "%1 wurde auf %2 als %3 gespeichert, weil USB-Speicher die Zeichen \\ / : * ? \" < > | und Steuerzeichen in Dateinamen nicht annehmen."},};
// clang-format on
static_assert(std::size(Entries) == UiTextCount);

struct Current {
    std::mutex mutex;
    QStringList texts = defaultUiTexts();
};

Current& current() {
    static Current table;
    return table;
}

} // namespace

QStringList defaultUiTexts() {
    QStringList list;
    list.reserve(UiTextCount);
    for (const Entry& entry : Entries)
        list.append(QString::fromUtf8(entry.text));
    return list;
}

QString uiTextKey(int n) {
    if (n < 0 || n >= UiTextCount)
        return {};
    const Entry& entry = Entries[n];
    return QString::fromUtf8(entry.key ? entry.key : entry.text);
}

QStringList currentUiTexts() {
    Current& table = current();
    const std::lock_guard lock(table.mutex);
    return table.texts;
}

void setCurrentUiTexts(const QStringList& texts) {
    QStringList complete = defaultUiTexts();
    for (int n = 0; n < UiTextCount && n < texts.size(); ++n)
        complete[n] = texts.at(n);
    Current& table = current();
    const std::lock_guard lock(table.mutex);
    table.texts = complete;
}

QString uiText(int n) {
    Current& table = current();
    const std::lock_guard lock(table.mutex);
    return table.texts.value(n);
}
