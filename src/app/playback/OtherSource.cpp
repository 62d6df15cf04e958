#include "app/playback/OtherSource.h"

#include "app/TForm1.h"
#include "app/playback/CdTrackChooser.h"
#include "app/playback/ClickFilter.h"
#include "app/playback/Player.h"
#include "app/playback/SelectionTrackBar.h"
#include "app/playback/TransportStrip.h"
#include "common/DateTime.h"
#include "common/Dialogs.h"
#include "common/Folders.h"
#include "playback/CdTracks.h"
#include "playback/ShortPath.h"
#include "settings/UiTexts.h"
#include "songs/SongFiles.h"
#include "songs/SongTitle.h"
#include "ui_TForm1.h"

#include <QFileInfo>

namespace {
constexpr int Label7Width = 300;
} // namespace

OtherSource::OtherSource(TForm1& form) : form_(form) {
    Ui::TForm1& ui = form_.form();
    form_.on(ui.ComboBox4->lineEdit(), &QLineEdit::textEdited, [this] { ComboBox4Change(); });
    // A radio button's click is its becoming checked.
    form_.on(ui.RadioButton1, &QRadioButton::toggled, [this] {
        if (form_.form().RadioButton1->isChecked())
            form_.CheckBox1Click();
    });
    form_.on(ui.RadioButton2, &QRadioButton::toggled, [this] {
        if (form_.form().RadioButton2->isChecked())
            RadioButton2Click();
    });
    new ClickFilter(ui.Label7, QEvent::MouseButtonRelease, [this] { form_.step([this] { Label7Click(); }); });
    form_.on(ui.SpeedButton1, &QToolButton::clicked, [this] { SpeedButton1Click(); });
    form_.on(ui.SpeedButton2, &QToolButton::clicked, [this] { SpeedButton2Click(); });
    form_.on(ui.SpeedButton3, &QToolButton::clicked, [this] { SpeedButton3Click(); });
    form_.on(ui.SpeedButton4, &QToolButton::clicked, [this] { SpeedButton4Click(); });
    form_.on(ui.SpeedButton5, &QToolButton::clicked, [this] { SpeedButton5Click(); });
    form_.on(ui.TrackBar1, &QSlider::valueChanged, [this] { TrackBar1Change(); });
}

QString OtherSource::songFileOf(int number) const {
    const AppState& state = form_.state();
    // Any language code: no first try with the song book's.
    const QString name =
        FindSongFile(state.pfad_lk, QStringLiteral("*"), form_.songConfig().SongFileExt, number, false);
    return name.isEmpty() ? QString() : state.pfad_lk + name;
}

void OtherSource::ComboBox4Change() {
    AppState& state = form_.state();
    Ui::TForm1& ui = form_.form();
    state.CdSource = false;
    bool isNumber = false;
    const int number = ui.ComboBox4->currentText().toInt(&isNumber);
    if (!isNumber)
        return;
    if (number < 1 || number > form_.songConfig().liedanzahl) {
        form_.services().dialogs.showMessage(uiText(UiText::InvalidSongNumber));
    } else {
        const QString file = songFileOf(number);
        if (file.isEmpty()) {
            ui.StringGrid1->hide(); // no file for the number: nothing is prepared
            return;
        }
        state.SlotFiles[4] = file;
        state.SlotChosen = true;
        reported_.clear();
        ui.RadioButton1->setEnabled(true);
        ui.RadioButton1->setChecked(true);
        form_.CheckBox1Click();
    }
    SpeedButton3Click();
    form_.CheckBox1Click();
}

QString OtherSource::chooseSource() {
    Dialogs& dialogs = form_.services().dialogs;
    const std::vector<AudioDisc> discs = form_.services().media.audioDiscs();
    if (!discs.empty()) {
        CdTrackChooser chooser(discs, &form_);
        if (dialogs.runModal(chooser) != QDialog::Accepted)
            return {};
        if (!chooser.chosenTrack().isEmpty())
            return chooser.chosenTrack();
    }
    const QString last = form_.state().OpenDialogFile;
    const QString folder = last.isEmpty() ? form_.services().folders.homeFolder() : QFileInfo(last).path();
    return dialogs.openFile(uiText(UiText::ChooseOtherSource), folder, QString());
}

