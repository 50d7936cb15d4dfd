#include "DruckStammdatenblatt.h"

#include "TierDruck.h"

#include <DBTools.h>
#include <Datenmodul.h>
#include <ProgDatum.h>
#include <Tools.h>

#include <Database.h>

namespace {

const QString Arial = QStringLiteral("Arial");

QString Heute()
{
    return ProgDatum::Heute().toString(QStringLiteral("dd.MM.yyyy"));
}

}  // namespace

const QString TDruckStammdatenblatt::TierSQL = QStringLiteral(
    "SELECT S.GEBDAT, S.GEKAUFT, S.GEKAUFTBEM, S.GESCHLECHT,S.KNR, S.MUTTER, S.MUTTERNR, S.NAME, "
    "S.NUMMER, S.RINDERN, S.STATUSEXT, S.TROCKEN, S.VATER, S.VATERNR, S.VERKAUFT, "
    "S.VERKAUFTBEM,R.BEZEICHNUNG RASSE, ST.BESCHREIBUNG STATUSTEXT, CAST(ZRNV_ALTER(S.GEBDAT, "
    "S.VERKAUFT, CURRENT_DATE) AS VARCHAR(15)) T_ALTER, (SELECT BEZEICHNUNG FROM "
    "P_GET_LETZTE_BETRIEBSSTAETTE(:TIER_ID)) AKT_BETRIEB, (SELECT TAGE FROM "
    "P_KUH_TAG_INFO(:TIER_ID)) TAGEINFO, (SELECT SOLL_KALBEN FROM P_GET_SOLL_KALBEN(:TIER_ID)) "
    "SOLL_KALBEN FROM T_STAMMDATEN S LEFT JOIN T_RASSEN R ON S.RASSE = R.ID LEFT JOIN "
    "T_STATUS_IDX ST ON ST.STATUS = S.STATUS WHERE S.ID = :TIER_ID");

TDruckStammdatenblatt::TDruckStammdatenblatt(db::Database& datenbank, PrinterDevice& device,
                                             std::unique_ptr<PrintOutput> output)
    : TDrucken(device, std::move(output)),
      transaktion_(datenbank, QStringLiteral("TADruckStammdatenblatt")),
      tier_(transaktion_, TierSQL)
{
}

void TDruckStammdatenblatt::InitDruck()
{
    TDrucken::InitDruck();
    Zeilenabstand = 1.0L;
    SeiteEinrichten(TPrinterOrientation::poPortrait, 200, Titel);
    RechterRand = int(Tools::Round(Paper().PrinterSetup().PaperWidth_MM() / Paper().CurrUnits() -
                                   SeitenrandRechts()));
    TierDruck::TierOeffnen(transaktion_, TierID, tier_);
}

void TDruckStammdatenblatt::AbschnittBeginnen()
{
    AbschnittOben = Pos;
    Pos += 8;
}

bool TDruckStammdatenblatt::RahmenZeichnen()
{
    if (AbschnittOben + 16 >= Pos)
        return false;
    Paper().SetPen(psSolid, 0, 15);
    Paper().SetBrush(exClear, 0xFFFFFF, 0xFFFFFF, nullptr, 0);
    Paper().Rectangle(SeitenrandLinks(), AbschnittOben, RechterRand, Pos);
    return true;
}

void TDruckStammdatenblatt::AbschnittSchliessen()
{
    if (RahmenZeichnen())
        AbschnittBeginnen();
}

bool TDruckStammdatenblatt::Platz(int n)
{
    if (GetPosRandUnten() - n * Zeilenhoehe() < Pos) {
        NeueSeite();
        return true;
    }
    return false;
}

void TDruckStammdatenblatt::NeueSeite()
{
    // The page head sets spacing and font of its own; the interrupted section goes on in its own.
    const long double abstand = Zeilenabstand;
    const QString schrift = SchriftName();
    const int groesse = SchriftGroesse();
    const std::uint8_t stil = SchriftStil();
    RahmenZeichnen();
    TDrucken::NeueSeite();
    Seitenrahmen();
    Zeilenabstand = abstand;
    SetzeSchrift(schrift, groesse, stil, 0, false);
}

