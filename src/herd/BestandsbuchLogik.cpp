#include "BestandsbuchLogik.h"

#include <Database.h>
#include <Query.h>
#include <Transaction.h>

#include <stdexcept>

namespace Bestandsbuch {

int StatusIndex(const QString& zustand)
{
    if (zustand == QLatin1String("J"))
        return 1;
    if (zustand == QLatin1String("B"))
        return 2;
    if (zustand == QLatin1String("S"))
        return 3;
    return 0;
}

QString DatumText(const QDate& datum)
{
    return datum.toString(QStringLiteral("dd.MM.yyyy"));
}

Zeitraum Geordnet(const QDate& a, const QDate& b)
{
    if (a.isValid() && b.isValid() && b < a)
        return {b, a};
    return {a, b};
}

QString AnzahlArtName(int anzahl, const QString& knr, const QString& art, const QString& name)
{
    QString s = anzahl != 1 || knr.trimmed().isEmpty()
                    ? QStringLiteral("%1, %2").arg(anzahl).arg(art)
                    : QStringLiteral("%1, %2").arg(knr, art);
    if (!name.trimmed().isEmpty())
        s += QStringLiteral(", ") + name;
    return s;
}

QString Zeilen(const QStringList& werte)
{
    QString s = werte.join(QLatin1Char('\n'));
    while (!s.isEmpty() && (s.back() == QLatin1Char('\n') || s.back() == QLatin1Char(' ')))
        s.chop(1);
    return s;
}

QString Wartezeit(int milch, int fleisch)
{
    return QStringLiteral("M: %1  \nF: %2  ").arg(milch).arg(fleisch);
}

QString VerabreichungMenge(const QString& verabreichung, const QString& menge)
{
    const QString v = verabreichung.trimmed();
    const QString m = menge.trimmed();
    if (v.isEmpty() || m.isEmpty())
        return v + m;
    return v + QStringLiteral(", ") + m;
}

std::vector<DesignZeile> Design()
{
    auto sichtbar = [](const char* feld, int breite, const char* titel, int zeile = 1,
                       const char* ausrichtung = "L") {
        DesignZeile z;
        z.feld = QLatin1String(feld);
        z.breite = breite;
        z.titel = QString::fromUtf8(titel);
        z.ausrichtung = QLatin1String(ausrichtung);
        z.sichtbar = true;
        z.zeile = zeile;
        return z;
    };
    auto versteckt = [](const QString& feld) {
        DesignZeile z;
        z.feld = feld;
        return z;
    };
    std::vector<DesignZeile> d;
    d.push_back(versteckt(QStringLiteral("F0:1;F1:2")));
    d.push_back(versteckt(QStringLiteral("F2:1;F3:2")));
    d.push_back(sichtbar("ANZAHLARTNAME", 135, "Anzahl/KNR, Art, Name"));
    d.push_back(sichtbar("IDENTITAET", 135, "Identität", 2));
    d.push_back(sichtbar("STANDORT", 100, "Standort"));
    d.push_back(sichtbar("ARZNEIMITTEL", 163, "Arzneimittel"));
    d.push_back(sichtbar("BELEGNUMMER", 163, "Belegnummer", 2));
    d.push_back(sichtbar("ANWDATUM", 70, "Datum der\rAnwendung"));
    d.push_back(sichtbar("ANWVERABREICHUNG", 85, "Art der\rVerabreichung"));
    d.push_back(sichtbar("ANWMENGE", 70, "verabreichte\rMenge"));
    d.push_back(sichtbar("WARTEZEIT", 55, "Wartezeit\rin Tagen", 1, "R"));
    d.push_back(sichtbar("ANWENDER", 115, "Anwender"));
    DesignZeile tier = versteckt(QStringLiteral("TIERID"));
    tier.titel = QStringLiteral("TIERID");
    tier.tierId = true;
    d.push_back(tier);
    DesignZeile status = sichtbar("AASTATUSIDX", 20, "");
    status.autobreite = false;
    d.push_back(status);
    // KNR is hidden too: the grid shows every data column the design does not name.
    for (const char* f :
         {"ANZAHL", "KNR", "ART", "NAME", "WFLEISCH", "WMILCH", "BESTANDSBUCH", "DATUMSORT"})
        d.push_back(versteckt(QLatin1String(f)));
    for (const char* art : {"DATUM", "MENGE", "VERAB"})
        for (int i = 1; i <= 5; ++i)
            d.push_back(versteckt(QStringLiteral("ANW%1_%2").arg(i).arg(QLatin1String(art))));
    d.push_back(versteckt(QStringLiteral("LID")));
    return d;
}

std::vector<ListenSpalten::LayoutZeile> GridLayout(const std::vector<DesignZeile>& design)
{
    std::vector<ListenSpalten::LayoutZeile> layout;
    for (const DesignZeile& d : design) {
        ListenSpalten::LayoutZeile z;
        z.feld = d.feld.left(2) + QLatin1Char('.') + d.feld.mid(2);
        z.breite = d.breite;
        z.autobreite = d.autobreite;
        z.titel = d.titel;
        z.ausrichtung = d.ausrichtung;
        z.sichtbar = d.sichtbar;
        z.tierId = d.tierId;
        z.zeile = d.zeile;
        layout.push_back(z);
    }
    return layout;
}

QList<QPair<QString, QString>> ExportTitel(const std::vector<DesignZeile>& design)
{
    QList<QPair<QString, QString>> titel;
    for (const DesignZeile& d : design)
        if (!d.titel.isEmpty())
            titel.append({d.feld, QString(d.titel).replace(QLatin1Char('\r'), QLatin1Char(' '))});
    return titel;
}

QString Fenstertitel(const Zeitraum& z)
{
    return QStringLiteral("Bestandsbuch (von %1 bis %2)").arg(DatumText(z.von), DatumText(z.bis));
}

QString SchnellwahlSQL(const Zeitraum& z)
{
    return QStringLiteral(
               "SELECT S.ID, S.NAME, S.NUMMER\nFROM P_GET_BESTANDSBUCH('%1', '%2') B "
               "JOIN T_STAMMDATEN S\nON B.TIERID = S.ID WHERE S.ID IS NOT NULL\n"
               "ORDER BY DATUMSORT")
        .arg(DatumText(z.von), DatumText(z.bis));
}

namespace {

// Moves one entry from one state to the next; nothing changes unless it is in `von`.
void Umstellen(db::Database& datenbank, int lid, const char* von, const char* nach,
               const QString& fehler)
{
    db::Transaction tr(datenbank);
    tr.Start();
    db::Query q(tr, QStringLiteral("UPDATE T_TIERARZTLEISTUNG SET BESTANDSBUCH = '%1'\n"
                                   "WHERE ID = :LID AND BESTANDSBUCH = '%2'")
                        .arg(QLatin1String(nach), QLatin1String(von)));
    q.Param("LID").SetInteger(lid);
    q.Execute();
    if (q.RowsAffected() != 1)
        throw std::runtime_error(fehler.toStdString());
    tr.Commit();
}

}  // namespace

int OffeneAnzahl(db::Database& datenbank)
{
    db::Transaction tr(datenbank);
    tr.Start();
    db::Query q(tr,
                QStringLiteral("SELECT COUNT(*) FROM T_TIERARZTLEISTUNG WHERE BESTANDSBUCH = 'J'"));
    q.Open();
    const int n = q.Field(0).AsInteger();
    tr.Commit();
    return n;
}

int AlleBuchen(db::Database& datenbank)
{
    db::Transaction tr(datenbank);
    tr.Start();
    db::Query q(tr,
                QStringLiteral(
                    "UPDATE T_TIERARZTLEISTUNG SET BESTANDSBUCH = 'B' WHERE BESTANDSBUCH = 'J'"));
    q.Execute();
    const int n = int(q.RowsAffected());
    tr.Commit();
    return n;
}

void Buchen(db::Database& datenbank, int lid)
{
    Umstellen(datenbank, lid, "J", "B",
              QStringLiteral("Der Eintrag ist nicht mehr ungebucht und wurde nicht gebucht."));
}

void Stornieren(db::Database& datenbank, int lid)
{
    Umstellen(datenbank, lid, "B", "S",
              QStringLiteral("Nur gebuchte Einträge können storniert werden."));
}

void Loeschen(db::Database& datenbank, int lid)
{
    db::Transaction tr(datenbank);
    tr.Start();
    db::Query zustand(
        tr, QStringLiteral("SELECT BESTANDSBUCH FROM T_TIERARZTLEISTUNG WHERE ID = :LID"));
    zustand.Param("LID").SetInteger(lid);
    zustand.Open();
    if (zustand.Eof())
        throw std::runtime_error("Der Eintrag ist nicht mehr vorhanden.");
    if (zustand.Field(0).AsString() == QLatin1String("S"))
        throw std::runtime_error("Ein stornierter Eintrag kann nicht gelöscht werden.");
    zustand.Close();
    for (const char* sql : {"DELETE FROM T_TIERARZTANWENDUNG WHERE LEISTUNG = :LID",
                            "DELETE FROM T_TIERARZTGRUPPE WHERE LEISTUNG = :LID",
                            "DELETE FROM T_TIERARZTLEISTUNG WHERE ID = :LID"}) {
        db::Query q(tr, QLatin1String(sql));
        q.Param("LID").SetInteger(lid);
        q.Execute();
    }
    tr.Commit();
}

}  // namespace Bestandsbuch

