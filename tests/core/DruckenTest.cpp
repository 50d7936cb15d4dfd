#include "../preview/DruckTestHilfe.h"
#include "Drucken.h"
#include "Grundeinstellungen.h"
#include "ScopedEnv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// A list report after the pattern of every report: footer, header, rows with page breaks.
class Kalbungsliste : public TDrucken {
public:
    using TDrucken::TDrucken;
    int Zeilen = 180;

    void InitDruck() override
    {
        TDrucken::InitDruck();
        SetSeitenrandLinks(200);
        SetSeitenrandRechts(200);
        SetSeitenrandOben(200);
        SetSeitenrandUnten(200);
        Preview->SetTitle(QStringLiteral("Kalbungsliste"));
    }
    void Seitenrahmen() override
    {
        TDrucken::Seitenrahmen();
        Pos = SeitenrandOben();
        SetzeSchrift(QStringLiteral("DejaVu Sans"), 12, fsBold, 0, false);
        PrintText(0, QStringLiteral("Kalbungsliste Betrieb Sonnenhof"), true);
        SetzeSchrift(QStringLiteral("DejaVu Sans"), 10, 0, 0, false);
    }
    void NeueSeite() override
    {
        TDrucken::NeueSeite();
        Seitenrahmen();
    }
    void DruckeInhalt(QObject*) override
    {
        InitDruck();
        Seitenrahmen();
        for (int i = 1; i <= Zeilen; ++i) {
            CheckNeueSeite(Zeilenhoehe());
            PrintText(0, QStringLiteral("Kuh %1").arg(i, 4, 10, QChar('0')), false);
            PrintText(800, QStringLiteral("Kalbung am 0%1.03.2026").arg(i % 9 + 1), true);
        }
        Preview->SetMaxPage(std::int16_t(AktSeite()));
    }
};

TEST(Drucken, FooterStandsUnderTheBottomMarginOnEveryPage)
{
    FakeDrucker drucker;
    Kalbungsliste liste(drucker, std::make_unique<AufzeichnendeAusgabe>());
    liste.StandardAusrichtung = TA_BOTTOM;
    liste.DruckeInhalt(nullptr);
    ASSERT_GE(liste.AktSeite(), 3);

    const int breite = 2100 - 400;  // usable width at margins of 200
    const auto texte = Texte(liste.Paper());
    int seiten = 0;
    for (const TextEintrag& t : texte) {
        if (!t.text.startsWith("Seite "))
            continue;
        ++seiten;
        EXPECT_EQ(t.text, QStringLiteral("Seite %1").arg(t.seite));
        EXPECT_EQ(t.x, 200 + int(breite * 0.4));
        EXPECT_EQ(t.y, 2970 - 200 + 10);
        EXPECT_EQ(t.ausrichtung, TA_CENTER + TA_BOTTOM) << "centred with the standard flags";
    }
    EXPECT_EQ(seiten, liste.AktSeite());
    const TextEintrag* hinweis = Finde(texte, TDrucken::Produkthinweis());
    ASSERT_TRUE(hinweis);
    EXPECT_EQ(hinweis->x, 200 + breite);
    EXPECT_EQ(hinweis->ausrichtung, TA_RIGHT + TA_BOTTOM);
    for (const TextEintrag& t : texte)
        if (t.text.startsWith("Kuh ")) {
            EXPECT_LE(t.y, 2970 - 200) << t.text.toStdString();
        }
}

TEST(Drucken, ReportPrintedToPdfHoldsItsTextsPageNumbersAndFooters)
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    ASSERT_FALSE(pdftotext.isEmpty()) << "poppler-utils is needed (scripts/install-deps.sh)";
    QTemporaryDir ordner;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrinterGeraet geraet(printer);
    auto ausgabe = std::make_unique<QPrinterOutput>(printer);
    QString vorschlag;
    const QString datei = QDir(ordner.path()).filePath("kalbungen.pdf");
    ausgabe->FileNameQuery = [&](const QString& v) {
        vorschlag = v;
        return QDir(ordner.path()).filePath("kalbungen");
    };
    Kalbungsliste liste(geraet, std::move(ausgabe));
    liste.DruckeInhalt(nullptr);
    const int seiten = liste.AktSeite();
    ASSERT_GE(seiten, 3);
    liste.Preview->Print();
    EXPECT_TRUE(vorschlag.endsWith("/Kalbungsliste.pdf")) << vorschlag.toStdString();
    ASSERT_TRUE(QFileInfo::exists(datei)) << "the suffix is added to the chosen name";

    QProcess leser;
    leser.start(pdftotext, {"-layout", datei, "-"});
    ASSERT_TRUE(leser.waitForFinished(30000));
    ASSERT_EQ(leser.exitCode(), 0) << leser.readAllStandardError().toStdString();
    QStringList pdfSeiten = QString::fromUtf8(leser.readAllStandardOutput()).split('\f');
    if (!pdfSeiten.isEmpty() && pdfSeiten.back().trimmed().isEmpty())
        pdfSeiten.removeLast();
    ASSERT_EQ(pdfSeiten.size(), seiten) << "one file takes all pages";
    for (int i = 0; i < seiten; ++i) {
        const QString& seite = pdfSeiten[i];
        EXPECT_TRUE(seite.contains(QStringLiteral("Seite %1").arg(i + 1))) << "page " << i + 1;
        EXPECT_TRUE(seite.contains(TDrucken::Produkthinweis())) << "page " << i + 1;
        EXPECT_TRUE(seite.contains("Kalbungsliste Betrieb Sonnenhof")) << "page " << i + 1;
    }
    const QString alles = pdfSeiten.join('\n');
    for (int i = 1; i <= liste.Zeilen; ++i)
        EXPECT_TRUE(alles.contains(QStringLiteral("Kuh %1").arg(i, 4, 10, QChar('0')))) << i;
    EXPECT_TRUE(alles.contains("Kalbung am 05.03.2026"));
}

TEST(Drucken, CancelledFileNamePrintsNothing)
{
    QTemporaryDir ordner;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QPrinterGeraet geraet(printer);
    auto ausgabe = std::make_unique<QPrinterOutput>(printer);
    ausgabe->FileNameQuery = [](const QString&) { return QString(); };
    Kalbungsliste liste(geraet, std::move(ausgabe));
    liste.DruckeInhalt(nullptr);
    int gedruckt = 0;
    liste.Preview->OnPrinting = [&](TPreview&, std::int16_t) { ++gedruckt; };
    liste.Preview->Print();
    EXPECT_EQ(gedruckt, 0);
}

TEST(Drucken, ErrorLogOfThePrintEngineGoesToTheDataFolder)
{
    QTemporaryDir tmp;
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.filePath("xdg-data").toLocal8Bit()};
    EinstellungenErzeugen(nullptr, tmp.path());
    struct Freigeben {
        ~Freigeben()
        {
            EinstellungenFreigeben();
            SetErrorLogFolder(QString());
        }
    } freigeben;
    FakeDrucker drucker;
    Kalbungsliste liste(drucker, std::make_unique<AufzeichnendeAusgabe>());
    EXPECT_EQ(QFileInfo(ErrorLogPath()).absoluteFilePath(),
              QFileInfo(QDir(Einstellungen()->Datenverzeichnis()).filePath("ErrorLog.txt"))
                  .absoluteFilePath());
}

}  // namespace
