#include "AdisDatei.h"

#include <QDate>
#include <QFile>

#include <algorithm>

namespace {

constexpr QStringView Zeilenarten = u"DVTZCSRFIOE";
constexpr QStringView Statuszeichen = u"HNSFD";

bool Ziffern(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// A number field: digits with an optional leading sign and the decimals implied by the
// definition; one written with its own decimal sign is taken as it stands.
QString Zahl(QStringView roh, int dezimalen)
{
    QString vorzeichen;
    QStringView ziffern = roh;
    if (ziffern.startsWith(u'-') || ziffern.startsWith(u'+')) {
        if (ziffern.startsWith(u'-'))
            vorzeichen = QStringLiteral("-");
        ziffern = ziffern.mid(1).trimmed();
    }
    if (!Ziffern(ziffern)) {
        QString mitKomma = ziffern.toString();
        mitKomma.replace(u',', u'.');
        const qsizetype punkt = mitKomma.indexOf(u'.');
        if (punkt >= 0 && mitKomma.count(u'.') == 1 &&
            (punkt == 0 || Ziffern(QStringView(mitKomma).left(punkt))) &&
            (punkt == mitKomma.size() - 1 || Ziffern(QStringView(mitKomma).mid(punkt + 1))))
            return vorzeichen + mitKomma;
        return roh.toString();
    }
    QString s = ziffern.toString();
    while (s.size() > 1 && s.startsWith(u'0'))
        s.remove(0, 1);
    if (dezimalen > 0) {
        if (s.size() <= dezimalen)
            s = QString(dezimalen + 1 - s.size(), u'0') + s;
        s.insert(s.size() - dezimalen, u'.');
    }
    return vorzeichen + s;
}

}  // namespace

AdisDatei::Ergebnis AdisDatei::Lesen(const QString& datei)
{
    abschnitte_.clear();
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly)) {
        fehler_ = QStringLiteral("Die Datei %1 konnte nicht geöffnet werden!").arg(datei);
        return Ergebnis::Fehlerhaft;
    }
    return LesenText(f.readAll());
}

AdisDatei::Ergebnis AdisDatei::Abbruch(int zeile, const QString& text)
{
    abschnitte_.clear();
    fehler_ = QStringLiteral("Zeile %1: %2").arg(zeile).arg(text);
    return Ergebnis::Fehlerhaft;
}

