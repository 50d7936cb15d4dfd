#include "ListenDesignLogik.h"

#include <ListenTools.h>

#include <algorithm>

namespace {

using ListenKodierung::FeldEintrag;

FeldEintrag Nummer(int n)
{
    return FeldEintrag::AusText(ListenTools::FortlaufendeNummerEintrag(n));
}

FeldEintrag Fest(int n)
{
    return FeldEintrag::AusText(ListenTools::FesterWertEintrag(n));
}

int Begrenzt(int index, qsizetype anzahl)
{
    return anzahl == 0 ? -1 : std::min(index, int(anzahl) - 1);
}

}  // namespace

void TListenDesignLogik::QuellenBereinigen(Quellen& q)
{
    if (!q.quelle1)
        q.quelle2.reset();
    if (!q.quelle2)
        q.quelle3.reset();
    if (!q.quelle1 || !q.quelle2) {
        q.feld12_1.reset();
        q.feld12_2.reset();
    }
    if (!q.quelle2 || !q.quelle3) {
        q.feld23_2.reset();
        q.feld23_3.reset();
    }
}

QString TListenDesignLogik::QuellenPruefen(const Quellen& q,
                                           const std::function<bool(int)>& istTypP)
{
    if (!q.quelle1)
        return QStringLiteral("Sie müssen mindestens eine Quelle angeben");
    if (q.quelle2 && (!q.feld12_1 || !q.feld12_2))
        return QStringLiteral("Geben Sie die Verbindungsfelder für die Quellen 1 und 2 an");
    if (q.quelle3 && (!q.feld23_2 || !q.feld23_3))
        return QStringLiteral("Geben Sie die Verbindungsfelder für die Quellen 2 und 3 an");
    const bool p1 = istTypP(*q.quelle1);
    const bool p2 = q.quelle2 && istTypP(*q.quelle2);
    const bool p3 = q.quelle3 && istTypP(*q.quelle3);
    if (!q.quelle2)
        return p1 ? QStringLiteral(
                        "Diese Datenquelle ist allein nicht erlaubt\r"
                        "Sie benötigen eine weitere")
                  : QString();
    if (!q.quelle3)
        return p1 && p2 ? QStringLiteral(
                              "Diese Datenquellen können nicht\r"
                              "miteinander direkt verbunden werden")
                        : QString();
    if (p1 && p2 && p3)
        return QStringLiteral(
            "Diese Datenquellen können nicht\r"
            "miteinander verbunden werden\r"
            "Sie müssen eine Quelle durch eine andere austauschen");
    // Without a "P" source in front, one in the middle or at the end cannot be placed.
    if (!p1 && (p2 || p3))
        return QStringLiteral(
            "Die Datenquelle in der Mitte darf dort nicht stehen.\r"
            "Ändern Sie die Reihenfolge");
    return {};
}

void TListenDesignLogik::AusgabefelderLaden(const QList<Feld>& alle, const QString& felder)
{
    alle_ = alle;
    sichtbar_.clear();
    verfuegbar_.clear();
    for (const QString& token : ListenKodierung::FelderLesen(felder)) {
        if (ListenTools::IstFortlaufendeNummer(token)) {
            sichtbar_ << Nummer(ListenTools::PseudoFeldNummer(token));
        } else if (ListenTools::IstFesterWert(token)) {
            sichtbar_ << Fest(ListenTools::PseudoFeldNummer(token));
        } else {
            for (const Feld& f : alle_)
                if (f.feld == token)
                    sichtbar_ << f;
        }
    }
    for (const Feld& f : alle_)
        if (!sichtbar_.contains(f))
            verfuegbar_ << f;
    verfuegbar_ << Nummer(0) << Fest(0);
}

QStringList TListenDesignLogik::Kombis(const QList<Feld>& felder)
{
    QStringList r;
    for (const Feld& f : felder)
        r << f.kombi;
    return r;
}

std::optional<TListenDesignLogik::Auswahl> TListenDesignLogik::Hinzufuegen(int verfuegbar)
{
    if (verfuegbar < 0 || verfuegbar >= verfuegbar_.size())
        return std::nullopt;
    const Feld f = verfuegbar_.at(verfuegbar);
    if (ListenTools::IstFortlaufendeNummer(f.feld)) {
        sichtbar_ << Nummer(NaechsteNummer(QStringLiteral("S.N")));
    } else if (ListenTools::IstFesterWert(f.feld)) {
        sichtbar_ << Fest(NaechsteNummer(QStringLiteral("S.F")));
    } else {
        verfuegbar_.removeAt(verfuegbar);
        sichtbar_ << f;
    }
    return Auswahl{Begrenzt(verfuegbar, verfuegbar_.size()), int(sichtbar_.size()) - 1};
}

std::optional<int> TListenDesignLogik::Entfernen(int sichtbar)
{
    if (sichtbar < 0 || sichtbar >= sichtbar_.size())
        return std::nullopt;
    const Feld f = sichtbar_.takeAt(sichtbar);
    if (!ListenTools::IstPseudoFeld(f.feld))
        verfuegbar_ << f;
    return Begrenzt(sichtbar, sichtbar_.size());
}

void TListenDesignLogik::AlleHinzufuegen()
{
    // Only the two pseudo fields with number 0 are available among the pseudo fields.
    for (const Feld& f : verfuegbar_)
        if (!ListenTools::IstPseudoFeld(f.feld))
            sichtbar_ << f;
    verfuegbar_ = {Nummer(0), Fest(0)};
}

