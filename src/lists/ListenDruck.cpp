#include "ListenDruck.h"

#include "ListenTools.h"

#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <StatusSymbole.h>
#include <ProgDatum.h>

#include <DataSet.h>
#include <Database.h>
#include <Field.h>
#include <Query.h>
#include <Transaction.h>

#include <QRect>
#include <QStringList>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>

namespace ListenDruckRegeln {

RSchrift SchriftLesen(const QString& code)
{
    RSchrift s;
    const QStringList teile = code.split(QLatin1Char(';'));
    s.Name = teile.value(0);
    bool zahl = false;
    const int groesse = teile.value(1).trimmed().toInt(&zahl);
    s.Groesse = zahl ? groesse : 10;
    const QString stil = teile.mid(2).join(QLatin1Char(';'));
    if (stil.contains(QLatin1Char('B')))
        s.Stil |= fsBold;
    if (stil.contains(QLatin1Char('I')))
        s.Stil |= fsItalic;
    if (stil.contains(QLatin1Char('U')))
        s.Stil |= fsUnderline;
    if (stil.contains(QLatin1Char('S')))
        s.Stil |= fsStrikeOut;
    return s;
}

TPenStyle LinienArt(const QString& code)
{
    const QString c = code.trimmed();
    if (c == QLatin1String("D"))
        return psDash;
    if (c == QLatin1String("P"))
        return psDot;
    if (c == QLatin1String("DP"))
        return psDashDot;
    if (c == QLatin1String("DPP"))
        return psDashDotDot;
    return psSolid;
}

std::uint8_t Ausrichtung(const QString& code)
{
    const QString c = code.trimmed();
    if (c == QLatin1String("L"))
        return 0;
    if (c == QLatin1String("R"))
        return 1;
    return 2;
}

int AnkerX(std::uint8_t ausrichtung, int links, int breite)
{
    switch (ausrichtung) {
        case 0:
            return links;
        case 1:
            return links + breite;
        default:
            return links + breite / 2;
    }
}

int ZeilenNummerieren(std::vector<RSpaltenInfo>& spalten)
{
    std::set<int> zeilen;
    for (const RSpaltenInfo& s : spalten)
        if (s.Sichtbar)
            zeilen.insert(s.Zeile);
    std::map<int, int> neu;
    int n = 0;
    for (int z : zeilen)
        neu[z] = ++n;
    for (RSpaltenInfo& s : spalten)
        if (s.Sichtbar)
            s.Zeile = neu[s.Zeile];
    return n;
}

bool Faellig(const std::optional<QDate>& datum, const QDate& heute)
{
    return datum && datum->isValid() && *datum <= heute;
}

bool LinieVorZeile(int zeilenAufSeite, int n)
{
    return zeilenAufSeite > 0 && zeilenAufSeite % std::max(1, n) == 0;
}

int LinienVorschub(int breite)
{
    return std::max(breite / 20, 10);
}

}  // namespace ListenDruckRegeln

using namespace ListenDruckRegeln;

namespace {

constexpr auto DesignSQL =
    "SELECT TITEL, SQL, SCHRIFT, AUSRICHTUNG, STAND, PAPIER_AUSRICHTUNG,\n"
    "  RAND_LINKS, RAND_RECHTS, RAND_OBEN, RAND_UNTEN, LINIE_UEBER_TITEL, LINIE_UNTER_TITEL,\n"
    "  LINIE_ZWISCHEN, LINIE_UNTEN, LINIE_ZWISCHEN_ZEILEN, LINIE_UEBER_TITEL_ART,\n"
    "  LINIE_UEBER_TITEL_BREITE, LINIE_UNTER_TITEL_ART, LINIE_UNTER_TITEL_BREITE,\n"
    "  LINIE_ZWISCHEN_ART, LINIE_ZWISCHEN_BREITE, LINIE_UNTEN_ART, LINIE_UNTEN_BREITE,\n"
    "  MULTI_LINE_SHORT_DRUCK, DATUM_VERGANGEN_FETT\n"
    "FROM T_LISTEN\n"
    "WHERE ID = :LISTE";
constexpr auto LinienSQL =
    "SELECT L_POSITION, BEGINN_TITEL, ART, BREITE\n"
    "FROM T_LISTEN_LINIEN\n"
    "WHERE LISTE = :LISTE";
constexpr auto FelderSQL = "SELECT * FROM P_GET_LISTEN_DRUCK_SICHTBAR(:LISTE)";

bool IstT(const db::Value& v)
{
    return v.AsString().trimmed() == QLatin1String("T");
}

class DataSetDaten final : public IListenDaten {
public:
    DataSetDaten(db::DataSet& daten, bool eigene) : daten_(daten), eigene_(eigene) {}

