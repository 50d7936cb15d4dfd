#include "Druckauftrag.h"

#include "Tools.h"

#include <QFontMetricsF>
#include <QImage>
#include <QStringList>
#include <QWidget>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

// The stretch with which the replay draws narrow type.
constexpr int kSchmalStretch = 65;

bool istLeerOderSteuerzeichen(QChar c)
{
    return c == ' ' || c.unicode() < 32;
}

}  // namespace

TDruck::TDruck(PrinterDevice& device, std::unique_ptr<PrintOutput> output)
    : Preview(std::make_unique<TPreview>(device, std::move(output)))
{
    Paper().SetUnits(unTenthMillimeters);
    Preview->OnShowSetting = [this](QObject* sender, bool& changed) {
        PreviewShowSetting(sender, changed);
    };
    Preview->OnPrint = [this](QObject* sender) { DruckeInhalt(sender); };
}

TDruck::~TDruck() = default;

void TDruck::InitDruck()
{
    Paper().Clear();
    SetAktSeite(1);
    SetSeitenrandLinks(250);
    SetSeitenrandRechts(randLinks_);
    SetSeitenrandOben(randLinks_);
    SetSeitenrandUnten(randLinks_);
    Pos = randOben_;
    SetAlign(taLeftJustify, 0);
}

int TDruck::Zeilenhoehe()
{
    const long double h = Paper().TextHeight(QStringLiteral("A"));
    return int(h * Zeilenabstand + 0.5L);
}

void TDruck::NeueSeite()
{
    SetAktSeite(aktSeite_ + 1);
    SetAlign(taLeftJustify, 0);
    Pos = randOben_;
}

void TDruck::PreviewShowSetting(QObject* sender, bool& changed)
{
    changed = Preview->Output().Setup(qobject_cast<QWidget*>(sender));
}

void TDruck::Druck(bool vorschau)
{
    if (vorschau) {
        Preview->Preview();
        return;
    }
    DruckeInhalt(nullptr);
    Preview->PrintSet();
}

void TDruck::CheckNeueSeite(int hoehe)
{
    if (GetPosRandUnten() < Pos + hoehe)
        NeueSeite();
}

void TDruck::SetAktSeite(std::int32_t n)
{
    if (n < 0 || n > std::numeric_limits<std::int16_t>::max())
        throw std::overflow_error(QStringLiteral("Ein Druck kann höchstens %1 Seiten haben.")
                                      .arg(std::numeric_limits<std::int16_t>::max())
                                      .toStdString());
    aktSeite_ = n;
    Paper().SetPage(std::int16_t(n));
}

void TDruck::spiegeleRaender()
{
    TIndentions& rand = Paper().Indentions();
    rand.Left = randLinks_;
    rand.Top = randOben_;
    rand.Right = randRechts_;
    rand.Bottom = randUnten_;
}

void TDruck::SetSeitenrandLinks(std::int32_t v)
{
    if (v == randLinks_)
        return;
    randLinks_ = v;
    spiegeleRaender();
}

void TDruck::SetSeitenrandRechts(std::int32_t v)
{
    if (v == randRechts_)
        return;
    randRechts_ = v;
    spiegeleRaender();
}

void TDruck::SetSeitenrandOben(std::int32_t v)
{
    if (v == randOben_)
        return;
    randOben_ = v;
    spiegeleRaender();
}

void TDruck::SetSeitenrandUnten(std::int32_t v)
{
    if (v == randUnten_)
        return;
    randUnten_ = v;
    spiegeleRaender();
}

std::int32_t TDruck::GetPosRandRechts()
{
    TPaper& paper = Paper();
    const long double breite = paper.PrinterSetup().PaperWidth_MM() / paper.CurrUnits();
    return std::int32_t(Tools::Round(breite - randLinks_ - randRechts_));
}

std::int32_t TDruck::GetPosRandUnten()
{
    TPaper& paper = Paper();
    const long double hoehe = paper.PrinterSetup().PaperHeight_MM() / paper.CurrUnits();
    return std::int32_t(Tools::Round(hoehe - randUnten_));
}

void TDruck::schriftAufzeichnen()
{
    Paper().SetFont(schriftName_, schriftGroesse_, schriftStil_, schriftFarbe_, schmal_);
}

void TDruck::SetzeSchrift(const QString& name, int groesse, std::uint8_t stil, TColor farbe,
                          bool schmal)
{
    schriftName_ = name;
    schriftGroesse_ = groesse;
    schriftStil_ = stil;
    schriftFarbe_ = farbe;
    schmal_ = schmal;
    schriftAufzeichnen();
}

void TDruck::SetzeSchriftStil(std::uint8_t stil)
{
    schriftStil_ = stil;
    schriftAufzeichnen();
}

void TDruck::SetAlign(TAlignment ausrichtung, std::uint32_t flags)
{
    if (flags & kStandardAusrichtung)
        flags = (flags & ~kStandardAusrichtung) | StandardAusrichtung;
    Paper().SetAlign(ausrichtung, flags);
}

void TDruck::PrintText(int x, const QString& s, bool neueZeile, TAlignment ausrichtung,
                       std::uint32_t flags)
{
    SetAlign(ausrichtung, flags);
    Paper().TextOut(randLinks_ + x, Pos, s);
    if (neueZeile)
        NeueZeile();
}

void TDruck::PrintText(const QString& s, bool neueZeile, TAlignment ausrichtung,
                       std::uint32_t flags)
{
    PrintText(0, s, neueZeile, ausrichtung, flags);
}

void TDruck::PrintText(int x, int y, const QString& s, bool neueZeile, TAlignment ausrichtung,
                       std::uint32_t flags)
{
    Pos = y;
    PrintText(x, s, neueZeile, ausrichtung, flags);
}

