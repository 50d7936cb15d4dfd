#pragma once

#include "TierarztLogik.h"

#include <ZRDialog.h>

#include <QLineEdit>

class QCheckBox;
class QComboBox;
class QPushButton;
class QTableWidget;

namespace db {
class Transaction;
}

// A date typed as "dd.MM.yyyy" that may be empty: Up the next day, Down the day before, F12
// today, Alt+Down the calendar ("Datum wählen").
class TBehandlungDatum : public QLineEdit {
    Q_OBJECT
public:
    explicit TBehandlungDatum(QWidget* parent = nullptr);
    QDate Datum() const;
    void SetDatum(const QDate& datum);
    void KalenderZeigen();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// "Neue Behandlung" / "Behandlung bearbeiten": one treatment with up to five applications. Writes
// in the caller's transaction, which the caller commits on OK and rolls back otherwise.
class TfrmBehandlungEdit : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 2410;
    static const QStringList Verabreichungen;

    TfrmBehandlungEdit(db::Transaction& tr, QWidget* owner = nullptr);

    // id 0: a new treatment, whose ID is returned in id.
    void Initialisieren(int& id, int tier, bool gruppenWarnung);

    // Posts the current application and appends a further one; false when five exist already.
    bool AnwendungHinzufuegen();
    void AnwendungLoeschen();
    int Anwendungszahl() const;

    QCheckBox* Bestandsbuch() const { return bestandsbuch_; }
    QComboBox* Standort() const { return standort_; }
    QComboBox* Kategorie() const { return kategorie_; }
    QComboBox* Grund() const { return grund_; }
    QComboBox* Anwender() const { return anwender_; }
    QComboBox* Arzneimittel() const { return arzneimittel_; }
    QLineEdit* WartezeitMilch() const { return wMilch_; }
    QLineEdit* WartezeitFleisch() const { return wFleisch_; }
    QComboBox* Belegnummer() const { return beleg_; }
    QTableWidget* Anwendungen() const { return anwendungen_; }
    TBehandlungDatum* DatumFeld(int zeile) const;
    QComboBox* VerabreichungFeld(int zeile) const;
    QComboBox* MengeFeld(int zeile) const;
    QPushButton* EintragenKnopf() const { return eintragen_; }
    QPushButton* BuchenKnopf() const { return buchen_; }
    QPushButton* AbbrechenKnopf() const { return abbrechen_; }
    QPushButton* HinzufuegenKnopf() const { return hinzufuegen_; }
    QPushButton* AnwLoeschenKnopf() const { return anwLoeschen_; }
    const QStringList& Mengen() const { return mengen_; }

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void ListenFuellen();
    void MedikamentUebernehmen(const QString& name);
    void ZeileAnfuegen(const Tierarzt::TAnwendung& a);
    Tierarzt::TAnwendung AnwendungAus(int zeile) const;
    QString StatusText() const;
    QString Zustand() const;
    bool Speichern(const QString& status);
    void Schreiben(const QString& status);
    void Aktion(const std::function<void()>& arbeit);

    db::Transaction& tr_;
    int id_ = 0;
    bool gruppenWarnung_ = false;
    QString status_;
    QString geladen_;
    QList<int> geloescht_;
    QStringList mengen_;

    QCheckBox* bestandsbuch_;
    QComboBox* standort_;
    QComboBox* kategorie_;
    QComboBox* grund_;
    QComboBox* anwender_;
    QComboBox* arzneimittel_;
    QLineEdit* wMilch_;
    QLineEdit* wFleisch_;
    QComboBox* beleg_;
    QTableWidget* anwendungen_;
    QPushButton* hinzufuegen_;
    QPushButton* anwLoeschen_;
    QPushButton* eintragen_;
    QPushButton* buchen_;
    QPushButton* abbrechen_;
    QPushButton* hilfe_;
};
