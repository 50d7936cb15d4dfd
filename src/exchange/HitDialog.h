#pragma once

#include <ZRDialog.h>

#include <QString>

class QPushButton;

// The buttons of the answer dialog, in the order they are shown.
enum THITKnopf : unsigned {
    hkRichtig = 1,    // "Richtig", result 4 (retry)
    hkAendern = 2,    // "Ändern", result 1 (OK)
    hkVerwerfen = 4,  // "Verwerfen", result 2 (cancel)
    hkTrennen = 8,    // "Verbindung trennen", result 3 (abort)
};
using THITKnoepfe = unsigned;

// The answer dialog with which the user decides about a report the server queried back or
// rejected. Type 0 "Warnung", 1 "Fehler", 2 "Information", 3 "Bestätigung", 4 the application's
// title without an icon. "Richtig" is the default button and Esc means "Ändern" when they are
// there.
class THITDialog : public TZRDialog {
    Q_OBJECT
public:
    THITDialog(const QString& meldung, int typ, THITKnoepfe knoepfe, QWidget* owner = nullptr);

    QPushButton* Knopf(THITKnopf knopf) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* richtig_ = nullptr;
    QPushButton* aendern_ = nullptr;
    QPushButton* verwerfen_ = nullptr;
    QPushButton* trennen_ = nullptr;
};

THITDialog* HITDialogErzeugen(const QString& meldung, int typ, THITKnoepfe knoepfe,
                              QWidget* owner = nullptr);
// Shows it modally; the result of the button pressed.
int HITDialogZeigen(const QString& meldung, int typ, THITKnoepfe knoepfe, QWidget* owner = nullptr);
