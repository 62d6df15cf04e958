#include "app/music/MeetingClock.h"

#include "app/TForm1.h"
#include "app/music/MusicBlock.h"
#include "app/recording/CaptureControl.h"
#include "app/recording/RecordingFinisher.h"
#include "app/recordings/RecordingCopies.h"
#include "app/recordings/TDualListDlg.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "common/SystemPower.h"
#include "music/MusicTiming.h"
#include "settings/UiTexts.h"
#include "ui_TForm1.h"

#include <QMenuBar>

namespace {
const QString Indent(13, QLatin1Char(' '));
const QString Ended = QStringLiteral("00:00:00");
} // namespace

MeetingClock::MeetingClock(TForm1& form) : form_(form) {
    Timer2.setInterval(300);
    connect(&Timer2, &QTimer::timeout, this, [this] { form_.step([this] { Timer2Timer(); }); });
    form_.on(form_.form().shutdowncancel, &QAction::triggered, [this] { shutdowncancelClick(); });
    form_.on(form_.form().Button3, &QPushButton::clicked, [this] { Button3Click(); });
    // The shutdown display and its cancel item stand at the right end of the menu bar.
    Ui::TForm1& ui = form_.form();
    auto* right = new QMenuBar(ui.MainMenu1);
    for (QAction* item : {ui.Shutdown1, ui.shutdowncancel}) {
        ui.MainMenu1->removeAction(item);
        right->addAction(item);
    }
    ui.MainMenu1->setCornerWidget(right, Qt::TopRightCorner);
    Timer2.start();
}

void MeetingClock::Timer2Timer() {
    const DateTime now = timePart(form_.services().clock.now());
    if (form_.form().Shutdown1->isVisible())
        shutdownStep(now);
    countdownStep(now);
    form_.musicBlock().musicStep();
}

void MeetingClock::shutdownStep(DateTime now) {
    QAction* display = form_.form().Shutdown1;
    const QStringList& texts = form_.uiTexts();
    if (ShutdownCountdownText != Ended) {
        ShutdownCountdownText =
            music::ShutdownCountdownText(form_.settings().ShutdownDelay, now - ShutdownCountdownStart);
        display->setText(Indent + texts.at(UiText::ShutDownComputer) + QStringLiteral("  ") +
                         ShutdownCountdownText);
    }
    if (ShutdownCountdownText == Ended) {
        display->setText(Indent + texts.at(UiText::ShutdownNotice));
        powerOffWhenDue();
    }
}

void MeetingClock::powerOffWhenDue() {
    MusicBlock& music = form_.musicBlock();
    AudioLibrary& audio = form_.services().audio;
    if (poweredOff_ || audio.ChannelIsActive(music.MusicStream) == AudioLibrary::Playing)
        return;
    if (form_.capture().channelActive() || form_.finisher().busy() || form_.recordingCopies().busy() ||
        form_.copyDialog().copying()) {
        form_.form().Shutdown1->setText(Indent + uiText(UiText::ShutdownWaits));
        return;
    }
    poweredOff_ = true;
    const QString refused = form_.services().power.powerOff();
    if (refused.isEmpty())
        return;
    shutdowncancelClick();
    form_.services().dialogs.showMessage(refused);
}

void MeetingClock::countdownStep(DateTime now) {
    MusicBlock& music = form_.musicBlock();
    const int state = music.MusicState();
    if (state != MusicBlock::Armed && state != MusicBlock::AfterReady && state != MusicBlock::PlayingAfter)
        return;
    const DateTime next = form_.state().NextMeetingTime;
    const int total = music.CountdownTotalSeconds();
    QLabel* countdown = form_.form().Label23;
    switch (music::ListMomentOf(now, next, total)) {
    case music::ListMoment::Start:
        music.startList();
        break;
    case music::ListMoment::Before: {
        const DateTime remaining = next - (now + total / SecondsPerDay);
        countdown->setStyleSheet(music::CountdownIsRed(remaining) ? QStringLiteral("color: red;")
                                                                  : QString());
        countdown->setText(timeToString(remaining));
        break;
    }
    case music::ListMoment::Past:
        countdown->hide();
        break;
    }
}

void MeetingClock::Button3Click() {
    Ui::TForm1& ui = form_.form();
    const QStringList& texts = form_.uiTexts();
    const bool afterMeeting = ui.Button3->property("Tag").toInt() == 1;
    ui.GroupBox5->setTitle(afterMeeting ? texts.at(UiText::MusicAfterMeeting)
                                        : texts.at(UiText::MusicBeforeMeeting) + QLatin1Char(' ') +
                                              timeToString(form_.state().NextMeetingTime));
    MusicBlock& music = form_.musicBlock();
    music.emptyList();
    if (!afterMeeting)
        return;
    music.setMusicEntryCount(0);
    for (QComboBox* slot : {ui.ComboBox1, ui.ComboBox2, ui.ComboBox3}) {
        ui.ComboBox6->setEditText(slot->currentText());
        music.ComboBox6Change();
    }
    ui.BitBtn5->setText(texts.at(UiText::Start));
    music.setMusicState(MusicBlock::AfterReady);
    if (form_.settings().ShutdownEnabled) {
        ShutdownCountdownStart = timePart(form_.services().clock.now());
        ShutdownCountdownText.clear();
        poweredOff_ = false;
        ui.Shutdown1->setText(Indent + texts.at(UiText::ShutDownComputer) + QStringLiteral("  ") +
                              timeToString(form_.settings().ShutdownDelay));
        ui.Shutdown1->setVisible(true);
        ui.shutdowncancel->setVisible(true);
        Timer2.start();
    }
}

void MeetingClock::shutdowncancelClick() {
    form_.form().shutdowncancel->setVisible(false);
    form_.form().Shutdown1->setVisible(false);
}
