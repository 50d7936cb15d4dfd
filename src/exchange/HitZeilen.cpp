#include "HitZeilen.h"

#include <HITConst.h>

#include <stdexcept>

namespace HitZeilen {

namespace {

template <std::size_t N>
QString Wort(const std::array<std::string_view, N>& tabelle, int index)
{
    if (index < 0 || index >= int(N))
        throw std::invalid_argument(
            QStringLiteral("Unbekannter HIT-Schlüssel %1.").arg(index).toStdString());
    return QString::fromLatin1(tabelle[std::size_t(index)].data(),
                               qsizetype(tabelle[std::size_t(index)].size()));
}

void WertPruefen(const QString& wert)
{
    for (const QChar c : wert) {
        if (c == QLatin1Char(';') || c == QLatin1Char('\r') || c == QLatin1Char('\n') ||
            c.unicode() > 0xFF)
            throw std::invalid_argument(
                QStringLiteral("Der Wert \"%1\" enthält das Zeichen \"%2\", das nicht an den "
                               "HIT-Server gesendet werden kann.")
                    .arg(wert, c == QLatin1Char('\n') || c == QLatin1Char('\r')
                                   ? QStringLiteral("Zeilenumbruch")
                                   : QString(c))
                    .toStdString());
    }
}

QString AuswahlText(const THITPAuswahl& a)
{
    QStringList teile;
    if (a.Int2 > 0)
        teile << Wort(HITConst::cFeld, a.Int2);
    if (a.Funktion > 0) {
        QStringList argumente;
        if (a.Int1 > 0)
            argumente << Wort(HITConst::cFeld, a.Int1);
        for (const QString& p : a.Parameter) {
            WertPruefen(p);
            argumente << p;
        }
        teile << Wort(HITConst::cFunktion, a.Funktion) + QLatin1Char('(') +
                     argumente.join(QLatin1Char(',')) + QLatin1Char(')');
    } else if (a.Int1 > 0) {
        teile << Wort(HITConst::cFeld, a.Int1);
    }
    for (const QString& s : a.Spalten) {
        WertPruefen(s);
        teile << s;
    }
    return teile.join(QLatin1Char(';'));
}

}  // namespace

QString BefehlZeile(int nummer, const THITPBefehl& befehl)
{
    QString aktion = QStringLiteral("XS");
    if (befehl.Flags[HITFlag::Wiederholung] == HITFlag::Bestaetigt)
        aktion += QStringLiteral("/B");
    QString zeile = QStringLiteral("*%1:%2:%3")
                        .arg(nummer)
                        .arg(aktion, Wort(HITConst::cMeldung, befehl.Meldung));
    if (befehl.Felder.isEmpty())
        return zeile;
    QStringList felder, werte;
    for (int i = 0; i < befehl.Felder.size(); ++i) {
        felder << Wort(HITConst::cFeld, befehl.Felder[i]);
        const QString wert = i < befehl.Werte.size() ? befehl.Werte[i] : QString();
        WertPruefen(wert);
        werte << wert;
    }
    return zeile + QLatin1Char('/') + felder.join(QLatin1Char(';')) + QLatin1Char(':') +
           werte.join(QLatin1Char(';'));
}

QString AbfrageZeile(int nummer, const THITPQuery& query)
{
    QStringList ausgaben;
    for (const THITPAuswahl& a : query.Auswahl) {
        const QString text = AuswahlText(a);
        if (!text.isEmpty())
            ausgaben << text;
    }
    QString bedingung;
    for (const THITPBedingung& b : query.Bedingungen) {
        WertPruefen(b.Wert);
        if (!bedingung.isEmpty()) {
            const int v = b.Verknuepfung > 0 ? b.Verknuepfung : 1;
            bedingung += QLatin1Char(' ') + Wort(HITConst::cVerknuepfung, v) + QLatin1Char(' ');
        }
        const QString vergleich = Wort(HITConst::cVergleich, b.Vergleich);
        const bool wortVergleich = vergleich.front().isLetter();
        bedingung += Wort(HITConst::cFeld, b.Feld) +
                     (wortVergleich ? QLatin1Char(' ') + vergleich + QLatin1Char(' ') : vergleich) +
                     b.Wert;
    }
    return QStringLiteral("*%1:RS:%2/%3:%4")
        .arg(nummer)
        .arg(Wort(HITConst::cMeldung, query.Betreff), ausgaben.join(QLatin1Char(';')), bedingung);
}

QByteArray Kodieren(const QString& zeile)
{
    return zeile.toLatin1() + "\r\n";
}

bool AntwortLesen(const QString& zeile, Antwortzeile& ergebnis)
{
    QString text = zeile;
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    if (text.size() < 2 || (text[0] != QLatin1Char('=') && text[0] != QLatin1Char('+')))
        return false;
    // Four parts: number, severity/message number, entity/fields, text (which may hold ":").
    const int p1 = text.indexOf(QLatin1Char(':'), 1);
    const int p2 = p1 < 0 ? -1 : text.indexOf(QLatin1Char(':'), p1 + 1);
    const int p3 = p2 < 0 ? -1 : text.indexOf(QLatin1Char(':'), p2 + 1);
    if (p3 < 0)
        return false;
    bool ok = false;
    Antwortzeile z;
    z.letzte = text[0] == QLatin1Char('=');
    z.anfrage = text.mid(1, p1 - 1).toInt(&ok);
    if (!ok)
        return false;
    const QString schwere = text.mid(p1 + 1, p2 - p1 - 1);
    const int strich = schwere.indexOf(QLatin1Char('/'));
    const int s = schwere.left(strich).toInt(&ok);
    if (!ok || s < -3 || s > 4)
        return false;
    z.antwort.Schwere = std::int8_t(s);
    if (strich >= 0) {
        z.antwort.Nummer = schwere.mid(strich + 1).toInt(&ok);
        if (!ok)
            return false;
    }
    const QString bezug = text.mid(p2 + 1, p3 - p2 - 1);
    const QString rest = text.mid(p3 + 1);
    const int b = bezug.indexOf(QLatin1Char('/'));
    const QString entitaet = bezug.left(b);
    const QStringList felder =
        b < 0 ? QStringList() : bezug.mid(b + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    z.antwort.Meldung = qMax(0, HITConst::MeldungIndex(entitaet.toStdString()));
    for (const QString& f : felder)
        z.antwort.Felder << HITConst::FeldIndex(f.toStdString());
    if (s < 0) {
        z.antwort.Funktion = entitaet;
        z.antwort.Texte = rest.split(QLatin1Char(';'));
    } else {
        z.antwort.Texte << rest;
    }
    ergebnis = z;
    return true;
}

}  // namespace HitZeilen
