#pragma once

// The settings that TEinstellungen reads and writes through plain accessors: one line per setting
// gives its accessor name (Get/Set + name), its store and key, its kind and its default. Settings
// with rules of their own (clamped values, computed defaults, key families) have hand-written
// accessors in Grundeinstellungen.h.

#include <QDate>
#include <QDateTime>
#include <QString>

// The C++ types of the kinds of settings.
namespace EinstellungsArt {
using Integer = int;
using Bool = bool;
using String = QString;
using StringGetrimmt = QString;  // a string that is trimmed when written
using Datum = QDate;             // an invalid date is "no date"
using DatumZeit = QDateTime;
using Float = double;
}  // namespace EinstellungsArt

// Per-workstation settings in the INI file: X(kind, name, section, key, default).
// clang-format off
#define BOVANTIS_INI_EINSTELLUNGEN(X) \
    X(Integer,   AktBetriebEinzeltier, "Zustand", "AktBetriebEinzeltier", 0) \
    X(Integer,   LetzteMaske, "Zustand", "LetzteMaske", 0) \
    X(Bool,      LetzteMehrereListen, "Zustand", "LetzteMehrereListen", true) \
    X(Bool,      StatusIconSW, "Farbe", "StatusIconSW", true) \
    X(Bool,      DFUEVerwenden, "DFÜ", "verwenden", false) \
    X(Bool,      DFUEAutoTrennen, "DFÜ", "AutoTrennen", true) \
    X(Bool,      DFUEAutoVerbinden, "DFÜ", "AutoVerbinden", true) \
    X(String,    DFUEVerbindung, "DFÜ", "Verbindung", QString()) \
    X(Datum,     AutoSicherungLetzte, "AutoSicherung", "Letzte", QDate()) \
    X(Bool,      AutoSicherungAktiv, "AutoSicherung", "AutoSicherung", true) \
    X(Integer,   AutoSicherungAnzahl, "AutoSicherung", "Anzahl", 5) \
    X(Bool,      MilchanlieferungStatistik37Preis, "Milchanlieferung-Statistik", "37Preis", true) \
    X(Datum,     MilchanlieferungStatistikBis, "Milchanlieferung-Statistik", "Bis", QDate()) \
    X(Bool,      MilchanlieferungStatistikEigenpreis, "Milchanlieferung-Statistik", "Eigenpreis", true) \
    X(Bool,      MilchanlieferungStatistikInhaltsstoffe, "Milchanlieferung-Statistik", "Inhaltsstoffe", true) \
    X(Bool,      MilchanlieferungStatistikMenge, "Milchanlieferung-Statistik", "Menge", true) \
    X(Bool,      MilchanlieferungStatistikMilchgeld, "Milchanlieferung-Statistik", "Milchgeld", true) \
    X(Datum,     MilchanlieferungStatistikVon, "Milchanlieferung-Statistik", "Von", QDate()) \
    X(Integer,   TierbestandStatistikArt, "Tierbestand-Statistik", "Art", 0) \
    X(Datum,     TierbestandStatistikBis, "Tierbestand-Statistik", "Bis", QDate()) \
    X(Bool,      TierbestandStatistikPrognose, "Tierbestand-Statistik", "Prognose", true) \
    X(Datum,     TierbestandStatistikVon, "Tierbestand-Statistik", "Von", QDate()) \
    X(Datum,     BesamungsindexStatistikBis, "Besamungsindex-Statistik", "Bis", QDate()) \
    X(Datum,     BesamungsindexStatistikVon, "Besamungsindex-Statistik", "Von", QDate()) \
    X(Datum,     ViehverzeichnisAm, "Viehverzeichnis", "Am", QDate()) \
    X(Datum,     ViehverzeichnisBis, "Viehverzeichnis", "Bis", QDate()) \
    X(Datum,     ViehverzeichnisVon, "Viehverzeichnis", "Von", QDate()) \
    X(Integer,   ViehverzeichnisGVSchluessel, "Viehverzeichnis", "GV-Schluessel", -1) \
    X(Bool,      ViehverzeichnisPrognose, "Viehverzeichnis", "Prognose", true) \
    X(Integer,   KraftfutterlisteAktBetrieb, "Kraftfutterliste", "AktBetrieb", 0) \
    X(Bool,      EreignislisteAbgang, "Ereignisliste", "Ereignisliste-Abgang", true) \
    X(Bool,      EreignislisteBehandlung, "Ereignisliste", "Ereignisliste-Behandlung", true) \
    X(Bool,      EreignislisteBesamung, "Ereignisliste", "Ereignisliste-Besamung", true) \
    X(Datum,     EreignislisteBis, "Ereignisliste", "Ereignisliste-Bis", QDate()) \
    X(Bool,      EreignislisteKalbung, "Ereignisliste", "Ereignisliste-Kalbung", true) \
    X(Datum,     EreignislisteVon, "Ereignisliste", "Ereignisliste-Von", QDate()) \
    X(Bool,      EreignislisteZugang, "Ereignisliste", "Ereignisliste-Zugang", true) \
    X(String,    EreignislisteStandardDesigns, "Ereignisliste", "Ereignisliste-StandardDesigns", QString()) \
    X(Bool,      EreignislisteTrockenstellen, "Ereignisliste", "Ereignisliste-Trockenstellen", true) \
    X(Datum,     KalbeJournalBis, "KalbeJournal", "KalbeJournal-Bis", QDate()) \
    X(String,    KalbeJournalStandardDesigns, "KalbeJournal", "KalbeJournal-StandardDesigns", QString()) \
    X(Datum,     KalbeJournalVon, "KalbeJournal", "KalbeJournal-Von", QDate()) \
    X(Datum,     BestandsbuchBis, "Bestandsbuch", "Bestandsbuch-Bis", QDate()) \
    X(Datum,     BestandsbuchVon, "Bestandsbuch", "Bestandsbuch-Von", QDate()) \
    X(Bool,      GesendeteHITMeldungenAbgang, "GesendeteHITMeldungen", "GesendeteHITMeldungen-Abgang", true) \
    X(Bool,      GesendeteHITMeldungenAusfuhr, "GesendeteHITMeldungen", "GesendeteHITMeldungen-Ausfuhr", true) \
    X(Datum,     GesendeteHITMeldungenBis, "GesendeteHITMeldungen", "GesendeteHITMeldungen-Bis", QDate()) \
    X(Bool,      GesendeteHITMeldungenGeburt, "GesendeteHITMeldungen", "GesendeteHITMeldungen-Geburt", true) \
    X(Bool,      GesendeteHITMeldungenImportmarkierung, "GesendeteHITMeldungen", "GesendeteHITMeldungen-Importmarkierung", true) \
    X(Bool,      GesendeteHITMeldungenOhrmarkenNachbestellung, "GesendeteHITMeldungen", "GesendeteHITMeldungen-OhrmarkenNachbestellung", true) \
    X(Bool,      GesendeteHITMeldungenTod, "GesendeteHITMeldungen", "GesendeteHITMeldungen-Tod", true) \
    X(Datum,     GesendeteHITMeldungenVon, "GesendeteHITMeldungen", "GesendeteHITMeldungen-Von", QDate()) \
    X(Bool,      GesendeteHITMeldungenZugang, "GesendeteHITMeldungen", "GesendeteHITMeldungen-Zugang", true) \
    X(String,    GesendeteHITMeldungenStandardDesigns, "GesendeteHITMeldungen", "GesendeteHITMeldungen-StandardDesigns", QString()) \
    X(Bool,      BestandslisteParameterAlterBis, "BestandslisteParameter", "Alter-Bis", false) \
    X(Bool,      BestandslisteParameterAlterVon, "BestandslisteParameter", "Alter-Von", false) \
    X(Integer,   BestandslisteParameterEinheitBis, "BestandslisteParameter", "Einheit-Bis", 1) \
    X(Integer,   BestandslisteParameterEinheitVon, "BestandslisteParameter", "Einheit-Von", 1) \
    X(Integer,   BestandslisteParameterWertBis, "BestandslisteParameter", "Wert-Bis", 1000) \
    X(Integer,   BestandslisteParameterWertVon, "BestandslisteParameter", "Wert-Von", 0) \
    X(String,    BestandslisteParameterStandardDesigns, "BestandslisteParameter", "Standard-Designs", QString()) \
    X(Integer,   BestandslisteParameterTierklasse, "BestandslisteParameter", "Tierklasse", 0) \
    X(Bool,      ErledigteTermineTierbezogen, "ErledigteTermine", "Tierbezogen", true) \
    X(String,    ErledigteTermineStandardDesigns, "ErledigteTermine", "Standard-Designs", QString()) \
    X(Bool,      ErledigteTermineFeste, "ErledigteTermine", "Feste", true) \
    X(Datum,     ErledigteTermineBis, "ErledigteTermine", "Bis", QDate()) \
    X(Datum,     ErledigteTermineVon, "ErledigteTermine", "Von", QDate()) \
    X(String,    GesendeteBesamungsmeldungenStandardDesigns, "GesendeteBesamungsmeldungen", "GesendeteBesamungsmeldungen-StandardDesigns", QString()) \
    X(Datum,     GesendeteBesamungsmeldungenBis, "GesendeteBesamungsmeldungen", "GesendeteBesamungsmeldungen-Bis", QDate()) \
    X(Datum,     GesendeteBesamungsmeldungenVon, "GesendeteBesamungsmeldungen", "GesendeteBesamungsmeldungen-Von", QDate()) \
    X(Integer,   EigenbesamungMeldungsart, "Eigenbesamung", "Meldungsart", 0) \
    X(Integer,   PalmHotsyncAction, "Palm", "HotsyncAction", 3) \
    X(String,    PalmUser, "Palm", "User", QString()) \
    X(DatumZeit, UpdateLastCheck, "Update", "LastCheck", QDateTime())

