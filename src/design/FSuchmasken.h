#pragma once

#include <ZRDialog.h>

#include <Transaction.h>

#include <QList>
#include <QString>
#include <QStringList>

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QListWidget;
class QPushButton;
class TZREditGrid;

namespace db {
class Database;
}

// "Suchmasken": the stored animal filters of the animal selection. One mask is edited at a time;
// it is checked against the database and stored (and committed) before another one is loaded,
// a new one begun, the order changed or the mask tried out.
class TfrmSuchmasken : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 13500;

    explicit TfrmSuchmasken(db::Database& datenbank, QWidget* owner = nullptr);
    ~TfrmSuchmasken() override;

    QLineEdit* Bezeichnung() const { return bezeichnung_; }
    QComboBox* Basis() const { return basis_; }
    TZREditGrid* Filter() const { return filter_; }
    QListWidget* Liste() const { return liste_; }
    QPushButton* Knopf(const QString& name) const;
    // The mask being edited: 0 while none is stored (none at all, or a new one).
    int MaskeID() const { return maskeId_; }
    bool NeueMaskeInArbeit() const { return neu_; }

    void done(int result) override;

private:
    struct Gespeichert {
        QString name;
        QString basis;
        QString bedingungen;
    };

    void AnsichtenLaden();
    // The masks in their order; the row of the ID becomes current (else the first).
    void ListeLaden(int id);
    int ListenID() const;
    // id -1: the mask being edited.
    void MaskeLaden(bool festschreiben, int id);
    void MaskeAnzeigen(int id);
    void FreigabeAktualisieren();
    QList<QStringList> FilterZeilen() const;
    bool MaskeVorhanden() const { return neu_ || maskeId_ > 0; }
    bool Geaendert() const;
    bool MaskePruefen();
    void MaskeSpeichern(bool behalten);
    void BezeichnungPruefen();
    void Posten();
    void NeueMaske();
    void MaskeLoeschen();
    void Testen();
    void Verschieben(bool auf);
    void FilterHinzu();
    void FilterEntfernen();
    bool FilterKeyPress(QKeyEvent* taste);
    void PickListeOeffnen();
    bool SchliessenErlaubt();

    db::Transaction transaktion_;
    QLineEdit* bezeichnung_;
    QComboBox* basis_;
    TZREditGrid* filter_;
    QListWidget* liste_;
    QList<int> listenIDs_;
    QList<int> reihungen_;
    int maskeId_ = 0;
    bool neu_ = false;
    int neueReihung_ = 0;
    Gespeichert gespeichert_;
    // Set when the user gave up an unsaved new mask in the name dialog; cleared when a save fails.
    bool verwerfen_ = false;
    bool imNamensdialog_ = false;
};
