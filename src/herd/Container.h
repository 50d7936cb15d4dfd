#pragma once

#include <ZRDialog.h>

#include <DataSet.h>
#include <Transaction.h>

class QGroupBox;
class QPushButton;
class TZRDBcxGrid;
class TZRcxGridDBTableView;

// "Besamungscontainer": the deliveries of semen, the portions of each delivery and the uses of
// each portion, with the stock of every portion. The lists read in TAContainer, which every
// reload commits and starts again; deletions run in TAContainerEdit and commit at once.
class TfrmContainer : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 14100;

    explicit TfrmContainer(QWidget* owner = nullptr);
    ~TfrmContainer() override;

    // Reads the three lists anew and places them on these IDs; -1 keeps the current one. Without
    // a delivery to keep, the last delivery becomes current.
    void Aktualisieren(int lieferung, int portion, int verwendung);

    void LieferungNeu();
    void LieferungBearbeiten();
    void LieferungLoeschen();
    void PortionNeu();
    void PortionBearbeiten();
    void PortionLoeschen();
    void VerwendungNeu();
    void VerwendungBearbeiten();
    void VerwendungLoeschen();
    // The animal card of the current use's animal, with the animals of the portion to step
    // through.
    void ZumTier();

    db::DataSet& Lieferungen() { return lieferungen_; }
    db::DataSet& Portionen() { return portionen_; }
    db::DataSet& Verwendungen() { return verwendungen_; }
    TZRcxGridDBTableView* LieferungenAnsicht() const { return lieferungenAnsicht_; }
    TZRcxGridDBTableView* PortionenAnsicht() const { return portionenAnsicht_; }
    TZRcxGridDBTableView* VerwendungenAnsicht() const { return verwendungenAnsicht_; }
    QPushButton* Knopf(const QString& name) const;

private:
    struct Liste {
        QGroupBox* gruppe;
        TZRDBcxGrid* gitter;
        TZRcxGridDBTableView* ansicht;
        QPushButton* neu;
        QPushButton* bearbeiten;
        QPushButton* loeschen;
    };
    Liste ListeAnlegen(const QString& titel, const QString& name, db::DataSet& daten,
                       const QString& leer, const QString& was, const QString& neuHinweis,
                       const QString& bearbeitenHinweis, const QString& loeschenHinweis);
    void PortionenLaden(int portion);
    void VerwendungenLaden(int verwendung);
    void Freigeben();
    int ID(db::DataSet& ds);
    // Runs a statement of deletion in TAContainerEdit and commits it; a failure is rolled back
    // and shown. True when it was committed.
    template <class F>
    bool Loeschen(const QString& was, F&& loeschen);

    db::Transaction taContainer_;
    db::Transaction taContainerEdit_;
    db::DataSet lieferungen_;
    db::DataSet portionen_;
    db::DataSet verwendungen_;
    bool laedt_ = false;

    Liste lieferungListe_{};
    Liste portionListe_{};
    Liste verwendungListe_{};
    TZRcxGridDBTableView* lieferungenAnsicht_ = nullptr;
    TZRcxGridDBTableView* portionenAnsicht_ = nullptr;
    TZRcxGridDBTableView* verwendungenAnsicht_ = nullptr;
    QPushButton* zumTier_ = nullptr;
    QPushButton* schliessen_ = nullptr;
};

namespace FContainer {
// Opens the window modally when an own-insemination station is set; otherwise says how to set
// one.
void ContainerOeffnen(QWidget* owner);
}  // namespace FContainer
