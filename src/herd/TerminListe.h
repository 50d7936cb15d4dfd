#pragma once

#include <FListeNormal.h>
#include <ZRDialog.h>

#include <DataSet.h>
#include <Transaction.h>

#include <QDate>
#include <QStringList>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace db {
class Database;
}

// The due appointments at a reminder start: the stored list of the setting "Termin-Liste", with
// a button that starts the whole program.
class TfrmTerminListe : public TfrmListeNormal {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 10400;

    // Loads the list at once; a failure is shown and leaves Ladefehler set.
    TfrmTerminListe(db::Database& datenbank, QWidget* owner);

    bool Ladefehler = false;
    QPushButton* StartenKnopf() const { return starten_; }
    QPushButton* SchliessenKnopf() const { return schliessen_; }

    // Shows the window modally: Tools::mrYes for "Bovantis starten", Tools::mrCancel otherwise.
    int Zeigen();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void Beenden(int ergebnis);

    QPushButton* starten_;
    QPushButton* schliessen_;
    int ergebnis_ = 0;
    std::function<void()> beenden_;
};

// "Termin erledigen": marks one due appointment done with a date and a remark.
class TfrmTerminErledigen : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmTerminErledigen(db::Database& datenbank, QWidget* owner = nullptr);

    // tierID 0 or less: a fixed appointment.
    void Initialisieren(int terminID, int tierID, const QDate& termin);

    QLabel* Tier() const { return tier_; }
    QLabel* Termin() const { return termin_; }
    QLineEdit* Erledigt() const { return erledigt_; }
    QComboBox* Bemerkungen() const { return bemerkungen_; }
    QPlainTextEdit* Bemerkung() const { return bemerkung_; }
    QPushButton* OkKnopf() const { return ok_; }
    // The full remark texts, parallel to the choice list.
    const QStringList& BemerkungTexte() const { return texte_; }

    // Stores the completion; throws db::Error, and std::runtime_error when the appointment row
    // is not there (nothing is stored then).
    void Speichern();

    void done(int result) override;

private:
    void BemerkungenLaden();
    void LabelsSetzen();
    void Ok();

    db::Transaction transaktion_;
    int terminID_ = 0;
    int tierID_ = 0;
    QDate datum_;
    QString text_;
    QStringList texte_;
    QLabel* tier_;
    QLabel* termin_;
    QLineEdit* erledigt_;
    QComboBox* bemerkungen_;
    QPlainTextEdit* bemerkung_;
    QPushButton* ok_;
};

// The list window of the completed appointments, with the deletion of entries.
class TfrmListeErledigteTermine : public TfrmListeNormal {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 11110;

    explicit TfrmListeErledigteTermine(db::Database& datenbank, QWidget* parent = nullptr);

    QAction* actEintragLoeschen;
    QAction* actAlleEintraegeLoeschen;

    // A fixed appointment's entry clears its completion (the appointment stays); an
    // animal-related entry is deleted. Committed at once.
    void EintragLoeschen();
    // After the question, the same for every row.
    void AlleEintraegeLoeschen();
    void AktionenAktualisieren();

private:
    void Entfernen(bool fest, int id);
};

class TfrmErledigteTermine;

// The design chooser of the built-in lists inside "Erledigte Termine": it makes its frame in the
// dialog's place and calls the dialog back (NeueFelder, VorAusgabe, NachAusgabe, Fensterklasse,
// Hilfe). Until that chooser is part of the program, this throws with a German message.
QWidget* InternListeWahlErzeugen(TfrmErledigteTermine& dialog, QWidget* platz);

// "Erledigte Termine": the completed appointments of a period through the design chooser.
class TfrmErledigteTermine : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 11110;
    static inline const QString ListenTyp = QStringLiteral("ERLEDIGTETERMINE");
    static inline const QString Felder =
        QStringLiteral("ID;TIERID;KNR;NAME;NUMMER;DATUM;ERLEDIGT;TEXT;BEMERKUNG");

    // The chooser comes from wahl (by default InternListeWahlErzeugen); its failure passes on.
    using ListenWahl = std::function<QWidget*(TfrmErledigteTermine&, QWidget* platz)>;
    explicit TfrmErledigteTermine(db::Database& datenbank, QWidget* owner = nullptr,
                                  const ListenWahl& wahl = InternListeWahlErzeugen);
    ~TfrmErledigteTermine() override;

    QLineEdit* Von() const { return von_; }
    QLineEdit* Bis() const { return bis_; }
    QCheckBox* Tierbezogene() const { return tierbezogene_; }
    QCheckBox* Feste() const { return feste_; }
    db::DataSet& QDaten() { return daten_; }
    db::Transaction& TAErledigteTermine() { return transaktion_; }

    // What the chooser takes from the dialog.
    int Betriebsstaette() const { return -1; }
    bool BetriebsstaetteDrucken() const { return true; }
    QString StandardDesigns;
    QString DatenSQL;
    QString SchnellwahlSQL;
    QString Titelzusatz;

    struct NeuesFeld {
        QString feld;
        QString titel;
        int breite;
    };
    // The fields of a new screen or print design.
    static QList<NeuesFeld> NeueFelder();
    // Before every output: stores the settings and prepares the SQL texts and the title.
    // Throws std::runtime_error for a period that is not two dates.
    void VorAusgabe();
    void NachAusgabe();
    static FListeNormal::Fensterklasse Fensterklasse();

    void done(int result) override;

private:
    // Stores the dialog's values in the settings, the earlier date as "Von".
    void EinstellungenSpeichern();

    db::Transaction transaktion_;
    db::DataSet daten_;
    QLineEdit* von_;
    QLineEdit* bis_;
    QCheckBox* tierbezogene_;
    QCheckBox* feste_;
    QWidget* wahl_ = nullptr;
};
