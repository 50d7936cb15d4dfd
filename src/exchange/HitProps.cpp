#include "HitProps.h"

#include <Grundeinstellungen.h>
#include <HITConst.h>
#include <Meldung.h>
#include <Query.h>
#include <Transaction.h>
#include <ZRPropGrid.h>

#include <QCollator>
#include <QDate>
#include <QRegularExpression>

#include <algorithm>

namespace {

QString Text(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

std::optional<QDate> Datum(const QString& text)
{
    static const QRegularExpression muster(
        QStringLiteral("^\\s*(\\d{1,2})\\.(\\d{1,2})\\.(\\d{2}|\\d{4})\\s*$"));
    const QRegularExpressionMatch m = muster.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int jahr = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        jahr += 2000;
    const QDate d(jahr, m.captured(2).toInt(), m.captured(1).toInt());
    if (!d.isValid())
        return std::nullopt;
    return d;
}

bool IstPin(int code)
{
    return code == 51 || code == 76;
}

}  // namespace

bool HITDatumFalsch(const QString& text)
{
    return !Datum(text).has_value();
}

QString HITDatumNormal(const QString& text)
{
    const auto d = Datum(text);
    return d ? d->toString(QStringLiteral("dd.MM.yyyy")) : text;
}

THITProps::THITProps(db::Database& datenbank, const TEinstellungen& einstellungen)
    : datenbank_(datenbank), einstellungen_(einstellungen)
{
}

int THITProps::EingabeArt(int code)
{
    if (code < 2 || code > 77)
        return 0;
    const QString art = Text(HITConst::cFeldCode[std::size_t(code)]);
    if (art.isEmpty())
        return 1;
    if (art.startsWith(QLatin1Char('c')))
        return 5;
    if (art == QLatin1String("DATUM"))
        return 3;
    if (art == QLatin1String("BNR"))
        return 4;
    return 1;
}

void THITProps::BefehlZeigen(const THITPBefehl& befehl)
{
    befehl_ = befehl;
    if (!grid_)
        return;
    TZRPropGrid* grid = grid_;
    grid->BeginUpdate();
    grid->SetCell(1, 1);
    grid->Properties() = TZRProperties([grid] { grid->UpdateGrid(); });
    for (int i = 0; i < befehl.Felder.size(); ++i) {
        const int code = befehl.Felder[i];
        TZRPropertiesItem& p = grid->Properties().Add();
        const bool bekannt = code >= 0 && code < int(HITConst::cFeldBez.size());
        p.SetCaption(bekannt ? Text(HITConst::cFeldBez[std::size_t(code)]) : QString());
        const int art = EingabeArt(code);
        p.SetEditType(art);
        const QString wert = i < befehl.Werte.size() ? befehl.Werte[i] : QString();
        p.SetValue(IstPin(code) ? QString::fromLatin1(PinMaske) : wert);
        if (art == 4 || art == 5)
            AuswahlFuellen(code, p);
    }
    grid->EndUpdate(true);
}

void THITProps::Leeren()
{
    THITPBefehl leer;
    LeerHITBefehl(leer);
    BefehlZeigen(leer);
}

THITPBefehl THITProps::BefehlLesen() const
{
    THITPBefehl b = befehl_;
    if (!grid_)
        return b;
    while (b.Werte.size() < b.Felder.size())
        b.Werte << QString();
    const int n = std::min(int(b.Felder.size()), grid_->Properties().Count());
    for (int i = 0; i < n; ++i) {
        const TZRPropertiesItem& p = grid_->Properties().GetItem(i);
        QString wert = p.Value();
        if (IstPin(b.Felder[i]) && wert == QLatin1String(PinMaske))
            continue;
        if (p.EditType() == 3)
            wert = HITDatumNormal(wert);
        b.Werte[i] = wert;
    }
    return b;
}

bool THITProps::Pruefen()
{
    if (!grid_ || grid_->Properties().Count() == 0)
        return true;
    for (int i = 0; i < grid_->Properties().Count() && i < befehl_.Felder.size(); ++i) {
        const QString wert = grid_->Properties().GetItem(i).Value().trimmed();
        QString fehler;
        bool gut = true;
        switch (befehl_.Felder[i]) {
            case 2:
            case 3:
            case 20:
            case 39:
            case 60:
            case 63:
                gut = !HITDatumFalsch(wert);
                break;
            case 11:
                gut = !wert.isEmpty();
                fehler = QStringLiteral("Die Betriebsnummer muß angegeben werden!");
                break;
            case 30:
            case 31:
            case 32:
                gut = !wert.isEmpty();
                fehler = QStringLiteral("Die Ohrmarkennummer muß angegeben werden!");
                break;
            default:
                break;
        }
        if (gut)
            continue;
        if (!fehler.isEmpty())
            Tools::MeldungError(fehler);
        grid_->SetCell(1, i + 1);
        grid_->setFocus();
        return false;
    }
    return true;
}

const QList<THITProps::Code>& THITProps::Codesets()
{
    if (!codesets_) {
        db::Transaction tr(datenbank_);
        tr.Start();
        db::Query q(tr, QStringLiteral("select * from T_HIT_CODESETS order by SORTIERUNG"));
        QList<Code> zeilen;
        for (q.Open(); !q.Eof(); q.Next())
            zeilen.append({q.Field(QStringLiteral("FELD")).AsString().trimmed(),
                           q.Field(QStringLiteral("CODE")).AsString(),
                           q.Field(QStringLiteral("TEXT")).AsString()});
        tr.Commit();
        codesets_ = std::move(zeilen);
    }
    return *codesets_;
}

void THITProps::AuswahlFuellen(int code, TZRPropertiesItem& property)
{
    property.PickList() = TZRPropPickList();
    TZRPropPickList& liste = property.PickList();
    if (code == 53) {
        QStringList schon;
        for (const QStringList* rassen :
             {&einstellungen_.RassenVerwendet(), &einstellungen_.Rassen()})
            for (const QString& r : *rassen) {
                const QString kurz = r.section(QLatin1Char('='), 0, 0);
                if (schon.contains(kurz))
                    continue;
                schon << kurz;
                liste.Add(kurz, r.section(QLatin1Char('='), 1));
            }
        return;
    }
    if (code < 0 || code >= int(HITConst::cFeldCode.size()))
        return;
    const QString art = Text(HITConst::cFeldCode[std::size_t(code)]);
    if (art == QLatin1String("BNR")) {
        for (const QString& betrieb : einstellungen_.Betriebsgruppen())
            liste.Add(QString(), betrieb);
        return;
    }
    QList<QPair<QString, QString>> eintraege;
    for (const Code& c : Codesets())
        if ((QLatin1Char('c') + c.feld).compare(art, Qt::CaseInsensitive) == 0)
            eintraege.append({c.code, c.text});
    if (art == QLatin1String("cBLAND") || art == QLatin1String("cILAND")) {
        QCollator collator;
        std::stable_sort(eintraege.begin(), eintraege.end(), [&](const auto& a, const auto& b) {
            return collator.compare(a.second, b.second) < 0;
        });
    }
    for (const auto& e : eintraege)
        liste.Add(e.first, e.second);
}
