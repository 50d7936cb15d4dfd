#pragma once

#include "FGrundeinstellungenDaten.h"
#include "GrundeinstellungenSeite.h"

#include <ZRDialog.h>

#include <vector>

class QListWidget;
class QPushButton;
class QStackedWidget;
class TEinstellungen;

// The farm's settings dialog: a list of categories chooses one of fourteen pages. The pages edit
// farm-wide settings (one settings bracket, ended by "Ok" or rolled back by every other close),
// workstation settings in the INI file (written on "Ok" only), and holdings, premises, breeds and
// livestock-unit keys in the dialog's own transaction, committed on "Ok" only.
//
// Controls carry object names, so that tests find them as a user finds them by their labels.
class TfrmGrundeinstellungen : public TZRDialog {
    Q_OBJECT
public:
    using TGrundKat = GrundeinstellungenDaten::TGrundKat;

    // The database must be connected; the settings' database is the same one.
    TfrmGrundeinstellungen(TEinstellungen& einstellungen, db::Database& datenbank,
                           QWidget* owner = nullptr);
    ~TfrmGrundeinstellungen() override;

    QListWidget* KategorieListe() const { return kategorien_; }
    QWidget* Seite(TGrundKat kategorie) const;
    void KategorieZeigen(TGrundKat kategorie);
    QPushButton* OkKnopf() const { return ok_; }
    QPushButton* AbbrechenKnopf() const { return abbrechen_; }

    // Checks every page, then stores everything in one go. Refuses (false, with a message naming
    // the field on its page, nothing written) when an entry is out of its range.
    bool EinstellungenSpeichern();

    void done(int result) override;

private:
    template <typename T>
    T* Neu();
    void KategorienAnlegen();
    void Ok();

    TEinstellungen& e_;
    TGrundeinstellungenDaten daten_;
    std::vector<TGrundeinstellungenSeite*> seiten_;  // in the order of the categories

    QListWidget* kategorien_;
    QStackedWidget* stapel_;
    QPushButton* ok_;
    QPushButton* abbrechen_;
    QPushButton* hilfe_;
};
