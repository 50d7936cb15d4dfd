#pragma once

#include <ZRDialog.h>

#include <QList>

class QListWidget;
class TEinstellungen;
class TDM;

// "Betriebsstätte auswählen": the premises every user list is restricted to (all premises or
// one), the workstation's setting AktBetriebListen. "Ok" or a double click stores the choice,
// which the main window's status bar follows through the settings' change notification.
class TfrmWahlBetriebListen : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 10300;

    TfrmWahlBetriebListen(TDM& dm, TEinstellungen& einstellungen, QWidget* owner = nullptr);
    // With the program's data module and settings.
    explicit TfrmWahlBetriebListen(QWidget* owner = nullptr);

    QListWidget* Liste() const { return liste_; }

    void accept() override;

private:
    TEinstellungen& einstellungen_;
    QListWidget* liste_;
    QList<int> ids_;
};
