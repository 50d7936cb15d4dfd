#pragma once

#include "KalbungLogik.h"

#include <ZRDialog.h>

#include <DataSet.h>

#include <QDate>
#include <QList>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class TAMCheckBox;
class TAMRadioButton;
class TDBZRDateEdit;
class TZRcxGridDBTableView;

// "Kalbung": a new calving of a cow with up to three calves, which become animals with their
// birth reports. Works in the data module's animal transaction: the calving, its calves and
// their reports are stored together and committed retaining on OK, or not at all.
class TfrmKalbungNeu : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 2220;

    explicit TfrmKalbungNeu(QWidget* owner = nullptr);

    // neuesTier: the card enters a new animal, no ear tags are proposed.
    void KalbungOeffnen(bool neuesTier, int tierID, const QDate& gebdat, const QDate& trocken);

    struct TKalbFelder {
        QGroupBox* gruppe = nullptr;
        QLineEdit* nummer = nullptr;
        TAMRadioButton* maennlich = nullptr;
        TAMRadioButton* weiblich = nullptr;
        TAMCheckBox* erstellen = nullptr;
    };
    TDBZRDateEdit* DatumEdit() const { return datum_; }
    QSpinBox* AnzahlFeld() const { return anzahl_; }
    const TKalbFelder& Kalb(int i) const { return kaelber_[i]; }
    QComboBox* VerlaufWahl() const { return verlauf_; }
    QPlainTextEdit* BemerkungFeld() const { return bemerkung_; }
    QPushButton* OkKnopf() const { return ok_; }
    QPushButton* AbbrechenKnopf() const { return abbrechen_; }
    QDate FruehestesDatum() const { return fruehestes_; }

private:
    void AnzahlGeaendert(int anzahl);
    void Ok();
    // Stores the calving with its calves and reports; false after a failure was shown, with
    // nothing of the attempt left in the transaction.
    bool Speichern(const QList<Kalbung::TKalb>& kaelber, int verlaufIndex);

    bool neuesTier_ = false;
    int tierID_ = 0;
    QDate gebdat_;
    QDate trocken_;
    QDate fruehestes_;
    int anzahlVorher_ = 1;

    TDBZRDateEdit* datum_;
    QSpinBox* anzahl_;
    TKalbFelder kaelber_[3];
    QComboBox* verlauf_;
    QPlainTextEdit* bemerkung_;
    QPushButton* ok_;
    QPushButton* abbrechen_;
};

// "Kalb wählen": one calf of a calving.
class TfrmKalbWaehlen : public TZRDialog {
    Q_OBJECT
public:
    explicit TfrmKalbWaehlen(QWidget* owner = nullptr);
    ~TfrmKalbWaehlen() override;

    // Reads the calves in the animal transaction.
    void KaelberOeffnen(int kalbungID);
    // The chosen calf; 0 when the list is empty.
    int KalbID();

    db::DataSet& Liste() { return liste_; }
    TZRcxGridDBTableView* Ansicht() const { return ansicht_; }
    QPushButton* OkKnopf() const { return ok_; }
    QPushButton* AbbrechenKnopf() const { return abbrechen_; }

private:
    db::DataSet liste_;
    TZRcxGridDBTableView* ansicht_;
    QPushButton* ok_;
    QPushButton* abbrechen_;
};
