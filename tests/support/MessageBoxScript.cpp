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

MessageBoxScript::MessageBoxScript()
{
    Tools::SetMeldungHandler([this](const Tools::ShownMessage& info, QDialog& dialog) {
        shown_.append(info);
        if (answers_.empty()) {
            ADD_FAILURE() << "Unerwartete Meldung: " << info.text.toStdString();
            dialog.reject();
            return;
        }
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
    });
}

MessageBoxScript::~MessageBoxScript()
{
    Tools::SetMeldungHandler({});
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " erwartete Meldung(en) kamen nicht";
}

MessageBoxScript& MessageBoxScript::Answer(std::function<void(QDialog&)> answer,
                                           std::function<void(QDialog&)> before)
{
    answers_.push_back({std::move(before), std::move(answer)});
    return *this;
}
