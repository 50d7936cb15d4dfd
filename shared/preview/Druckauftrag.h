#pragma once
// The print job: lays text and lines out on pages in tenths of a millimetre into the page store of
// its own preview component. x positions count from the left margin, y from the paper's top edge.

#include "Seitenspeicher.h"
#include "Vorschau.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

class QObject;

// The flag value that stands for the job's StandardAusrichtung.
constexpr std::uint32_t kStandardAusrichtung = 4096;

class TDruck {
public:
    explicit TDruck(PrinterDevice& device = SystemPrinter(),
                    std::unique_ptr<PrintOutput> output = {});
    virtual ~TDruck();
    TDruck(const TDruck&) = delete;
    TDruck& operator=(const TDruck&) = delete;

    // The job's own preview component; all output goes to its page store.
    std::unique_ptr<TPreview> Preview;

    // Current vertical position: the top of the next line, from the paper's top edge.
    std::int32_t Pos = 0;
    std::uint32_t StandardAusrichtung = 0;
    long double Zeilenabstand = 1.0L;

    virtual void InitDruck();
    // Header and footer of the current page; descendants call it at the start of each page.
    virtual void Seitenrahmen() = 0;
    virtual int Zeilenhoehe();
    virtual void NeueSeite();
    virtual void PreviewShowSetting(QObject* sender, bool& changed);
    // Produces the whole document into the page store.
    virtual void DruckeInhalt(QObject* sender) = 0;
    virtual void Druck(bool vorschau);

    void CheckNeueSeite(int hoehe);
    void IncPos(int delta) { Pos += delta; }
    void NeueZeile() { Pos += Zeilenhoehe(); }
    std::int32_t AktSeite() const { return aktSeite_; }
    // Page numbers of the page store are 16-bit: a larger page throws std::overflow_error.
    void SetAktSeite(std::int32_t n);
    std::int32_t SeitenrandLinks() const { return randLinks_; }
    std::int32_t SeitenrandRechts() const { return randRechts_; }
    std::int32_t SeitenrandOben() const { return randOben_; }
    std::int32_t SeitenrandUnten() const { return randUnten_; }
    void SetSeitenrandLinks(std::int32_t v);
    void SetSeitenrandRechts(std::int32_t v);
    void SetSeitenrandOben(std::int32_t v);
    void SetSeitenrandUnten(std::int32_t v);
    const QString& SchriftName() const { return schriftName_; }
    std::int32_t SchriftGroesse() const { return schriftGroesse_; }
    std::uint8_t SchriftStil() const { return schriftStil_; }
    TColor SchriftFarbe() const { return schriftFarbe_; }
    bool Schmal() const { return schmal_; }

    void SetzeSchrift(const QString& name, int groesse, std::uint8_t stil, TColor farbe,
                      bool schmal);
    void SetzeSchriftStil(std::uint8_t stil);
    void SetAlign(TAlignment ausrichtung, std::uint32_t flags);
    void PrintText(int x, const QString& s, bool neueZeile, TAlignment ausrichtung = taLeftJustify,
                   std::uint32_t flags = 0);
    void PrintText(const QString& s, bool neueZeile, TAlignment ausrichtung = taLeftJustify,
                   std::uint32_t flags = 0);
    void PrintText(int x, int y, const QString& s, bool neueZeile,
                   TAlignment ausrichtung = taLeftJustify, std::uint32_t flags = 0);
    void Linie(int x1, int y1, int x2, int y2);
    void PrintWert(const QString& text1, const QString& text2, int x1, int x2, bool hervorheben,
                   bool neueZeile, std::uint32_t flags = 0);
    // Lines separated by CR, broken at blanks to fit the width; a word wider than the width
    // stands on a line of its own.
    QString GetWordWarp(const QString& s, long double breite);
    // A wrapped block from x1 to x2. Without neueZeile, Pos returns to where the block's row
    // stands: its start, or the top of the new page when the block broke the page. True when it
    // broke the page.
    bool PrintBlock(int x1, int x2, const QString& s, bool neueZeile, std::uint32_t flags = 0);
    // Rich text (RTF) from x1 to x2 over as many pages as it needs; throws when not even an empty
    // page takes any of it.
    void PrintTextBlockRich(const QByteArray& rtf, int x1, int x2, bool posSetzen);
    void Vorschau() { Druck(true); }
    std::int32_t GetPosRandRechts();
    std::int32_t GetPosRandUnten();
    std::int32_t GetCopies() const { return Preview->Copies(); }
    void SetCopies(std::int32_t value) { Preview->SetCopies(value); }

    TPaper& Paper() { return Preview->Paper(); }

protected:
    // Width of a text in the current font, narrow type included.
    virtual int TextBreite(const QString& s);

private:
    void spiegeleRaender();
    void schriftAufzeichnen();

    std::int32_t randUnten_ = 0;
    std::int32_t randRechts_ = 0;
    std::int32_t randOben_ = 0;
    std::int32_t randLinks_ = 0;
    std::int32_t aktSeite_ = 0;
    QString schriftName_;
    std::int32_t schriftGroesse_ = 0;
    std::uint8_t schriftStil_ = 0;
    TColor schriftFarbe_ = 0;
    bool schmal_ = false;
};
