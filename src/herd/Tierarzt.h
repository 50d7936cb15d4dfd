#pragma once

#include <QHash>
#include <QList>
#include <QStandardItemModel>
#include <QString>
#include <QWidget>

class QPushButton;
class QTableView;

// The treatments list with "Neu", "Bearbeiten", "Buchen" and "Löschen"/"Stornieren", for one
// animal (the card) or for the animals of a group treatment (rows of the treatments made while
// the host is open). Reads in the data module's TATierarzt and writes in TATierarztEdit; it is
// the one handler of the module's treatment change event while it exists.
class TframeTierarzt : public QWidget {
    Q_OBJECT
public:
    enum Rolle { IDRolle = Qt::UserRole + 1, BestandsbuchRolle, GruppeRolle };
    enum Spalte {
        SpBestandsbuch,
        SpDatum,
        SpVerabreichung,
        SpMenge,
        SpArzneimittel,
        SpWartezeit,
        SpGrund,
        SpStandort,
        Spaltenzahl
    };

    explicit TframeTierarzt(QWidget* parent = nullptr);
    ~TframeTierarzt() override;

    // Empty: one animal, chosen by SetTier. Otherwise group mode for these animals (the first is
    // the current one); the list must live as long as the frame.
    void Initialisieren(const QList<int>* tiere = nullptr);
    void SetTier(int id);
    int Tier() const { return tier_; }
    void Aktualisieren(bool commit);
    // Runs the edit dialog on a new or the current treatment; true when it was stored.
    bool BehandlungBearbeiten(bool neu);

    int AktuelleID() const;
    QString AktuellerStatus() const;
    const QList<int>& Erzeugte() const { return erzeugte_; }

    QTableView* Liste() const { return liste_; }
    QStandardItemModel* Modell() { return &modell_; }
    QPushButton* NeuKnopf() const { return neu_; }
    QPushButton* BearbeitenKnopf() const { return bearbeiten_; }
    QPushButton* BuchenKnopf() const { return buchen_; }
    QPushButton* LoeschenKnopf() const { return loeschen_; }

private:
    // The change event of the database while the window is open.
    QMetaObject::Connection aenderung_;
    bool Gruppenmodus() const { return tiere_ && !tiere_->isEmpty(); }
    void KnoepfeSetzen();
    void Buchen();
    void Loeschen();
    void Zeile(const QList<QVariant>& werte, const QStringList& namen);

    const QList<int>* tiere_ = nullptr;
    int tier_ = 0;
    QList<int> erzeugte_;
    // The chosen animals as the user knew them when choosing, to name one deleted since.
    QHash<int, QString> tierTexte_;
    QStandardItemModel modell_;
    QTableView* liste_;
    QPushButton* neu_;
    QPushButton* bearbeiten_;
    QPushButton* buchen_;
    QPushButton* loeschen_;
};
