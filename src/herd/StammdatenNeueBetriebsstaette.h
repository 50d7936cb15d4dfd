#pragma once

#include <ZRDialog.h>

#include <QDate>

class QComboBox;
class TDBZRDateEdit;

// "Neue Betriebsstätte": the date and the premises of an animal's premises change.
class TfrmNeueBetriebsstaette : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 2310;

    explicit TfrmNeueBetriebsstaette(QWidget* owner = nullptr);

    // The date typed; after "Ok" the one accepted.
    QDate Datum() const;
    int Betriebsstaette() const;
    QComboBox* Auswahl() const { return stall_; }
    TDBZRDateEdit* DatumFeld() const { return datum_; }

    void accept() override;

private:
    TDBZRDateEdit* datum_ = nullptr;
    QDate gewaehlt_;  // the date as it was when "Ok" was accepted
    QComboBox* stall_ = nullptr;
};

namespace FNeueBetriebsstaette {
// True when "Ok" was chosen; then datum and stall hold the choice.
bool NeueBetriebsstaetteWaehlen(QWidget* owner, QDate& datum, int& stall);
}  // namespace FNeueBetriebsstaette
