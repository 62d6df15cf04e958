#include "app/music/MusicBlock.h"

#include "app/TForm1.h"
#include "app/playback/Player.h"
#include "app/recording/CaptureControl.h"
#include "common/Clock.h"
#include "music/MusicTiming.h"
#include "settings/UiTexts.h"
#include "songs/SongFiles.h"
#include "songs/SongTitle.h"
#include "ui_TForm1.h"

#include <QLineEdit>
#include <QRandomGenerator>

MusicBlock::MusicBlock(TForm1& form)
    : form_(form), audio_(form.services().audio), random_(QRandomGenerator::securelySeeded()),
      lengths(form.services().audio) {
    Ui::TForm1& ui = form_.form();
    form_.on(ui.BitBtn5, &QPushButton::clicked, [this] { BitBtn5Click(); });
    form_.on(ui.BitBtn6, &QPushButton::clicked, [this] { BitBtn6Click(); });
    form_.on(ui.Button9, &QPushButton::clicked, [this] { Button9Click(); });
    form_.on(ui.SpeedButton8, &QToolButton::clicked, [this] { SpeedButton8Click(); });
    form_.on(ui.CheckBox4, &QCheckBox::toggled, [this] { CheckBox4Click(); });
    ui.ComboBox6->setInsertPolicy(QComboBox::NoInsert);
    form_.on(ui.ComboBox6->lineEdit(), &QLineEdit::textEdited, [this] { ComboBox6Typed(false); });
    // Enter or leaving the field ends the typing of a number that could still go on ("1" of "12").
    form_.on(ui.ComboBox6->lineEdit(), &QLineEdit::editingFinished, [this] {
        if (form_.form().ComboBox6->lineEdit()->isModified())
            ComboBox6Typed(true);
    });
}

int MusicBlock::MusicEntryCount() const {
    return form_.form().ComboBox6->property("Tag").toInt();
}

void MusicBlock::setMusicEntryCount(int count) {
    form_.form().ComboBox6->setProperty("Tag", count);
}

int MusicBlock::MusicState() const {
    return form_.form().BitBtn5->property("Tag").toInt();
}

void MusicBlock::setMusicState(int state) {
    form_.form().BitBtn5->setProperty("Tag", state);
}

QLabel* MusicBlock::entryLabel(int k) const {
    Ui::TForm1& ui = form_.form();
    return std::array<QLabel*, 3>{ui.Label15, ui.Label16, ui.Label17}[static_cast<std::size_t>(k - 1)];
}

QLabel* MusicBlock::lengthLabel(int k) const {
    Ui::TForm1& ui = form_.form();
    return std::array<QLabel*, 3>{ui.Label18, ui.Label19, ui.Label22}[static_cast<std::size_t>(k - 1)];
}

int MusicBlock::CountdownTotalSeconds() const {
    return music::CountdownTotalSeconds(lengths_);
}

QString MusicBlock::songFile(int number) const {
    const AppState& state = form_.state();
    const QString name =
        FindSongFile(state.pfad_lk, state.SongLanguageCode, form_.songConfig().SongFileExt, number, true);
    return name.isEmpty() ? QString() : state.pfad_lk + name;
}

bool MusicBlock::songPlayerBusy() const {
    return audio_.ChannelIsActive(form_.player().SongStream) != AudioLibrary::Stopped;
}

void MusicBlock::openStream(const QString& file) {
    if (MusicStream != 0)
        audio_.StreamFree(MusicStream);
    MusicStream = audio_.StreamCreateFile(file);
    MusicLengthBytes = audio_.ChannelGetLength(MusicStream);
}

