#include "app/settings/MainCaptions.h"

#include "app/playback/TransportStrip.h"
#include "settings/UiTexts.h"
#include "ui_TForm1.h"

void applyUiCaptions(Ui::TForm1& ui, const QStringList& uiTexts, bool recordingRequested) {
    const auto text = [&uiTexts](int index) { return uiTexts.at(index); };

    ui.Datei1->setTitle(text(UiText::MenuFile));
    ui.Liederbearbeiten->setText(text(UiText::MenuEditSongList));
    ui.Liedereinlesen->setText(text(UiText::MenuReloadSongs));
    ui.Beenden1->setText(text(UiText::MenuClose));
    ui.Verzeichnis1->setTitle(text(UiText::MenuSettings));
    ui.Einstellungen1->setText(text(UiText::MenuBasicSettings));
    ui.Ansicht1->setTitle(text(UiText::MenuView));
    ui.grSchalt->setText(text(UiText::MenuBigButtons));
    ui.Aufnahmen1->setTitle(text(UiText::MenuRecordings));
    ui.Kopieren1->setText(text(UiText::MenuCopyTo));
    ui.Sprache1->setTitle(text(UiText::MenuLanguage));
    ui.Info1->setText(text(UiText::MenuInfo));

    ui.GroupBox6->setTitle(text(UiText::ControlsGroup));
    ui.StaticText1->setText(text(UiText::SongNumberLabel));
    ui.StaticText1->resize(ui.StaticText1->sizeHint().width(), ui.StaticText1->height());
    ui.Label1->move(ui.StaticText1->x() + ui.StaticText1->width() + 6, ui.Label1->y());
    ui.BitBtn3->setText(text(UiText::Start));
    ui.BitBtn4->setText(text(recordingRequested ? UiText::Stop : UiText::Recording));

    ui.GroupBox5->setTitle(text(UiText::MusicBeforeMeeting));
    ui.BitBtn5->setText(text(UiText::Activate));
    ui.BitBtn6->setText(text(UiText::ChooseSongs));
    ui.GroupBox1->setTitle(text(UiText::MeetingGroup));
    ui.Label6->setText(text(UiText::ClosingSong));
    ui.GroupBox2->setTitle(text(UiText::SpecialOccasionsGroup));
    ui.Label7->setText(text(UiText::OtherSource));
    ui.CheckBox6->setText(text(UiText::EndlessLoop));
    ui.GroupBox3->setTitle(text(UiText::Recording));
    ui.rec->setText(text(UiText::Recording));
    ui.Label13->setText(text(UiText::TopicLabel));
    ui.Label14->setText(text(UiText::SpeakerLabel));
    ui.Label21->setText(text(UiText::CommentLabel));
    ui.Label20->setText(text(UiText::FileNameLabel));
    ui.GroupBox4->setTitle(text(UiText::OptionsGroup));
    ui.Label12->setText(text(UiText::SaveHereToo));
    ui.Label26->setText(text(UiText::SavedAfterRecording));
    ui.BitBtn1->setText(text(UiText::Save));
    ui.BitBtn2->setText(text(UiText::Cancel));
    ui.CheckBox4->setText(text(UiText::RandomPlayback));

    ui.CheckBox6->setToolTip(text(UiText::TipEndlessLoop));
    ui.Label7->setToolTip(text(UiText::ChooseOtherSource));
    ui.SpeedButton5->setToolTip(text(UiText::TipBack));
    ui.SpeedButton4->setToolTip(text(UiText::TipForward));
    ui.SpeedButton1->setToolTip(text(UiText::TipSetStart));
    ui.SpeedButton3->setToolTip(text(UiText::TipResetMarks));
    ui.SpeedButton2->setToolTip(text(UiText::TipSetEnd));
    ui.bRecord->setToolTip(text(UiText::TipRecord));
    ui.bStop->setToolTip(text(UiText::TipStopRecording));
    ui.autorec->setText(text(UiText::AutoRec));
    ui.autorec->setToolTip(text(UiText::TipAutoRec));
    ui.ComboBox5->setPlaceholderText(text(UiText::NoInputPlaceholder));
    ui.ComboBox5->setToolTip(text(UiText::TipInput));
    ui.SpeedButton9->setToolTip(text(UiText::TipResetFields));
    ui.shutdowncancel->setText(text(UiText::ClickToCancel));
    if (auto* strip = ui.MediaPlayer1->findChild<TransportStrip*>())
        strip->setToolTips({text(UiText::TipPlay), text(UiText::TipPause), text(UiText::TipStop)});
}

void hideDesignedMenus(Ui::TForm1& ui) {
    for (QMenu* menu :
         {ui.Sprache1, ui.MelodieProgrammbeginn1, ui.Aufnahmedateisplitten1, ui.Aufnahmenlschen1})
        menu->menuAction()->setVisible(false);
}
