#include "DruckTestHilfe.h"
#include "Vorschau.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class Vorschau : public ::testing::Test {
protected:
    FakeDrucker drucker;
    AufzeichnendeAusgabe* ausgabe = nullptr;
    std::unique_ptr<TPreview> preview;
    int skalierungen = 0;
    int seitenwechsel = 0;
    std::vector<int> gedruckt;

    void SetUp() override
    {
        auto a = std::make_unique<AufzeichnendeAusgabe>();
        ausgabe = a.get();
        preview = std::make_unique<TPreview>(drucker, std::move(a));
        preview->OnChangeScale = [this](TPreview&) { ++skalierungen; };
        preview->OnChangePage = [this](TPreview&) { ++seitenwechsel; };
        preview->OnPrinting = [this](TPreview&, std::int16_t page) { gedruckt.push_back(page); };
    }
};

TEST_F(Vorschau, ScaleOutsideTheLimitsIsIgnoredWithoutEvent)
{
    preview->SetScale(20);
    EXPECT_EQ(preview->Scale(), 100);
    preview->SetScale(800);
    EXPECT_EQ(preview->Scale(), 100);
    EXPECT_EQ(skalierungen, 0);
    preview->SetScale(100);
    EXPECT_EQ(skalierungen, 0);
    preview->SetScale(60);
    EXPECT_EQ(preview->Scale(), 60);
    EXPECT_EQ(skalierungen, 1);
    preview->SetMinScale(900);
    EXPECT_EQ(preview->MinScale(), 25) << "not above MaxScale";
    preview->SetStepScale(10);
    EXPECT_EQ(preview->StepScale(), 25) << "step below MinScale";
}

struct ZoomFall {
    bool hinein;
    int von;
    int minScale;
    int erwartet;
};

TEST_F(Vorschau, ZoomSteps)
{
    const ZoomFall faelle[] = {
        {true, 110, 25, 125}, {false, 110, 25, 100}, {false, 100, 25, 75}, {false, 30, 25, 25},
        {true, 740, 25, 750}, {true, 750, 25, 750},  {false, 90, 40, 75},  {false, 60, 40, 40},
    };
    for (const ZoomFall& f : faelle) {
        preview->SetMinScale(f.minScale);
        preview->SetScale(f.von);
        ASSERT_EQ(preview->Scale(), f.von);
        f.hinein ? preview->ZoomIn() : preview->ZoomOut();
        EXPECT_EQ(preview->Scale(), f.erwartet) << (f.hinein ? "in from " : "out from ") << f.von;
    }
}

TEST_F(Vorschau, ScaleLimitFollowsThePaper)
{
    drucker.dpi = 96;  // A4 at 96 dpi: 794 x 1123
    preview->Paper().SetScreenDpi(96);
    preview->Paper().Update();
    ASSERT_EQ(QSize(preview->Paper().Width(), preview->Paper().Height()), QSize(794, 1123));
    preview->PaperChangeSize();
    EXPECT_EQ(preview->MaxScale(), 534);
    preview->SetMaxScale(700);
    EXPECT_EQ(preview->MaxScale(), 534);
    preview->SetScale(500);
    preview->SetMaximumSize(3000);
    EXPECT_EQ(preview->MaxScale(), 267);
    EXPECT_EQ(preview->Scale(), 500) << "only a paper change lowers the scale";
    preview->PaperChangeSize();
    EXPECT_EQ(preview->Scale(), 267);
}

TEST_F(Vorschau, WithoutPrinterGeometryTheLimitsStayAsTheyAre)
{
    FakeDrucker ohne;
    ohne.dpi = 0;
    ohne.paperMM = QSizeF(0, 0);
    TPreview leer(ohne, std::make_unique<AufzeichnendeAusgabe>());
    leer.Paper().Update();
    ASSERT_EQ(leer.Paper().Width(), 0);
    leer.PaperChangeSize();
    leer.SetMaximumSize(5000);
    EXPECT_EQ(leer.MaxScale(), 750);
    EXPECT_EQ(leer.Scale(), 100);
    EXPECT_EQ(SkalierungsGrenze(6000, 0, 1123), 0);
    EXPECT_EQ(EinpassSkalierung(TFitScale::fitWholePage, 800, 600, 0, 0), 0);
}

TEST_F(Vorschau, PageRangeClampsTheCurrentPageWithoutEvent)
{
    preview->SetMaxPage(5);
    preview->SetCurrentPage(5);
    EXPECT_EQ(seitenwechsel, 1);
    preview->SetMaxPage(3);
    EXPECT_EQ(preview->CurrentPage(), 3);
    preview->SetMinPage(4);
    EXPECT_EQ(preview->MinPage(), 1) << "not above MaxPage";
    preview->SetCurrentPage(1);
    preview->SetMinPage(2);
    EXPECT_EQ(preview->CurrentPage(), 2);
    preview->SetCurrentPage(7);
    EXPECT_EQ(preview->CurrentPage(), 2);
    EXPECT_EQ(seitenwechsel, 2);
}

