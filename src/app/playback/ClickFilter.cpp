#include "app/playback/ClickFilter.h"

#include <QMouseEvent>

ClickFilter::ClickFilter(QObject* watched, QEvent::Type type, std::function<void()> action)
    : QObject(watched), type_(type), action_(std::move(action)) {
    watched->installEventFilter(this);
}

bool ClickFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == type_ && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        action_();
    return QObject::eventFilter(watched, event);
}