void TDruckStammdatenblatt::Seitenrahmen()
{
    TDrucken::Seitenrahmen();
    Pos = SeitenrandOben();
    SetzeSchrift(Arial, 14, fsBold, 0, false);
    const int rechts = GetPosRandRechts();
    PrintText(rechts / 2, QStringLiteral("Stammdaten-Blatt"), false, taCenter);
    PrintText(rechts, QStringLiteral("Stand: ") + Heute(), false, taRightJustify);
    Pos += int(1.5L * Zeilenhoehe());
    if (AktSeite() >= 2) {
        AbschnittBeginnen();
        Zeilenabstand = 1.3L;
        SetzeSchrift(Arial, 10, fsBold, 0, false);
        PrintText(15, TierDruck::TierZeile(tier_), true);
        RahmenZeichnen();
    }
    AbschnittBeginnen();
}

QString TDruckStammdatenblatt::Wert(const char* feld)
{
    return DBTools::FeldAlsString(tier_, QLatin1String(feld));
}

int TDruckStammdatenblatt::BlockRechts() const
{
    return RechterRand - SeitenrandLinks() - 15;
}

void TDruckStammdatenblatt::Kopf(const QString& text, long double abstand)
{
    Zeilenabstand = abstand;
    SetzeSchrift(Arial, 10, fsBold, 0, false);
    PrintText(15, text, true);
    SetzeSchriftStil(0);
}

void TDruckStammdatenblatt::Stammdaten()
{
    Zeilenabstand = 1.3L;
    SetzeSchrift(Arial, 10, 0, 0, false);
    const int oben = Pos;
    const db::Value& knr = tier_.Field(QStringLiteral("KNR"));
    const QString statusExt = Wert("STATUSEXT").trimmed();
    PrintWert(QStringLiteral("KNR:"), knr.IsNull() ? QString() : KNRFormatieren(knr.AsInteger()),
              15, 215, true, true);
    PrintWert(QStringLiteral("Name:"), Wert("NAME"), 15, 215, true, true);
    PrintWert(QStringLiteral("Nummer:"), Wert("NUMMER"), 15, 215, true, true);
    PrintWert(QStringLiteral("Geb. Dat.:"), Wert("GEBDAT"), 15, 215, false, true);
    PrintWert(QStringLiteral("Geschlecht:"),
              Wert("GESCHLECHT") == QLatin1String("W") ? QStringLiteral("weiblich")
                                                       : QStringLiteral("männlich"),
              15, 215, false, true);
    PrintWert(QStringLiteral("Rasse:"), Wert("RASSE"), 15, 215, false, true);
    PrintWert(QStringLiteral("Art:"),
              statusExt == QLatin1String("N")   ? QStringLiteral("Normal")
              : statusExt == QLatin1String("P") ? QStringLiteral("Pension")
                                                : QStringLiteral("Mutterkuh"),
              15, 215, false, true);

    Pos = oben;
    PrintWert(QStringLiteral("HB-Nr:"), Wert("VATERNR"), 950, 1120, false, true);
    PrintWert(QStringLiteral("Nummer:"), Wert("MUTTERNR"), 950, 1120, false, true);
    PrintWert(QStringLiteral("Bem:"), Wert("GEKAUFTBEM"), 950, 1120, false, true);
    PrintWert(QStringLiteral("Bem:"), Wert("VERKAUFTBEM"), 950, 1120, false, true);

    Pos = oben;
    PrintWert(QStringLiteral("Vater:"), Wert("VATER"), 570, 720, false, true);
    PrintWert(QStringLiteral("Mutter:"), Wert("MUTTER"), 570, 720, false, true);
    const int y1 = Pos - 4;
    PrintWert(QStringLiteral("gekauft:"), Wert("GEKAUFT"), 570, 720, false, true);
    PrintWert(QStringLiteral("verkauft:"), Wert("VERKAUFT"), 570, 720, false, true);
    const int y2 = Pos - 4;
    PrintWert(QStringLiteral("Alter:"), Wert("T_ALTER"), 570, 720, false, true);
    PrintText(
        570,
        QStringLiteral("Tage seit Kalbung / trächtig / vorauss. Kalbetermin:  ") + Wert("TAGEINFO"),
        true);
    const int y3 = Pos - 4;
    PrintWert(QStringLiteral("Betriebsstätte:"), Wert("AKT_BETRIEB"), 570, 950, false, true);

    RahmenZeichnen();
    const int x = SeitenrandLinks() + 555;
    Paper().SetPen(psSolid, 0, 4);
    Paper().Line(x, AbschnittOben, x, Pos);
    for (int y : {y1, y2, y3})
        Paper().Line(x, y, RechterRand, y);
    AbschnittBeginnen();
}

