#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

// Answers the modal windows (not the message boxes, see MessageBoxScript) a test provokes: each
// step waits for a modal window of its class and acts on it from the event loop.
class DialogSkript {
public:
    DialogSkript()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Pruefen(); });
        timer_.start();
    }
    ~DialogSkript() { EXPECT_TRUE(schritte_.empty()) << schritte_.size() << " Dialog(e) kamen nicht"; }
    DialogSkript(const DialogSkript&) = delete;
    DialogSkript& operator=(const DialogSkript&) = delete;

    template <class Fenster>
    DialogSkript& Dann(std::function<void(Fenster&)> handeln)
    {
        schritte_.push_back([handeln](QWidget* w) {
            auto* f = qobject_cast<Fenster*>(w);
            if (!f)
                return false;
            handeln(*f);
            return true;
        });
        return *this;
    }
    int Offen() const { return int(schritte_.size()); }

private:
    void Pruefen()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == letzter_ || schritte_.empty() || !w->isVisible())
            return;
        if (schritte_.front()(w)) {
            letzter_ = w;
            schritte_.pop_front();
        }
    }

    QTimer timer_;
    std::deque<std::function<bool(QWidget*)>> schritte_;
    QPointer<QWidget> letzter_;
};
