#include "ListenSpalten.h"

#include "ListenTools.h"

#include <algorithm>
#include <stdexcept>

namespace ListenSpalten {

namespace {

QString OhneErstenPunkt(const QString& token)
{
    QString t = token;
    const qsizetype p = t.indexOf(QLatin1Char('.'));
    if (p >= 0)
        t.remove(p, 1);
    return t;
}

// A token names a data column either through a two-character source alias ("Q1.NUMMER", the
// user lists) or plainly ("NUMMER", the built-in lists, whose data SQL names its columns).
bool MitAlias(const QString& token)
{
    return token.contains(QLatin1Char('.'));
}

QString Spaltenname(const QString& token)
{
    return MitAlias(token) ? token.mid(3) : token;
}

// The status picture's column: "STATUSIDX" of a source ("Q1.STATUSIDX") or of a built-in list's
// statement, whose columns carry the source in their names ("Q1STATUSIDX", as printing reads them).
bool IstStatusFeld(const QString& token)
{
    static const QString status = QStringLiteral("STATUSIDX");
    if (Spaltenname(token) == status)
        return true;
    return token.size() == status.size() + 2 && token.at(0) == QLatin1Char('Q') &&
           token.at(1).isDigit() && token.mid(2) == status;
}

void AliasPruefen(const QString& token)
{
    if (!MitAlias(token) && !token.isEmpty())
        return;
    if (token.size() < 4 || token.at(2) != QLatin1Char('.') || !token.at(0).isLetter())
        throw std::runtime_error(
            QStringLiteral("Das Listenfeld \"%1\" ist ungültig: vor dem Punkt steht ein "
                           "zweistelliger Quellname (zum Beispiel Q1.NUMMER).")
                .arg(token)
                .toStdString());
}

char Ausrichtung(const QString& a)
{
    if (a == QLatin1String("C"))
        return 'C';
    if (a == QLatin1String("R"))
        return 'R';
    return 'L';
}

}  // namespace

bool IstBerechneteSpalte(const QString& feld)
{
    // Column names of the database hold neither ':' nor a source alias with a dot.
    return ListenTools::IstPseudoFeld(feld) || feld.contains(QLatin1Char(':'));
}

int Skaliert(int breite, int dpi)
{
    return breite * dpi / 96;
}

Ergebnis SpaltenAnlegen(const std::vector<LayoutZeile>& layout, const Umgebung& umgebung)
{
    Ergebnis e;
    for (const LayoutZeile& z : layout)
        if (!ListenTools::IstPseudoFeld(z.feld))
            AliasPruefen(z.feld);

    bool erledigen = false, terminId = false, termin = false;
    for (const LayoutZeile& z : layout) {
        const QString name = Spaltenname(z.feld);
        if (name == QLatin1String("ERLEDIGEN")) {
            erledigen = true;
            e.erledigenFeld = OhneErstenPunkt(z.feld);
        } else if (name == QLatin1String("TERMIN_ID")) {
            terminId = true;
            e.terminIdFeld = OhneErstenPunkt(z.feld);
        } else if (name == QLatin1String("TERMIN")) {
            termin = true;
            e.terminFeld = OhneErstenPunkt(z.feld);
        }
    }
    e.terminmodus = erledigen && terminId && termin;

    // The columns the data gives before the layout places them; unplaced ones follow at the end.
    QStringList ungenutzt = umgebung.datenfelder;
    const int grenze = umgebung.clientBreite - 50;
    int i = 1;
    int vorige = -1;
    for (const LayoutZeile& z : layout) {
        const bool pseudo = ListenTools::IstPseudoFeld(z.feld);
        const QString token = pseudo ? z.feld : OhneErstenPunkt(z.feld);
        if (z.tierId)
            e.tierIdFeld = OhneErstenPunkt(z.feld);
        Spalte neu;
        neu.datenfeld = token;
        if (pseudo) {
            e.werte.append({token, ListenTools::IstFortlaufendeNummer(token)
                                       ? token
                                       : token + QLatin1Char('=') + z.wert});
        } else {
            if (!ungenutzt.contains(token))
                continue;
            ungenutzt.removeOne(token);
        }
        if (!pseudo && IstStatusFeld(z.feld)) {
            neu.art = Art::StatusIcon;
            neu.breite = Skaliert(20, umgebung.dpi);
            e.spalten.push_back(neu);
            i = 1;
            continue;
        }
        if (z.ueberschrift) {
            neu.art = Art::Ueberschrift;
            e.ueberschriftSpalte = int(e.spalten.size());
            e.spalten.push_back(neu);
            continue;
        }
        if (!z.sichtbar)
            continue;
        const bool gestapelt = vorige >= 0 && i < z.zeile;
        Spalte* s = nullptr;
        if (gestapelt) {
            e.gestapelteKoepfe = true;
            s = &e.spalten[size_t(vorige)];
        } else {
            i = 1;
            e.spalten.push_back(neu);
            s = &e.spalten.back();
        }
        if (z.breite) {
            const int b = Skaliert(*z.breite, umgebung.dpi);
            s->breite = gestapelt ? std::max(s->breite, b) : b;
        }
        if (gestapelt) {
            if (i == 1) {
                const QString k = QStringLiteral("F%1").arg(e.werte.size());
                e.werte.append({k, s->datenfeld});
                s->datenfeld = k + QStringLiteral(":1");
            }
            const QString eintrag =
                ListenTools::IstFesterWert(token) ? token + QLatin1Char('=') + z.wert : token;
            const QString m = QStringLiteral("F%1").arg(e.werte.size());
            e.werte.append({m, eintrag});
            s->datenfeld += QStringLiteral(";%1:%2").arg(m).arg(z.zeile);
            s->gestapelt = true;
            s->zeilen = std::max(s->zeilen, z.zeile);
        } else {
            s->titel.clear();
            s->zeilen = std::max(1, z.zeile);
        }
        for (int l = i; l < z.zeile; ++l)
            s->titel += QLatin1Char('\r');
        s->titel += z.titel;
        s->ausrichtung = Ausrichtung(z.ausrichtung);
        s->groesseVeraenderbar = z.autobreite;
        if (!z.displayFormat.trimmed().isEmpty())
            e.displayFormate.append({token, z.displayFormat.trimmed()});
        s->sortierbar = !s->gestapelt;
        if (s->breite >= 0 && s->breite > grenze)
            s->breite = std::max(grenze, MindestBreite);
        vorige = int(s - e.spalten.data());
        i = std::max(1, z.zeile);
    }
    for (const QString& f : ungenutzt) {
        Spalte s;
        s.datenfeld = f;
        s.titel = f;
        e.spalten.push_back(s);
    }
    for (const Spalte& s : e.spalten)
        e.autoBreite = e.autoBreite || s.groesseVeraenderbar;
    if (!e.autoBreite)
        for (Spalte& s : e.spalten)
            s.groesseVeraenderbar = s.art != Art::StatusIcon;
    return e;
}

QStringList Quellen(const QString& datenfeld, const QList<QPair<QString, QString>>& werte)
{
    QStringList zeilen;
    for (const QString& eintrag : datenfeld.split(QLatin1Char(';'))) {
        const qsizetype p = eintrag.indexOf(QLatin1Char(':'));
        const QString key = p >= 0 ? eintrag.left(p) : eintrag;
        const int zeile = p >= 0 ? std::max(1, eintrag.mid(p + 1).toInt()) : 1;
        while (zeilen.size() < zeile)
            zeilen << QString();
        for (const auto& w : werte)
            if (w.first == key) {
                zeilen[zeile - 1] = w.second;
                break;
            }
    }
    return zeilen;
}

QString BerechneterText(const QStringList& quellen, int satzNummer,
                        const std::function<std::optional<QString>(const QString&)>& feldText,
                        bool kurzeZeilen)
{
    QString text;
    for (qsizetype n = 0; n < quellen.size(); ++n) {
        if (n > 0)
            text += QLatin1Char('\r');
        const QString& q = quellen.at(n);
        if (ListenTools::IstFortlaufendeNummer(q)) {
            text += QString::number(satzNummer);
        } else if (const std::optional<QString> f = feldText(q)) {
            text += *f;
        } else if (ListenTools::IstFesterWert(q)) {
            const qsizetype gleich = q.indexOf(QLatin1Char('='));
            if (gleich >= 0)
                text += q.mid(gleich + 1);
        }
    }
    if (kurzeZeilen) {
        qsizetype ende = text.size();
        while (ende > 0 && (text.at(ende - 1).isSpace()))
            --ende;
        text.truncate(ende);
    }
    return text;
}

}  // namespace ListenSpalten
