#include "app/playback/StartMelody.h"

#include "app/TForm1.h"
#include "app/playback/ClickFilter.h"
#include "app/playback/Player.h"
#include "common/Dialogs.h"
#include "settings/UiTexts.h"
#include "ui_TForm1.h"

#include <QFileInfo>

StartMelody::StartMelody(TForm1& form) : form_(form) {
    Ui::TForm1& ui = form_.form();
    form_.on(ui.SpeedButton7, &QToolButton::clicked, [this] { SpeedButton7Click(); });
    new ClickFilter(ui.SpeedButton7, QEvent::MouseButtonDblClick,
                    [this] { form_.step([this] { SpeedButton7DblClick(); }); });
    endCheck_.setInterval(50);
    form_.on(&endCheck_, &QTimer::timeout, [this] {
        if (form_.services().audio.ChannelIsActive(stream_) == AudioLibrary::Stopped)
            ended();
    });
}

void StartMelody::SpeedButton7Click() {
    AudioLibrary& audio = form_.services().audio;
    Player& player = form_.player();
    if (stream_ != 0)
        audio.StreamFree(stream_);
    const QString file = form_.settings().StartMelodyFile;
    stream_ = audio.StreamCreateFile(file);
    if (stream_ == 0) {
        endCheck_.stop();
        if (player.commandsHeld())
            player.holdCommands(false);
        // Nothing is played; the strip comes back with the next preparation.
        form_.form().MediaPlayer1->setEnabled(false);
        form_.services().dialogs.showMessage(
            uiText(UiText::MelodyNotPlayable, file.isEmpty() ? uiText(UiText::NoMelodyChosen) : file));
        return;
    }
    // No song command can be given meanwhile, and no preparation gives them back.
    player.holdCommands(true);
    audio.ChannelPlay(stream_, false);
    endCheck_.start();
}

void StartMelody::ended() {
    endCheck_.stop();
    form_.services().audio.StreamFree(stream_);
    stream_ = 0;
    form_.player().holdCommands(false);
}

void StartMelody::SpeedButton7DblClick() {
    Settings& settings = form_.settings();
    const QString preset = settings.StartMelodyFile.isEmpty()
                               ? MelodyFolder
                               : QFileInfo(settings.StartMelodyFile).absoluteFilePath();
    const QString file = form_.services().dialogs.openFile(uiText(UiText::StartMelodyLabel), preset,
                                                           uiText(UiText::AudioFileFilter));
    if (file.isEmpty())
        return;
    settings.StartMelodyFile = file;
    form_.state().OpenDialogFile = file;
}
