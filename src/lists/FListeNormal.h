#pragma once

#include "ZRDBcxGridBovantis.h"

#include <Shell.h>

#include <DataSet.h>
#include <Transaction.h>

#include <QDate>
#include <QWidget>

#include <functional>

class QAction;
class QMenu;

namespace db {
class Database;
}

// The base of the list windows: the list's data in its own transaction, the actions and the popup
// menu. Descendants give the position memory, the row count and the jump to the animal.
class TfrmListe : public QWidget, public TListenFensterSchnittstelle {
    Q_OBJECT
public:
    TfrmListe(db::Database& datenbank, QWidget* parent = nullptr);
    ~TfrmListe() override;

    db::DataSet& QDaten() { return daten_; }
    db::Transaction& TAListe() { return transaktion_; }
    QMenu* ListePopup() const { return popup_; }
    QAction* actZuTierGehen;
    QAction* actListeAktualisieren;
    QAction* actExportieren;
    QAction* actDruckVorschau;
    QAction* actDrucken;

    // The animal IDs the animal card offers as its quick list when opened from here.
    QString SchnellwahlSQL;
    std::function<void(TfrmListe*)> OnStatus;

    // Commits the snapshot and reads the rows anew, keeping the position.
    void ListeAktualisieren();
    // Opens the animal card (only in an MDI child), then refreshes.
    void TierAnzeigen(int tierId);

    virtual void PositionMerken() = 0;
    virtual void PositionWiederherstellen() = 0;
    int GetAnzahl() const override = 0;
    virtual bool ZuTierGehenPruefen() = 0;
    virtual void ZuTierGehen() = 0;
    void Drucken() override;
    virtual void DruckVorschau();
    void HauptfensterDrucken() override { DruckVorschau(); }
    void Exportieren() override;

    // Whether the window lives in the main window's MDI area.
    bool IstMdiKind() const;
    void Status();

protected:
    void DatenOeffnen();
    void AktionenPruefen();
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    db::Transaction transaktion_;
    db::DataSet daten_;
    QMenu* popup_;
};

// The window of a stored list design.
class TfrmListeNormal : public TfrmListe {
    Q_OBJECT
public:
    TfrmListeNormal(db::Database& datenbank, QWidget* parent = nullptr);
    // The grid's view refers to the data, so it goes before the data does.
    ~TfrmListeNormal() override;

    TZRDBcxGridBovantis* Grid() const { return grid_; }
    QAction* actTerminErledigen;

    int ListeID = 0;
    int Betriebsstaette = 0;  // 0 or less: all premises
    QString Titelzusatz;
    bool BetriebsstaetteDrucken = false;
    bool KurzeZeilen = false;
    int GemerkteZeile = -1;

    // Loads the design and its rows. With sqlVorgegeben the given SQL is run, else the design's.
    void ListeLaden(bool sqlVorgegeben, int listeId, int betriebsstaette,
                    const QString& titelzusatz, const QString& datenSQL,
                    const QString& schnellwahlSQL);

    void PositionMerken() override;
    void PositionWiederherstellen() override;
    // -1 until all rows are read; a list longer than a block counts them after its first paint.
    int GetAnzahl() const override;
    bool ZuTierGehenPruefen() override;
    void ZuTierGehen() override;
    // Built-in designs export the window's own rows, stored designs run their SQL again.
    void Exportieren() override;

    void DisplayFormatSetzen(const QString& feldname, const QString& format);
    void TerminErledigen(int terminId, const QDate& datum, int tierId);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // Reads the rest of the rows and tells the status bar the count.
    void Zaehlen();

    TZRDBcxGridBovantis* grid_;
    bool zaehlen_ = false;  // the count is still to come
};

namespace FListeNormal {

// The caption of a list window: the title, " - " and the premises name for a premises above 0,
// " (" suffix ")" when a suffix is given.
QString Fenstertitel(const QString& titel, int betriebsstaette, const QString& betriebsstaettenName,
                     const QString& titelzusatz);

// Set by the animal card: shows the animal modally over the list window (owner) with the quick
// list of the given SQL. Until set, a double click in a list opens nothing.
inline std::function<void(QWidget* owner, int tierId, const QString& schnellwahlSQL)>
    TierkarteZeigen;
// Set by the appointment completion dialog: true when the appointment was completed.
inline std::function<bool(QWidget* owner, int terminId, const QDate& datum, int tierId)>
    TerminErledigenDialog;

using Fensterklasse = std::function<TfrmListeNormal*(db::Database&, QWidget* parent)>;

// Shows a list design in a window. Non-modal: an MDI child of the main window (none: a free
// window); modal: a dialog-like window freed on close. A failure while showing removes the
// window and shows "Es ist ein Fehler bei der Anzeige der Liste aufgetreten"; the window or
// nullptr comes back (nullptr also after a modal window closed).
TfrmListeNormal* ListeAnzeigenEx(QWidget* owner, int listeId, int betriebsstaette,
                                 const QString& titelzusatz, const QString& datenSQL,
                                 const QString& schnellwahlSQL, bool betriebsstaetteDrucken,
                                 bool modal, const Fensterklasse& fensterklasse, bool sqlVorgegeben,
                                 std::function<void(TfrmListe*)> onStatus);
TfrmListeNormal* ListeAnzeigen(QWidget* owner, int listeId, int betriebsstaette,
                               const QString& titelzusatz, bool modal,
                               std::function<void(TfrmListe*)> onStatus);

}  // namespace FListeNormal
