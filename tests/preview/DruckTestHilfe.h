#pragma once
// A report with a page frame of its own, an output that records print jobs, and a reader of the
// texts a page store holds.

#include "Druckauftrag.h"
#include "FakeDrucker.h"

#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

struct TextEintrag {
    int seite;
    int x;
    int y;
    QString text;
    std::uint8_t stil;  // font style in force, narrow bit included
    std::uint32_t ausrichtung;
};

// The texts recorded in a page store in recording order, each with the font and alignment then.
inline std::vector<TextEintrag> Texte(const TPaper& paper)
{
    const auto i32 = [](const QByteArray& b, int at) {
        std::int32_t v = 0;
        std::memcpy(&v, b.constData() + at, 4);
        return v;
    };
    std::vector<TextEintrag> texte;
    std::uint8_t stil = 0;
    std::uint32_t ausrichtung = 0;
    const QByteArray& stream = paper.Stream();
    for (const TSizeEntry& e : paper.SizeList()) {
        const QByteArray fixed = stream.mid(qsizetype(e.DataPos), e.FixedSize);
        const QByteArray extra =
            stream.mid(qsizetype(e.DataPos) + e.FixedSize, qsizetype(e.ExtraSize));
        if (e.ItemType == 2)
            stil = std::uint8_t(fixed[44]);
        if (e.ItemType == 24)
            ausrichtung = std::uint32_t(i32(fixed, 0));
        if (e.ItemType == 19)
            texte.push_back({e.Page, i32(fixed, 0), i32(fixed, 4), QString::fromUtf8(extra), stil,
                             ausrichtung});
    }
    return texte;
}

inline const TextEintrag* Finde(const std::vector<TextEintrag>& texte, const QString& text)
{
    for (const TextEintrag& t : texte)
        if (t.text == text)
            return &t;
    return nullptr;
}

// The geometry of a given QPrinter, for printing to a PDF file of the test's choosing.
class QPrinterGeraet final : public PrinterDevice {
public:
    explicit QPrinterGeraet(QPrinter& printer) : printer_(printer) {}
    int paperCode() const override { return printer_.pageLayout().pageSize().windowsId(); }
    TPrinterOrientation orientation() const override
    {
        return printer_.pageLayout().orientation() == QPageLayout::Landscape
                   ? TPrinterOrientation::poLandscape
                   : TPrinterOrientation::poPortrait;
    }
    void setOrientation(TPrinterOrientation value) override
    {
        printer_.setPageOrientation(value == TPrinterOrientation::poLandscape
                                        ? QPageLayout::Landscape
                                        : QPageLayout::Portrait);
    }
    QSize physicalSize() const override
    {
        return printer_.pageLayout().fullRectPixels(printer_.resolution()).size();
    }
    QPoint physicalOffset() const override
    {
        return printer_.pageLayout().paintRectPixels(printer_.resolution()).topLeft();
    }
    int logicalDpiX() const override { return printer_.resolution(); }
    int logicalDpiY() const override { return printer_.resolution(); }

private:
    QPrinter& printer_;
};

// Records what a print would send: jobs with their pages, painted into small images.
class AufzeichnendeAusgabe final : public PrintOutput {
public:
    struct Auftrag {
        QString titel;
        int kopien;
        int seiten = 0;
    };
    std::vector<Auftrag> auftraege;
    bool eineDatei = false;
    bool dialogBestaetigt = true;
    int dialogKopien = 2;
    int dialogVon = 0;
    int dialogBis = 0;
    bool einrichtungBestaetigt = true;
    int einrichtungen = 0;

    bool BeginJob(const QString& title, int copies) override
    {
        auftraege.push_back({title, copies, 1});
        bild_ = QImage(100, 100, QImage::Format_RGB32);
        painter_ = std::make_unique<QPainter>(&bild_);
        return true;
    }
    QPainter& Painter() override { return *painter_; }
    void NewPage() override { ++auftraege.back().seiten; }
    void EndJob() override { painter_.reset(); }
    bool OneJobPerPrint() const override { return eineDatei; }
    bool AskPages(QWidget*, int, int, int& copies, int& fromPage, int& toPage) override
    {
        if (!dialogBestaetigt)
            return false;
        copies = dialogKopien;
        fromPage = dialogVon;
        toPage = dialogBis;
        return true;
    }
    bool Setup(QWidget*) override
    {
        ++einrichtungen;
        return einrichtungBestaetigt;
    }

private:
    QImage bild_;
    std::unique_ptr<QPainter> painter_;
};

// A report whose page frame prints a bold header line in another font, so that a page break
// inside a block shows whether the block keeps its own font.
class TestDruck : public TDruck {
public:
    explicit TestDruck(PrinterDevice& device, std::unique_ptr<PrintOutput> output = {})
        : TDruck(device, std::move(output))
    {
    }

    std::function<void(TestDruck&)> Raender;  // after InitDruck, before the first page frame
    std::function<void(TestDruck&)> Inhalt;
    int Rahmen = 0;

    void Seitenrahmen() override
    {
        ++Rahmen;
        Pos = SeitenrandOben();
        SetzeSchrift(QStringLiteral("DejaVu Serif"), 14, fsBold, 0, false);
        PrintText(0, QStringLiteral("Kopf %1").arg(AktSeite()), true);
    }
    void NeueSeite() override
    {
        TDruck::NeueSeite();
        Seitenrahmen();
    }
    void DruckeInhalt(QObject*) override
    {
        InitDruck();
        if (Raender)
            Raender(*this);
        Seitenrahmen();
        if (Inhalt)
            Inhalt(*this);
        Preview->SetMaxPage(std::int16_t(AktSeite()));
    }
    using TDruck::TextBreite;
};
