#pragma once

#include "FGrundeinstellungenDaten.h"

#include <ZRDialog.h>

#include <FloatEditRegeln.h>

#include <DataSet.h>
#include <DataSetModel.h>
#include <Transaction.h>

#include <QLineEdit>
#include <QList>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTableView;
class QVBoxLayout;
class TEinstellungen;
class TZRPropGrid;

// A number entry with fixed decimals: only digits, the decimal comma and (for a negative minimum)
// a leading "-" can be typed; the range is checked by the dialog when it stores.
class TZahlEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TZahlEdit(QWidget* parent = nullptr);

    int Digits() const { return bereich_.digits; }
    void SetDigits(int digits);
    long double Min() const { return bereich_.min; }
    void SetMin(long double min);
    long double Max() const { return bereich_.max; }
    void SetMax(long double max);
    // What the entry means within the range (an empty entry reads as 0).
    FloatEditRegeln::Lesung Lesen() const;
    // The number shown, whatever the range; nothing when there is none.
    std::optional<long double> Value() const;
    void SetValue(std::optional<long double> value);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    FloatEditRegeln::Bereich bereich_;
};

// The farm's settings dialog: a list of categories chooses one of fourteen pages. The pages edit
// farm-wide settings (one settings bracket, ended by "Ok" or rolled back by every other close),
// workstation settings in the INI file (written on "Ok" only), and holdings, premises, breeds and
// livestock-unit keys in the dialog's own transaction, committed on "Ok" only.
//
// Controls carry object names, so that tests find them as a user finds them by their labels.
class TfrmGrundeinstellungen : public TZRDialog {
    Q_OBJECT
public:
    using TGrundKat = GrundeinstellungenDaten::TGrundKat;

    // The database must be connected; the settings' database is the same one.
    TfrmGrundeinstellungen(TEinstellungen& einstellungen, db::Database& datenbank,
                           QWidget* owner = nullptr);
    ~TfrmGrundeinstellungen() override;

    QListWidget* KategorieListe() const { return kategorien_; }
    QWidget* Seite(TGrundKat kategorie) const;
    void KategorieZeigen(TGrundKat kategorie);
    QPushButton* OkKnopf() const { return ok_; }
    QPushButton* AbbrechenKnopf() const { return abbrechen_; }

    // Stores everything in one go. Refuses (false, with a message, nothing written) when an entry
    // is out of its range.
    bool EinstellungenSpeichern();

    void done(int result) override;

private:
    struct ZahlFeld {
        TZahlEdit* edit;
        TGrundKat seite;
        QString name;
    };

    void KategorienAnlegen();
    QWidget* SeiteBetrieb();
    QWidget* SeiteBetriebsgruppen();
    QWidget* SeiteBetriebsstaetten();
    QWidget* SeiteRassen();
    QWidget* SeiteFruchtbarkeit();
    QWidget* SeiteEigenbesamung();
    QWidget* SeiteTermine();
    QWidget* SeitePrognosen();
    QWidget* SeiteGV();
    QWidget* SeiteHIT();
    QWidget* SeiteHITSystem();
    QWidget* SeiteFarben();
    QWidget* SeiteSicherung();
    QWidget* SeiteUpdates();

    TZahlEdit* Zahl(const QString& name, TGrundKat seite, const QString& feldname, int digits,
                    long double min, long double max);
    TZRPropGrid* NeuesGitter(QVBoxLayout* ort, TZRPropGrid* altes, const QString& name,
                             const QString& titel, const QString& werte);

    void EinstellungenLaden();
    bool EingabenPruefen();
    // The number edits (of one page only, when given).
    bool ZahlenPruefen(std::optional<TGrundKat> nurSeite);
    bool GVNamePruefen();
    void Ok();

    void GruppenOeffnen(int id);
    void GruppeBearbeiten(bool neu);
    void GruppeEntfernen();
    void StaettenOeffnen(int id);
    void StaetteBearbeiten(bool neu);
    void StaetteEntfernen();
    void RassenOeffnen(int id);
    void RasseHinzufuegen();
    void RasseEntfernen();
    void RassenwahlFuellen();
    void RasseGewaehlt(int position);
    // Shows the current breed's fertility values.
    void RasseZeigen();
    // Checks the shown fertility values and posts them into their breed; false when refused.
    bool RasseUebernehmen();
    void SollKalbenBerechnen();
    void BerechnetSetzen(TZahlEdit* edit, std::optional<int> wert);