    void Oeffnen() override
    {
        if (!daten_.Active())
            daten_.Open();
        if (!eigene_) {
            zeile_ = daten_.RecNo();
            daten_.DisableControls();
            gesperrt_ = true;
        }
    }
    void Schliessen() override
    {
        if (eigene_) {
            daten_.Close();
            return;
        }
        if (!gesperrt_)
            return;
        gesperrt_ = false;
        if (zeile_ >= 0 && daten_.Active())
            daten_.MoveTo(zeile_);
        daten_.EnableControls();
    }
    void Erster() override { daten_.First(); }
    void Naechster() override { daten_.Next(); }
    bool Ende() const override { return daten_.Eof() || daten_.IsEmpty(); }
    int Feld(const QString& name) const override
    {
        db::Field* f = daten_.FindField(name);
        return f ? f->Index() : -1;
    }
    bool Numerisch(int feld) const override { return daten_.Fields(feld).IsNumeric(); }
    bool IstLeer(int feld) const override { return daten_.Fields(feld).IsNull(); }
    QString Text(int feld, const QString& format) const override
    {
        db::Field& f = daten_.Fields(feld);
        if (f.IsNumeric() && !format.isEmpty())
            return db::Field::Format(f.AsValue(), f.DataType(), format);
        return f.DisplayText();
    }
    QDate Datum(int feld) const override
    {
        db::Field& f = daten_.Fields(feld);
        if (f.DataType() == db::FieldType::Timestamp)
            return f.AsDateTime().date();
        return f.AsDate();
    }
    int Zahl(int feld) const override { return daten_.Fields(feld).AsInteger(); }

private:
    db::DataSet& daten_;
    bool eigene_;
    int zeile_ = -1;
    bool gesperrt_ = false;
};

// The design's own query with its own transaction, committed when the print is done.
class EigeneDaten final : public IListenDaten {
public:
    EigeneDaten(db::Database& datenbank, const QString& sql)
        : transaktion_(datenbank, QStringLiteral("TAListenDruck")),
          daten_(transaktion_),
          zugriff_(daten_, true)
    {
        daten_.SetSelectSQL(sql);
    }
    ~EigeneDaten() override
    {
        daten_.Close();
        if (transaktion_.Active())
            transaktion_.Commit();
    }
    void Oeffnen() override
    {
        if (!transaktion_.Active())
            transaktion_.Start();
        zugriff_.Oeffnen();
    }
    void Schliessen() override
    {
        zugriff_.Schliessen();
        if (transaktion_.Active())
            transaktion_.Commit();
    }
    void Erster() override { zugriff_.Erster(); }
    void Naechster() override { zugriff_.Naechster(); }
    bool Ende() const override { return zugriff_.Ende(); }
    int Feld(const QString& name) const override { return zugriff_.Feld(name); }
    bool Numerisch(int feld) const override { return zugriff_.Numerisch(feld); }
    bool IstLeer(int feld) const override { return zugriff_.IstLeer(feld); }
    QString Text(int feld, const QString& format) const override
    {
        return zugriff_.Text(feld, format);
    }
    QDate Datum(int feld) const override { return zugriff_.Datum(feld); }
    int Zahl(int feld) const override { return zugriff_.Zahl(feld); }

private:
    db::Transaction transaktion_;
    db::DataSet daten_;
    DataSetDaten zugriff_;
};

}  // namespace

std::unique_ptr<IListenDaten> DatenAusDataSet(db::DataSet& daten, bool eigene)
{
    return std::make_unique<DataSetDaten>(daten, eigene);
}

