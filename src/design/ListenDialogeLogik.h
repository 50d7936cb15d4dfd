#pragma once

#include <QDate>
#include <QList>
#include <QString>

// The window-free rules of the built-in list dialogs "Ereignisliste", "Kalbe-Journal",
// "Gesendete HIT Meldungen" and "Bestandsliste": their SQL texts, quick lists, title suffixes and
// the fields of a new design.
namespace ListenDialoge {

// A field of a new design. Print fields: position and width in millimetres, line 1 or 2.
struct NeuesFeld {
    QString feld;
    QString titel;
    int breite = 50;
    int position = 0;
    int zeile = 1;
    bool sichtbar = true;
};

// "von " from-date " bis " to-date.
QString Titelzusatz(const QDate& von, const QDate& bis);

// Event list: the kinds in the order of the procedure's flags.
struct Ereignisse {
    bool zugang = true;
    bool abgang = true;
    bool besamung = true;
    bool trockenstellen = true;
    bool kalbung = true;
    bool behandlung = true;
};
QString EreignislisteDatenSQL(const Ereignisse& e, const QDate& von, const QDate& bis);
QString EreignislisteSchnellwahlSQL(const Ereignisse& e, const QDate& von, const QDate& bis);
QList<NeuesFeld> EreignislisteBildschirmFelder();
QList<NeuesFeld> EreignislisteDruckFelder();

// Calving journal (to-date inclusive).
QString KalbeJournalDatenSQL(const QDate& von, const QDate& bis);
QString KalbeJournalSchnellwahlSQL(const QDate& von, const QDate& bis);
QList<NeuesFeld> KalbeJournalBildschirmFelder();
// Two lines on landscape paper.
QList<NeuesFeld> KalbeJournalDruckFelder();

// Sent HIT reports; the procedure's to-date is exclusive, so it gets the day after bis.
struct HITMeldungen {
    bool geburt = true;
    bool zugang = true;
    bool abgang = true;
    bool ausfuhr = true;
    bool tod = true;
    bool importmarkierung = true;
    bool ohrmarkenNachbestellung = true;
};
QString HITGesendetDatenSQL(const HITMeldungen& m, const QDate& von, const QDate& bis);
QString HITGesendetSchnellwahlSQL(const HITMeldungen& m, const QDate& von, const QDate& bis);
QList<NeuesFeld> HITGesendetBildschirmFelder();
QList<NeuesFeld> HITGesendetDruckFelder();

// Herd list on a day. Units: 0 "Tag(e)", 1 "Monat(e)", 2 "Jahr(e)"; classes 0 all, 1 male,
// 2 female, 3 heifers, 4 cows.
struct Bestandsparameter {
    QDate am;
    bool alterVon = false;
    bool alterBis = false;
    int wertVon = 0;
    int wertBis = 1000;
    int einheitVon = 1;
    int einheitBis = 1;
    int tierklasse = 0;
};
QString EinheitName(int einheit);
// The days of an age limit: the unit's days (a month is the single-precision value nearest
// 365/12) times the value, truncated toward zero.
int AlterTage(int einheit, int wert);
// The premises (0 or less: all) is a condition on the premises of the day.
QString BestandDatenSQL(const Bestandsparameter& p, int betriebsstaette);
QString BestandSchnellwahlSQL(const Bestandsparameter& p, int betriebsstaette);
QString BestandTitelzusatz(const Bestandsparameter& p);
QList<NeuesFeld> BestandBildschirmFelder();
QList<NeuesFeld> BestandDruckFelder();

}  // namespace ListenDialoge