TEST_F(Vorschau, PrintMakesOneJobPerPageAndPrintSetOneJob)
{
    preview->SetMaxPage(3);
    preview->SetTitle("Tierliste");
    preview->Print();
    ASSERT_EQ(ausgabe->auftraege.size(), 3u);
    for (const auto& auftrag : ausgabe->auftraege) {
        EXPECT_EQ(auftrag.seiten, 1);
        EXPECT_EQ(auftrag.titel, "Tierliste");
    }
    EXPECT_EQ(gedruckt, (std::vector<int>{1, 2, 3}));

    ausgabe->auftraege.clear();
    gedruckt.clear();
    preview->PrintSet();
    ASSERT_EQ(ausgabe->auftraege.size(), 1u);
    EXPECT_EQ(ausgabe->auftraege[0].seiten, 3);
    EXPECT_EQ(ausgabe->auftraege[0].kopien, 2);
    EXPECT_EQ(preview->Copies(), 2);

    ausgabe->auftraege.clear();
    gedruckt.clear();
    ausgabe->dialogVon = 2;
    ausgabe->dialogBis = 3;
    preview->PrintSet();
    ASSERT_EQ(ausgabe->auftraege.size(), 1u);
    EXPECT_EQ(gedruckt, (std::vector<int>{2, 3}));

    ausgabe->auftraege.clear();
    ausgabe->dialogBestaetigt = false;
    preview->PrintSet();
    EXPECT_TRUE(ausgabe->auftraege.empty());

    preview->PrintEx(2, 50, 4);
    ASSERT_EQ(ausgabe->auftraege.size(), 1u);
    EXPECT_EQ(ausgabe->auftraege[0].kopien, 4);
    EXPECT_EQ(preview->Copies(), 4);
}

TEST_F(Vorschau, AFileTakesAllPagesOfAPrintInOneJob)
{
    ausgabe->eineDatei = true;
    preview->SetMaxPage(3);
    preview->Print();
    ASSERT_EQ(ausgabe->auftraege.size(), 1u);
    EXPECT_EQ(ausgabe->auftraege[0].seiten, 3);
    preview->PrintPages(3, 2);
    EXPECT_EQ(ausgabe->auftraege.size(), 1u) << "an empty range prints nothing";
}

TEST_F(Vorschau, ASubstitutedPaperIsOwnedAndBound)
{
    FakeDrucker anderer;
    anderer.dpi = 96;
    auto neu = std::make_unique<TPaper>(anderer);
    TPaper* roh = neu.get();
    neu->SetScreenDpi(96);
    neu->Update();
    preview->SetPaper(std::move(neu));
    EXPECT_EQ(&preview->Paper(), roh);
    preview->SetMaxScale(999);
    EXPECT_EQ(preview->MaxScale(), 534);
    anderer.code = 11;  // the printer now holds A5: a smaller page allows a larger zoom
    anderer.paperMM = QSizeF(148, 210);
    roh->PrinterSetup().SetPaperFormat(pfA5);
    EXPECT_GT(preview->ScaleLimit(), 534) << "the component hears the new store's size changes";
    EXPECT_THROW(preview->SetPaper(nullptr), std::invalid_argument);
}

TEST_F(Vorschau, PrintingWithoutOutputSaysSo)
{
    TPreview ohneAusgabe(drucker);
    EXPECT_THROW(ohneAusgabe.Print(), std::runtime_error);
}

TEST(FehlerLog, AppendsDatedLinesAndNeverRaises)
{
    QTemporaryDir ordner;
    SetErrorLogFolder(ordner.path());
    {
        QFile alt(QDir(ordner.path()).filePath("ErrorLog.txt"));
        ASSERT_TRUE(alt.open(QIODevice::WriteOnly));
        alt.write("alte Zeile\n");
    }
    WriteToLog("Drucker fehlt");
    WriteToLog("Seite 2 fehlt");
    QFile log(ErrorLogPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList zeilen = QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(zeilen.size(), 3);
    EXPECT_EQ(zeilen[0], "alte Zeile");
    EXPECT_TRUE(zeilen[1].endsWith(" : Drucker fehlt"));
    EXPECT_TRUE(zeilen[2].endsWith(" : Seite 2 fehlt"));
    EXPECT_TRUE(
        zeilen[2].startsWith(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat)));

    // A folder that is a file: nothing written, nothing raised.
    SetErrorLogFolder(QDir(ordner.path()).filePath("ErrorLog.txt"));
    EXPECT_NO_THROW(WriteToLog("verloren"));
    SetErrorLogFolder(QString());
}

}  // namespace