TListenDruck::TListenDruck(RListenDruckLayout layout, std::unique_ptr<IListenDaten> daten,
                           PrinterDevice& device, std::unique_ptr<PrintOutput> output)
    : TDrucken(device, std::move(output)),
      Heute(ProgDatum::Heute()),
      layout_(std::move(layout)),
      daten_(std::move(daten))
{
    // The name under which the printer spools the document.
    Preview->SetTitle(QStringLiteral("ZR Bovantis - ") + layout_.Design.Titel);
}

TListenDruck::~TListenDruck() = default;

RListenDruckLayout TListenDruck::LayoutLesen(db::Database& datenbank, int listeId)
{
    RListenDruckLayout l;
    db::Transaction tr(datenbank, QStringLiteral("TAListenLayout"));
    tr.Start();
    {
        db::Query q(tr, QString::fromLatin1(DesignSQL));
        q.Param(QStringLiteral("LISTE")).SetInteger(listeId);
        q.Open();
        if (q.Eof())
            throw std::runtime_error(
                QStringLiteral("Die Liste %1 ist nicht vorhanden.").arg(listeId).toStdString());
        const auto f = [&q](const char* name) -> const db::Value& {
            return q.Field(QString::fromLatin1(name));
        };
        RListenDesign& d = l.Design;
        d.Titel = f("TITEL").AsString();
        d.Sql = f("SQL").AsString();
        d.Schrift = f("SCHRIFT").AsString();
        d.Ausrichtung = f("AUSRICHTUNG").AsString();
        d.Stand = f("STAND").AsString();
        d.PapierAusrichtung = f("PAPIER_AUSRICHTUNG").AsString();
        d.RandLinks = f("RAND_LINKS").AsInteger();
        d.RandRechts = f("RAND_RECHTS").AsInteger();
        d.RandOben = f("RAND_OBEN").AsInteger();
        d.RandUnten = f("RAND_UNTEN").AsInteger();
        d.UeberTitel = {IstT(f("LINIE_UEBER_TITEL")), f("LINIE_UEBER_TITEL_ART").AsString(),
                        f("LINIE_UEBER_TITEL_BREITE").AsInteger()};
        d.UnterTitel = {IstT(f("LINIE_UNTER_TITEL")), f("LINIE_UNTER_TITEL_ART").AsString(),
                        f("LINIE_UNTER_TITEL_BREITE").AsInteger()};
        d.Zwischen = {IstT(f("LINIE_ZWISCHEN")), f("LINIE_ZWISCHEN_ART").AsString(),
                      f("LINIE_ZWISCHEN_BREITE").AsInteger()};
        d.Unten = {IstT(f("LINIE_UNTEN")), f("LINIE_UNTEN_ART").AsString(),
                   f("LINIE_UNTEN_BREITE").AsInteger()};
        d.LinieZwischenZeilen = f("LINIE_ZWISCHEN_ZEILEN").AsInteger();
        d.KurzeZeilen = IstT(f("MULTI_LINE_SHORT_DRUCK"));
        d.DatumVergangenFett = f("DATUM_VERGANGEN_FETT").AsString().trimmed();
    }
    {
        db::Query q(tr, QString::fromLatin1(LinienSQL));
        q.Param(QStringLiteral("LISTE")).SetInteger(listeId);
        for (q.Open(); !q.Eof(); q.Next())
            l.Linien.push_back({q.Field(QStringLiteral("L_POSITION")).AsInteger(),
                                IstT(q.Field(QStringLiteral("BEGINN_TITEL"))),
                                q.Field(QStringLiteral("ART")).AsString(),
                                q.Field(QStringLiteral("BREITE")).AsInteger()});
    }
    {
        db::Query q(tr, QString::fromLatin1(FelderSQL));
        q.Param(QStringLiteral("LISTE")).SetInteger(listeId);
        for (q.Open(); !q.Eof(); q.Next()) {
            const auto f = [&q](const char* name) -> const db::Value& {
                return q.Field(QString::fromLatin1(name));
            };
            RDruckFeld d;
            d.Feld = f("FELD").AsString().trimmed();
            d.Titel = f("TITEL").AsString();
            d.Position = f("L_POSITION").AsInteger();
            d.Zeile = f("ZEILE").AsInteger();
            d.Breite = f("BREITE").AsInteger();
            d.Schrift = f("SCHRIFT").AsString();
            d.Schmal = IstT(f("SCHRIFTSCHMAL"));
            d.TitelSchrift = f("TITEL_SCHRIFT").AsString();
            d.Umbruch = IstT(f("ZEILENUMBRUCH"));
            d.Leerzeile = IstT(f("LEERZEILE"));
            d.Sichtbar = IstT(f("SICHTBAR"));
            d.DisplayFormat = f("DISPLAY_FORMAT").AsString();
            d.Ausrichtung = f("AUSRICHTUNG").AsString();
            d.Wert = f("WERT").AsString();
            l.Felder.push_back(d);
        }
    }
    tr.Commit();
    return l;
}