namespace Bestandsbuch {

Eintrag EintragLesen(const db::Query& q)
{
    Eintrag e;
    e.lid = q.Field("LID").AsInteger();
    e.tierId = q.Field("TIERID").IsNull() ? 0 : q.Field("TIERID").AsInteger();
    e.anzahl = q.Field("ANZAHL").AsInteger();
    e.knr = q.Field("KNR").AsString().trimmed();
    e.art = q.Field("ART").AsString().trimmed();
    e.name = q.Field("NAME").AsString().trimmed();
    e.identitaet = q.Field("IDENTITAET").AsString();
    e.standort = q.Field("STANDORT").AsString();
    e.arzneimittel = q.Field("ARZNEIMITTEL").AsString();
    e.belegnummer = q.Field("BELEGNUMMER").AsString();
    e.anwender = q.Field("ANWENDER").AsString();
    e.wmilch = q.Field("WMILCH").AsInteger();
    e.wfleisch = q.Field("WFLEISCH").AsInteger();
    e.zustand = q.Field("BESTANDSBUCH").AsString().trimmed();
    for (int i = 0; i < 5; ++i) {
        const QString n = QStringLiteral("ANW%1_").arg(i + 1);
        e.datum[i] = q.Field(n + QStringLiteral("DATUM")).AsDate();
        e.menge[i] = q.Field(n + QStringLiteral("MENGE")).AsString();
        e.verabreichung[i] = q.Field(n + QStringLiteral("VERAB")).AsString();
    }
    return e;
}

}  // namespace Bestandsbuch

namespace Bestandsbuch {

int OffeneImZeitraum(db::Database& datenbank, const Zeitraum& z)
{
    db::Transaction tr(datenbank);
    tr.Start();
    db::Query q(tr, QStringLiteral("SELECT COUNT(DISTINCT LID) FROM P_GET_BESTANDSBUCH(:VON, :BIS) "
                                   "WHERE BESTANDSBUCH = 'J'"));
    q.Param("VON").SetDate(z.von);
    q.Param("BIS").SetDate(z.bis);
    q.Open();
    const int n = q.Field(0).AsInteger();
    tr.Commit();
    return n;
}

QString AlleBuchenFrage(int alle, int imZeitraum)
{
    QString s = QStringLiteral(
                    "Wollen Sie alle ungebuchten Anwendungen jetzt buchen?\r\r"
                    "Es werden %1 Einträge gebucht.")
                    .arg(alle);
    if (alle > imZeitraum)
        s += QStringLiteral(" %1 davon liegen außerhalb des gewählten Zeitraums.")
                 .arg(alle - imZeitraum);
    return s;
}

}  // namespace Bestandsbuch