// Farm-wide settings in T_EINSTELLUNGEN: X(kind, name, key, default).
#define BOVANTIS_DB_EINSTELLUNGEN(X) \
    X(StringGetrimmt, BetriebAdresse, "Betrieb-Adresse", QString()) \
    X(Float,          BetriebFlaeche, "Betrieb-Fläche", 10.0) \
    X(StringGetrimmt, BetriebName, "Betrieb-Name", QString()) \
    X(StringGetrimmt, BetriebOrt, "Betrieb-Ort", QString()) \
    X(StringGetrimmt, BetriebPLZ, "Betrieb-PLZ", QString()) \
    X(Bool,           GVLinie, "GV-Linie", true) \
    X(Integer,        GVSchluessel, "GV-Schluessel", -1) \
    X(Bool,           HITFrageProgrammEnde, "HIT-Frage-Programm-Ende", true) \
    X(Bool,           HITGeburtET, "HIT-Geburt-ET", true) \
    X(Bool,           HITGeburtTiername, "HIT-Geburt-Tiername", false) \
    X(Bool,           HITGeburtVerbleib, "HIT-Geburt-Verbleib", true) \
    X(Bool,           HITGeburtVerlauf, "HIT-Geburt-Verlauf", true) \
    X(Integer,        HITMeldefrist, "HIT-Meldefrist", 7) \
    X(Bool,           HITNormalServer, "HIT-Normal-Server", true) \
    X(Integer,        HITPortNormal, "HIT-Port-Normal", 2222) \
    X(Integer,        HITPortTest, "HIT-Port-Test", 2223) \
    X(StringGetrimmt, HITPrimaerAddr, "HIT-Primär-Addr", QString()) \
    X(StringGetrimmt, HITPrimaerIP, "HIT-Primär-IP", QString()) \
    X(StringGetrimmt, HITSekundaerAddr, "HIT-Sekundär-Addr", QString()) \
    X(StringGetrimmt, HITSekundaerIP, "HIT-Sekundär-IP", QString()) \
    X(Integer,        HarnstoffAnzeige, "Harnstoff-Anzeige", 0) \
    X(Integer,        HarnstoffAnzeigen, "Harnstoff-Anzeigen", 10) \
    X(Integer,        HarnstoffMaximal, "Harnstoff-Maximal", 300) \
    X(Integer,        HarnstoffMinimal, "Harnstoff-Minimal", 150) \
    X(Float,          KraftfutterlisteFettgrenzwert, "Kraftfutterliste-Fettgrenzwert", 4.5) \
    X(Float,          KraftfutterlisteGrundfutterleistung, "Kraftfutterliste-Grundfutterleistung", 15.0) \
    X(String,         KraftfutterlisteStandarddesigns, "Kraftfutterliste-Standarddesigns", QString()) \
    X(Integer,        PrognoseKalbBesamen, "Prognose-Kalb-Besamen", 600) \
    X(Integer,        PrognoseKuhBesamen, "Prognose-Kuh-Besamen", 42) \
    X(Integer,        PrognoseMKalbVerkaufen, "Prognose-M-Kalb-Verkaufen", 42) \
    X(Integer,        PrognoseMastVerkaufen, "Prognose-Mast-Verkaufen", 500) \
    X(Integer,        PrognoseMaxKuhzahl, "Prognose-Max-Kuhzahl", 10) \
    X(String,         StandardListen, "Standard-Listen", QString()) \
    X(Bool,           StatusTrockenSetzen, "Status-Trocken-Setzen", true) \
    X(Integer,        TerminAnfuettern, "Termin-Anfüttern", 14) \
    X(Bool,           TerminAnfuetternAnzeigen, "Termin-Anfüttern-Anzeigen", true) \
    X(Integer,        TerminAnfuetternVorher, "Termin-Anfüttern-Vorher", 7) \
    X(Bool,           TerminDeckfaehigRindernAnzeigen, "Termin-Deckfähig-Rindern-Anzeigen", true) \
    X(Integer,        TerminDeckfaehigVorher, "Termin-Deckfähig-Vorher", 7) \
    X(Integer,        TerminKalbenVorher, "Termin-Kalben-Vorher", 14) \
    X(Integer,        TerminListe, "Termin-Liste", 0) \
    X(Bool,           TerminProgStartAnzeigen, "Termin-Prog-Start-Anzeigen", true) \
    X(Integer,        TerminRindernNachher, "Termin-Rindern-Nachher", 3) \
    X(Integer,        TerminRindernVorher, "Termin-Rindern-Vorher", 7) \
    X(Bool,           TerminRindernWeitersetzen, "Termin-Rindern-Weitersetzen", true) \
    X(Integer,        TerminTrockenVorher, "Termin-Trocken-Vorher", 7) \
    X(Integer,        TerminTraechtigUntersuchenVorher, "Termin-Trächtig-Untersuchen-Vorher", 7) \
    X(Bool,           VersteckeSymbolHintergrund, "VersteckeSymbolHintergrund", false) \
    X(Integer,        ZellzahlAnzeigen, "Zellzahl-Anzeigen", 10) \
    X(Integer,        ZellzahlMaximal, "Zellzahl-Maximal", 100)
// clang-format on
