#pragma once

#include "HitDaten.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>

class TEinstellungen;

// What a report takes from the settings at the moment it is built.
struct THITVorgaben {
    QString Betrieb;  // the first holding number
    QString Rasse;    // the first breed short code in use
    bool GeburtVerlauf = true;
    bool GeburtVerbleib = true;
    bool GeburtET = true;
    bool GeburtTiername = false;
};
// Reads them from the settings each time it is called.
std::function<THITVorgaben()> HITVorgabenAus(const TEinstellungen& einstellungen);

// One report to the national cattle database as a list of German keys with text values
// (MELDUNG, LOM, BETRIEB, DATUM, ...), turned into the command that the client sends and filled
// back from an edited command.
class THITMeldung {
public:
    using Werte = QList<QPair<QString, QString>>;

    explicit THITMeldung(std::function<THITVorgaben()> vorgaben);

    // Empties the list and writes the defaults.
    void Vorbelegen();
    // Reads "KEY=value;KEY=value" into the list without emptying it.
    void DatenLesen(const QString& text);
    // Defaults, the DATEN text of the list, then its non-empty LOM, BETRIEB, DATUM, MELDUNG,
    // GEBDAT, RASSE, GESCHLECHT and LOM_MUTTER.
    void Laden(const Werte& liste);
    QString GetWert(const QString& schluessel) const;
    void SetWert(const QString& schluessel, const QString& wert);
    // The DATEN text of the keys named (";"-separated) that have a value, in that order.
    QString DatenText(const QString& schluessel) const;
    void AlsBefehl(THITPBefehl& befehl) const;
    void AusBefehl(const THITPBefehl& befehl);

    const Werte& Liste() const { return werte_; }

private:
    void WertUebernehmen(const Werte& liste, const QString& schluessel);

    std::function<THITVorgaben()> vorgaben_;
    Werte werte_;
};

// Login (type 2) or logout (type 1); any other type gives a command of that type only.
THITPBefehl HITAnAbmeldung(int typ, const QString& betrieb, const QString& pin);
THITPBefehl HITPinAenderung(const QString& betrieb, const QString& pin, const QString& pin2);
THITPQuery HITBestandsregisterAbfrage(const QString& betrieb, const QDate& von, const QDate& bis);
THITPQuery HITFehlerhafteVorgaengeAbfrage(const QString& betrieb);

int HITFeldIndex(const THITPBefehl& befehl, int code);
QString HITFeldWert(const THITPBefehl& befehl, int code);
// What names a command in the transfer log: the holding of a login, the ear tag of an animal
// report, empty otherwise.
QString HITSchluessel(const THITPBefehl& befehl);
