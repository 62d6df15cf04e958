#include "app/playback/Player.h"

#include "app/TForm1.h"
#include "app/playback/OtherSource.h"
#include "app/playback/SelectionTrackBar.h"
#include "app/playback/TransportStrip.h"
#include "app/recording/CaptureControl.h"
#include "app/songs/SongLibrary.h"
#include "common/DateTime.h"
#include "common/KandolorError.h"
#include "recording/AutoRecording.h"
#include "settings/UiTexts.h"
#include "songs/SongTitle.h"
#include "ui_TForm1.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

void colourRadioButton(QRadioButton* button, QPalette::ColorRole role) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::Window, button->palette().color(role));
    button->setAutoFillBackground(true);
    button->setPalette(palette);
}

} // namespace

Player::Player(TForm1& form) : form_(form), audio_(form.services().audio), strip_(new TransportStrip) {
    Ui::TForm1& ui = form_.form();
    auto* layout = new QHBoxLayout(ui.MediaPlayer1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(strip_);
    strip_->setToolTips({uiText(UiText::TipPlay), uiText(UiText::TipPause), uiText(UiText::TipStop)});
    Timer1.setInterval(300);

    for (QCheckBox* box : {ui.CheckBox1, ui.CheckBox2, ui.CheckBox3})
        form_.on(box, &QCheckBox::toggled, [this] { CheckBox1Click(); });
    // A radio button's click is its becoming checked.
    form_.on(ui.RadioButton3, &QRadioButton::toggled, [this] {
        if (form_.form().RadioButton3->isChecked())
            RadioButton3Click();
    });
    form_.on(ui.RadioButton4, &QRadioButton::toggled, [this] {
        if (form_.form().RadioButton4->isChecked())
            RadioButton4Click();
    });
    QObject::connect(strip_, &TransportStrip::clicked, &form_,
                     [this](TransportStrip::Button b) { form_.step([=, this] { MediaPlayer1Click(b); }); });
    form_.on(ui.BitBtn3, &QPushButton::clicked, [this] { BitBtn3Click(); });
    form_.on(ui.Button4, &QPushButton::clicked, [this] { Button4Click(); });
    form_.on(&Timer1, &QTimer::timeout, [this] { Timer1Timer(); });
}

bool Player::meetingGroup() const {
    return form_.form().RadioButton3->isChecked();
}

void Player::CheckBox1Click() {
    AppState& state = form_.state();
    if (!state.SlotChosen)
        return;
    const bool busy = audio_.ChannelIsActive(SongStream) != AudioLibrary::Stopped;
    Ui::TForm1& ui = form_.form();
    if (meetingGroup()) {
        state.CdSource = false;
        QCheckBox* boxes[] = {ui.CheckBox1, ui.CheckBox2, ui.CheckBox3};
        const auto checked =
            std::find_if(std::begin(boxes), std::end(boxes), [](QCheckBox* b) { return b->isChecked(); });
        const int slot = checked == std::end(boxes) ? 0 : static_cast<int>(checked - std::begin(boxes)) + 1;
        if (slot > 0)
            prepareSlot(slot, busy);
        QComboBox* fields[] = {ui.ComboBox1, ui.ComboBox2, ui.ComboBox3};
        const int number = slot > 0 ? strToInt(fields[slot - 1]->currentText()) : 0;
        if (number > 0) {
            ui.Label1->setText(QString::number(number));
            ui.Label2->setText(QStringLiteral("00:00"));
            if (SongStream != 0) {
                ui.Label10->setText(SongTitle(CurrentFileAnsi));
            } else {
                // Nothing to play: the slot stays, red, and tells why.
                ui.Label3->setText(QStringLiteral("--:--"));
                ui.Label10->setText(
                    uiText(UiText::FileNotPlayableLabel, QFileInfo(CurrentFileAnsi).fileName()));
                SongLibrary::colourField(fields[slot - 1], SlotInvalidColour);
                setPlayable(false);
            }
        } else {
            ui.Label1->setText(QStringLiteral("---"));
            ui.Label2->setText(QStringLiteral("00:00"));
            ui.Label3->setText(QStringLiteral("00:00"));
            ui.Label10->setText(QStringLiteral("---"));
            ui.MediaPlayer1->setEnabled(false);
            ui.BitBtn3->setEnabled(false);
        }
    } else if (ui.RadioButton4->isChecked()) {
        form_.otherSource().prepare(busy);
    }
}

void Player::setPlayable(bool playable) {
    Ui::TForm1& ui = form_.form();
    ui.MediaPlayer1->setEnabled(playable && !held_);
    strip_->setEnabledButtons(playable, false, false);
    ui.BitBtn3->setEnabled(playable && !held_);
}

void Player::holdCommands(bool held) {
    Ui::TForm1& ui = form_.form();
    held_ = held;
    if (held) {
        ui.MediaPlayer1->setEnabled(false);
        ui.BitBtn3->setEnabled(false);
    } else if (Timer1.isActive()) {
        // A song or an audio CD track plays or is paused: preparing it again would stop it.
        ui.MediaPlayer1->setEnabled(true);
        ui.BitBtn3->setEnabled(true);
    } else {
        CheckBox1Click();
    }
}

void Player::openSongStream(const QString& file) {
    if (SongStream != 0)
        audio_.StreamFree(SongStream);
    SongStream = audio_.StreamCreateFile(file);
}

void Player::prepareSlot(int slot, bool busy) {
    Ui::TForm1& ui = form_.form();
    CurrentFileAnsi = form_.state().SlotFiles[static_cast<std::size_t>(slot)];
    setPlayable(true);
    if (!busy)
        openSongStream(CurrentFileAnsi);
    SongEndBytes = audio_.ChannelGetLength(SongStream);
    SongSeconds = static_cast<int>(std::trunc(audio_.ChannelBytes2Seconds(SongStream, SongEndBytes)));
    if (SongSeconds >= 0) {
        ui.TrackBar1->setMaximum(SongSeconds);
        ui.Gauge1->setMaximum(SongSeconds);
    }
    ui.Label3->setText(minutesSeconds(SongSeconds));
    if (!MarksSet) {
        ui.TrackBar1->setSelStart(0);
        ui.TrackBar1->setSelEnd(ui.TrackBar1->maximum());
    }
}

void Player::RadioButton3Click() {
    Ui::TForm1& ui = form_.form();
    ui.RadioButton1->setEnabled(false);
    ui.RadioButton2->setEnabled(false);
    colourRadioButton(ui.RadioButton3, QPalette::Highlight);
    colourRadioButton(ui.RadioButton4, QPalette::Dark);
    for (QWidget* w : std::initializer_list<QWidget*>{ui.ComboBox4, ui.CheckBox6, ui.GroupBox2, ui.TrackBar1,
                                                      ui.SpeedButton1, ui.SpeedButton2, ui.SpeedButton3,
                                                      ui.SpeedButton4, ui.SpeedButton5})
        w->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{ui.GroupBox1, ui.ComboBox1, ui.ComboBox2, ui.ComboBox3})
        w->setEnabled(true);
    CheckBox1Click();
}