std::unique_ptr<TListenDruck> TListenDruck::CreateMitSQL(db::Database& datenbank, int listeId,
                                                         int betriebsstaette,
                                                         const QString& titelzusatz,
                                                         PrinterDevice& device,
                                                         std::unique_ptr<PrintOutput> output)
{
    RListenDruckLayout layout = LayoutLesen(datenbank, listeId);
    bool ersetzt = false;
    const QString sql =
        ListenTools::BetriebsstaetteEinsetzenGefunden(layout.Design.Sql, betriebsstaette, ersetzt);
    auto druck = std::make_unique<TListenDruck>(std::move(layout),
                                                std::make_unique<EigeneDaten>(datenbank, sql),
                                                device, std::move(output));
    druck->Titelzusatz = titelzusatz;
    druck->Betriebsstaette = betriebsstaette;
    druck->BetriebsstaetteDrucken = ersetzt;
    if (ersetzt && DM())
        druck->BetriebsstaettenName = DM()->BetriebsstaetteBezeichnung(betriebsstaette);
    return druck;
}

std::unique_ptr<TListenDruck> TListenDruck::CreateMitDaten(
    db::Database& datenbank, int listeId, int betriebsstaette, const QString& titelzusatz,
    db::DataSet& daten, PrinterDevice& device, std::unique_ptr<PrintOutput> output)
{
    auto druck = std::make_unique<TListenDruck>(
        LayoutLesen(datenbank, listeId), DatenAusDataSet(daten, false), device, std::move(output));
    druck->Titelzusatz = titelzusatz;
    druck->Betriebsstaette = betriebsstaette;
    if (DM())
        druck->BetriebsstaettenName = DM()->BetriebsstaetteBezeichnung(betriebsstaette);
    return druck;
}

int TListenDruck::Zeilenhoehe()
{
    return TDrucken::Zeilenhoehe() + 5;
}

void TListenDruck::SchriftSetzen(const QString& code, bool schmal)
{
    const RSchrift s = SchriftLesen(code);
    SetzeSchrift(s.Name, s.Groesse, s.Stil, 0, schmal);
}