void TDruckStammdatenblatt::Betriebsstaetten()
{
    db::Query q(transaktion_, QStringLiteral("SELECT B.BEZEICHNUNG, B.BIS, B.BNR, B.GRUPPE, B.GV, "
                                             "B.VON FROM P_GET_BETRIEBSSTAETTEN(:TIER_ID) B"));
    q.Param(QStringLiteral("TIER_ID")).SetInteger(TierID);
    const int x[] = {15, 415, 630, 845, 1245, 1615};
    const auto kopf = [&](const QString& text) {
        Kopf(text, 1.3L);
        SetzeSchriftStil(fsItalic);
        int i = 0;
        for (const char* s : {"Betriebsstätte", "von", "bis", "Gruppe", "Betriebsnummer", "GV"})
            PrintText(x[i++], QString::fromUtf8(s), false);
        NeueZeile();
        SetzeSchriftStil(0);
    };
    Zeilenabstand = 1.3L;
    kopf(QStringLiteral("Betriebsstätten:"));
    for (q.Open(); !q.Eof(); q.Next()) {
        if (Platz(1))
            kopf(QStringLiteral("Betriebsstätten: (Fortsetzung)"));
        int i = 0;
        for (const char* feld : {"BEZEICHNUNG", "VON", "BIS", "GRUPPE", "BNR"})
            PrintText(x[i++], DBTools::FeldAlsString(q, QLatin1String(feld)), false);
        // A ticked or an empty box; the symbol font of the Windows original has no place here.
        SetzeSchrift(QStringLiteral("DejaVu Sans"), 11, 0, 0, false);
        PrintText(1615,
                  DBTools::FeldAlsString(q, QStringLiteral("GV")) == QLatin1String("T")
                      ? QStringLiteral("☑")
                      : QStringLiteral("☐"),
                  false);
        SetzeSchrift(Arial, 10, 0, 0, false);
        NeueZeile();
    }
    q.Close();
    AbschnittSchliessen();
}

void TDruckStammdatenblatt::Status()
{
    Zeilenabstand = 1.3L;
    SetzeSchrift(Arial, 10, 0, 0, false);
    PrintWert(QStringLiteral("Status:"), Wert("STATUSTEXT"), 15, 215, false, true);
    AbschnittSchliessen();
}

void TDruckStammdatenblatt::BesamungsKoepfe(int o)
{
    Zeilenabstand = 1.3L;
    SetzeSchriftStil(fsItalic);
    PrintText(o + 15, QStringLiteral("Nr."), false);
    PrintText(o + 85, QStringLiteral("Datum"), false);
    PrintText(o + 305, QStringLiteral("Stier"), false);
    PrintText(o + 555, QStringLiteral("Nummer"), false);
    PrintText(o + 805, QStringLiteral("Bemerkung"), true);
    SetzeSchriftStil(0);
}

void TDruckStammdatenblatt::BesamungsTabelle(db::Query& q, int o, const QString& fortsetzung)
{
    BesamungsKoepfe(o);
    int letzteNr = 0;
    bool leer = true;
    for (q.Open(); !q.Eof(); q.Next()) {
        leer = false;
        if (Platz(1)) {
            Kopf(fortsetzung, 1.5L);
            BesamungsKoepfe(o);
        }
        // Inseminations of one heat share their number; it stands at the first of them.
        const int nr = q.Field(QStringLiteral("NR")).AsInteger();
        if (nr > letzteNr)
            PrintText(o + 15, QString::number(nr), false);
        letzteNr = nr;
        PrintText(o + 85, DBTools::FeldAlsString(q, QStringLiteral("DATUM")), false);
        PrintText(o + 305, DBTools::FeldAlsString(q, QStringLiteral("STIER")), false);
        PrintText(o + 555, DBTools::FeldAlsString(q, QStringLiteral("NUMMER")), false);
        Zeilenabstand = 1.0L;
        PrintBlock(o + 805, BlockRechts(),
                   TierDruck::Zeilen(DBTools::FeldAlsString(q, QStringLiteral("BEMERKUNG"))), true);
        Pos += int(0.3L * Zeilenhoehe());
        Zeilenabstand = 1.3L;
    }
    if (leer)
        PrintText(o + 15, QStringLiteral("Es sind keine Besamungen vorhanden"), true);
    q.Close();
}

