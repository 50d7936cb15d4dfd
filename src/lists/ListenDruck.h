#pragma once
// Printing a stored list design: the print layout of T_LISTEN, T_LISTEN_LINIEN and the print
// fields laid out over the rows of the list. The layout is read into plain values first, so that
// the page layout can run over rows from anywhere (a query, the window's data, a test table).

#include <Drucken.h>

#include <QDate>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace db {
class DataSet;
class Database;
class Transaction;
}  // namespace db

// One horizontal line of the design: on, kind code ("S", "D", …) and width in 1/100 mm.
struct RLinienStil {
    bool An = false;
    QString Art;
    int Breite = 0;
};

// The design's own print settings (T_LISTEN), as stored: margins in millimetres.
struct RListenDesign {
    QString Titel;
    QString Sql;
    QString Schrift;
    QString Ausrichtung;
    QString Stand;
    QString PapierAusrichtung;
    int RandLinks = 10;
    int RandRechts = 10;
    int RandOben = 10;
    int RandUnten = 15;
    RLinienStil UeberTitel;
    RLinienStil UnterTitel;
    RLinienStil Zwischen;
    RLinienStil Unten;
    int LinieZwischenZeilen = 1;
    bool KurzeZeilen = false;
    QString DatumVergangenFett = QStringLiteral("-");
};

// A vertical line: position in millimetres from the left margin.
struct RVertikaleLinie {
    int Position = 0;
    bool BeginnTitel = true;
    QString Art;
    int Breite = 0;
};

// A print field as the database delivers it (positions and widths in millimetres).
struct RDruckFeld {
    QString Feld;
    QString Titel;
    int Position = 0;
    int Zeile = 1;
    int Breite = 0;
    QString Schrift;
    bool Schmal = false;
    QString TitelSchrift;
    bool Umbruch = false;
    bool Leerzeile = false;
    bool Sichtbar = true;
    QString DisplayFormat;
    QString Ausrichtung;
    QString Wert;
};

struct RListenDruckLayout {
    RListenDesign Design;
    std::vector<RVertikaleLinie> Linien;
    std::vector<RDruckFeld> Felder;
};

// The rows a list prints: a cursor over named fields.
class IListenDaten {
public:
    virtual ~IListenDaten() = default;
    virtual void Oeffnen() = 0;
    // Also after a failure; leaves a caller's data where it was.
    virtual void Schliessen() = 0;
    virtual void Erster() = 0;
    virtual void Naechster() = 0;
    virtual bool Ende() const = 0;
    // Index of a field, -1 when the data have none of that name.
    virtual int Feld(const QString& name) const = 0;
    virtual bool Numerisch(int feld) const = 0;
    virtual bool IstLeer(int feld) const = 0;
    // The display text; a number with a non-empty format is shown in that format.
    virtual QString Text(int feld, const QString& format) const = 0;
    virtual QDate Datum(int feld) const = 0;
    virtual int Zahl(int feld) const = 0;
};

// The rows of a dataset. An own dataset is opened and closed; a caller's one is opened when
// needed and left open, on its row, with its controls as they were.
std::unique_ptr<IListenDaten> DatenAusDataSet(db::DataSet& daten, bool eigene);

// One printed column; x and width in tenths of a millimetre.
struct RSpaltenInfo {
    QString Feldname;
    int Datenfeld = -1;  // index in the data, -1 for none
    int X = 0;           // anchor by alignment: left edge, right edge or centre
    int Zeile = 1;
    int Breite = 0;
    QString Schrift;
    bool Schmal = false;
    QString TitelSchrift;
    QString Titel;
    std::uint8_t Ausrichtung = 0;  // 0 left, 1 right, 2 centred
    int TitelOffset = 0;
    bool Umbruch = false;
    bool Leerzeile = false;
    bool Sichtbar = true;
    bool Pseudo = false;
    QString Wert;
    bool Status = false;
    QString DisplayFormat;  // for numbers
    int Links = 0;          // the column's left edge
};

