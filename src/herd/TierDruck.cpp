#include "TierDruck.h"

#include <Datenmodul.h>
#include <Druckauftrag.h>
#include <ProgDatum.h>

#include <Query.h>
#include <Transaction.h>

#include <QLocale>
#include <QStringList>

#include <stdexcept>

namespace TierDruck {

QString TierZeile(const db::Query& tier)
{
    QStringList teile;
    const db::Value& knr = tier.Field(QStringLiteral("KNR"));
    const QString knrText = knr.IsNull() ? QString() : KNRFormatieren(knr.AsInteger());
    for (const QString& s : {knrText, tier.Field(QStringLiteral("NAME")).AsString().trimmed(),
                             tier.Field(QStringLiteral("NUMMER")).AsString().trimmed()})
        if (!s.isEmpty())
            teile << s;
    return QStringLiteral("Tier: ") + teile.join(QStringLiteral(" - "));
}

QString Zahl(double wert, int stellen)
{
    QLocale deutsch(QLocale::German, QLocale::Germany);
    deutsch.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = deutsch.toString(wert, 'f', stellen);
    if (stellen == 0)
        return text == QLatin1String("0") || text == QLatin1String("-0") ? QString() : text;
    const qsizetype komma = text.indexOf(deutsch.decimalPoint());
    const qsizetype null = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (komma == null + 1 && text.at(null) == QLatin1Char('0'))
        text.remove(null, 1);
    return text;
}

QString Zeilen(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return text;
}

void TierOeffnen(db::Transaction& transaktion, int tierID, db::Query& tier,
                 std::initializer_list<db::Query*> weitere)
{
    if (!transaktion.Active())
        transaktion.Start();
    const auto oeffnen = [tierID](db::Query& q) {
        q.Close();
        q.Param(QStringLiteral("TIER_ID")).SetInteger(tierID);
        q.Open();
    };
    oeffnen(tier);
    for (db::Query* q : weitere)
        oeffnen(*q);
    if (tier.Eof())
        throw std::runtime_error(
            QStringLiteral("Das Tier %1 ist nicht mehr vorhanden.").arg(tierID).toStdString());
}

void Kopf(TDruck& druck, const QString& titel, long double abstandTitel, long double abstandTier,
          const db::Query& tier)
{
    const QString arial = QStringLiteral("Arial");
    druck.Pos = druck.SeitenrandOben();
    druck.Zeilenabstand = abstandTitel;
    druck.SetzeSchrift(arial, 14, fsBold, 0, false);
    const int rechts = druck.GetPosRandRechts();
    druck.PrintText(rechts / 2, titel, false, taCenter);
    druck.PrintText(
        rechts,
        QStringLiteral("Stand: ") + ProgDatum::Heute().toString(QStringLiteral("dd.MM.yyyy")),
        false, taRightJustify);
    druck.Pos += int(1.5L * druck.Zeilenhoehe());
    druck.Zeilenabstand = abstandTier;
    druck.SetzeSchrift(arial, 10, fsBold, 0, false);
    druck.PrintText(0, TierZeile(tier), true);
}

void Ausfuehren(db::Transaction& transaktion, const std::function<void()>& inhalt,
                const std::function<void()>& schliessen)
{
    try {
        inhalt();
    } catch (...) {
        schliessen();
        if (transaktion.Active()) {
            try {
                transaktion.Rollback();
            } catch (...) {
            }
        }
        throw;
    }
    schliessen();
    if (transaktion.Active())
        transaktion.Commit();
}

}  // namespace TierDruck
