#pragma once

#include <ZRDialog.h>

#include <QStringList>

class QPlainTextEdit;

// The protocol of a backup or restore run, read-only and resizable.
class TfrmProtokoll : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmProtokoll(QWidget* owner = nullptr);
    QPlainTextEdit* Memo() const { return memo_; }

private:
    QPlainTextEdit* memo_;
};

// Shows the lines modally, scrolled to their end when asked.
void ProtokollZeigen(const QStringList& zeilen, bool zumEnde, QWidget* owner = nullptr);
