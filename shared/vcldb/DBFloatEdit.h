#pragma once

#include "DBZRBaseEdit.h"
#include "FloatEditRegeln.h"

#include <optional>

// The number edit: fixed decimals, a range, an optional empty value and a display factor
// (shown value = field value × Factor). Only digits, one decimal comma (with Digits > 0) and a
// leading "-" (with a negative Min) can be typed. Leaving with an entry that is no number, lies
// outside Min .. Max or does not fit the column's type stores nothing: the user is told the
// allowed range, the value from before the entry comes back selected and the focus stays. A
// stored value that was not typed over is left as it is, even outside the range. An emptied edit
// stores NULL when AllowNull is set; without it the empty text means 0.
// Without a dataset it is a plain number entry with the same keys; the form checks the entry
// (Fehlertext) when it takes the value, and Escape goes to the form.
class TDBFloatEdit : public TDBZRBaseEdit {
    Q_OBJECT
public:
    explicit TDBFloatEdit(QWidget* parent = nullptr);

    int Digits() const { return bereich_.digits; }
    void SetDigits(int digits);  // above 18 gives 18
    long double Min() const { return bereich_.min; }
    void SetMin(long double min);  // above Max gives Max
    long double Max() const { return bereich_.max; }
    void SetMax(long double max);  // below Min gives Min
    bool AllowNull() const { return bereich_.allowNull; }
    void SetAllowNull(bool on) { bereich_.allowNull = on; }
    long double Factor() const { return factor_; }
    void SetFactor(long double factor);  // 0 is refused

    // The value in field units as the edit shows it; nothing while empty or unreadable.
    std::optional<long double> Value() const;
    void SetValue(std::optional<long double> value);
    // Why the shown entry cannot be taken (not a number, outside Min .. Max or what the bound
    // column holds); empty when it can.
    QString Fehlertext() const;

protected:
    void DataChange() override;
    void UpdateData() override;
    bool Verlassen_Schreiben() override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void Zeigen(std::optional<long double> angezeigt);
    void NeuZeigen(std::optional<long double> wert);
    std::optional<long double> FeldWert() const;
    // Min .. Max, narrowed to what the bound column can hold.
    FloatEditRegeln::Bereich Pruefbereich() const;

    FloatEditRegeln::Bereich bereich_;
    long double factor_ = 1;
    QString eintrittsText_;
};
