#include "HauptModell.h"

#include <algorithm>
#include <array>

namespace HauptModell {

QList<ListenEintrag> ListenEintraege(const QStringList& zeilen)
{
    QList<ListenEintrag> r;
    for (const QString& zeile : zeilen) {
        const QStringList teile = zeile.split(QLatin1Char(';'));
        ListenEintrag e;
        e.id = teile.value(0).toInt();
        bool zahl = false;
        const int symbol = teile.value(1).trimmed().toInt(&zahl);
        e.symbol = zahl ? symbol : -1;
        // A name may hold ";" itself.
        e.bezeichnung = teile.mid(2).join(QLatin1Char(';'));
        r << e;
    }
    return r;
}

QList<Symbolleistenelement> Symbolleiste(const QStringList& symbolListe)
{
    QList<Symbolleistenelement> r;
    int x = ErstesX;
    const auto knopf = [&](const char* aktion) {
        Symbolleistenelement e;
        e.art = Symbolleistenelement::Aktion;
        e.aktion = QString::fromLatin1(aktion);
        e.x = x;
        x += KnopfBreite;
        r << e;
    };
    const auto trenner = [&] {
        Symbolleistenelement e;
        e.x = x;
        x += TrennerBreite;
        r << e;
    };
    knopf("actStammdatenBearbeiten");
    knopf("actMLPBearbeiten");
    knopf("actMLPImport");
    knopf("actMilchanlieferung");
    knopf("actHITMeldung");
    trenner();
    knopf("actDrucken");
    trenner();
    knopf("actListenAuswahl");
    trenner();
    knopf("actListenTermine");
    for (const ListenEintrag& liste : ListenEintraege(symbolListe)) {
        Symbolleistenelement e;
        e.art = Symbolleistenelement::Liste;
        e.liste = liste;
        e.x = x;
        x += KnopfBreite;
        r << e;
    }
    trenner();
    knopf("actMilchanlieferungStatistik");
    knopf("actTierbestandStatistik");
    knopf("actBesamungsindexStatistik");
    knopf("actZwischenkalbezeitStatistik");
    trenner();
    knopf("actBetriebsstaetteAuswahl");
    return r;
}

int MitternachtIntervall(const QTime& jetzt)
{
    return (86410 - jetzt.msecsSinceStartOfDay() / 1000) * 1000;
}

QString Hinweistext(const QString& hinweis, int anzahlInListe)
{
    const QString text = QLatin1Char(' ') + hinweis;
    if (text.trimmed().isEmpty() && anzahlInListe > 0)
        return QStringLiteral(" %1 Einträge in der Liste").arg(anzahlInListe);
    return text;
}

QColor Listenfarbe(int index)
{
    static constexpr std::array<QRgb, 15> farben = {
        0xFFFFFF, 0xC0C0C0, 0x00FF00, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFFC891, 0xFF8080,
        0xFFFF80, 0x80FF80, 0x00FF80, 0x80FFFF, 0x5EAEFF, 0xFF80FF, 0xFF9933};
    return QColor::fromRgb(farben[size_t(std::clamp(index, 0, int(farben.size()) - 1))]);
}

Schliessen MeldungenPruefen(bool updateWartet, bool fragenBeimEnde, int offeneMeldungen)
{
    if (updateWartet || !fragenBeimEnde || offeneMeldungen <= 0)
        return Schliessen::Erlaubt;
    return Schliessen::Fragen;
}

}  // namespace HauptModell