void OtherSource::Label7Click() {
    Ui::TForm1& ui = form_.form();
    const QString path = chooseSource();
    if (path.isEmpty()) {
        ui.Label7->setText(form_.uiTexts().at(UiText::OtherSource));
        ui.Label7->setProperty("path", QString());
        return;
    }
    const QFontMetrics metrics(ui.Label7->font());
    ui.Label7->setText(playback::ShortenPath(
        path, [&](const QString& text) { return metrics.horizontalAdvance(text) <= Label7Width; }));
    // The full path, which the drive list reads when a volume goes.
    ui.Label7->setProperty("path", path);
    AppState& state = form_.state();
    state.OpenDialogFile = path;
    state.SlotFiles[4] = path;
    state.CdSource = playback::IsCdTrackPath(path);
    state.SlotChosen = true;
    reported_.clear();
    ui.RadioButton2->setEnabled(true);
    ui.RadioButton2->setChecked(true);
    form_.CheckBox1Click();
}

void OtherSource::RadioButton2Click() {
    Ui::TForm1& ui = form_.form();
    if (ui.RadioButton2->isChecked() && ui.Label7->text() == form_.uiTexts().at(UiText::OtherSource))
        Label7Click();
    SpeedButton3Click();
    form_.CheckBox1Click();
}

void OtherSource::disableTransport(const QString& message) {
    form_.player().setPlayable(false);
    form_.form().Label3->setText(QStringLiteral("--:--"));
    // Each failing source is told once, not at every preparation.
    const QString path = form_.state().SlotFiles[4];
    if (reported_ != path) {
        reported_ = path;
        form_.services().dialogs.showMessage(message);
    }
}

bool OtherSource::prepareFile(bool busy) {
    Player& player = form_.player();
    AudioLibrary& audio = form_.services().audio;
    Ui::TForm1& ui = form_.form();
    SelectionTrackBar* bar = ui.TrackBar1;
    player.setPlayable(true);
    player.CurrentFileAnsi = form_.state().SlotFiles[4];
    if (!busy)
        player.openSongStream(player.CurrentFileAnsi);
    if (player.SongStream == 0) {
        disableTransport(uiText(UiText::FileNotPlayable, player.CurrentFileAnsi));
        return false;
    }
    player.SongEndBytes = audio.ChannelGetLength(player.SongStream);
    player.SongSeconds = static_cast<int>(audio.ChannelBytes2Seconds(player.SongStream, player.SongEndBytes));
    audio.ChannelSetPosition(player.SongStream,
                             audio.ChannelSeconds2Bytes(player.SongStream, bar->selStart()));
    bar->setMaximum(player.SongSeconds);
    ui.Gauge1->setMaximum(player.SongSeconds);
    ui.Label3->setText(minutesSeconds(player.SongSeconds));
    if (player.MarksSet) {
        player.SongEndBytes = audio.ChannelSeconds2Bytes(player.SongStream, bar->selEnd());
    } else {
        bar->setSelStart(0);
        bar->setSelEnd(bar->maximum());
    }
    return true;
}

bool OtherSource::prepareCdTrack() {
    const QString path = form_.state().SlotFiles[4];
    MediaDevice& media = form_.services().media;
    const std::optional<int> number = playback::CdTrackNumberOf(path);
    const QString error = number ? media.open(path) : uiText(UiText::CdTrackNotOpened, path);
    const std::optional<CdTrack> track = error.isEmpty() ? media.track(*number) : std::nullopt;
    if (!track) {
        disableTransport(error.isEmpty() ? uiText(UiText::CdTrackNotOpened, path) : error);
        return false;
    }
    form_.player().setPlayable(true);
    Ui::TForm1& ui = form_.form();
    CdTrackNumber = *number;
    CdTrackStart = track->start;
    ui.Label3->setText(playback::CdLengthText(track->length));
    CdTrackLength = playback::CdTrackLengthValue(track->length);
    ui.TrackBar1->setMaximum(CdTrackLength / 1000);
    ui.TrackBar1->setSelEnd(ui.TrackBar1->maximum());
    return true;
}

