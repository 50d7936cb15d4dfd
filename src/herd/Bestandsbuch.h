#pragma once
// The medicine register's windows: the dialog over a date range, the list window and the booking
// window of open entries.

#include "BestandsbuchLogik.h"

#include <FListeNormal.h>
#include <ZRDialog.h>

#include <QDate>

class QDateEdit;
class QLabel;
class QPushButton;
class TShell;

// The list grid with cancelled entries struck out on light red and one image per register state.
class TBestandsbuchGrid : public TZRDBcxGridBovantis {
    Q_OBJECT
public:
    explicit TBestandsbuchGrid(QWidget* parent = nullptr);
    static const QColor StornoFarbe;
    bool Storniert(int zeile) const;
};

class TfrmListeBestandsbuch : public TfrmListe {
    Q_OBJECT
public:
    TfrmListeBestandsbuch(db::Database& datenbank, QWidget* parent = nullptr);
    ~TfrmListeBestandsbuch() override;

    TBestandsbuchGrid* Grid() const { return grid_; }
    const Bestandsbuch::Zeitraum& Zeitraum() const { return zeitraum_; }
    QAction* actStornieren;

    virtual void Laden(const QDate& von, const QDate& bis);

    void PositionMerken() override;
    void PositionWiederherstellen() override;
    int GetAnzahl() const override;
    bool ZuTierGehenPruefen() override;
    void ZuTierGehen() override;
    void Drucken() override;
    void DruckVorschau() override;
    // Every field of the rows, under the design's titles where it gives one.
    void Exportieren() override;
    // The LID of the focused row, 0 without one.
    int AktuelleLID();

protected:
    // The statement of the rows; the booking window shows only open entries.
    virtual QString DatenSQL() const;
    void Stornieren();

private:
    void Berechnen(db::DataSet& d);
    void ZeilenhoehenAnpassen();

    TBestandsbuchGrid* grid_;
    Bestandsbuch::Zeitraum zeitraum_;
    int gemerkteZeile_ = -1;
};

// The open entries of a range, booked one by one.
class TfrmBestandsbuchBuchen : public TfrmListeBestandsbuch {
    Q_OBJECT
public:
    TfrmBestandsbuchBuchen(db::Database& datenbank, QWidget* parent = nullptr);

    static inline const QString Hinweis = QStringLiteral(
        "Es werden nur nicht gebuchte Behandlungen angezeigt. Zum Buchen wählen Sie die "
        "Behandlung aus und drücken auf die Schaltfläche \"Buchen\"");
    QPushButton* btnBuchen;
    QPushButton* btnLoeschen;
    QPushButton* btnSchliessen;
    QPushButton* btnHilfe;

    void Laden(const QDate& von, const QDate& bis) override;

protected:
    QString DatenSQL() const override;

private:
    void Buchen();
    void Loeschen();
    void KnoepfePruefen();
};

class TfrmBestandsbuch : public TZRDialog {
    Q_OBJECT
public:
    TfrmBestandsbuch(db::Database& datenbank, QWidget* owner = nullptr);

    QDateEdit* dtVon;
    QDateEdit* dtBis;
    QPushButton* btnAlleBuchen;
    QPushButton* btnEinzelnBuchen;
    QPushButton* btnAnzeigen;
    QPushButton* btnVorschau;
    QPushButton* btnDrucken;
    QPushButton* btnHilfe;
    QPushButton* btnSchliessen;

    // Checks whether open entries exist and enables the booking buttons.
    void BuchenPruefen();
    // Stores the range, earlier date first, and gives it back.
    Bestandsbuch::Zeitraum ZeitraumSpeichern();

protected:
    void done(int r) override;

private:
    void AlleBuchen();
    void EinzelnBuchen();
    void Anzeigen();

    db::Database& datenbank_;
};

// Opens the register list window for the range as a maximised MDI child of the main window
// (without one: a free window); the status event goes to the main window's hint display.
TfrmListeBestandsbuch* BestandsbuchListeAnzeigen(const QDate& von, const QDate& bis, TShell* shell);
// Opens the booking window for the range modally.
void BestandsbuchBuchenAnzeigen(QWidget* owner, const QDate& von, const QDate& bis);
// Runs `aktion`; a failure is shown with the database's own message and nothing else happens.
bool MitFehlermeldung(const std::function<void()>& aktion);
