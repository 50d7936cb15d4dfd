#pragma once

#include <Meldung.h>

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <functional>

// The one driver of the modal windows a test provokes.
//
// Message boxes are answered in order, and what they showed is kept. A box that comes when no
// answer is queued fails the test and is closed, so no test can hang on one.
//
// Other modal windows are driven by window steps: each waits for a modal window of its class and
// acts on it from the event loop, in order; each showing of a window is acted on once. A step that
// fails the test and leaves its window open has the window closed, so the test goes on at once
// instead of waiting for its time-out. Steps still pending when the script ends fail the test.
//
// Scripts may nest (a helper's script inside a test's): a message box goes to the latest started
// script that has an answer queued.
class MessageBoxScript {
public:
    // Presses the button with this result (mrYes, mrNo, mrOk, ...).
    static std::function<void(QDialog&)> Click(std::uint16_t result);
    // Presses the button with this caption (for boxes whose buttons were renamed).
    static std::function<void(QDialog&)> ClickText(const QString& caption);
    // Presses Enter: the focused button answers.
    static std::function<void(QDialog&)> Enter();
    // Presses Escape.
    static std::function<void(QDialog&)> Escape();

    MessageBoxScript();
    ~MessageBoxScript();
    MessageBoxScript(const MessageBoxScript&) = delete;
    MessageBoxScript& operator=(const MessageBoxScript&) = delete;

    // Queues an answer for the next box; `before` may look at or change the live box first.
    MessageBoxScript& Answer(std::function<void(QDialog&)> answer,
                             std::function<void(QDialog&)> before = {});
    MessageBoxScript& AnswerWith(std::uint16_t result) { return Answer(Click(result)); }

    // Queues a step for the next modal window of class W; with `ready`, for the first moment
    // that window is ready for it (a dialog that changes while it is open).
    template <class W>
    MessageBoxScript& Window(std::function<void(W&)> act, std::function<bool(W&)> ready = {})
    {
        windows_.push_back(Typed<W>(std::move(act), std::move(ready)));
        StartWatching();
        return *this;
    }
    // Acts on every modal window of class W that shows while the script lives and that no queued
    // step takes (protocol windows of a long run).
    template <class W>
    MessageBoxScript& EveryWindow(std::function<void(W&)> act, std::function<bool(W&)> ready = {})
    {
        every_.push_back(Typed<W>(std::move(act), std::move(ready)));
        StartWatching();
        return *this;
    }

    const QList<Tools::ShownMessage>& Shown() const { return shown_; }
    int Pending() const { return int(answers_.size()); }
    int PendingWindows() const { return int(windows_.size()); }
    // Drops the window steps that did not come, for a test that expects a window not to show.
    void DropPendingWindows() { windows_.clear(); }

private:
    struct Step {
        std::function<void(QDialog&)> before;
        std::function<void(QDialog&)> answer;
    };
    struct WindowStep {
        const QMetaObject* type;
        std::function<void(QWidget&)> act;
        std::function<bool(QWidget&)> ready;
    };

    template <class W>
    static WindowStep Typed(std::function<void(W&)> act, std::function<bool(W&)> ready = {})
    {
        WindowStep step{&W::staticMetaObject,
                        [act = std::move(act)](QWidget& w) { act(*static_cast<W*>(&w)); },
                        {}};
        if (ready)
            step.ready = [ready = std::move(ready)](QWidget& w) {
                return ready(*static_cast<W*>(&w));
            };
        return step;
    }

    void StartWatching();
    void Watch();
    bool HandleMessage(const Tools::ShownMessage& info, QDialog& dialog);

    std::deque<Step> answers_;
    QList<Tools::ShownMessage> shown_;
    std::deque<WindowStep> windows_;
    std::deque<WindowStep> every_;
    QList<QPointer<QWidget>> handled_;
    QTimer timer_;
    MessageBoxScript* outer_ = nullptr;
};
