#pragma once

#include <QEvent>
#include <QObject>
#include <functional>

// Runs `action` when the watched widget gets the mouse event `type` of the left button (a click on a label,
// a double click on a button).
class ClickFilter : public QObject {
public:
    ClickFilter(QObject* watched, QEvent::Type type, std::function<void()> action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QEvent::Type type_;
    std::function<void()> action_;
};
