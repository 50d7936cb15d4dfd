#pragma once

#include <ZRDialog.h>

#include <DataSet.h>
#include <Transaction.h>

#include <QString>

class QGroupBox;
class QPushButton;
class TAMCheckBox;
class TZRDBcxGrid;
class TZRFilterEdit;
class TZRcxGridDBTableView;

// "Stier Wahl": the choice of a sire among the bulls known to the herd records (V_STIER_WAHL).
// The list is read completely, in the dialog's own read transaction, when the dialog is made.
class TfrmStierWahl : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmStierWahl(QWidget* owner = nullptr);
    ~TfrmStierWahl() override;

    // Makes the first row whose STIER begins with the text (letter case ignored) current; the
    // list stays where it is when no row does.
    void Positionieren(const QString& stier);
    // The current row; empty when the list has none.
    QString Stier();
    QString Nummer();

    db::DataSet& Liste() { return liste_; }
    TZRFilterEdit* Suche() const { return suche_; }
    TZRcxGridDBTableView* Ansicht() const { return ansicht_; }
    QPushButton* OkKnopf() const { return ok_; }
    QPushButton* AbbrechenKnopf() const { return abbrechen_; }

protected:
    // For the bull choice: the list and its texts are set up by the derived dialog.
    TfrmStierWahl(QWidget* owner, const QString& titel);
    // Reads the list completely.
    void ListeOeffnen();
    QGroupBox* Gruppe() const { return gruppe_; }
    // Opens the view's columns; the derived dialog calls it after its fields are labelled.
    void SpaltenEinrichten();

    db::Transaction ta_;
    db::DataSet liste_;

private:
    void Aufbauen();
    void Waehlen();

    QString suchtext_;
    QGroupBox* gruppe_ = nullptr;
    TZRFilterEdit* suche_ = nullptr;
    TZRDBcxGrid* gitter_ = nullptr;
    TZRcxGridDBTableView* ansicht_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* abbrechen_ = nullptr;
};

// "Bullen Wahl": the choice among the farm's own bulls; hidden bulls only on request.
class TfrmBullenWahl : public TfrmStierWahl {
    Q_OBJECT
public:
    explicit TfrmBullenWahl(QWidget* owner = nullptr);

    // Makes the bull current; false (and the list where it was) when it is not listed.
    bool Positionieren(int bulleID);
    // The current row's bull; 0 when the list has none.
    int BulleID();
    // Reads the list again (committing the read transaction) for the state of the check box,
    // staying on the bull it was on.
    void ListeLaden();

    TAMCheckBox* UnsichtbareBox() const { return unsichtbare_; }
    QPushButton* StammdatenKnopf() const { return stammdaten_; }

private:
    TAMCheckBox* unsichtbare_;
    QPushButton* stammdaten_;
};

namespace FStierWahl {
// Lets the user choose a sire, the list placed on the first whose name begins with vorgabe.
// True after "Ok" with the choice in stier and nummer; both unchanged otherwise.
bool StierWaehlen(QWidget* owner, const QString& vorgabe, QString& stier, QString& nummer);
}  // namespace FStierWahl

namespace FBullenWahl {
// Lets the user choose one of the farm's bulls, the list placed on bulleID. True after "Ok"
// with the chosen bull in bulleID; unchanged otherwise.
bool BulleWaehlen(QWidget* owner, int& bulleID);
}  // namespace FBullenWahl
