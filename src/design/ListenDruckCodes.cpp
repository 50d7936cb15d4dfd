#include "ListenDruckCodes.h"

#include <ListenDruck.h>

#include <algorithm>

namespace ListenDruckCodes {

const QList<RCode>& LinienArten()
{
    static const QList<RCode> t{{QStringLiteral("S"), QStringLiteral("durchgezogen")},
                                {QStringLiteral("D"), QStringLiteral("strichliert")},
                                {QStringLiteral("P"), QStringLiteral("punktiert")},
                                {QStringLiteral("DP"), QStringLiteral("Strich Punkt")},
                                {QStringLiteral("DPP"), QStringLiteral("Strich Punkt Punkt")}};
    return t;
}

const QList<RBreite>& LinienBreiten()
{
    static const QList<RBreite> t{{0, QStringLiteral("Haarlinie")}, {50, QStringLiteral("0,50")},
                                  {75, QStringLiteral("0,75")},     {100, QStringLiteral("1,00")},
                                  {125, QStringLiteral("1,25")},    {150, QStringLiteral("1,50")},
                                  {175, QStringLiteral("1,75")},    {200, QStringLiteral("2,00")}};
    return t;
}

const QList<RCode>& Ausrichtungen()
{
    static const QList<RCode> t{{QStringLiteral("L"), QStringLiteral("Links")},
                                {QStringLiteral("R"), QStringLiteral("Rechts")},
                                {QStringLiteral("C"), QStringLiteral("Zentriert")}};
    return t;
}

const QList<RCode>& StandCodes()
{
    static const QList<RCode> t{{QStringLiteral("N"), QStringLiteral("nicht anzeigen")},
                                {QStringLiteral("L"), QStringLiteral("Links")},
                                {QStringLiteral("R"), QStringLiteral("Rechts")}};
    return t;
}

const QList<RCode>& PapierAusrichtungen()
{
    static const QList<RCode> t{{QStringLiteral("H"), QStringLiteral("Hochformat")},
                                {QStringLiteral("Q"), QStringLiteral("Querformat")}};
    return t;
}

const QList<RCode>& BeginnTitelCodes()
{
    static const QList<RCode> t{{QStringLiteral("T"), QStringLiteral("Titel")},
                                {QStringLiteral("F"), QStringLiteral("1. Zeile")}};
    return t;
}

QString Text(const QList<RCode>& tabelle, const QString& code)
{
    const QString c = code.trimmed();
    for (const RCode& e : tabelle)
        if (e.Code == c)
            return e.Text;
    return {};
}

QString LinienBreiteText(int breite)
{
    for (const RBreite& e : LinienBreiten())
        if (e.Code == breite)
            return e.Text;
    return {};
}

QFont SchriftAusText(const QString& text)
{
    const ListenDruckRegeln::RSchrift s = ListenDruckRegeln::SchriftLesen(text);
    QFont f(s.Name.trimmed().isEmpty() ? StandardSchriftName : s.Name.trimmed());
    // A font of no size cannot be shown; the text keeps what was stored.
    f.setPointSize(std::max(1, s.Groesse));
    f.setBold((s.Stil & fsBold) != 0);
    f.setItalic((s.Stil & fsItalic) != 0);
    f.setUnderline((s.Stil & fsUnderline) != 0);
    f.setStrikeOut((s.Stil & fsStrikeOut) != 0);
    return f;
}

QString SchriftZuText(const QFont& schrift)
{
    const int groesse =
        schrift.pointSize() > 0 ? schrift.pointSize() : qRound(schrift.pointSizeF());
    QString stil;
    if (schrift.bold())
        stil += QLatin1Char('B');
    if (schrift.italic())
        stil += QLatin1Char('I');
    if (schrift.underline())
        stil += QLatin1Char('U');
    if (schrift.strikeOut())
        stil += QLatin1Char('S');
    return schrift.family() + QLatin1Char(';') + QString::number(groesse) + QLatin1Char(';') + stil;
}

QString SchriftBeschreibung(const QString& text)
{
    const ListenDruckRegeln::RSchrift s = ListenDruckRegeln::SchriftLesen(text);
    const QString name = s.Name.trimmed().isEmpty() ? StandardSchriftName : s.Name.trimmed();
    QString b = name + QStringLiteral(", Größe ") + QString::number(s.Groesse);
    if (s.Stil & fsBold)
        b += QStringLiteral(", fett");
    if (s.Stil & fsItalic)
        b += QStringLiteral(", kursiv");
    if (s.Stil & fsUnderline)
        b += QStringLiteral(", unterstrichen");
    if (s.Stil & fsStrikeOut)
        b += QStringLiteral(", durchgestrichen");
    return b;
}

}  // namespace ListenDruckCodes
