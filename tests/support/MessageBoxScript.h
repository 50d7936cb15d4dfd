#pragma once

#include <Meldung.h>

#include <QDialog>
#include <QList>
#include <QString>

#include <cstdint>
#include <deque>
#include <functional>

// Answers the message boxes a test provokes, in order, and keeps what they showed. A box that
// comes when no answer is queued fails the test and is closed, so no test can hang on one.
// Only one script may live at a time.
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

    const QList<Tools::ShownMessage>& Shown() const { return shown_; }
    int Pending() const { return int(answers_.size()); }

private:
    struct Step {
        std::function<void(QDialog&)> before;
        std::function<void(QDialog&)> answer;
    };
    std::deque<Step> answers_;
    QList<Tools::ShownMessage> shown_;
};