void TListenDruck::InitDruck()
{
    TDrucken::InitDruck();
    daten_->Oeffnen();
    const RListenDesign& d = layout_.Design;
    SetSeitenrandLinks(d.RandLinks * 10);
    SetSeitenrandRechts(d.RandRechts * 10);
    SetSeitenrandOben(d.RandOben * 10);
    SetSeitenrandUnten(d.RandUnten * 10);
    KurzeZeilen = d.KurzeZeilen;
    Paper().PrinterSetup().SetOrientation(d.PapierAusrichtung.trimmed() == QLatin1String("Q")
                                              ? TPrinterOrientation::poLandscape
                                              : TPrinterOrientation::poPortrait);

    Spalten.clear();
    for (const RDruckFeld& f : layout_.Felder) {
        RSpaltenInfo s;
        s.Pseudo = ListenTools::IstPseudoFeld(f.Feld);
        s.Feldname = f.Feld;
        if (!s.Pseudo) {
            const int punkt = f.Feld.indexOf(QLatin1Char('.'));
            if (punkt >= 0)
                s.Feldname.remove(punkt, 1);
            s.Status = s.Feldname.mid(2) == QLatin1String("STATUSIDX");
            s.Datenfeld = daten_->Feld(s.Feldname);
            if (s.Datenfeld >= 0 && daten_->Numerisch(s.Datenfeld))
                s.DisplayFormat = f.DisplayFormat;
        }
        s.Titel = s.Status ? QString() : f.Titel;
        s.Zeile = f.Zeile;
        s.Links = f.Position * 10;
        s.Breite = f.Breite * 10;
        s.Schrift = f.Schrift;
        s.Schmal = f.Schmal;
        s.TitelSchrift = f.TitelSchrift;
        s.Ausrichtung = ListenDruckRegeln::Ausrichtung(f.Ausrichtung);
        s.X = AnkerX(s.Ausrichtung, s.Links, s.Breite);
        s.Umbruch = f.Umbruch;
        s.Leerzeile = f.Leerzeile;
        s.Sichtbar = f.Sichtbar;
        s.Wert = f.Wert;
        Spalten.push_back(s);
    }
    Zeilenzahl = ZeilenNummerieren(Spalten);

    int y = 0;
    for (int zeile = 1; zeile <= Zeilenzahl; ++zeile) {
        int hoehe = 0;
        for (RSpaltenInfo& s : Spalten) {
            if (!s.Sichtbar || s.Zeile != zeile)
                continue;
            SchriftSetzen(s.TitelSchrift, false);
            s.TitelOffset = y;
            hoehe = std::max(hoehe, Zeilenhoehe());
        }
        y += hoehe;
    }
    TitelHoehe = y;

    LinksX = SeitenrandLinks();
    RechtsX = SeitenrandLinks() + GetPosRandRechts();
    if (!layout_.Linien.empty()) {
        LinksX = RechtsX = SeitenrandLinks();
        const auto weiten = [this](int x) {
            LinksX = std::min(LinksX, x);
            RechtsX = std::max(RechtsX, x);
        };
        for (const RSpaltenInfo& s : Spalten) {
            if (!s.Sichtbar)
                continue;
            weiten(SeitenrandLinks() + s.Links);
            weiten(SeitenrandLinks() + s.Links + s.Breite);
        }
        for (const RVertikaleLinie& l : layout_.Linien)
            weiten(SeitenrandLinks() + l.Position * 10);
    }

    fettFeld_ = d.DatumVergangenFett.isEmpty() ? -1 : daten_->Feld(d.DatumVergangenFett);
}

void TListenDruck::LinieZeichnen(TPenStyle art, int breite, int x1, int y1, int x2, int y2)
{
    Paper().SetPen(art, 0, breite / 10.0);
    Paper().Line(x1, y1, x2, y2);
}

void TListenDruck::IconZeichnen(const QRect& ziel, int index)
{
    const TEinstellungen* e = Einstellungen();
    const QImage bild = StatusSymbole::Gross(index, e && e->GetStatusIconSW());
    if (!bild.isNull())
        Paper().StretchDraw(ziel, bild);
}

void TListenDruck::LinieWaagrecht(const RLinienStil& stil)
{
    if (!stil.An)
        return;
    LinieZeichnen(LinienArt(stil.Art), stil.Breite, LinksX, Pos, RechtsX, Pos);
    Pos += LinienVorschub(stil.Breite);
}

