#pragma once

#include <ZRDialog.h>

#include <QList>

class QPushButton;
class TframeTierarzt;

// "Gruppenbehandlung erfassen": the treatments frame for a set of animals. On its first showing
// it gives the register hint for large groups and opens a new treatment at once.
class TfrmGruppenbehandlung : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 2420;

    explicit TfrmGruppenbehandlung(QWidget* owner = nullptr);

    // The list must live as long as the dialog.
    void TiereSetzen(const QList<int>* tiere);

    TframeTierarzt* Rahmen() const { return rahmen_; }
    QPushButton* SchliessenKnopf() const { return schliessen_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ErsteAnzeige();

    const QList<int>* tiere_ = nullptr;
    bool angezeigt_ = false;
    TframeTierarzt* rahmen_;
    QPushButton* schliessen_;
    QPushButton* hilfe_;
};
