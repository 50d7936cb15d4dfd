#include "MessageBoxScript.h"

#include <MeldungDialog.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

std::function<void(QDialog&)> MessageBoxScript::Click(std::uint16_t result)
{
    return [result](QDialog& dialog) {
        auto* box = qobject_cast<Tools::TMeldungDialog*>(&dialog);
        ASSERT_NE(box, nullptr);
        for (int b = Tools::mbYes; b < Tools::mbHelp; ++b) {
            const auto btn = static_cast<Tools::TMsgDlgBtn>(b);
            if (Tools::TMeldungDialog::buttonResult(btn) != result)
                continue;
            for (QPushButton* push : box->pushButtons()) {
                if (push->text() == Tools::TMeldungDialog::buttonCaption(btn)) {
                    QTest::mouseClick(push, Qt::LeftButton);
                    return;
                }
            }
        }
        ADD_FAILURE() << "Die Meldung hat keinen Knopf für das Ergebnis " << result;
        dialog.reject();
    };
}

std::function<void(QDialog&)> MessageBoxScript::ClickText(const QString& caption)
{
    return [caption](QDialog& dialog) {
        for (QPushButton* push : dialog.findChildren<QPushButton*>()) {
            if (push->text() == caption) {
                QTest::mouseClick(push, Qt::LeftButton);
                return;
            }
        }
        ADD_FAILURE() << "Die Meldung hat keinen Knopf " << caption.toStdString();
        dialog.reject();
    };
}

std::function<void(QDialog&)> MessageBoxScript::Enter()
{
    return [](QDialog& dialog) {
        QWidget* target = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
        QTest::keyClick(target, Qt::Key_Return);
    };
}

std::function<void(QDialog&)> MessageBoxScript::Escape()
{
    return [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); };
}

namespace {

MessageBoxScript* innermost = nullptr;

// Failures of the running test so far (a step's own failures show as a rise).
int Failures()
{
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    if (!info)
        return 0;
    const testing::TestResult* result = info->result();
    int failures = 0;
    for (int i = 0; i < result->total_part_count(); ++i)
        failures += result->GetTestPartResult(i).failed() ? 1 : 0;
    return failures;
}

// Closes a window a failed step left open.
void CloseAfterFailure(QWidget* w)
{
    if (!w || !w->isVisible())
        return;
    if (auto* dialog = qobject_cast<QDialog*>(w))
        dialog->reject();
    else
        w->close();
}

}  // namespace

MessageBoxScript::MessageBoxScript() : outer_(innermost)
{
    innermost = this;
    if (outer_)
        return;
    Tools::SetMeldungHandler([](const Tools::ShownMessage& info, QDialog& dialog) {
        for (MessageBoxScript* s = innermost; s; s = s->outer_) {
            if (s->HandleMessage(info, dialog))
                return;
        }
        innermost->shown_.append(info);
        ADD_FAILURE() << "Unerwartete Meldung: " << info.text.toStdString();
        dialog.reject();
    });
}

MessageBoxScript::~MessageBoxScript()
{
    timer_.stop();
    for (MessageBoxScript** s = &innermost; *s; s = &(*s)->outer_) {
        if (*s == this) {
            *s = outer_;
            break;
        }
    }
    if (!innermost)
        Tools::SetMeldungHandler({});
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " erwartete Meldung(en) kamen nicht";
    EXPECT_TRUE(windows_.empty()) << windows_.size() << " erwartete(s) Fenster kam(en) nicht";
}

bool MessageBoxScript::HandleMessage(const Tools::ShownMessage& info, QDialog& dialog)
{
    if (answers_.empty())
        return false;
    shown_.append(info);
    Step step = std::move(answers_.front());
    answers_.pop_front();
    if (step.before)
        step.before(dialog);
    step.answer(dialog);
    // An answer that did not close the box (a wrong key) must not leave the test hanging.
    if (dialog.isVisible()) {
        ADD_FAILURE() << "Die Antwort hat die Meldung nicht geschlossen: "
                      << info.text.toStdString();
        dialog.reject();
    }
    return true;
}

MessageBoxScript& MessageBoxScript::Answer(std::function<void(QDialog&)> answer,
                                           std::function<void(QDialog&)> before)
{
    answers_.push_back({std::move(before), std::move(answer)});
    return *this;
}

void MessageBoxScript::StartWatching()
{
    if (timer_.isActive())
        return;
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Watch(); });
    timer_.start();
}

void MessageBoxScript::Watch()
{
    handled_.removeIf([](const QPointer<QWidget>& w) { return !w || !w->isVisible(); });
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible() || qobject_cast<Tools::TMeldungDialog*>(w) || handled_.contains(w))
        return;
    std::function<void(QWidget&)> act;
    if (!windows_.empty() && windows_.front().type->cast(w) &&
        (!windows_.front().ready || windows_.front().ready(*w))) {
        act = std::move(windows_.front().act);
        windows_.pop_front();
    } else {
        for (const WindowStep& step : every_) {
            if (step.type->cast(w) && (!step.ready || step.ready(*w))) {
                act = step.act;
                break;
            }
        }
    }
    if (!act)
        return;
    // Marked before acting: the step may open a modal window of its own, whose event loop runs
    // this watch again.
    handled_.append(w);
    QPointer<QWidget> window(w);
    const int failuresBefore = Failures();
    // Qt does not fire a timer again while its own timeout still runs: a window the step opens is
    // watched by a timer of the step's own.
    QTimer nested;
    nested.setInterval(timer_.interval());
    QObject::connect(&nested, &QTimer::timeout, [this] { Watch(); });
    nested.start();
    act(*w);
    nested.stop();
    if (Failures() > failuresBefore)
        CloseAfterFailure(window);
}
