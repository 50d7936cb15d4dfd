#pragma once
// The livestock register dialog: reference date, period, forecast and key; the table of the
// twelve rows with the animals on the date, the average, the factor and the livestock units.

#include "Viehverzeichnis.h"

#include <ZRDialog.h>

#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class TDBZRDateEdit;
class TDruckViehverzeichnis;
class TEinstellungen;

namespace db {
class Database;
}

class TfrmViehverzeichnis : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 10900;
    // The label names' row parts, rows 1-12 and the sum.
    static const std::array<const char*, 13> Zeilennamen;

    TfrmViehverzeichnis(TEinstellungen& einstellungen, db::Database& datenbank,
                        QWidget* owner = nullptr);
    ~TfrmViehverzeichnis() override;

    TDBZRDateEdit* AmEdit() const { return am_; }
    TDBZRDateEdit* VonEdit() const { return von_; }
    TDBZRDateEdit* BisEdit() const { return bis_; }
    QCheckBox* Prognose() const { return prognose_; }
    QComboBox* GVSchluessel() const { return schluessel_; }
    QPushButton* Berechnen() const { return berechnen_; }
    QPushButton* Drucken() const { return drucken_; }
    QPushButton* EinstellungenKnopf() const { return einstellungenKnopf_; }
    QPushButton* Schliessen() const { return schliessen_; }
    const TViehverzeichnisRechnung& Werte() const { return werte_; }

    // Keeps the period within two years, as the date edits are left.
    void vonChange();
    void bisChange();
    void BerechnenClick();
    // The print job of the last computation, with the key and area it used.
    std::unique_ptr<TDruckViehverzeichnis> DruckErstellen() const;
    void GVSchluesselLaden();

protected:
    void done(int r) override;

private:
    void EingabenSpeichern();
    void ErgebnisAnzeigen();
    void EinstellungenClick();

    TEinstellungen& einstellungen_;
    db::Database& datenbank_;
    TViehverzeichnisRechnung werte_;
    std::vector<TGVSchluessel> schluesselListe_;
    // The key and area of the last computation, printed with its figures.
    QString gerechnetSchluessel_;
    double gerechnetFlaeche_ = 0;

    TDBZRDateEdit* am_;
    TDBZRDateEdit* von_;
    TDBZRDateEdit* bis_;
    QCheckBox* prognose_;
    QComboBox* schluessel_;
    QLabel* tam_;
    QLabel* gvha_;
    QPushButton* berechnen_;
    QPushButton* drucken_;
    QPushButton* einstellungenKnopf_;
    QPushButton* hilfe_;
    QPushButton* schliessen_;
};