void Player::RadioButton4Click() {
    Ui::TForm1& ui = form_.form();
    for (QWidget* w : std::initializer_list<QWidget*>{ui.ComboBox1, ui.ComboBox2, ui.ComboBox3, ui.GroupBox1})
        w->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui.GroupBox2, ui.ComboBox4, ui.CheckBox6, ui.TrackBar1, ui.SpeedButton1, ui.SpeedButton2,
             ui.SpeedButton3, ui.SpeedButton4, ui.SpeedButton5, ui.RadioButton1, ui.RadioButton2})
        w->setEnabled(true);
    colourRadioButton(ui.RadioButton4, QPalette::Highlight);
    colourRadioButton(ui.RadioButton3, QPalette::Dark);
    CheckBox1Click();
}

void Player::MediaPlayer1Click(int button) {
    static const QString commands[] = {QStringLiteral("Play"), QStringLiteral("Pause"),
                                       QStringLiteral("Stop")};
    PlayerCommand = commands[button];
    Button4Click();
}

void Player::BitBtn3Click() {
    QPushButton* big = form_.form().BitBtn3;
    big->setEnabled(false);
    if (big->text() == form_.uiTexts().at(UiText::Start))
        PlayerCommand = QStringLiteral("Play");
    if (big->text() == form_.uiTexts().at(UiText::Stop))
        PlayerCommand = QStringLiteral("Stop");
    Button4Click();
    // Disabling the button handed the focus on; it comes back, so the next keys do not go elsewhere.
    if (big->isEnabled())
        big->setFocus(Qt::OtherFocusReason);
}

void Player::Button4Click() {
    if (PlayerCommand == QLatin1String("Play"))
        play();
    else if (PlayerCommand == QLatin1String("Pause"))
        pause();
    else if (PlayerCommand == QLatin1String("Stop"))
        stop();
}

void Player::setBigButton(int uiText, bool enabled) {
    form_.form().BitBtn3->setText(form_.uiTexts().at(uiText));
    if (enabled && !held_)
        form_.form().BitBtn3->setEnabled(true);
}

void Player::setGroupsEnabled(bool enabled) {
    Ui::TForm1& ui = form_.form();
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui.RadioButton3, ui.RadioButton4, ui.GroupBox1, ui.GroupBox2})
        w->setEnabled(enabled);
}