void TListenDruck::Seitenrahmen()
{
    TDrucken::Seitenrahmen();
    const RListenDesign& d = layout_.Design;
    if (BetriebsstaetteDrucken) {
        Pos = Paper().PrinterSetup().PaperHeight_MM() * 10 - SeitenrandUnten() + 10;
        SetzeSchrift(QStringLiteral("Times New Roman"), 10, 0, 0, false);
        PrintText(0, BetriebsstaettenName, false, taLeftJustify, kStandardAusrichtung);
    }
    Pos = SeitenrandOben();
    SchriftSetzen(d.Schrift, false);
    QString titel = d.Titel;
    if (!Titelzusatz.isEmpty())
        titel += QStringLiteral(" (") + Titelzusatz + QLatin1Char(')');
    const QString a = d.Ausrichtung.trimmed();
    if (a == QLatin1String("L"))
        PrintText(0, titel, false, taLeftJustify, kStandardAusrichtung);
    else if (a == QLatin1String("R"))
        PrintText(GetPosRandRechts(), titel, false, taRightJustify, kStandardAusrichtung);
    else
        PrintText(GetPosRandRechts() / 2, titel, false, taCenter, kStandardAusrichtung);
    const QString stand = QStringLiteral("Stand: ") + Heute.toString(QStringLiteral("dd.MM.yyyy"));
    const QString s = d.Stand.trimmed();
    if (s == QLatin1String("L"))
        PrintText(0, stand, false, taLeftJustify, kStandardAusrichtung);
    else if (s == QLatin1String("R"))
        PrintText(GetPosRandRechts(), stand, false, taRightJustify, kStandardAusrichtung);
    Pos += int(1.5L * Zeilenhoehe());
    YUeberTitel = Pos;
    LinieWaagrecht(d.UeberTitel);

    const int oben = Pos;
    for (const RSpaltenInfo& sp : Spalten) {
        if (!sp.Sichtbar)
            continue;
        SchriftSetzen(sp.TitelSchrift, false);
        PrintText(sp.X, oben + sp.TitelOffset, sp.Titel, false, TAlignment(sp.Ausrichtung),
                  kStandardAusrichtung);
    }
    Pos = oben + TitelHoehe;
    YUnterTitel = Pos;
    LinieWaagrecht(d.UnterTitel);
    ZeilenAufSeite = 0;
}

void TListenDruck::SeiteAbschliessen()
{
    YUnten = Pos;
    LinieWaagrecht(layout_.Design.Unten);
    for (const RVertikaleLinie& l : layout_.Linien) {
        const int x = SeitenrandLinks() + l.Position * 10;
        LinieZeichnen(LinienArt(l.Art), l.Breite, x, l.BeginnTitel ? YUeberTitel : YUnterTitel, x,
                      YUnten);
    }
}

void TListenDruck::NeueSeite()
{
    SeiteAbschliessen();
    TDrucken::NeueSeite();
    Seitenrahmen();
}

int TListenDruck::Gruppenabstand()
{
    int abstand = 0;
    for (const RSpaltenInfo& s : Spalten) {
        if (!s.Leerzeile)
            continue;
        SchriftSetzen(s.Schrift, s.Schmal);
        abstand = std::max({abstand, 35, Zeilenhoehe() * 3 / 4});
    }
    return abstand;
}

QString TListenDruck::GruppenText()
{
    QString text;
    for (const RSpaltenInfo& s : Spalten)
        if (s.Leerzeile && !s.Pseudo && s.Datenfeld >= 0)
            text += daten_->Text(s.Datenfeld, s.DisplayFormat) + QLatin1Char('\x1f');
    return text;
}

bool TListenDruck::ZeileFett()
{
    if (fettFeld_ < 0)
        return false;
    std::optional<QDate> datum;
    if (!daten_->IstLeer(fettFeld_))
        datum = daten_->Datum(fettFeld_);
    return Faellig(datum, Heute);
}

QString TListenDruck::SpaltenText(const RSpaltenInfo& s, int zeilenNr)
{
    if (s.Pseudo) {
        if (ListenTools::IstFortlaufendeNummer(s.Feldname))
            return QString::number(zeilenNr);
        return s.Wert;
    }
    return daten_->Text(s.Datenfeld, s.DisplayFormat);
}

void TListenDruck::ZeilenSchrift(const RSpaltenInfo& s, bool fett)
{
    SchriftSetzen(fett ? s.Schrift + QLatin1Char('B') : s.Schrift, s.Schmal);
}

int TListenDruck::ZeileMessen(bool fett, int zeilenNr)
{
    zeilenHoehen_.assign(std::size_t(Zeilenzahl) + 1, 0);
    int y = 0;
    int unten = 0;
    for (int zeile = 1; zeile <= Zeilenzahl; ++zeile) {
        int hoehe = 0;
        for (const RSpaltenInfo& s : Spalten) {
            if (!s.Sichtbar || s.Zeile != zeile || (!s.Pseudo && s.Datenfeld < 0))
                continue;
            ZeilenSchrift(s, fett);
            const int zh = Zeilenhoehe();
            hoehe = std::max(hoehe, zh);
            int reicht = zh;
            if (s.Status) {
                reicht = zh;
            } else if (!s.Pseudo) {
                const QString text = SpaltenText(s, zeilenNr);
                if (KurzeZeilen && text.trimmed().isEmpty())
                    reicht = 0;
                else if (s.Umbruch)
                    reicht = int(GetWordWarp(text, s.Breite).split(QLatin1Char('\r')).size()) * zh;
            }
            if (reicht > 0)
                unten = std::max(unten, y + reicht);
        }
        zeilenHoehen_[std::size_t(zeile)] = hoehe;
        y += hoehe;
    }
    return unten;
}