void OtherSource::prepare(bool busy) {
    Ui::TForm1& ui = form_.form();
    AppState& state = form_.state();
    form_.player().setPlayable(false);
    int shown = 0;
    if (ui.RadioButton1->isChecked() && ui.ComboBox4->currentText() != QLatin1String("0")) {
        state.CdSource = false;
        bool isNumber = false;
        shown = ui.ComboBox4->currentText().toInt(&isNumber);
        // Only a song the operator chose is playable: not a number, out of range or without a file ends
        // the preparation here.
        if (!isNumber || shown < 1 || shown > form_.songConfig().liedanzahl)
            return;
        const QString file = songFileOf(shown);
        if (file.isEmpty())
            return;
        state.SlotFiles[4] = file;
        if (!prepareFile(busy))
            return;
    } else if (ui.RadioButton2->isChecked() && ui.Label7->text() != form_.uiTexts().at(UiText::OtherSource)) {
        state.SlotFiles[4] = state.OpenDialogFile;
        state.CdSource = playback::IsCdTrackPath(state.SlotFiles[4]);
        form_.player().CurrentFileAnsi = state.SlotFiles[4];
        if (!(state.CdSource ? prepareCdTrack() : prepareFile(busy)))
            return;
    }
    ui.Label10->setText(QStringLiteral("---"));
    const QString& file = state.SlotFiles[4];
    if (shown > 0) {
        ui.Label1->setText(QString::number(shown));
        ui.Label10->setText(SongTitle(file));
    } else if (state.CdSource) {
        ui.Label1->setText(playback::NameBeforeFirstDot(file));
    } else if (QFileInfo(file).fileName().endsWith(QLatin1String(".mp3"))) {
        ui.Label1->setText(QStringLiteral("0"));
        ui.Label10->setText(playback::NameBeforeFirstDot(file));
    }
}

void OtherSource::showMarks() {
    const SelectionTrackBar* bar = form_.form().TrackBar1;
    form_.form().Label9->setText(minutesSeconds(bar->selStart()) + QStringLiteral(" - ") +
                                 minutesSeconds(bar->selEnd()));
}

void OtherSource::TrackBar1Change() {
    form_.form().Label8->setText(minutesSeconds(form_.form().TrackBar1->value()));
}

void OtherSource::SpeedButton4Click() {
    QSlider* bar = form_.form().TrackBar1;
    bar->setValue(std::min(bar->value() + 1, bar->maximum()));
}

void OtherSource::SpeedButton5Click() {
    QSlider* bar = form_.form().TrackBar1;
    bar->setValue(std::max(bar->value() - 1, 0));
}

void OtherSource::SpeedButton1Click() {
    SelectionTrackBar* bar = form_.form().TrackBar1;
    bar->setSelStart(bar->value());
    showMarks();
    form_.player().MarksSet = true;
}

void OtherSource::SpeedButton2Click() {
    SelectionTrackBar* bar = form_.form().TrackBar1;
    Player& player = form_.player();
    bar->setSelEnd(bar->value());
    player.SongEndBytes = form_.services().audio.ChannelSeconds2Bytes(player.SongStream, bar->value());
    showMarks();
    player.MarksSet = true;
}

void OtherSource::SpeedButton3Click() {
    Ui::TForm1& ui = form_.form();
    Player& player = form_.player();
    ui.TrackBar1->setSelStart(0);
    ui.TrackBar1->setSelEnd(ui.TrackBar1->maximum());
    if (player.SongSeconds >= 0)
        ui.Gauge1->setMaximum(player.SongSeconds);
    player.SongEndBytes =
        form_.services().audio.ChannelSeconds2Bytes(player.SongStream, ui.TrackBar1->selEnd());
    ui.Label9->setText(QStringLiteral("---"));
    player.MarksSet = false;
}

void OtherSource::playCdTrack() {
    Ui::TForm1& ui = form_.form();
    const Msf from = playback::CdStartPosition(CdTrackStart, ui.TrackBar1->selStart());
    ui.Gauge1->setMaximum(CdTrackLength / 1000);
    CdEndSeconds = ui.TrackBar1->selEnd();
    form_.services().media.play(from);
}

void OtherSource::stopCdTrack() {
    form_.services().media.stop();
}

int OtherSource::cdElapsedSeconds() {
    return playback::CdElapsedSeconds(form_.services().media.position(), CdTrackStart);
}
