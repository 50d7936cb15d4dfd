#pragma once

#include <ZRDialog.h>

#include <DataSet.h>
#include <DataSetModel.h>
#include <Transaction.h>

class QGroupBox;
class QPushButton;
class QTableView;
class TDBAMCheckbox;
class TDBFloatEdit;
class TDBZRBaseEdit;
class TZRFilterEdit;

namespace Medikamente {
// The form names are compared in: upper case, blanks removed, every other character kept.
QString Suchform(const QString& text);
bool PasstZurSuche(const QString& suche, const QString& bezeichnung);
}  // namespace Medikamente

// "Medikamente": the medicines with their withdrawal periods, a list with search on the left and
// the edited medicine on the right. Works in a transaction of its own that only the posts and
// the closing commit.
class TfrmMedikamente : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 13400;

    explicit TfrmMedikamente(db::Database& datenbank, QWidget* owner = nullptr);
    ~TfrmMedikamente() override;

    static void Oeffnen(db::Database& datenbank, QWidget* owner = nullptr);

    QTableView* Liste() const { return liste_; }
    QGroupBox* Listengruppe() const { return listengruppe_; }
    TZRFilterEdit* Suche() const { return suche_; }
    TDBZRBaseEdit* Bezeichnung() const { return bezeichnung_; }
    TDBFloatEdit* WartezeitMilch() const { return wMilch_; }
    TDBFloatEdit* WartezeitFleisch() const { return wFleisch_; }
    TDBAMCheckbox* Sichtbar() const { return sichtbar_; }
    QPushButton* NeuKnopf() const { return neu_; }
    QPushButton* LoeschenKnopf() const { return loeschen_; }
    QPushButton* SpeichernKnopf() const { return speichern_; }
    QPushButton* SchliessenKnopf() const { return schliessen_; }
    db::DataSet& QMedikament() { return medikament_; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void ListeLaden(int id);
    void MedikamentLaden(int id);
    int BearbeiteteID();
    void ZeileWaehlen();
    void Neu();
    void Loeschen();
    bool Speichern();
    void VorDemPosten();
    void NachDemPosten();

    db::Transaction TAMedikamente;
    db::DataSet liste_daten_;
    db::DataSet medikament_;
    db::DataSetModel modell_;
    QString suchform_;
    bool neuVerworfen_ = false;
    bool pruefungLaeuft_ = false;

    QGroupBox* listengruppe_;
    QTableView* liste_;
    TZRFilterEdit* suche_;
    TDBZRBaseEdit* bezeichnung_;
    TDBFloatEdit* wMilch_;
    TDBFloatEdit* wFleisch_;
    TDBAMCheckbox* sichtbar_;
    QPushButton* neu_;
    QPushButton* loeschen_;
    QPushButton* speichern_;
    QPushButton* schliessen_;
    QPushButton* hilfe_;
};
