#pragma once

#include "FListeNormal.h"

#include <DataSet.h>
#include <Transaction.h>

#include <QString>
#include <QWidget>

#include <functional>

class QGroupBox;
class QPushButton;
class TZRDBcxGrid;
class TZRcxGridDBTableView;

namespace db {
class Database;
class Query;
}  // namespace db

// The designs of one built-in list dialog (rows of T_LISTEN with a negative ID whose BEDINGUNGEN
// holds the list type) with a check mark each; shows, previews, prints or exports the host's rows
// through every ticked design, and keeps the designs.
class TframeInternListeWahl : public QWidget {
    Q_OBJECT
public:
    explicit TframeInternListeWahl(db::Database& datenbank, QWidget* parent = nullptr);
    ~TframeInternListeWahl() override;

    // Set by the host before Initialisieren.
    QString ListenTyp;
    QString Felder;
    QString StandardDesigns;
    db::DataSet* Daten = nullptr;
    QString DatenSQL;
    QString SchnellwahlSQL;
    QString Titelzusatz;
    int Betriebsstaette = 0;  // 0 or less: all premises
    bool BetriebsstaetteDrucken = false;

    std::function<void(TframeInternListeWahl&, int listeId)> OnBildschirmFelderAnlegen;
    std::function<void(TframeInternListeWahl&, int listeId)> OnDruckFelderAnlegen;
    std::function<void(TframeInternListeWahl&)> OnVorAusgabe;
    std::function<void(TframeInternListeWahl&)> OnNachAusgabe;
    std::function<void(TframeInternListeWahl&)> OnHilfe;
    std::function<void(TframeInternListeWahl&, FListeNormal::Fensterklasse&)> OnFensterklasse;

    // With the screen: no "Exportieren" (the list windows export); without: no "Anzeigen" and
    // no "B. Bildschirm". Then loads the designs.
    void Initialisieren(bool mitBildschirm);
    // Reloads the designs and focuses the one with the ID (0 or not there: the first).
    void DesignsLaden(int id);
    // Closes the queries and commits; the host calls it when it closes.
    void Schliessen();
    // Only inside OnBildschirmFelderAnlegen / OnDruckFelderAnlegen.
    void BildschirmFeldAnlegen(int listeId, const QString& feld, const QString& titel, int breite);
    void DruckFeldAnlegen(int listeId, const QString& feld, const QString& titel, int position,
                          int breite);
    // 0 show, 1 preview, 2 print, 3 export.
    void Ausgeben(int art);

    db::DataSet& QListen() { return listen_; }
    db::Transaction& TAInternListeWahl() { return transaktion_; }
    TZRcxGridDBTableView* ListeView() const { return view_; }
    int AuswahlSpalte() const { return auswahl_; }
    // The focused design; 0 when there is none.
    int FokusID();
    QPushButton* Knopf(const QString& name) const;

private:
    void MehrClick();
    void NeuClick();
    void BearbeitenBildschirmClick();
    void BearbeitenDruckClick();
    void UmbenennenClick();
    void LoeschenClick();
    void LadenClick();
    void SpeichernClick();
    void StandardClick();
    void DesignOeffnen(int id);
    void KnoepfePruefen();
    void Starten();
    // Runs a handler of a button; what fails is shown and the frame stays usable.
    void Sicher(const std::function<void()>& aktion);
    QPushButton* NeuerKnopf(const char* name, const QString& text);

    db::Transaction transaktion_;
    db::DataSet listen_;
    db::DataSet listenEdit_;
    db::Query* bildschirmInsert_ = nullptr;
    db::Query* druckInsert_ = nullptr;
    QGroupBox* gruppe_;
    TZRDBcxGrid* grid_;
    TZRcxGridDBTableView* view_;
    int auswahl_ = -1;
    bool mehr_ = false;
};
