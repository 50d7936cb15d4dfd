#pragma once

#include <ZRDialog.h>

#include <DBComboBox.h>

namespace db {
class DataSet;
}

// "Eigenschaften Linie": style and width of one line, bound to two columns of the current record.
class TfrmEigenschaftenLinie : public TZRDialog {
    Q_OBJECT
public:
    static constexpr int HilfeKontext = 11330;

    TfrmEigenschaftenLinie(db::DataSet& daten, const QString& artFeld, const QString& breiteFeld,
                           QWidget* owner = nullptr);
    ~TfrmEigenschaftenLinie() override;

    TDBComboBox* Art() const { return art_; }
    TDBComboBox* Breite() const { return breite_; }

private:
    TDBComboBox* art_;
    TDBComboBox* breite_;
};

// Shows the line dialog for the current record; anything but "Ok" puts back the style and width
// the record had (an empty width comes back as 0) while the record is being edited.
void LinieAnpassen(QWidget* owner, db::DataSet& daten, const QString& breiteFeld,
                   const QString& artFeld);