void Player::play() {
    // Nothing starts without a device, and the file is not blamed.
    if (form_.capture().tellIfDeviceMissing(AudioLibrary::OutputDevice))
        return;
    if (audio_.ChannelIsActive(SongStream) == AudioLibrary::Paused) {
        audio_.ChannelPlay(SongStream, false);
        strip_->setEnabledButtons(false, true, true);
        setBigButton(UiText::Stop, true);
        return;
    }
    const bool cd = !meetingGroup() && form_.state().CdSource;
    if (SongStream == 0 && !cd)
        return; // a file that cannot be played: nothing starts, the slot stays
    if (cd) {
        form_.otherSource().playCdTrack();
    } else if (!meetingGroup()) {
        audio_.ChannelSetPosition(
            SongStream, audio_.ChannelSeconds2Bytes(SongStream, form_.form().TrackBar1->selStart()));
        audio_.ChannelPlay(SongStream, false);
    } else {
        audio_.ChannelPlay(SongStream, false);
        SongEndBytes = audio_.ChannelGetLength(SongStream);
    }
    playingFile_ = CurrentFileAnsi;
    strip_->setEnabledButtons(false, true, true);
    setBigButton(UiText::Stop, true);
    recordAroundTheSongs();
    Timer1.start(300);
    setGroupsEnabled(false);
}

void Player::tellUnreadable(const QString& file) {
    form_.tellLater(uiText(UiText::SongUnreadable, file));
}

recording::MeetingSongState Player::meetingSongState() const {
    Ui::TForm1& ui = form_.form();
    return {!meetingGroup(),           ui.autorec->isChecked(),   ui.CheckBox1->isChecked(),
            ui.CheckBox2->isChecked(), ui.CheckBox3->isChecked(), ui.Datei->isModified()};
}

void Player::recordAroundTheSongs() {
    const recording::SongStartAction action = recording::MeetingSongStarted(meetingSongState());
    if (action.stop)
        form_.bStopClick();
    if (action.resetPart != 0)
        form_.ResetRecordingFields(action.resetPart);
}

void Player::pause() {
    if (!meetingGroup() && form_.state().CdSource)
        return;
    if (SongStream != 0)
        audio_.ChannelPause(SongStream);
    strip_->setEnabledButtons(true, false, true);
}

void Player::stop() {
    Ui::TForm1& ui = form_.form();
    const bool meeting = meetingGroup();
    if (!meeting) {
        if (!form_.state().CdSource) {
            if (SongStream != 0)
                audio_.ChannelStop(SongStream);
        } else {
            form_.otherSource().stopCdTrack();
        }
        strip_->setEnabledButtons(true, false, false);
        setBigButton(UiText::Start, true);
    } else {
        if (SongStream != 0)
            audio_.ChannelStop(SongStream);
        strip_->setEnabledButtons(true, false, false);
        setBigButton(UiText::Start, false);
    }
    if (recording::MeetingSongStoppedStartsRecording(meetingSongState()))
        form_.bRecordClick();
    Timer1.stop();
    setGroupsEnabled(true);
    if (meeting) {
        if (ui.CheckBox1->isChecked()) {
            ui.CheckBox1->setChecked(false);
        } else if (ui.CheckBox2->isChecked()) {
            ui.CheckBox2->setChecked(false);
        } else if (ui.CheckBox3->isChecked()) {
            ui.CheckBox3->setChecked(false);
            form_.Button3Click();
        }
    }
    ui.Gauge1->setValue(0);
}

void Player::Timer1Timer() {
    Ui::TForm1& ui = form_.form();
    int elapsed = 0;
    bool ended = false;
    bool unreadable = false;
    if (form_.state().CdSource) {
        OtherSource& cd = form_.otherSource();
        elapsed = cd.cdElapsedSeconds();
        ended = elapsed >= cd.CdEndSeconds;
    } else {
        const std::int64_t position = audio_.ChannelGetPosition(SongStream);
        elapsed = static_cast<int>(std::trunc(audio_.ChannelBytes2Seconds(SongStream, position)));
        ended = position >= SongEndBytes;
        unreadable = ended && audio_.ChannelReadFailed(SongStream);
    }
    const QString elapsedText = minutesSeconds(elapsed);
    ui.Gauge1->setValue(std::clamp(elapsed, ui.Gauge1->minimum(), ui.Gauge1->maximum()));
    ui.TrackBar1->setValue(std::clamp(elapsed, 0, ui.TrackBar1->maximum()));
    if (ended) {
        Timer1.stop();
        PlayerCommand = QStringLiteral("Stop");
        Button4Click();
        // A file that cannot be read is not started again by the endless loop.
        if (unreadable)
            tellUnreadable(playingFile_);
        else if (ui.CheckBox6->isChecked() && ui.GroupBox2->isEnabled()) {
            Timer1.start(300);
            PlayerCommand = QStringLiteral("Play");
            Button4Click();
        }
    }
    ui.Label2->setText(elapsedText);
}