AdisDatei::Ergebnis AdisDatei::LesenText(const QByteArray& inhalt)
{
    abschnitte_.clear();
    fehler_.clear();
    const QString text = QString::fromLatin1(inhalt);
    // The definitions of the running logical file: entity -> its last section.
    std::map<int, std::size_t> definitionen;
    bool erste = true;
    int nr = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype j = i;
        while (j < text.size() && text[j] != u'\r' && text[j] != u'\n')
            ++j;
        const QStringView zeile = QStringView(text).mid(i, j - i);
        if (j < text.size() && text[j] == u'\r')
            ++j;
        if (j < text.size() && text[j] == u'\n')
            ++j;
        i = j;
        ++nr;
        if (zeile.isEmpty())
            continue;
        const QChar art = zeile[0];
        const bool mitEntity = art == u'D' || art == u'V';
        const bool gueltig = Zeilenarten.contains(art) && zeile.size() >= 2 &&
                             Statuszeichen.contains(zeile[1]) &&
                             (!mitEntity || (zeile.size() >= 8 && Ziffern(zeile.mid(2, 6))));
        if (!gueltig) {
            if (erste) {
                fehler_ = QStringLiteral("Die Datei ist keine ADIS-Datei.");
                return Ergebnis::KeinADIS;
            }
            return Abbruch(nr, QStringLiteral("Die Zeile ist keine ADIS-Zeile."));
        }
        erste = false;
        const QChar status = zeile[1];
        if (art == u'Z')
            return Ergebnis::Gelesen;
        if (art == u'T') {
            definitionen.clear();
            continue;
        }
        if (!mitEntity)
            continue;
        const int entity = zeile.mid(2, 6).toInt();
        const QStringView rest = zeile.mid(8);
        if (art == u'D') {
            if (rest.isEmpty() || rest.size() % 11 != 0)
                return Abbruch(nr, QStringLiteral("Die Definitionszeile von Entity %1 hat keine "
                                                  "vollständigen Feldangaben.")
                                       .arg(entity));
            AdisAbschnitt a;
            a.entity = entity;
            a.status = status;
            int start = 0;
            for (qsizetype k = 0; k < rest.size(); k += 11) {
                const QStringView gruppe = rest.mid(k, 11);
                if (!Ziffern(gruppe))
                    return Abbruch(nr, QStringLiteral("Die Feldangabe \"%1\" ist nicht numerisch.")
                                           .arg(gruppe.toString()));
                AdisFeld f;
                f.item = gruppe.left(8).toInt();
                f.laenge = gruppe.mid(8, 2).toInt();
                f.dezimalen = gruppe.mid(10, 1).toInt();
                f.start = start;
                if (f.laenge == 0 || f.dezimalen > f.laenge)
                    return Abbruch(nr, QStringLiteral("Das Feld %1 hat die Länge %2 mit %3 "
                                                      "Dezimalstellen.")
                                           .arg(f.item)
                                           .arg(f.laenge)
                                           .arg(f.dezimalen));
                start += f.laenge;
                a.felder.push_back(f);
            }
            definitionen[entity] = abschnitte_.size();
            abschnitte_.push_back(std::move(a));
            continue;
        }
        const auto d = definitionen.find(entity);
        if (d == definitionen.end())
            return Abbruch(
                nr, QStringLiteral("Wertzeile ohne Definitionszeile für Entity %1.").arg(entity));
        AdisAbschnitt& a = abschnitte_[d->second];
        const AdisFeld& letztes = a.felder.back();
        const qsizetype erwartet = letztes.start + letztes.laenge;
        if (rest.size() != erwartet)
            return Abbruch(nr, QStringLiteral("Die Wertzeile von Entity %1 hat %2 statt %3 "
                                              "Zeichen.")
                                   .arg(entity)
                                   .arg(rest.size())
                                   .arg(erwartet));
        // Faulty rows and deletions are no data to take over.
        if (status == u'F' || status == u'D')
            continue;
        a.zeilen.push_back(rest.toString());
    }
    if (erste) {
        fehler_ = QStringLiteral("Die Datei ist keine ADIS-Datei.");
        return Ergebnis::KeinADIS;
    }
    return Abbruch(nr + 1,
                   QStringLiteral("Die Datei endet ohne Endezeile, sie ist unvollständig."));
}

bool AdisDatei::GetAbschnitt(int entity, int& abschnitt) const
{
    for (int k = std::max(abschnitt + 1, 0); k < int(abschnitte_.size()); ++k)
        if (abschnitte_[std::size_t(k)].entity == entity) {
            abschnitt = k;
            return true;
        }
    return false;
}

int AdisDatei::Zeilen(int entity) const
{
    int n = 0;
    for (const AdisAbschnitt& a : abschnitte_)
        if (a.entity == entity)
            n += int(a.zeilen.size());
    return n;
}

std::optional<QString> AdisDatei::GetWert(int abschnitt, int zeile, int item) const
{
    if (abschnitt < 0 || abschnitt >= int(abschnitte_.size()))
        return std::nullopt;
    const AdisAbschnitt& a = abschnitte_[std::size_t(abschnitt)];
    if (zeile < 0 || zeile >= int(a.zeilen.size()))
        return std::nullopt;
    for (const AdisFeld& f : a.felder) {
        if (f.item != item)
            continue;
        const QStringView roh = QStringView(a.zeilen[std::size_t(zeile)]).mid(f.start, f.laenge);
        if (roh.count(u'|') == roh.size())
            return std::nullopt;
        const QStringView wert = roh.trimmed();
        if (wert.isEmpty())
            return std::nullopt;
        const auto t = typen_.find(item);
        const QChar typ = t == typen_.end() ? QChar(u'A') : t->second;
        if (typ == u'D') {
            if (wert.size() == 8 && Ziffern(wert)) {
                const QDate datum(wert.left(4).toInt(), wert.mid(4, 2).toInt(),
                                  wert.mid(6, 2).toInt());
                if (datum.isValid())
                    return datum.toString(QStringLiteral("dd.MM.yyyy"));
            }
            return wert.toString();
        }
        if (typ == u'N' || f.dezimalen > 0)
            return Zahl(wert, f.dezimalen);
        return wert.toString();
    }
    return std::nullopt;
}