void MusicBlock::ComboBox6Change() {
    Ui::TForm1& ui = form_.form();
    bool number = false;
    const int n = ui.ComboBox6->currentText().toInt(&number);
    if (!number || MusicEntryCount() >= 3)
        return;
    const int k = MusicEntryCount() + 1;
    QString& slot = form_.state().SlotFiles[static_cast<std::size_t>(k + 4)];
    if (n < 1 || n > form_.songConfig().liedanzahl) {
        ui.ComboBox6->setStyleSheet(QStringLiteral("QComboBox { background: rgb(242, 43, 43); }"));
        return;
    }
    const QString file = songFile(n);
    if (file.isEmpty()) {
        form_.form().StringGrid1->hide(); // no file for the number: the entry is not taken
        return;
    }
    slot = file;
    ui.ComboBox6->setStyleSheet(QString());
    // The entry's own length, not that of whatever plays on the music stream.
    const int seconds = static_cast<int>(audio_.FileSeconds(file));
    entryLabel(k)->setText(ui.ComboBox6->currentText() + QStringLiteral("  ") + SongTitle(file));
    numbers_[static_cast<std::size_t>(k - 1)] = n;
    lengths_[static_cast<std::size_t>(k - 1)] = std::max(0, seconds);
    lengthLabel(k)->setText(minutesSeconds(seconds));
    setMusicEntryCount(k);
    if (k == 1)
        ui.BitBtn5->setEnabled(true);
    if (k == 3)
        ui.ComboBox6->hide();
    ui.ComboBox6->move(ui.ComboBox6->x(), k * 20 + 14);
    ui.ComboBox6->setEditText(QStringLiteral("0"));
    // The next number typed replaces the "0".
    ui.ComboBox6->lineEdit()->selectAll();
}

void MusicBlock::ComboBox6Typed(bool typingEnded) {
    Ui::TForm1& ui = form_.form();
    switch (music::TypedEntryOf(ui.ComboBox6->currentText(), form_.songConfig().liedanzahl, typingEnded)) {
    case music::TypedEntry::NotANumber:
        break;
    case music::TypedEntry::Incomplete:
        ui.ComboBox6->setStyleSheet(QString());
        break;
    case music::TypedEntry::Take:
    case music::TypedEntry::Invalid:
        ComboBox6Change();
        break;
    }
}

void MusicBlock::emptyList() {
    for (int k = 1; k <= 3; ++k) {
        entryLabel(k)->setText(QStringLiteral("---"));
        lengthLabel(k)->setText(QStringLiteral("00:00"));
    }
    numbers_ = {};
    lengths_ = {};
    form_.form().Label23->show();
    for (std::size_t i = 5; i <= 7; ++i)
        form_.state().SlotFiles[i].clear();
}

void MusicBlock::withdrawOpeningSong() {
    if (MusicState() != Idle || MusicEntryCount() != 1)
        return;
    emptyList();
    setMusicEntryCount(0);
    Ui::TForm1& ui = form_.form();
    ui.BitBtn5->setEnabled(false);
    ui.ComboBox6->move(ui.ComboBox6->x(), 14);
}

void MusicBlock::BitBtn6Click() {
    Ui::TForm1& ui = form_.form();
    ui.BitBtn5->setEnabled(false);
    setMusicState(MusicState() == AfterReady ? PlayingAfter : Armed);
    BitBtn5Click();
    emptyList();
    ui.ComboBox6->move(56, 14);
    setMusicEntryCount(0);
    ui.ComboBox6->show();
}

void MusicBlock::setEntryFontsBlack() {
    for (int k = 1; k <= 3; ++k)
        entryLabel(k)->setStyleSheet(QString());
}

void MusicBlock::setEntryColour(int k, const char* colour) {
    entryLabel(k)->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(colour)));
}

