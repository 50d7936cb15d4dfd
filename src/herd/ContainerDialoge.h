#pragma once

#include <ZRDialog.h>

#include <DataSet.h>
#include <Transaction.h>

#include <QHash>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QToolButton;
class TDBFloatEdit;
class TDBPanel;
class TDBZRDateEdit;
class TDBComboBox;
class TDBMemo;
class TZRDBcxGrid;
class TZRcxGridDBTableView;

// The edit dialogs of the semen-container window. Each works in its own transaction (TAEdit),
// started when the dialog is made: Ausfuehren shows the dialog modally, commits after "Ok" and
// rolls back otherwise.
class TfrmContainerEdit : public TZRDialog {
    Q_OBJECT
public:
    // The record's ID after "Ok", else 0.
    int Ausfuehren();

    db::DataSet& Daten() { return daten_; }
    QPushButton* OkKnopf() const { return ok_; }
    QPushButton* AbbrechenKnopf() const { return abbrechen_; }

protected:
    TfrmContainerEdit(db::Database& datenbank, QWidget* owner);
    // The statements of the record with this ID (a new one for 0 or less) over these columns.
    void DatenVorbereiten(const QString& tabelle, const QString& spalten, const QString& generator,
                          int id);
    // Opens the record, or starts the new one.
    void DatenOeffnen();
    // The check and post of "Ok"; a failure ends it (SilentAbort after its message).
    virtual void Speichern() = 0;
    // The dialog's buttons under its fields.
    void Fertigstellen(QLayout* felder);

    db::Transaction ta_;
    db::DataSet daten_;

private:
    void Ok();

    int id_ = 0;

    QPushButton* ok_;
    QPushButton* abbrechen_;
};

// "Lieferung": a delivery's date and remark.
class TfrmContainerLieferung : public TfrmContainerEdit {
    Q_OBJECT
public:
    TfrmContainerLieferung(db::Database& datenbank, int id, QWidget* owner = nullptr);

    TDBZRDateEdit* DatumEdit() const { return datum_; }
    TDBMemo* BemerkungEdit() const { return bemerkung_; }

protected:
    void Speichern() override;

private:
    TDBZRDateEdit* datum_;
    TDBMemo* bemerkung_;
};

// "Portion": the straws of one bull in a delivery.
class TfrmContainerPortion : public TfrmContainerEdit {
    Q_OBJECT
public:
    // id 0 or less: a new portion of the delivery.
    TfrmContainerPortion(db::Database& datenbank, int id, int lieferung, QWidget* owner = nullptr);

    // The bull choice, placed on the current bull; the chosen bull goes into the portion.
    void BulleWaehlen();

    TDBPanel* BullePanel() const { return bulle_; }
    QToolButton* BulleKnopf() const { return bulleKnopf_; }
    QComboBox* StationAuswahl() const { return station_; }
    TDBComboBox* BehaelterAuswahl() const { return behaelter_; }
    TDBFloatEdit* AnzahlEdit() const { return anzahl_; }
    TDBFloatEdit* EjakulatEdit() const { return ejakulat_; }
    TDBFloatEdit* KostenEdit() const { return kosten_; }

protected:
    void Speichern() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BullenLesen();
    void StationZeigen();

    QHash<int, QString> bullen_;
    QStringList stationsCodes_;
    TDBPanel* bulle_;
    QToolButton* bulleKnopf_;
    QComboBox* station_;
    TDBComboBox* behaelter_;
    TDBFloatEdit* anzahl_;
    TDBFloatEdit* ejakulat_;
    TDBFloatEdit* kosten_;
};

// "Verwendung": one use of a portion, or several alike ("Anzahl") for a new one that is no
// insemination.
class TfrmContainerVerwendung : public TfrmContainerEdit {
    Q_OBJECT
public:
    // id 0 or less: a new use of the portion.
    TfrmContainerVerwendung(db::Database& datenbank, int id, int portion, QWidget* owner = nullptr);

    void BesamungWaehlen();
    void BesamungEntfernen();

    TDBComboBox* ArtAuswahl() const { return art_; }
    TDBZRDateEdit* DatumEdit() const { return datum_; }
    TDBComboBox* TeilungAuswahl() const { return teilung_; }
    QSpinBox* AnzahlEdit() const { return anzahl_; }
    QLabel* BesamungPanel() const { return besamung_; }
    QToolButton* BesamungKnopf() const { return besamungKnopf_; }
    QPushButton* EntfernenKnopf() const { return entfernen_; }

protected:
    void Speichern() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BesamungZeigen();
    void ArtGeaendert();

    bool neu_;
    TDBComboBox* art_;
    TDBZRDateEdit* datum_;
    TDBComboBox* teilung_;
    QSpinBox* anzahl_;
    QLabel* besamung_;
    QToolButton* besamungKnopf_;
    QPushButton* entfernen_;
};

// "Besamung Wahl": all inseminations, for the use of a portion.
class TfrmBesamungWahl : public TZRDialog {
    Q_OBJECT
public:
    // Read in the caller's transaction; placed on the insemination when it is listed, else on
    // the last one.
    TfrmBesamungWahl(db::Transaction& tr, int besamung, QWidget* owner = nullptr);
    ~TfrmBesamungWahl() override;

    // The current row's insemination; 0 when there is none.
    int BesamungID();

    db::DataSet& Liste() { return liste_; }
    TZRcxGridDBTableView* Ansicht() const { return ansicht_; }
    QPushButton* OkKnopf() const { return ok_; }

private:
    void Waehlen();

    db::DataSet liste_;
    TZRDBcxGrid* gitter_;
    TZRcxGridDBTableView* ansicht_;
    QPushButton* ok_;
    QPushButton* abbrechen_;
};