void TDruck::Linie(int x1, int y1, int x2, int y2)
{
    Paper().Line(randLinks_ + x1, y1, randLinks_ + x2, y2);
}

void TDruck::PrintWert(const QString& text1, const QString& text2, int x1, int x2, bool hervorheben,
                       bool neueZeile, std::uint32_t flags)
{
    const std::uint8_t stil = schriftStil_;
    if (hervorheben)
        SetzeSchriftStil(0);
    PrintText(x1, text1, false, taLeftJustify, flags);
    if (hervorheben)
        SetzeSchriftStil(fsBold);
    PrintText(x2, text2, false, taLeftJustify, flags);
    if (hervorheben)
        SetzeSchriftStil(stil);
    if (neueZeile)
        NeueZeile();
}

int TDruck::TextBreite(const QString& s)
{
    TPaper& paper = Paper();
    const int breite = paper.TextWidth(s);
    if (!schmal_ || breite == 0)
        return breite;
    // The page store measures at full width; the replay condenses narrow type by a stretch.
    QFont voll(schriftName_);
    voll.setPointSize(std::max(1, schriftGroesse_));
    voll.setBold(schriftStil_ & fsBold);
    voll.setItalic(schriftStil_ & fsItalic);
    QFont schmal = voll;
    schmal.setStretch(kSchmalStretch);
    const int dpi = paper.PrinterSetup().Device().logicalDpiX();
    QImage geraet(1, 1, QImage::Format_RGB32);
    if (dpi > 0) {
        geraet.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
        geraet.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    }
    const qreal vollBreite = QFontMetricsF(voll, &geraet).horizontalAdvance(s);
    if (vollBreite <= 0)
        return breite;
    const qreal schmalBreite = QFontMetricsF(schmal, &geraet).horizontalAdvance(s);
    return int(Tools::Round(static_cast<long double>(breite) * schmalBreite / vollBreite));
}

QString TDruck::GetWordWarp(const QString& s, long double breite)
{
    QString text = s;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    text.replace(QStringLiteral("\n\r"), QStringLiteral("\r"));
    text.replace(QChar('\n'), QChar('\r'));

    QString ergebnis;
    for (QString zeile : text.split(QChar('\r'))) {
        while (!zeile.isEmpty() && istLeerOderSteuerzeichen(zeile.back()))
            zeile.chop(1);
        qsizetype start = 0;
        for (;;) {
            const QString rest = zeile.mid(start);
            if (TextBreite(rest) <= breite) {
                ergebnis += rest + QChar('\r');
                break;
            }
            // The last blank at which the piece before it fits.
            qsizetype ende = zeile.size();
            qsizetype bruch = -1;
            for (;;) {
                const qsizetype blank = zeile.lastIndexOf(QChar(' '), ende - 1);
                if (blank <= start)
                    break;
                ende = blank;
                if (TextBreite(zeile.mid(start, ende - start)) <= breite) {
                    bruch = blank;
                    break;
                }
            }
            if (bruch < 0) {
                // Not even the first word fits: it stands on a line of its own and overflows.
                qsizetype wortEnde = start;
                while (wortEnde < zeile.size() && zeile[wortEnde] == ' ')
                    ++wortEnde;
                bruch = zeile.indexOf(QChar(' '), wortEnde);
                if (bruch < 0) {
                    ergebnis += rest + QChar('\r');
                    break;
                }
            }
            ergebnis += zeile.mid(start, bruch - start) + QChar('\r');
            start = bruch + 1;
        }
    }
    while (ergebnis.endsWith(QChar('\r')))
        ergebnis.chop(1);
    return ergebnis;
}

bool TDruck::PrintBlock(int x1, int x2, const QString& s, bool neueZeile, std::uint32_t flags)
{
    const QString name = schriftName_;
    const int groesse = schriftGroesse_;
    const std::uint8_t stil = schriftStil_;
    const TColor farbe = schriftFarbe_;
    const bool schmal = schmal_;
    std::int32_t zeilenStart = Pos;
    bool umbruch = false;
    const QString text = GetWordWarp(s, std::abs(x2 - x1));
    const QStringList zeilen = text.isEmpty() ? QStringList() : text.split(QChar('\r'));
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        const std::int32_t seite = aktSeite_;
        CheckNeueSeite(Zeilenhoehe());
        if (aktSeite_ != seite) {
            umbruch = true;
            zeilenStart = Pos;
        }
        // A page frame printed by the break may have changed the font.
        SetzeSchrift(name, groesse, stil, farbe, schmal);
        PrintText(x1, zeilen[i], i + 1 < zeilen.size(), taLeftJustify, flags);
    }
    if (neueZeile)
        NeueZeile();
    else
        Pos = zeilenStart;
    return umbruch;
}

void TDruck::PrintTextBlockRich(const QByteArray& rtf, int x1, int x2, bool posSetzen)
{
    TPaper& paper = Paper();
    std::int32_t start = 0;
    bool leereSeite = false;
    for (;;) {
        const int links = randLinks_ + x1;
        const int rechts = randLinks_ + x2;
        QRect r(links, Pos, rechts - links, std::max(0, GetPosRandUnten() - Pos));
        std::int32_t naechster = -1;  // lay out to the end
        const bool fertig = paper.RichTextBounds(r, start, naechster, rtf);
        if (r.height() > 0)
            paper.RichText(r, start, naechster, rtf);
        if (fertig) {
            if (posSetzen)
                Pos = r.y() + r.height();
            return;
        }
        if (naechster <= start && leereSeite)
            throw std::runtime_error(
                "Der formatierte Text passt auch auf eine leere Seite nicht; der Druck wird "
                "abgebrochen.");
        start = std::max(start, naechster);
        NeueSeite();
        leereSeite = true;
    }
}
