#pragma once

#include "StammdatenLogik.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>
#include <utility>

class TDM;
namespace db {
class DataSet;
class Transaction;
}  // namespace db

// The animal record as the card edits it.
struct TTierSatz {
    int id = 0;  // 0: not stored yet
    Stammdaten::TTier tier;
    int knr = 0;  // 0: empty
    QString name;
    QString vater;
    QString vaterNr;
    QString mutter;
    QString mutterNr;
    QString gekauftBem;
    QString verkauftBem;
    int rasse = 0;
    int abgangsgrund = -1;  // -1: empty
    // The stored columns as read or last stored: a store writes only while the row still holds
    // them. Empty: no check.
    QVariantMap geladen;
};

// Reads and stores animal records in the data module's animal transaction, which the caller
// keeps started. A store runs every check first and writes nothing when one fails; the
// sequence of premises periods is checked on every store, so a failure blocks until the
// periods are mended.
class TTierSpeicher {
public:
    explicit TTierSpeicher(TDM& dm);

    TTierSatz Laden(int id);
    // A new animal: female, heifer, normal kind and the first breed in use (0 when none is).
    TTierSatz Neu();
    // Whether a female animal has current inseminations and calvings; both false for a male
    // or an animal not stored yet.
    void Geschichte(const TTierSatz& satz, bool& hatBesamungen, bool& hatKalbungen);

    struct TErgebnis {
        std::optional<Stammdaten::TFehler> fehler;
        std::optional<Stammdaten::TZeitraumFehler> zeitraumFehler;
        // What the period check looked at (Stammdaten::ZeitraumSchluessel).
        QString zeitraumSchluessel;
        Stammdaten::TMeldungen meldungen;
        // Changed or deleted at another workstation and the user chose to see it: nothing was
        // stored, the record is to be read anew.
        bool neuLaden = false;
        bool Gespeichert() const { return !fehler && !zeitraumFehler && !neuLaden; }
    };
    // Checks, then inserts or updates and commits retaining; a new record gets its ID. A row
    // changed or deleted at another workstation since it was read asks (db::AskConflict): reload
    // gives neuLaden, overwrite stores, cancel throws db::Abort. A period
    // failure whose key equals akzeptiert (the user chose to keep those periods) does not stop
    // the store.
    TErgebnis Speichern(TTierSatz& satz, const QDate& heute, bool meldungAuto,
                        const QString& akzeptiert = {});

    // The sequence of the stored animal's periods against the record's dates; schluessel gets
    // what was looked at.
    std::optional<Stammdaten::TZeitraumFehler> ZeitraeumePruefen(const TTierSatz& satz,
                                                                 QString& schluessel);

    // The pending arrival (14) or departure (3) report, committed retaining.
    void MeldungAnlegen(int tierID, int meldung, const QDate& datum);

    // The mother named by the record (name or ear tag, either case) whose calving falls on the
    // record's birth date; 0 unless exactly one animal fits.
    int MutterSuchen(const TTierSatz& satz);
    // The calves of a calving.
    QList<int> Kaelber(int kalbungID);
    // The dry-off date the stored animal's calvings give; invalid when there is none.
    QDate TrockenBerechnen(int tierID);
    // Days of the breed's cycle to the next heat; 0 when none is entered.
    int RindernZyklus(int rasse);
    // How many premises periods the animal has.
    int ZeitraumAnzahl(int tierID);
    // The figures the card shows beside the record; none when the animal is not stored.
    struct TInfo {
        QString alter;
        QString betriebsstaette;  // the latest
        QString tage;
        QDate sollKalben;
        std::optional<int> statusIndex;
    };
    std::optional<TInfo> Info(int tierID);
    // The texts stored so far as purchase or sale remark, sorted, for the remark combos.
    enum class TBemerkung { Gekauft, Verkauft };
    QStringList BisherigeBemerkungen(TBemerkung spalte);

    // ID and name of the breeds in use and of all premises (by name), and a breed's name, read
    // in the given transaction.
    using TEintraege = QList<std::pair<int, QString>>;
    static TEintraege Rassen(db::Transaction& tr);
    static TEintraege Betriebsstaetten(db::Transaction& tr);
    static QString RasseName(db::Transaction& tr, int rasse);
    // The ID of the premises marked as default (the last by name when several are); 0 when none
    // is.
    static int StandardBetriebsstaette(db::Transaction& tr);

    // The statements of the card's lists: the premises periods (written back), the current
    // inseminations and calvings, the remarks (written back, new ones numbered by the
    // generator) and the milk recordings of the animal (parameter ID, TIER for the remarks and
    // the recordings).
    struct TListen {
        db::DataSet& zeitraeume;
        db::DataSet& besamungen;
        db::DataSet& kalbungen;
        db::DataSet& bemerkungen;
        db::DataSet& mlp;
    };
    static void ListenEinrichten(const TListen& listen);
    // The card's quick list: the current animals (while a new one is entered) or one animal.
    static QString SchnellwahlAktuelle();
    static QString SchnellwahlTier(int tierID);

    // Deletes an insemination or calving of the animal, committed retaining. A row the list
    // shows without ID is found by its number alone.
    void BesamungLoeschen(int tierID, std::optional<int> besamungID, int nr);
    void KalbungLoeschen(int tierID, std::optional<int> kalbungID, int nr);

private:
    TDM& dm_;
};
