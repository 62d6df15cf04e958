#include "app/settings/BigButtonsView.h"

#include "ui_TForm1.h"

namespace {

struct ViewLayout {
    int panel2Top, panel1Height, groupBox6Height;
    int titleTop, infoLeft, numberTop, gaugeTop, elapsedLeft, totalLeft, melodyTop;
};

constexpr ViewLayout Normal{120, 112, 102, 52, 120, 32, 16, 231, 328, 50};
constexpr ViewLayout Big{136, 125, 118, 102, 68, 82, 64, 179, 276, 18};

void moveTo(QWidget* w, int left, int top) {
    w->move(left, top);
}

} // namespace

void applyBigButtonsView(Ui::TForm1& ui, bool big) {
    const ViewLayout& v = big ? Big : Normal;
    ui.Panel2->move(ui.Panel2->x(), v.panel2Top);
    ui.Panel1->resize(ui.Panel1->width(), v.panel1Height);
    ui.GroupBox6->resize(ui.GroupBox6->width(), v.groupBox6Height);
    ui.GroupBox4->move(ui.GroupBox4->x(), ui.GroupBox3->y());

    moveTo(ui.Label10, v.infoLeft, v.titleTop);
    moveTo(ui.StaticText1, v.infoLeft, v.numberTop);
    moveTo(ui.Label1, ui.StaticText1->x() + ui.StaticText1->width() + 6, v.numberTop);
    moveTo(ui.Label2, v.elapsedLeft, v.numberTop);
    moveTo(ui.Label3, v.totalLeft, v.numberTop);
    moveTo(ui.Gauge1, v.infoLeft, v.gaugeTop);
    ui.SpeedButton7->move(ui.SpeedButton7->x(), v.melodyTop);

    ui.MediaPlayer1->setVisible(!big);
    ui.bRecord->setVisible(!big);
    ui.bStop->setVisible(!big);

    ui.BitBtn3->setVisible(big);
    if (big) {
        ui.BitBtn3->setGeometry(103, 8, 170, 50);
        ui.BitBtn4->setGeometry(ui.BitBtn4->x(), 14, ui.BitBtn4->width(), 50);
    }
    ui.BitBtn4->setVisible(big);
    ui.grSchalt->setChecked(big);
}
