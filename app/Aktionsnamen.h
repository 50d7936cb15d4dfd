#pragma once

#include <QString>

#include <QStringList>

// The names of the main window's actions. Windows' wiring connects them by these constants, so a
// mistyped name fails to compile instead of leaving an entry dead.
namespace Aktion {

inline const QString StammdatenNeu = QStringLiteral("actStammdatenNeu");
inline const QString StammdatenBearbeiten = QStringLiteral("actStammdatenBearbeiten");
inline const QString BetriebWechsel = QStringLiteral("actBetriebWechsel");
inline const QString Gruppenbehandlung = QStringLiteral("actGruppenbehandlung");
inline const QString MLPBearbeiten = QStringLiteral("actMLPBearbeiten");
inline const QString MLPImport = QStringLiteral("actMLPImport");
inline const QString Milchanlieferung = QStringLiteral("actMilchanlieferung");
inline const QString HITMeldung = QStringLiteral("actHITMeldung");
inline const QString Besamungscontainer = QStringLiteral("actBesamungscontainer");
inline const QString Besamungsmeldung = QStringLiteral("actBesamungsmeldung");
inline const QString Drucken = QStringLiteral("actDrucken");
inline const QString Beenden = QStringLiteral("actBeenden");
inline const QString Grundeinstellungen = QStringLiteral("actGrundeinstellungen");
inline const QString TerminVerwaltung = QStringLiteral("actTerminVerwaltung");
inline const QString BullenStammdaten = QStringLiteral("actBullenStammdaten");
inline const QString Medikamente = QStringLiteral("actMedikamente");
inline const QString Suchmasken = QStringLiteral("actSuchmasken");
inline const QString TierLoeschen = QStringLiteral("actTierLoeschen");
inline const QString Datensicherung = QStringLiteral("actDatensicherung");
inline const QString Datenruecksicherung = QStringLiteral("actDatenruecksicherung");
inline const QString HITImport = QStringLiteral("actHITImport");
inline const QString ListenAuswahl = QStringLiteral("actListenAuswahl");
inline const QString ListenExportieren = QStringLiteral("actListenExportieren");
inline const QString BetriebsstaetteAuswahl = QStringLiteral("actBetriebsstaetteAuswahl");
inline const QString ListenTermine = QStringLiteral("actListenTermine");
inline const QString Kraftfutterliste = QStringLiteral("actKraftfutterliste");
inline const QString Ereignisliste = QStringLiteral("actEreignisliste");
inline const QString KalbeJournal = QStringLiteral("actKalbeJournal");
inline const QString BestandslisteParameter = QStringLiteral("actBestandslisteParameter");
inline const QString Viehverzeichnis = QStringLiteral("actViehverzeichnis");
inline const QString Bestandsbuch = QStringLiteral("actBestandsbuch");
inline const QString GesendeteHITMeldungen = QStringLiteral("actGesendeteHITMeldungen");
inline const QString GesendeteBesamungsmeldungen = QStringLiteral("actGesendeteBesamungsmeldungen");
inline const QString ErledigteTermine = QStringLiteral("actErledigteTermine");
inline const QString MilchanlieferungStatistik = QStringLiteral("actMilchanlieferungStatistik");
inline const QString TierbestandStatistik = QStringLiteral("actTierbestandStatistik");
inline const QString BesamungsindexStatistik = QStringLiteral("actBesamungsindexStatistik");
inline const QString ZwischenkalbezeitStatistik = QStringLiteral("actZwischenkalbezeitStatistik");
inline const QString FensterCascade = QStringLiteral("actFensterCascade");
inline const QString FensterUntereinander = QStringLiteral("actFensterUntereinander");
inline const QString FensterNebeneinander = QStringLiteral("actFensterNebeneinander");
inline const QString FensterAnordnen = QStringLiteral("actFensterAnordnen");
inline const QString HilfeHilfe = QStringLiteral("actHilfeHilfe");
inline const QString HilfeInhalt = QStringLiteral("actHilfeInhalt");
inline const QString HilfeSchnell = QStringLiteral("actHilfeSchnell");
inline const QString HilfeSupport = QStringLiteral("actHilfeSupport");
inline const QString HilfeSystemInfo = QStringLiteral("actHilfeSystemInfo");
inline const QString HilfeHotsyncEinstellung = QStringLiteral("actHilfeHotsyncEinstellung");
inline const QString UpdateTest = QStringLiteral("actUpdateTest");
inline const QString HilfeInfo = QStringLiteral("actHilfeInfo");

// The entries whose windows are not part of this version: they stay disabled and say so.
inline QStringList NichtInDieserVersion()
{
    return {
        MLPImport,
        HITMeldung,
        Besamungsmeldung,
        HITImport,
        Kraftfutterliste,
        GesendeteBesamungsmeldungen,
        HilfeHotsyncEinstellung,
    };
}

}  // namespace Aktion
