#pragma once

#include <QStringList>

namespace Ui {
class TForm1;
}

// Sets every main-window caption that comes from the user-interface text table, in the table's order of
// the main window. The big record button shows "Stop" (entry 15) while a recording is requested, else
// "Aufnahme" (entry 28); the background music group and its main button get their idle entries (16, 17).
// "Lied Nr.:" is sized to its text and the song number follows it at 6 pixels.
void applyUiCaptions(Ui::TForm1& ui, const QStringList& uiTexts, bool recordingRequested = false);

// Hides the menus that the form holds but does not show: "Sprache" (shown when language files exist),
// "Melodie Programmbeginn" and the submenus "Aufnahmedatei splitten" and "Aufnahmen löschen wenn".
// A form file cannot hide a menu's own entry, so this runs once after the form is built.
void hideDesignedMenus(Ui::TForm1& ui);
