#pragma once

#include "DBZRBaseEdit.h"

class QCalendarWidget;

// The date edit: free text completed as typed short (ZRDateTools::FormatDateNice) when it is
// left; Up and Down step a day, F12 sets today (while the dataset can edit). The button at its
// end (or Alt+Down) opens a calendar, on today's date when the field is empty. It is 85 pixels
// wide, or as wide as a whole date and the button need in its font, and never narrower than that.
class TDBZRDateEdit : public TDBZRBaseEdit {
    Q_OBJECT
public:
    explicit TDBZRDateEdit(QWidget* parent = nullptr);

    // The date shown; invalid when the text names none.
    QDate Date() const;
    // Shows a date, and puts it into the field when the dataset edits (or can be put into edit).
    // False when the field cannot take it now; an edit without a dataset always takes it.
    bool SetDate(const QDate& date);

    // Opens the calendar below the edit.
    void KalenderOeffnen();
    QCalendarWidget* Kalender() const { return kalender_; }

protected:
    bool Verlassen_Schreiben() override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BreiteAnpassen();

    QCalendarWidget* kalender_ = nullptr;
};

// The date field's text setter: the text is completed first, then read as "dd.MM.yyyy". Throws
// db::Error for a text that names no date; an empty text gives NULL.
namespace TZRDateField {
void SetText(db::Field& field, const QString& text);
}
