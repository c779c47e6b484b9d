#pragma once

#include <QEvent>

// Posted by the widget to itself after the UI's initUI, so that `run` follows it in the queue.
class UserEvent : public QEvent
{
public:
    static constexpr QEvent::Type kType = QEvent::Type(1000);
    static constexpr int kRunUi = 2177;

    explicit UserEvent(int code) : QEvent(kType), code(code) {}
    int code;
};