void TDruckStammdatenblatt::AktuelleLaktation()
{
    Zeilenabstand = 1.3L;
    SetzeSchrift(Arial, 10, 0, 0, false);
    Platz(6);
    Kopf(QStringLiteral("Aktuelle Laktation:"), 1.5L);
    const QString rindern = Wert("RINDERN");
    if (!rindern.isEmpty())
        PrintText(15, QStringLiteral("nächstes Rindern: ") + rindern, false);
    PrintText(550, QStringLiteral("Status: ") + Wert("STATUSTEXT"), false);
    const QString trocken = Wert("TROCKEN");
    if (!trocken.isEmpty())
        PrintText(900, QStringLiteral("trocken: ") + trocken, false);
    const QString sollKalben = Wert("SOLL_KALBEN");
    if (!sollKalben.isEmpty())
        PrintText(1300, QStringLiteral("soll kalben: ") + sollKalben, false);
    NeueZeile();
    db::Query q(transaktion_, QStringLiteral("SELECT B.NR, B.DATUM, B.STIER, B.NUMMER, "
                                             "B.BEMERKUNG FROM P_GET_AKT_BESAMUNGEN(:TIER_ID) B"));
    q.Param(QStringLiteral("TIER_ID")).SetInteger(TierID);
    BesamungsTabelle(q, 0, QStringLiteral("Aktuelle Laktation: (Fortsetzung)"));
    AbschnittSchliessen();
}

void TDruckStammdatenblatt::FruehereLaktationen()
{
    const QString fortsetzung = QStringLiteral("Frühere Laktationen: (Fortsetzung)");
    db::Query k(transaktion_,
                QStringLiteral("SELECT K.BEMERKUNG, K.DATUM, K.GESCHLECHT, K.ID, K.NR, K.NUMMER, "
                               "K.VERLAUF FROM P_GET_KALBUNGEN_TIER(:TIER_ID) K"));
    k.Param(QStringLiteral("TIER_ID")).SetInteger(TierID);
    db::Query b(transaktion_,
                QStringLiteral("SELECT B.NR, B.BEMERKUNG, B.DATUM, B.NUMMER, B.STIER FROM "
                               "P_GET_BESAMUNGEN_KALBUNG(:KALBUNG) B"));
    bool erste = true;
    for (k.Open(); !k.Eof(); k.Next()) {
        Zeilenabstand = 1.3L;
        if (erste) {
            Platz(6);
            Kopf(QStringLiteral("Frühere Laktationen:"), 1.5L);
            Zeilenabstand = 1.3L;
            erste = false;
        }
        if (Platz(4))
            Kopf(fortsetzung, 1.5L);
        b.Param(QStringLiteral("KALBUNG")).SetInteger(k.Field(QStringLiteral("ID")).AsInteger());
        BesamungsTabelle(b, 100, fortsetzung);
        if (!Platz(2)) {
            Paper().SetPen(psSolid, 0, 4);
            Paper().Line(SeitenrandLinks(), Pos - 4, RechterRand, Pos - 4);
        }
        const int x[] = {15, 85, 305, 405, 705, 1155};
        SetzeSchriftStil(fsItalic);
        int i = 0;
        for (const char* s : {"Nr", "Datum", "G.", "Nummer", "Verlauf", "Bemerkung"})
            PrintText(x[i++], QString::fromUtf8(s), false);
        NeueZeile();
        SetzeSchriftStil(0);
        i = 0;
        for (const char* feld : {"NR", "DATUM", "GESCHLECHT", "NUMMER", "VERLAUF"})
            PrintText(x[i++], DBTools::FeldAlsString(k, QLatin1String(feld)), false);
        Zeilenabstand = 1.0L;
        PrintBlock(1155, BlockRechts(),
                   TierDruck::Zeilen(DBTools::FeldAlsString(k, QStringLiteral("BEMERKUNG"))), true);
        AbschnittSchliessen();
    }
    k.Close();
    if (erste) {
        PrintText(15, QStringLiteral("Es sind keine Kalbungen vorhanden"), true);
        AbschnittSchliessen();
    }
}