void TListenDruck::ZeileDrucken(bool fett, int zeilenNr)
{
    for (int zeile = 1; zeile <= Zeilenzahl; ++zeile) {
        const int oben = Pos;
        for (const RSpaltenInfo& s : Spalten) {
            if (!s.Sichtbar || s.Zeile != zeile || (!s.Pseudo && s.Datenfeld < 0))
                continue;
            ZeilenSchrift(s, fett);
            if (s.Status) {
                if (!daten_->IstLeer(s.Datenfeld)) {
                    const int zh = Zeilenhoehe();
                    IconZeichnen(QRect(SeitenrandLinks() + s.X, Pos, zh, zh),
                                 daten_->Zahl(s.Datenfeld));
                }
            } else {
                const QString text = SpaltenText(s, zeilenNr);
                if (!(KurzeZeilen && !s.Pseudo && text.trimmed().isEmpty())) {
                    // The block fills the column itself whatever the alignment, so that a
                    // right-aligned or centred column does not spill into its neighbour.
                    if (s.Umbruch && !s.Pseudo)
                        PrintBlock(s.Links, s.Links + s.Breite, text, true, kStandardAusrichtung);
                    else
                        PrintText(s.X, text, true, TAlignment(s.Ausrichtung), kStandardAusrichtung);
                }
            }
            Pos = oben;
        }
        Pos = oben + zeilenHoehen_[std::size_t(zeile)];
    }
}

void TListenDruck::DruckeInhalt(QObject*)
{
    struct Abschluss {
        TListenDruck& d;
        ~Abschluss()
        {
            d.daten_->Schliessen();
            d.Preview->SetMaxPage(std::int16_t(d.AktSeite()));
        }
    };
    Abschluss abschluss{*this};
    InitDruck();
    Seitenrahmen();
    const RListenDesign& d = layout_.Design;
    const int n = std::max(1, d.LinieZwischenZeilen);
    const int abstand = Gruppenabstand();
    QString gruppeVorher;
    int nr = 0;
    for (daten_->Erster(); !daten_->Ende(); daten_->Naechster()) {
        ++nr;
        if (abstand > 0) {
            const QString gruppe = GruppenText();
            if (nr > 1 && gruppe != gruppeVorher)
                Pos += abstand;
            gruppeVorher = gruppe;
        }
        const bool fett = ZeileFett();
        const int hoehe = ZeileMessen(fett, nr);
        const bool linie = d.Zwischen.An && LinieVorZeile(ZeilenAufSeite, n);
        CheckNeueSeite(hoehe + (linie ? LinienVorschub(d.Zwischen.Breite) : 0));
        if (d.Zwischen.An && LinieVorZeile(ZeilenAufSeite, n))
            LinieWaagrecht(d.Zwischen);
        ++ZeilenAufSeite;
        const int oben = Pos;
        ZeileDrucken(fett, nr);
        Pos = oben + hoehe;
    }
    SeiteAbschliessen();
}

namespace ListenDruck {

void ListeDrucken(int listeId, int betriebsstaette, const QString& titelzusatz, bool vorschau)
{
    auto druck = TListenDruck::CreateMitSQL(DM()->Datenbank, listeId, betriebsstaette, titelzusatz);
    druck->Druck(vorschau);
}

void ListeDruckenMitDaten(int listeId, int betriebsstaette, const QString& titelzusatz,
                          db::DataSet& daten, bool vorschau, bool betriebsstaetteDrucken)
{
    auto druck =
        TListenDruck::CreateMitDaten(DM()->Datenbank, listeId, betriebsstaette, titelzusatz, daten);
    druck->BetriebsstaetteDrucken = betriebsstaetteDrucken;
    druck->Druck(vorschau);
}

}  // namespace ListenDruck
