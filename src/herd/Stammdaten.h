#pragma once

#include "TierSpeicher.h"

#include <DataSet.h>
#include <Transaction.h>
#include <ZRDialog.h>

#include <QList>
#include <QToolButton>

#include <exception>
#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QAction;
class QMenu;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class TDBZRDateEdit;
class TframeTierarzt;
class TZRDBcxGrid;
class TZRcxGridDBTableView;

namespace FMeldungErrorEdit {
// The error box with OK and "Rückgängig"; true when OK was chosen.
bool MeldungErrorEdit(const QString& text);
}  // namespace FMeldungErrorEdit

// The quick-list step button: a press in its upper-left part steps back, elsewhere forward.
class TSchnellKnopf : public QToolButton {
    Q_OBJECT
public:
    explicit TSchnellKnopf(QWidget* parent = nullptr);
signals:
    void Schritt(bool zurueck);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool zurueck_ = false;
};

// "Tieransicht - Stammdaten": one animal on eight pages (mode 0: the animals of a quick list,
// mode 1: new animals). Opened modally by its caller after TierAnzeigen. Works in the data
// module's animal transaction, which it commits at its reloads and when it closes; until then
// an undo in the error box rolls back to the last commit.
class TfrmStammdaten : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmStammdaten(QWidget* owner = nullptr);
    ~TfrmStammdaten() override;

    void TierAnzeigen(int tierID, int modus, const QString& schnellwahlSQL);
    // Reloads the animal tierID (-1: the shown one); with commit (or after another workstation
    // changed animal data) the animal transaction is committed first.
    void TierNeuLaden(bool mitCommit, int tierID = -1);
    // Stores the open edits and shows another animal; false when storing failed.
    bool TierWechseln(int tierID);
    // Stores the open edits of the shown page, with mitBetriebsstaetten also the check of the
    // premises periods; false when a check failed (its message was shown) and the card keeps
    // the edit.
    bool EingabenSpeichern(bool mitBetriebsstaetten = true, bool schliessenErlaubt = false);
    // Shows a page after storing the open edits; false when the page's button is disabled or
    // storing failed.
    bool SeiteWechseln(int seite);
    int AktuelleSeite() const { return seite_; }
    void SchnellWeiterschalten(bool bewegen, bool zurueck);
    QString TierBezeichnung() const;
    // The data module's hook for CHANGE_STAMMDATEN: the next reload commits first.
    void StammdatenGeaendert() { datenGeaendert_ = true; }
    bool DatenGeaendert() const { return datenGeaendert_; }

    // Opens the insemination dialog for a new insemination or for the selected one.
    void BesamungBearbeiten(bool neu);
    // The insemination dialog's change event: reloads the card with commit.
    void BesamungenGeaendert();
    // Opens the new-calving dialog; without insemination only for a cow ready for breeding.
    void KalbungEingeben(bool mitBesamung);

    int TierID() const { return satz_.id; }
    int Modus() const { return modus_; }
    QWidget* Feld(Stammdaten::TFeld feld) const;
    QToolButton* Seitenknopf(int seite) const { return seitenKnoepfe_.value(seite); }
    QPushButton* SpeichernKnopf() const { return auswahl_; }
    QPushButton* AuswahlKnopf() const { return auswahl_; }
    QMenu* KalbungenMenue() const { return kalbungenMenue_; }
    QAction* KalbungBearbeitenEintrag() const { return kalbungBearbeiten_; }
    QAction* ZumKalbEintrag() const { return zumKalb_; }
    QAction* KalbungLoeschenEintrag() const { return kalbungLoeschen_; }
    QAction* KalbungOhneBesamungEintrag() const { return kalbungOhneBesamung_; }
    QToolButton* KalbungenKnopf() const { return kalbungenKnopf_; }
    QMenu* BesamungenMenue() const { return besamungenMenue_; }
    QAction* BesamungBearbeitenEintrag() const { return besamungBearbeiten_; }
    QAction* BesamungLoeschenEintrag() const { return besamungLoeschen_; }
    QToolButton* BesamungenKnopf() const { return besamungenKnopf_; }
    QToolButton* VaterKnopf() const { return vaterKnopf_; }
    TZRcxGridDBTableView* BesamungenAnsicht() const { return besamungenAnsicht_; }
    TZRcxGridDBTableView* KalbungenAnsicht() const { return kalbungenAnsicht_; }
    db::DataSet& AktuelleBesamungen() { return besamungen_; }
    db::DataSet& Kalbungen() { return kalbungen_; }
    QToolButton* NeuKnopf() const { return neu_; }
    TSchnellKnopf* SchnellKnopf() const { return schnellW_; }
    QPushButton* SchliessenKnopf() const { return schliessen_; }
    db::DataSet& Zeitraeume() { return zeitraeume_; }
    db::DataSet& Bemerkungen() { return bemerkungen_; }
    db::DataSet& MLP() { return mlp_; }
    db::DataSet& Schnellwahl() { return schnell_; }
    TZRcxGridDBTableView* MLPAnsicht() const { return mlpAnsicht_; }
    TZRcxGridDBTableView* BemerkungenAnsicht() const { return bemerkungenAnsicht_; }
    TframeTierarzt* TierarztRahmen() const { return tierarzt_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    // A failed check found while a dataset posts; PruefFehler reports it outside the post.
    struct TPruefAbbruch : std::exception {
        TPruefAbbruch(int s, QWidget* f, db::DataSet* d, QString t)
            : seite(s), feld(f), daten(d), text(std::move(t))
        {
        }
        const char* what() const noexcept override { return "Prüfung"; }
        int seite;
        QWidget* feld;
        db::DataSet* daten;
        QString text;
    };

    void Aufbauen();
    QWidget* Seite0Aufbauen();
    QWidget* Seite1Aufbauen();
    QWidget* Seite3Aufbauen();
    QWidget* Seite4Aufbauen();
    void DatenmengenEinrichten();
    void FelderEinrichten();
    void ZeichnerSetzen();
    // Runs a user action; a silent abort ends it without more messages.
    void Sicher(const std::function<void()>& aktion);

    void Zeigen();
    void InfoLaden();
    bool Lesen();
    void StatuslistenAufbauen();
    void AnzeigeAktualisieren(bool erzwingen);
    void SeiteAktualisieren(int seite);
    void SchalterFreigeben();
    void TitelSetzen(bool fokus);
    void SeiteZeigen(int seite);
    void NeuesTier();
    void Geaendert();
    void TierDatenmengenOeffnen();
    void SchnellwahlSetzen(const QString& sql);
    void SchnellwahlAktualisieren();
    void BetriebsstaettenNeuLaden();
    void MLPDatenLaden();
    void BemerkungenLaden();
    void MLPSpannen();

    // Each throws SilentAbort after a failure was reported.
    void Speichern(bool mitBetriebsstaetten);
    void TierPosten();
    void Posten(db::DataSet& daten);
    void BetriebsstaettenPruefen();
    void ZeitraumFehlerMelden(const Stammdaten::TZeitraumFehler& fehler, const QString& schluessel);
    [[noreturn]] void PruefFehler(int seite, QWidget* feld, db::DataSet* daten,
                                  const QString& text);

    void BetriebsstaetteWechseln();
    void ZeitraumEntfernen();
    void ZeitraumSpeichern();
    void BemerkungHinzufuegen();
    void BemerkungEntfernen();
    void BemerkungZeigen();
    void VaterWaehlen();
    void MutterZeigen();
    void BesamungLoeschen();
    void KalbungLoeschen();
    using TZuchtdatenLoeschen = void (TTierSpeicher::*)(int, std::optional<int>, int);
    void ZuchtdatenLoeschen(db::DataSet& zeilen, const QString& frage,
                            TZuchtdatenLoeschen loeschen);
    // The calving edit dialog on the selected calving; its work is committed only after OK.
    void KalbungBearbeiten();
    void KalbZeigen();
    void TrockenBerechnen();
    // A next heat before today is moved on by the breed's cycle when the user agrees.
    void RindernVerlassen();
    void Auswahl();
    // "Drucken": stores the open edits, then makes the printouts chosen in the dialog.
    void Drucken();

    std::unique_ptr<TTierSpeicher> speicher_;
    db::Transaction lookup_;
    db::DataSet zeitraeume_;
    db::DataSet besamungen_;
    db::DataSet kalbungen_;
    db::DataSet bemerkungen_;
    db::DataSet mlp_;
    db::DataSet schnell_;
    TTierSatz satz_;
    QString schnellSQL_;
    int modus_ = 0;
    int seite_ = 0;
    int letzteTierID_ = -1;
    int harnstoffTeiler_ = 1;
    bool hatBesamungen_ = false;
    bool hatKalbungen_ = false;
    bool geaendert_ = false;
    bool fuellt_ = false;
    bool verworfen_ = false;
    bool betriebsstaettenGeprueft_ = true;
    bool pruefungLaeuft_ = false;
    bool aktualisierungLaeuft_ = false;
    bool datenGeaendert_ = false;
    bool bemerkungZeigt_ = false;
    // The status was changed with the keys and is stored when its combo is left.
    bool statusGeaendert_ = false;
    bool statusTasten_ = false;  // a key is held in the status combo
    bool rindernFragt_ = false;
    // The periods the user chose to keep although their check failed.
    QString akzeptierteZeitraeume_;

    QStackedWidget* seiten_ = nullptr;
    QList<QToolButton*> seitenKnoepfe_;
    QToolButton* besamungenKnopf_ = nullptr;
    QToolButton* kalbungenKnopf_ = nullptr;

    QLineEdit* nummer_ = nullptr;
    QLineEdit* knr_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* gebdat_ = nullptr;
    QRadioButton* weiblich_ = nullptr;
    QRadioButton* maennlich_ = nullptr;
    QComboBox* rasse_ = nullptr;
    QComboBox* status_ = nullptr;
    QComboBox* art_ = nullptr;
    QToolButton* vaterKnopf_ = nullptr;
    QToolButton* mutterKnopf_ = nullptr;
    QLineEdit* vater_ = nullptr;
    QLineEdit* vaterNr_ = nullptr;
    QLineEdit* mutter_ = nullptr;
    QLineEdit* mutterNr_ = nullptr;
    QLineEdit* gekauft_ = nullptr;
    QComboBox* gekauftBem_ = nullptr;
    QLineEdit* verkauft_ = nullptr;
    QComboBox* verkauftBem_ = nullptr;
    QComboBox* abgangsgrund_ = nullptr;
    QLineEdit* rindern_ = nullptr;
    QLineEdit* trocken_ = nullptr;
    QPushButton* trockenKnopf_ = nullptr;
    QLabel* sollKalbenLabel_ = nullptr;
    QLabel* sollKalben_ = nullptr;
    QLabel* alter_ = nullptr;
    QLabel* statusBild_ = nullptr;
    class TLaktationsgrafikSeite* laktation_ = nullptr;
    QLabel* tageInfo_ = nullptr;
    QLabel* betrieb_ = nullptr;
    QPushButton* wechseln_ = nullptr;
    QGroupBox* besamungenGruppe_ = nullptr;
    QGroupBox* kalbungenGruppe_ = nullptr;
    TZRcxGridDBTableView* besamungenAnsicht_ = nullptr;
    TZRcxGridDBTableView* kalbungenAnsicht_ = nullptr;
    TZRcxGridDBTableView* schnellAnsicht_ = nullptr;
    QMenu* kalbungenMenue_ = nullptr;
    QAction* kalbungBearbeiten_ = nullptr;
    QAction* zumKalb_ = nullptr;
    QAction* kalbungLoeschen_ = nullptr;
    QAction* kalbungOhneBesamung_ = nullptr;
    QMenu* besamungenMenue_ = nullptr;
    QAction* besamungBearbeiten_ = nullptr;
    QAction* besamungLoeschen_ = nullptr;

    TZRcxGridDBTableView* zeitraeumeAnsicht_ = nullptr;
    QComboBox* zeitraumStall_ = nullptr;
    TDBZRDateEdit* zeitraumVon_ = nullptr;
    TDBZRDateEdit* zeitraumBis_ = nullptr;

    TframeTierarzt* tierarzt_ = nullptr;

    TZRcxGridDBTableView* mlpAnsicht_ = nullptr;

    TZRcxGridDBTableView* bemerkungenAnsicht_ = nullptr;
    TDBZRDateEdit* bemerkungDatum_ = nullptr;
    QPlainTextEdit* bemerkung_ = nullptr;

    QToolButton* neu_ = nullptr;
    TSchnellKnopf* schnellW_ = nullptr;
    QToolButton* ubernehmen_ = nullptr;
    QPushButton* auswahl_ = nullptr;
    QPushButton* drucken_ = nullptr;
    QPushButton* schliessen_ = nullptr;
};