void TListenDesignLogik::AlleEntfernen()
{
    for (const Feld& f : sichtbar_)
        if (!ListenTools::IstPseudoFeld(f.feld))
            verfuegbar_ << f;
    sichtbar_.clear();
}

int TListenDesignLogik::Auf(int sichtbar)
{
    if (sichtbar <= 0 || sichtbar >= sichtbar_.size())
        return sichtbar;
    sichtbar_.swapItemsAt(sichtbar, sichtbar - 1);
    return sichtbar - 1;
}

int TListenDesignLogik::Ab(int sichtbar)
{
    if (sichtbar < 0 || sichtbar + 1 >= sichtbar_.size())
        return sichtbar;
    sichtbar_.swapItemsAt(sichtbar, sichtbar + 1);
    return sichtbar + 1;
}

int TListenDesignLogik::NaechsteNummer(const QString& praefix) const
{
    QList<int> nummern;
    for (const Feld& f : sichtbar_)
        if (f.feld.startsWith(praefix))
            nummern << ListenTools::PseudoFeldNummer(f.feld);
    std::sort(nummern.begin(), nummern.end());
    for (int i = 1; i <= nummern.size(); ++i)
        if (nummern.at(i - 1) > i)
            return i;
    return int(nummern.size()) + 1;
}

QString TListenDesignLogik::Felder() const
{
    QStringList tokens;
    for (const Feld& f : sichtbar_)
        tokens << f.feld;
    return ListenKodierung::FelderKodieren(tokens);
}

QString TListenDesignLogik::FelderPruefen() const
{
    return sichtbar_.isEmpty()
               ? QStringLiteral("Sie müssen mindestend ein Feld zum anzeigen angeben")
               : QString();
}

QStringList TListenDesignLogik::EinschraenkungsFelder() const
{
    return Kombis(alle_);
}

QStringList TListenDesignLogik::SortierFelder() const
{
    QStringList r;
    for (const Feld& f : alle_)
        if (f.Sortierbar())
            r << f.kombi;
    return r;
}

QList<QStringList> TListenDesignLogik::EinschraenkungsZeilen(const QString& bedingungen) const
{
    using namespace ListenKodierung;
    QList<QStringList> r;
    for (const Bedingung& b : BedingungenLesen(bedingungen)) {
        const QString kombi = FeldKombi(alle_, b.feld);
        if (kombi.isEmpty())
            continue;
        r << QStringList{kombi, Lesen(DesignerOperatoren(), b.operation), b.wert,
                         Lesen(Verknuepfungen(), b.verknuepfung)};
    }
    return r;
}

QString TListenDesignLogik::Bedingungen(const QList<QStringList>& zeilen) const
{
    using namespace ListenKodierung;
    QList<Bedingung> b;
    for (const QStringList& z : zeilen)
        b << Bedingung{FeldToken(alle_, z.value(0)), Schreiben(DesignerOperatoren(), z.value(1)),
                       z.value(2), Schreiben(Verknuepfungen(), z.value(3))};
    return BedingungenKodieren(b);
}

QList<QStringList> TListenDesignLogik::SortierungsZeilen(const QString& sortierung) const
{
    using namespace ListenKodierung;
    QList<QStringList> r;
    for (const ListenKodierung::Sortierung& s : SortierungLesen(sortierung)) {
        const QString kombi = FeldKombi(alle_, s.feld);
        if (kombi.isEmpty())
            continue;
        r << QStringList{kombi, Lesen(Sortierrichtungen(), s.richtung)};
    }
    return r;
}

QString TListenDesignLogik::Sortierung(const QList<QStringList>& zeilen) const
{
    using namespace ListenKodierung;
    QList<ListenKodierung::Sortierung> s;
    for (const QStringList& z : zeilen)
        s << ListenKodierung::Sortierung{FeldToken(alle_, z.value(0)),
                                         Schreiben(Sortierrichtungen(), z.value(1))};
    return SortierungKodieren(s);
}

int TListenDesignLogik::SymbolNachher(std::optional<int> symbol, int anzahl)
{
    if (!symbol)
        return 0;
    const int n = *symbol + 1;
    return n >= anzahl ? 0 : n;
}

int TListenDesignLogik::SymbolVorher(std::optional<int> symbol, int anzahl)
{
    if (!symbol)
        return 0;
    const int n = *symbol - 1;
    return n < 0 ? std::max(anzahl - 1, 0) : n;
}

QString TListenDesignLogik::SymbolZaehler(std::optional<int> symbol, int anzahl)
{
    return QStringLiteral("(%1/%2)").arg(symbol.value_or(-1) + 1).arg(anzahl);
}

std::vector<ListenSpalten::LayoutZeile> TListenDesignLogik::TestLayout() const
{
    std::vector<ListenSpalten::LayoutZeile> r;
    for (const Feld& f : sichtbar_) {
        ListenSpalten::LayoutZeile z;
        z.feld = f.feld;
        bool zahl = false;
        const int breite = f.breite.toInt(&zahl);
        if (zahl)
            z.breite = breite;
        z.titel = f.text;
        if (ListenTools::IstFesterWert(f.feld))
            z.wert = QStringLiteral("fest");
        z.autobreite = sichtbar_.size() == 1;
        r.push_back(z);
    }
    return r;
}