void MusicBlock::BitBtn5Click() {
    Ui::TForm1& ui = form_.form();
    const QStringList& texts = form_.uiTexts();
    switch (MusicState()) {
    case Idle: {
        setMusicState(Armed);
        // Measured while the filler plays; until a song is measured the table stands in for it.
        std::vector<std::pair<int, QString>> songs;
        for (int n = 1; n <= form_.songConfig().liedanzahl; ++n)
            if (const QString file = songFile(n); !file.isEmpty())
                songs.emplace_back(n, file);
        lengths.measure(songs);
        ui.BitBtn5->setText(texts.at(UiText::Deactivate));
        ui.ComboBox6->hide();
        ui.BitBtn6->setEnabled(false);
        if (ui.CheckBox4->isChecked())
            Button9Click();
        break;
    }
    case Armed:
        setMusicState(Idle);
        ui.BitBtn5->setText(texts.at(UiText::Activate));
        ui.BitBtn6->setEnabled(true);
        RandomPlayOn = true;
        Button9Click();
        break;
    case PlayingBefore:
        setMusicState(Idle);
        if (MusicStream != 0)
            audio_.ChannelStop(MusicStream);
        ui.BitBtn5->setText(texts.at(UiText::Activate));
        ui.BitBtn6->setEnabled(true);
        setEntryFontsBlack();
        ui.Label28->setText(QStringLiteral("00:00"));
        break;
    case AfterReady:
        setMusicState(PlayingAfter);
        ui.BitBtn5->setText(texts.at(UiText::Stop));
        ui.BitBtn6->setEnabled(false);
        MusicEntry = ui.CheckBox4->isChecked() ? 8 : 5;
        SpeedButton8Click();
        ui.Label23->hide();
        ui.ComboBox6->hide();
        break;
    case PlayingAfter:
        setMusicState(AfterReady);
        if (MusicStream != 0)
            audio_.ChannelStop(MusicStream);
        RandomPlayOn = true;
        Button9Click();
        ui.BitBtn5->setText(texts.at(UiText::Start));
        ui.BitBtn6->setEnabled(true);
        setEntryFontsBlack();
        ui.Label23->hide();
        form_.state().SlotFiles[8].clear();
        break;
    default:
        break;
    }
}

void MusicBlock::SpeedButton8Click() {
    Ui::TForm1& ui = form_.form();
    const bool busy = songPlayerBusy();
    const int state = MusicState();
    if (state != PlayingBefore && state != PlayingAfter && !RandomPlayOn)
        return;
    const QString file = form_.state().SlotFiles[static_cast<std::size_t>(MusicEntry)];
    if (file.isEmpty()) {
        if (state == PlayingBefore)
            BitBtn5Click();
        else if (state == PlayingAfter && ui.CheckBox4->isChecked())
            Button9Click();
        else if (state == PlayingAfter)
            BitBtn5Click();
        setEntryFontsBlack();
        return;
    }
    if (busy)
        return;
    openStream(file);
    playingFile_ = file;
    if (MusicStream == 0)
        tellUnreadable(file); // the step moves on at its next tick
    else
        toldUnreadable_.clear();
    // Without a device the music waits for it (the operator is told).
    form_.capture().tellIfDeviceMissing(AudioLibrary::OutputDevice);
    audio_.ChannelPlay(MusicStream, false);
    if (MusicEntry >= 5 && MusicEntry <= 7) {
        const int k = MusicEntry - 4;
        if (k > 1)
            setEntryColour(k - 1, "grey");
        setEntryColour(k, "blue");
        form_.state().RandomSongPool.Remove(numbers_[static_cast<std::size_t>(k - 1)]);
    } else {
        if (state == PlayingAfter)
            setEntryColour(3, "grey");
        ui.Label29->setText(QString::number(randomNumber_) + QStringLiteral("  ") + SongTitle(file));
        ui.Label30->setText(
            minutesSeconds(static_cast<int>(audio_.ChannelBytes2Seconds(MusicStream, MusicLengthBytes))));
    }
}

int MusicBlock::lengthOf(int number) const {
    const int measured = lengths.seconds(number);
    return measured > 0 ? measured : music::SongDuration(number);
}

void MusicBlock::tellUnreadable(const QString& file) {
    if (file == toldUnreadable_)
        return;
    toldUnreadable_ = file;
    form_.tellLater(uiText(UiText::MusicUnreadable, file));
}

