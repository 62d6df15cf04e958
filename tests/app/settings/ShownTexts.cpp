#include "ShownTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <algorithm>

namespace {

bool hasLetters(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

void addActions(const QList<QAction*>& actions, const QSet<QString>& neverShown, QStringList& texts) {
    for (QAction* action : actions) {
        if (neverShown.contains(action->objectName()))
            continue;
        if (QMenu* menu = action->menu()) {
            if (neverShown.contains(menu->objectName()))
                continue;
            texts << menu->title();
            addActions(menu->actions(), neverShown, texts);
        } else {
            texts << action->text(); // a menu shows no tooltips
        }
    }
}

void addWidget(QWidget& widget, const QSet<QString>& neverShown, QStringList& texts) {
    if (neverShown.contains(widget.objectName()))
        return;
    texts << widget.toolTip();
    if (widget.isWindow())
        texts << widget.windowTitle();
    if (auto* label = qobject_cast<QLabel*>(&widget))
        texts << label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(&widget))
        texts << button->text();
    else if (auto* group = qobject_cast<QGroupBox*>(&widget))
        texts << group->title();
    else if (auto* combo = qobject_cast<QComboBox*>(&widget))
        texts << combo->placeholderText();
    else if (auto* tabs = qobject_cast<QTabWidget*>(&widget)) {
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i) << tabs->tabToolTip(i);
    } else if (auto* list = qobject_cast<QListWidget*>(&widget)) {
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
    } else if (auto* table = qobject_cast<QTableWidget*>(&widget)) {
        for (int r = 0; r < table->rowCount(); ++r)
            for (int c = 0; c < table->columnCount(); ++c)
                if (const QTableWidgetItem* item = table->item(r, c))
                    texts << item->text();
    } else if (auto* bar = qobject_cast<QMenuBar*>(&widget)) {
        addActions(bar->actions(), neverShown, texts);
    }
    for (QWidget* child : widget.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!qobject_cast<QMenu*>(child))
            addWidget(*child, neverShown, texts);
}

// The entry as a pattern: its text literally, each placeholder standing for any text (at the end, for the
// rest of the text).
QRegularExpression patternOf(const QString& entry) {
    static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
    QStringList pieces;
    for (const QString& piece : entry.split(placeholder))
        pieces << QRegularExpression::escape(piece);
    QString pattern = pieces.join(QStringLiteral("(.*?)"));
    if (pattern.endsWith(QStringLiteral("(.*?)")))
        pattern.replace(pattern.size() - 2, 1, QString());
    return QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption);
}

} // namespace

const QSet<QString>& NeverShownControls() {
    static const QSet<QString> controls = {
        "Button1", "Button2", "Button3", "Button4", "Button7", "Button8", "Button9", "SpeedButton8",
        "HelpBtn", "Aufnahmedateisplitten1", "Aufnahmenlschen1", "MelodieProgrammbeginn1",
        "Beendenohnespeichern1", "Lieder1", "AufnahmeOrdner1", "Kandolorszeiteneinstellen1", "AutoAufnahme1",
        "AutoPegelreduzierung1",
        // Its text is set from the table each time it is shown.
        "Shutdown1",
        // The table itself, the language files' names, the version history (the CHANGELOG).
        "ListBox2", "FileListBox1", "ListBox1"};
    return controls;
}

QStringList ProgramData() {
    return {"[^\\n]* \\([A-Za-z0-9.-]+\\) – [^\\n]*, https://\\S+",
            "(?:/[^/\\s]+){2,}/?",
            "\\S+\\.mp3",
            "iasn_X_\\d+",
            "ID3ERR_NoTag",
            "Deutsch",
            "English"};
}

QStringList ShownTexts(QWidget& window, const QSet<QString>& neverShown) {
    QStringList texts;
    addWidget(window, neverShown, texts);
    texts.erase(std::remove_if(texts.begin(), texts.end(), [](const QString& t) { return !hasLetters(t); }),
                texts.end());
    texts.removeDuplicates();
    return texts;
}

QString NotFromTable(const QString& text, const QStringList& table, const QStringList& data) {
    QStringList entries = table;
    // The longest first, so an entry that holds a shorter one is taken out whole.
    std::sort(entries.begin(), entries.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    QString left = text;
    for (const QString& part : data)
        left.replace(QRegularExpression(part), QStringLiteral(" "));
    for (const QString& entry : entries)
        if (hasLetters(entry))
            left.replace(patternOf(entry), QStringLiteral(" "));
    return hasLetters(left) ? left.simplified() : QString();
}

QStringList TextsNotFromTable(const QStringList& shown, const QStringList& table, const QStringList& data) {
    QStringList missing;
    for (const QString& text : shown)
        if (const QString left = NotFromTable(text, table, data); !left.isEmpty())
            missing << text + QStringLiteral("  [") + left + QLatin1Char(']');
    return missing;
}