    void EigenbesamungLaden(bool neuFuellen, bool letzte);
    void EigenbesamungSpeichern();
    void StationGewaehlt(int position);
    void StationHinzufuegen();
    void StationEntfernen();

    void TermineLaden();
    void TermineSpeichern();

    void GVSchluesselLaden(int id);
    bool GVSchluesselSpeichern();
    void GVSchluesselGewaehlt(int position);
    void GVSchluesselHinzufuegen();
    void GVSchluesselEntfernen();

    void HITStandardSetzen();
    void VerzeichnisWaehlen(QLineEdit* edit);

    TEinstellungen& e_;
    db::Transaction taGrund_;
    db::DataSet gruppen_;
    db::DataSet staetten_;
    db::DataSet rassen_;
    db::DataSet gvSchluessel_;
    db::DataSetModel gruppenModell_;
    db::DataSetModel staettenModell_;
    db::DataSetModel rassenModell_;
    std::vector<ZahlFeld> zahlen_;

    QListWidget* kategorien_;
    QStackedWidget* seiten_;
    QPushButton* ok_;
    QPushButton* abbrechen_;
    QPushButton* hilfe_;

    // Betrieb
    QLineEdit* name_;
    QLineEdit* adresse_;
    QLineEdit* plz_;
    QLineEdit* ort_;
    TZahlEdit* flaeche_;
    QComboBox* waehrung_;
    QComboBox* zeitraum_;
    QComboBox* knr_;
    // Betriebsgruppen, Betriebsstätten, Rassen
    QTableView* gruppenGitter_;
    QTableView* staettenGitter_;
    QTableView* rassenGitter_;
    // Fruchtbarkeit
    QComboBox* rassenWahl_;
    TZahlEdit* sollKalben_;
    std::vector<std::pair<TZahlEdit*, QString>> fruchtbarkeit_;  // edit and its column
    int rasseID_ = 0;  // the breed whose values the edits show
    // Eigenbesamung
    QComboBox* stationen_;
    QPushButton* stationEntfernen_;
    QVBoxLayout* stationOrt_;
    TZRPropGrid* stationGitter_ = nullptr;
    int station_ = -1;  // index into the station table of the station shown
    // Termine global
    QComboBox* terminListe_;
    QCheckBox* terminStart_;
    QCheckBox* autostart_;
    TZRPropGrid* terminGitter_;
    // Prognosen
    TZahlEdit* maxKuhzahl_;
    TZahlEdit* mKalbVerkaufen_;
    TZahlEdit* kalbBesamen_;
    TZahlEdit* kuhBesamen_;
    TZahlEdit* mastVerkaufen_;
    QComboBox* prognoseGV_;
    QCheckBox* gvLinie_;
    // GV Schlüssel
    QComboBox* gvWahl_;
    QVBoxLayout* gvOrt_;
    TZRPropGrid* gvGitter_ = nullptr;
    QList<int> gvIDs_;
    int gvID_ = -1;  // the key shown
    // HI Tier
    TZahlEdit* meldefrist_;
    QCheckBox* meldungAuto_;
    QCheckBox* frageEnde_;
    QCheckBox* dfue_;
    QCheckBox* geburtVerlauf_;
    QCheckBox* geburtVerbleib_;
    QCheckBox* geburtET_;
    QCheckBox* geburtName_;
    // HI Tier System
    QLineEdit* primaerAddr_;
    QLineEdit* primaerIP_;
    QLineEdit* sekundaerAddr_;
    QLineEdit* sekundaerIP_;
    TZahlEdit* portNormal_;
    TZahlEdit* portTest_;
    QComboBox* systemart_;
    // Farben
    QComboBox* listenfarbe_;
    QCheckBox* statusSW_;
    QCheckBox* symbolHintergrund_;
    // Sicherung
    QLineEdit* sicherungVerzeichnis_;
    QCheckBox* autoSicherung_;
    QLineEdit* autoVerzeichnis_;
    TZahlEdit* autoAnzahl_;
    // Updates
    QComboBox* updateIntervall_;
    QLabel* letztePruefung_;
};

