#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace language {

// The name of the language of the built-in texts (its file holds them too).
inline const QString BuiltInLanguage = QStringLiteral("Deutsch");

// A language that can be chosen: its name (the file name without ".lng"), the folder its file is in and
// the file's name.
struct LanguageEntry {
    QString name;
    QString folder;
    QString fileName;
    QString path() const { return folder + QLatin1Char('/') + fileName; }
};

// The "*.lng" files of the program's languages folder and of the current folder, by name regardless of
// case, each name once: the current folder's file wins over the program's.
std::vector<LanguageEntry> ListLanguages(const QString& programFolder, const QString& currentFolder);

// A text as a language file writes it: "\\n" and "\\r" stand for the line breaks of a message.
QString LanguageText(const QString& written);

// What applying a language file came to.
struct AppliedLanguage {
    bool headerRead = false;  // lines 2 and 3 are there; the song language code and folder below apply
    QString songLanguageCode; // line 2, "*" when it is empty
    QString pfad_lk;          // line 3, the song folder when it is empty
    QString error;            // the message when a line stopped the application, else empty
};

// Applies the lines of the language file at `path`: line 4 + n sets UI text n to the text after its
// first "=" (at most 255 characters, read as LanguageText), for n < the number of texts; a line without
// "=" stops there with the error message, the texts before it already set. A file with fewer than three
// lines sets nothing.
AppliedLanguage ApplyLanguageLines(const QStringList& lines, const QString& path, const QString& pfad,
                                   QStringList& uiTexts);

} // namespace language