void TDruckStammdatenblatt::Vorhanden(const QString& sql, const QString& keine,
                                      const QString& vorhanden)
{
    Zeilenabstand = 1.3L;
    SetzeSchrift(Arial, 10, 0, 0, false);
    Platz(1);
    db::Query q(transaktion_, sql);
    q.Param(QStringLiteral("TIER_ID")).SetInteger(TierID);
    q.Open();
    const int anzahl = q.Eof() ? 0 : q.Field(0).AsInteger();
    q.Close();
    PrintText(15, anzahl <= 0 ? keine : vorhanden, true);
    AbschnittSchliessen();
}

void TDruckStammdatenblatt::MLPDaten()
{
    Vorhanden(QStringLiteral("SELECT COUNT(*) FROM T_PROBEMELKEN_WERTE WHERE TIER = :TIER_ID"),
              QStringLiteral("Es sind keine MLP Daten vorhanden"),
              QStringLiteral("Es sind MLP Daten vorhanden"));
}

void TDruckStammdatenblatt::Behandlungen()
{
    Vorhanden(QStringLiteral("SELECT COUNT(*) FROM P_GET_BEHANDLUNGEN_TIER(:TIER_ID)"),
              QStringLiteral("Es sind keine tierärztliche Behandlungen vorhanden"),
              QStringLiteral("Es sind tierärztliche Behandlungen vorhanden"));
}

void TDruckStammdatenblatt::Bemerkungen()
{
    const auto kopf = [this](const QString& text) {
        Kopf(text, 1.3L);
        SetzeSchriftStil(fsItalic);
        PrintText(15, QStringLiteral("Datum"), false);
        PrintText(235, QStringLiteral("Text"), true);
        SetzeSchriftStil(0);
    };
    Zeilenabstand = 1.3L;
    SetzeSchrift(Arial, 10, 0, 0, false);
    db::Query q(transaktion_, QStringLiteral("SELECT B.BEMERKUNG, B.DATUM FROM T_BEMERKUNGEN B "
                                             "WHERE TIER = :TIER_ID ORDER BY DATUM"));
    q.Param(QStringLiteral("TIER_ID")).SetInteger(TierID);
    bool erste = true;
    for (q.Open(); !q.Eof(); q.Next()) {
        if (erste) {
            Platz(4);
            kopf(QStringLiteral("Bemerkungen:"));
            erste = false;
        } else if (Platz(1)) {
            kopf(QStringLiteral("Bemerkungen: (Fortsetzung)"));
        }
        PrintText(15, DBTools::FeldAlsString(q, QStringLiteral("DATUM")), false);
        Zeilenabstand = 1.0L;
        PrintBlock(235, BlockRechts(),
                   TierDruck::Zeilen(DBTools::FeldAlsString(q, QStringLiteral("BEMERKUNG"))), true);
        Pos += int(0.3L * Zeilenhoehe());
        Zeilenabstand = 1.3L;
    }
    q.Close();
    if (erste)
        PrintText(15, QStringLiteral("Es sind keine Bemerkungen vorhanden"), true);
    AbschnittSchliessen();
}

void TDruckStammdatenblatt::DruckeInhalt(QObject*)
{
    TierDruck::Ausfuehren(
        transaktion_,
        [this] {
            InitDruck();
            Seitenrahmen();
            Stammdaten();
            Betriebsstaetten();
            if (Wert("GESCHLECHT") == QLatin1String("W")) {
                AktuelleLaktation();
                FruehereLaktationen();
                MLPDaten();
            } else {
                Status();
            }
            Behandlungen();
            Bemerkungen();
        },
        [this] {
            Preview->SetMaxPage(std::int16_t(AktSeite()));
            tier_.Close();
        });
}