bool MusicBlock::pickSong(bool refillEmptiedPool) {
    const DateTime now = timePart(form_.services().clock.now());
    const DateTime next = form_.state().NextMeetingTime;
    const int gap = music::SecondsUntilListStart(next, now, CountdownTotalSeconds());
    // Less than a second before the list starts: a song begun now would be cut off by it.
    if (MusicState() == Armed && gap <= 0 &&
        music::ListMomentOf(now, next, CountdownTotalSeconds()) != music::ListMoment::Past)
        return false;
    int number = 0;
    QString file;
    if (gap > 0 && gap < 240) {
        // A song without a file is no candidate: the pick would fail where another song fits.
        const std::optional<int> fit = music::BestFit(gap, form_.songConfig().liedanzahl, [&](int n) {
            const int length = lengthOf(n);
            return length > 0 && length < gap && songFile(n).isEmpty() ? 0 : length;
        });
        if (!fit)
            return false;
        number = *fit;
        file = songFile(number);
    } else {
        // A song number without a file is passed over: the pool has more.
        music::RandomPool& pool = form_.state().RandomSongPool;
        for (int tries = std::max(1, pool.RandomPoolCount()); tries > 0 && file.isEmpty(); --tries) {
            number = pool.Draw(random_);
            if (number == 0)
                break;
            file = songFile(number);
        }
        if (refillEmptiedPool && pool.RandomPoolCount() == 0)
            pool.Refill();
    }
    if (file.isEmpty())
        return false;
    randomNumber_ = number;
    form_.state().SlotFiles[8] = file;
    return true;
}

void MusicBlock::Button9Click() {
    Ui::TForm1& ui = form_.form();
    if (!RandomPlayOn) {
        RandomPlayOn = true;
        ui.Button9->setText(form_.uiTexts().at(UiText::Stop));
        MusicEntry = 8;
        if (pickSong(false)) {
            SpeedButton8Click();
            return;
        }
    }
    if (MusicStream != 0)
        audio_.ChannelStop(MusicStream);
    RandomPlayOn = false;
    ui.Button9->setText(uiText(UiText::RandomPlayback));
    ui.Label28->setText(QStringLiteral("00:00"));
    ui.Label29->clear();
    ui.Label30->clear();
}

void MusicBlock::CheckBox4Click() {
    RandomPlayOn = !(form_.form().CheckBox4->isChecked() && MusicState() == Armed);
    Button9Click();
}

void MusicBlock::startList() {
    Ui::TForm1& ui = form_.form();
    ui.Label23->hide();
    RandomPlayOn = true;
    Button9Click();
    ui.BitBtn5->setText(form_.uiTexts().at(UiText::Stop));
    ui.BitBtn6->setEnabled(false);
    setMusicState(PlayingBefore);
    MusicEntry = 5;
    SpeedButton8Click();
}

void MusicBlock::musicStep() {
    Ui::TForm1& ui = form_.form();
    const int state = MusicState();
    if (state != PlayingBefore && state != PlayingAfter && !RandomPlayOn)
        return;
    if (audio_.ChannelGetPosition(MusicStream) >= MusicLengthBytes) {
        if (audio_.ChannelReadFailed(MusicStream))
            tellUnreadable(playingFile_);
        audio_.ChannelStop(MusicStream);
        ui.Label28->setText(QStringLiteral("00:00"));
        if (RandomPlayOn) {
            if (!pickSong(true)) {
                RandomPlayOn = true;
                Button9Click();
                return;
            }
            SpeedButton8Click();
        } else {
            if (MusicEntry < 8)
                ++MusicEntry;
            if (MusicEntry == 8 && state == PlayingAfter && !RandomPlayOn) {
                Button9Click();
                return;
            }
            if (MusicEntry < (state == PlayingAfter ? 9 : 8))
                SpeedButton8Click();
            else
                BitBtn5Click();
        }
    }
    const double seconds = audio_.ChannelBytes2Seconds(MusicStream, audio_.ChannelGetPosition(MusicStream));
    ui.Label28->setText(minutesSeconds(static_cast<int>(std::max(0.0, seconds))));
}
