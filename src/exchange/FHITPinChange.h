#pragma once

#include <ZRDialog.h>

class QLabel;
class QLineEdit;
class QPushButton;

// The new PIN of a holding, typed twice; the caller reads both edits after "Ändern". Both are
// masked.
class TfrmHITPinChange : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmHITPinChange(QWidget* owner = nullptr);

    QLabel* BNR() const { return bnr_; }
    QLineEdit* Pin1() const { return pin1_; }
    QLineEdit* Pin2() const { return pin2_; }
    QPushButton* AendernKnopf() const { return aendern_; }
    QPushButton* AbbrechenKnopf() const { return abbrechen_; }

private:
    QLabel* bnr_;
    QLineEdit* pin1_;
    QLineEdit* pin2_;
    QPushButton* aendern_;
    QPushButton* abbrechen_;
};