namespace ListenDruckRegeln {

struct RSchrift {
    QString Name;
    int Groesse = 10;
    std::uint8_t Stil = 0;
};
// "name;size;[B][I][U][S]", size 10 when it is no number.
RSchrift SchriftLesen(const QString& code);
// S solid, D dashes, P dots, DP dash-dot, DPP dash-dot-dot; anything else solid.
TPenStyle LinienArt(const QString& code);
// "L" 0, "R" 1, anything else 2 (centred).
std::uint8_t Ausrichtung(const QString& code);
// Anchor of a text: left edge, right edge or centre of the column (tenths of a millimetre).
int AnkerX(std::uint8_t ausrichtung, int links, int breite);
// The distinct lines of the visible columns become 1, 2, 3 …; returns their count.
int ZeilenNummerieren(std::vector<RSpaltenInfo>& spalten);
// A row prints bold when it has a due date on or before today; no date is not due.
bool Faellig(const std::optional<QDate>& datum, const QDate& heute);
// A line between rows goes above the row when rows already stand on the page and their number
// is a multiple of n (values below 1 count as 1).
bool LinieVorZeile(int zeilenAufSeite, int n);
// Advance after a horizontal line of the given width (1/100 mm).
int LinienVorschub(int breite);

}  // namespace ListenDruckRegeln

class TListenDruck : public TDrucken {
public:
    // The design read and the rows given; BetriebsstaettenName is printed under every page when
    // BetriebsstaetteDrucken is set.
    TListenDruck(RListenDruckLayout layout, std::unique_ptr<IListenDaten> daten,
                 PrinterDevice& device = SystemPrinter(), std::unique_ptr<PrintOutput> output = {});
    ~TListenDruck() override;

    // The design's own query (premises placeholder filled in) in an own transaction on the
    // database; the premises name prints when the SQL has a placeholder.
    static std::unique_ptr<TListenDruck> CreateMitSQL(db::Database& datenbank, int listeId,
                                                      int betriebsstaette,
                                                      const QString& titelzusatz,
                                                      PrinterDevice& device = SystemPrinter(),
                                                      std::unique_ptr<PrintOutput> output = {});
    // The caller's rows, which stay open and on their row.
    static std::unique_ptr<TListenDruck> CreateMitDaten(db::Database& datenbank, int listeId,
                                                        int betriebsstaette,
                                                        const QString& titelzusatz,
                                                        db::DataSet& daten,
                                                        PrinterDevice& device = SystemPrinter(),
                                                        std::unique_ptr<PrintOutput> output = {});
    // Reads the print layout of a design; throws when there is no such design.
    static RListenDruckLayout LayoutLesen(db::Database& datenbank, int listeId);

    QString Titelzusatz;
    int Betriebsstaette = 0;
    bool BetriebsstaetteDrucken = false;
    QString BetriebsstaettenName;
    QDate Heute;  // the program's today; set at creation

    std::vector<RSpaltenInfo> Spalten;
    int Zeilenzahl = 0;
    int TitelHoehe = 0;
    bool KurzeZeilen = false;
    int ZeilenAufSeite = 0;
    int LinksX = 0;
    int RechtsX = 0;
    int YUeberTitel = 0;
    int YUnterTitel = 0;
    int YUnten = 0;

    void InitDruck() override;
    void Seitenrahmen() override;
    void NeueSeite() override;
    void DruckeInhalt(QObject* sender) override;
    int Zeilenhoehe() override;

    void SchriftSetzen(const QString& code, bool schmal);
    const RListenDesign& Design() const { return layout_.Design; }

protected:
    // Every line of the list goes through here, in absolute page coordinates.
    virtual void LinieZeichnen(TPenStyle art, int breite, int x1, int y1, int x2, int y2);
    virtual void IconZeichnen(const QRect& ziel, int index);

private:
    void LinieWaagrecht(const RLinienStil& stil);
    void SeiteAbschliessen();
    int Gruppenabstand();
    QString GruppenText();
    bool ZeileFett();
    QString SpaltenText(const RSpaltenInfo& s, int zeilenNr);
    // Height of the current row from its top.
    int ZeileMessen(bool fett, int zeilenNr);
    void ZeileDrucken(bool fett, int zeilenNr);
    void ZeilenSchrift(const RSpaltenInfo& s, bool fett);

    RListenDruckLayout layout_;
    std::unique_ptr<IListenDaten> daten_;
    int fettFeld_ = -1;
    std::vector<int> zeilenHoehen_;
};

namespace ListenDruck {

// Prints a design over its own query, or shows it in the print preview.
void ListeDrucken(int listeId, int betriebsstaette, const QString& titelzusatz, bool vorschau);
// Prints a design over the caller's rows, or shows it in the print preview.
void ListeDruckenMitDaten(int listeId, int betriebsstaette, const QString& titelzusatz,
                          db::DataSet& daten, bool vorschau, bool betriebsstaetteDrucken);

}  // namespace ListenDruck
