#pragma once

#include <QApplication>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs `schritt` once on the first visible modal window of type W, while a dialog is open.
template <typename W>
class Bedienung {
public:
    explicit Bedienung(std::function<void(W&)> schritt) : schritt_(std::move(schritt))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
                w && w->isVisible()) {
                timer_.stop();
                gesehen = true;
                schritt_(*w);
            }
        });
        timer_.start(5);
    }
    bool gesehen = false;

private:
    std::function<void(W&)> schritt_;
    QTimer timer_;
};
