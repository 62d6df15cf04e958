#pragma once

#include <QSet>
#include <QStringList>

class QWidget;

// The texts a window shows the operator, read from its real widgets: window titles, labels, buttons, check
// boxes, group boxes, tabs, menus and their entries, tooltips, placeholders, list and table items. Controls
// named in `neverShown` (helpers the form holds but never shows, and menus it hides) are left out, with
// their children.
QStringList ShownTexts(QWidget& window, const QSet<QString>& neverShown = {});

// The controls the forms hold and never show, the menus the window hides for good, and lists that hold the
// table itself, file names or the version history.
const QSet<QString>& NeverShownControls();

// Patterns of what the program shows without writing it: paths, MP3 and song files, the language names, the
// other makers' names and addresses in the information window, the title reader's "no title".
QStringList ProgramData();

// What of `text` no entry of `table` accounts for: every match of the patterns of `data` (names, paths,
// numbers the program did not write) is taken out, then every entry wherever it occurs (its "%1", "%2" …
// standing for any text). Empty when only digits, blanks and punctuation are left.
QString NotFromTable(const QString& text, const QStringList& table, const QStringList& data = {});

// The texts of `shown` that are not from the table, each with what is left of it.
QStringList TextsNotFromTable(const QStringList& shown, const QStringList& table,
                              const QStringList& data = {});
