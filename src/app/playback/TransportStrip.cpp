#include "app/playback/TransportStrip.h"

#include <QHBoxLayout>
#include <QToolButton>

TransportStrip::TransportStrip(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    const QString symbols[] = {QStringLiteral("▶"), QStringLiteral("❚❚"), QStringLiteral("■")};
    const QString names[] = {QStringLiteral("Play"), QStringLiteral("Pause"), QStringLiteral("Stop")};
    for (int b = Play; b <= Stop; ++b) {
        auto* button = new QToolButton(this);
        button->setText(symbols[b]);
        button->setObjectName(names[b]);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(button, &QToolButton::clicked, this, [this, b] { emit clicked(static_cast<Button>(b)); });
        layout->addWidget(button);
        buttons_[b] = button;
    }
    setEnabledButtons(false, false, false);
}

void TransportStrip::setEnabledButtons(bool play, bool pause, bool stop) {
    buttons_[Play]->setEnabled(play);
    buttons_[Pause]->setEnabled(pause);
    buttons_[Stop]->setEnabled(stop);
}

void TransportStrip::setToolTips(const QStringList& tips) {
    for (int b = Play; b <= Stop; ++b)
        buttons_[b]->setToolTip(tips.value(b));
}

bool TransportStrip::isButtonEnabled(Button button) const {
    return buttons_[button]->isEnabledTo(this);
}
