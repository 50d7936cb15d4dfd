#include "FListeGesendeteHITMeldungen.h"

#include <DBTools.h>

#include <Meldung.h>
#include <Query.h>

#include <QAction>
#include <QMenu>

TfrmListeGesendeteHITMeldungen::TfrmListeGesendeteHITMeldungen(db::Database& datenbank,
                                                               QWidget* parent)
    : TfrmListeNormal(datenbank, parent)
{
    setObjectName(QStringLiteral("frmListeGesendeteHITMeldungen"));
    actEintragLoeschen = new QAction(QStringLiteral("Eintrag löschen"), this);
    actEintragLoeschen->setObjectName(QStringLiteral("actEintragLoeschen"));
    actAlleEintraegeLoeschen = new QAction(QStringLiteral("Alle Einträge löschen"), this);
    actAlleEintraegeLoeschen->setObjectName(QStringLiteral("actAlleEintraegeLoeschen"));
    addActions({actEintragLoeschen, actAlleEintraegeLoeschen});
    ListePopup()->addSeparator();
    ListePopup()->addActions({actEintragLoeschen, actAlleEintraegeLoeschen});
    connect(ListePopup(), &QMenu::aboutToShow, this, [this] { AktionenAktualisieren(); });
    connect(actEintragLoeschen, &QAction::triggered, this,
            [this] { DBTools::Sicher([&] { EintragLoeschen(); }); });
    connect(actAlleEintraegeLoeschen, &QAction::triggered, this,
            [this] { DBTools::Sicher([&] { AlleEintraegeLoeschen(); }); });
}

void TfrmListeGesendeteHITMeldungen::AktionenAktualisieren()
{
    const bool zeilen = QDaten().Active() && !QDaten().IsEmpty();
    actEintragLoeschen->setEnabled(zeilen);
    actAlleEintraegeLoeschen->setEnabled(zeilen);
}

void TfrmListeGesendeteHITMeldungen::Loeschen(const QList<int>& ids)
{
    try {
        db::Query q(TAListe(), QStringLiteral("DELETE FROM T_HIT_GESENDET WHERE ID = :ID"));
        for (int id : ids) {
            q.Param(QStringLiteral("ID")).SetInteger(id);
            q.Execute();
        }
        TAListe().Commit();
    } catch (...) {
        if (TAListe().Active())
            TAListe().Rollback();
        ListeAktualisieren();
        throw;
    }
    ListeAktualisieren();
}

void TfrmListeGesendeteHITMeldungen::EintragLoeschen()
{
    if (!QDaten().Active() || QDaten().IsEmpty())
        return;
    // The log is the only record of what HIT was told: an entry goes only when the user says so.
    if (Tools::MeldungConfirm(QStringLiteral("Soll der Eintrag wirklich gelöscht werden?"), 1) !=
        Tools::mrYes)
        return;
    Loeschen({QDaten().FieldByName(QStringLiteral("ID")).AsInteger()});
}

void TfrmListeGesendeteHITMeldungen::AlleEintraegeLoeschen()
{
    if (!QDaten().Active() || QDaten().IsEmpty())
        return;
    if (Tools::MeldungConfirm(QStringLiteral("Sollen wirklich alle Einträge gelöscht werden?"),
                              1) != Tools::mrYes)
        return;
    QList<int> ids;
    const int id = QDaten().FieldByName(QStringLiteral("ID")).Index();
    for (int i = 0; i < QDaten().RecordCount(); ++i)
        ids << QDaten().ValueAt(i, id).AsInteger();
    QDaten().DisableControls();
    struct Anzeige {
        db::DataSet& ds;
        ~Anzeige() { ds.EnableControls(); }
    } anzeige{QDaten()};
    Loeschen(ids);
}
