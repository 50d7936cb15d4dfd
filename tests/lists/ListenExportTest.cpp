#include "ListenExportLeser.h"

#include <FListeNormal.h>
#include <ListenExport.h>

#include <Datenmodul.h>
#include <Grundeinstellungen.h>

#include <MessageBoxScript.h>
#include <Query.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>
#include <Transaction.h>

#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using ListenExport::Format;

namespace {

// A stored design over three animals whose layout names one field twice and one not at all, and
// a built-in design (negative ID) with the same layout.
class ListenExportTest : public DatabaseTest {
public:
    static constexpr int Liste = 41;
    static constexpr int Intern = -7;
    static inline const QString Sql = QStringLiteral(
        "SELECT Q1.ID AS Q1TIERID, Q1.NUMMER AS Q1NUMMER, Q1.NAME AS Q1NAME, Q1.GEBDAT AS "
        "Q1GEBDAT, (Q1.NAME IS NULL) AS Q1OHNENAME FROM T_STAMMDATEN Q1 WHERE (#Q1.ID#) "
        "ORDER BY Q1.NUMMER");

    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        db::Transaction tr(Db());
        tr.Start();
        db::Query tier(tr,
                       "INSERT INTO T_STAMMDATEN (ID, NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) "
                       "VALUES (:ID, :NUMMER, :NAME, :GEBDAT, 'W', 1)");
        struct Tier {
            int id;
            const char* nummer;
            const char* name;
            QDate gebdat;
        };
        for (const Tier& t : {Tier{1, "DE 01", "Ölke", QDate(2019, 4, 1)},
                              Tier{2, "DE 02", nullptr, QDate(2020, 12, 31)},
                              Tier{3, "DE 03", "Bärbel, \"B\"", QDate(2021, 1, 9)}}) {
            tier.Param("ID").SetInteger(t.id);
            tier.Param("NUMMER").SetString(t.nummer);
            if (t.name)
                tier.Param("NAME").SetString(QString::fromUtf8(t.name));
            else
                tier.Param("NAME").SetNull();
            tier.Param("GEBDAT").SetDate(t.gebdat);
            tier.Execute();
        }
        db::Query l(tr,
                    "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, SQL, BEDINGUNGEN) VALUES "
                    "(:ID, 'Herde', :TITEL, :SQL, :ART)");
        db::Query f(tr,
                    "INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, TITEL, BREITE) VALUES "
                    "(:LISTE, :FELD, :TITEL, 80)");
        for (int id : {Liste, Intern}) {
            l.Param("ID").SetInteger(id);
            l.Param("TITEL").SetString(id > 0 ? "Herdenübersicht" : "Interne Übersicht");
            l.Param("SQL").SetString(Sql);
            l.Param("ART").SetString(id > 0 ? QString() : QStringLiteral("TESTLISTE"));
            l.Execute();
            for (const auto& [feld, titel] :
                 {std::pair{"Q1.NUMMER", "Ohrmarke"}, std::pair{"Q1.NUMMER", "Doppelt"},
                  std::pair{"S.N1", "Nr."}, std::pair{"Q1.NAME", "Name"},
                  std::pair{"Q1.GEBDAT", "Geboren"}, std::pair{"Q1.OHNENAME", "Ohne Namen"}}) {
                f.Param("LISTE").SetInteger(id);
                f.Param("FELD").SetString(feld);
                f.Param("TITEL").SetString(titel);
                f.Execute();
            }
        }
        tr.Commit();
    }

protected:
    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        DM()->Datenbank.Open(TestDatabase::Params(Suite().Path()));
    }
    void TearDown() override
    {
        ListenExport::DateiZeigen = nullptr;
        ListenExport::DateiWaehlen = nullptr;
        EinstellungenFreigeben();
        DMFreigeben();
    }

    // Chooses the format in the export dialog and, for a file, names it in the save dialog.
    static void Waehlen(MessageBoxScript& skript, Format format, const QString& datei = {},
                        bool ansicht = false)
    {
        skript.Window<TfrmListenExport>([format, ansicht](TfrmListenExport& d) {
            EXPECT_EQ(d.windowTitle(), "Exportiere Liste");
            EXPECT_TRUE(d.FormatKnopf(Format::Excel)->isChecked() ||
                        d.FormatKnopf(format)->isChecked());
            ExportLeser::Anklicken(d.FormatKnopf(format));
            if (ansicht)
                ExportLeser::Anklicken(d.NurAnsicht());
            QTest::mouseClick(d.findChild<QPushButton*>("Exportieren"), Qt::LeftButton);
        });
        ListenExport::DateiWaehlen = [datei](QWidget*, const QString& filter, const QString& endung,
                                             const QString& vorschlag) {
            EXPECT_TRUE(filter.endsWith("(*." + endung + ")") || endung == "html")
                << filter.toStdString();
            EXPECT_TRUE(vorschlag.endsWith("." + endung)) << vorschlag.toStdString();
            return datei;
        };
    }

    QTemporaryDir ordner;
    ScopedEnv datenHome{"XDG_DATA_HOME", ordner.path().toLocal8Bit()};
};

const QStringList Titel{"Q1TIERID", "Ohrmarke", "Name", "Geboren", "Ohne Namen"};

TEST_F(ListenExportTest, ListenfensterExportiertMitTitelnDesLayouts)
{
    TfrmListeNormal* f = FListeNormal::ListeAnzeigen(nullptr, Liste, 0, "Stall 1", false, {});
    ASSERT_NE(f, nullptr);
    const QString csv = ordner.filePath("herde.csv");
    const QString html = ordner.filePath("herde.html");
    {
        MessageBoxScript skript;
        Waehlen(skript, Format::CSV, csv);
        f->actExportieren->trigger();
        Waehlen(skript, Format::HTML, html);
        f->actExportieren->trigger();
    }
    EXPECT_EQ(ExportLeser::Zeilen(ExportLeser::Lesen(csv)),
              (QList<QStringList>{Titel,
                                  {"1", "DE 01", "Ölke", "01.04.2019", "Falsch"},
                                  {"2", "DE 02", "", "31.12.2020", "Wahr"},
                                  {"3", "DE 03", "Bärbel, \"B\"", "09.01.2021", "Falsch"}}));
    const QJsonObject h = ExportLeser::Lesen(html);
    EXPECT_EQ(h.value("h1").toString(), "Herdenübersicht (Stall 1)");
    EXPECT_EQ(h.value("h1").toString(), f->windowTitle());
    delete f;
}

TEST_F(ListenExportTest, OhneKopfDerTitelDerListe)
{
    const QString datei = ordner.filePath("titel.html");
    MessageBoxScript skript;
    Waehlen(skript, Format::HTML, datei);
    ListenExport::ListeExportieren(Liste, 0, {});
    EXPECT_EQ(ExportLeser::Lesen(datei).value("titel").toString(), "Herdenübersicht");
}

TEST_F(ListenExportTest, VorhandeneDateiNurNachJa)
{
    const QString datei = ordner.filePath("alt.csv");
    const auto schreiben = [&](const QByteArray& inhalt) {
        QFile f(datei);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
    };
    const auto lesen = [&] {
        QFile f(datei);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    };
    schreiben("alt");
    for (const auto antwort : {Tools::mrNo, Tools::mrYes}) {
        SCOPED_TRACE(antwort);
        MessageBoxScript boxen;
        boxen.AnswerWith(antwort);
        MessageBoxScript skript;
        Waehlen(skript, Format::CSV, datei);
        ListenExport::ListeExportieren(Liste, 0, "Kopf");
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(boxen.Shown()[0].text,
                  QStringLiteral("Die Datei %1 existiert bereits.\rSoll diese Datei überschrieben "
                                 "werden?")
                      .arg(datei));
        if (antwort == Tools::mrNo)
            EXPECT_EQ(lesen(), "alt");
        else
            EXPECT_EQ(ExportLeser::Zeilen(ExportLeser::Lesen(datei)).size(), 4);
    }
}

TEST_F(ListenExportTest, InterneListeExportiertDieZeilenDesFensters)
{
    // The window runs its own SQL: one animal only.
    TfrmListeNormal* f = FListeNormal::ListeAnzeigenEx(
        nullptr, Intern, 0, {}, QString(Sql).replace("(#Q1.ID#)", "Q1.ID = 2"), {}, false, false,
        {}, true, {});
    ASSERT_NE(f, nullptr);
    const QString datei = ordner.filePath("intern.tsv");
    {
        MessageBoxScript skript;
        Waehlen(skript, Format::TabText, datei);
        f->Exportieren();
    }
    EXPECT_EQ(ExportLeser::Zeilen(ExportLeser::Lesen(datei)),
              (QList<QStringList>{Titel, {"2", "DE 02", "", "31.12.2020", "Wahr"}}));
    delete f;
}

TEST_F(ListenExportTest, ZwischenablageUndAnsicht)
{
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk);
        MessageBoxScript skript;
        skript.Window<TfrmListenExport>([](TfrmListenExport& d) {
            ExportLeser::Anklicken(d.FormatKnopf(Format::Zwischenablage));
            EXPECT_FALSE(d.InDatei()->isEnabled());
            d.accept();
        });
        ListenExport::ListeExportieren(Liste, 0, {});
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(boxen.Shown()[0].text, "Daten wurden in die Zwischenablage kopiert");
        const QStringList zeilen = QGuiApplication::clipboard()->text().split("\r\n");
        EXPECT_EQ(zeilen.value(0), Titel.join('\t'));
        EXPECT_EQ(zeilen.value(3), "3\tDE 03\t\"Bärbel, \"\"B\"\"\"\t09.01.2021\tFalsch");
    }
    QString gezeigt;
    ListenExport::DateiZeigen = [&](const QString& datei) {
        gezeigt = datei;
        return true;
    };
    MessageBoxScript skript;
    Waehlen(skript, Format::Excel, {}, true);
    ListenExport::ListeExportieren(Liste, 0, "Herde/Stall: Süd");
    ASSERT_TRUE(gezeigt.endsWith("/Herde_Stall_ Süd.xlsx")) << gezeigt.toStdString();
    const QList<QStringList> zeilen = ExportLeser::Zeilen(ExportLeser::Lesen(gezeigt));
    ASSERT_EQ(zeilen.size(), 7);
    EXPECT_EQ(zeilen[0].value(0), "Herde/Stall: Süd");
    EXPECT_EQ(zeilen[4], (QStringList{"1", "DE 01", "Ölke", "01.04.2019", "Falsch"}));
    QFile::remove(gezeigt);
}

TEST_F(ListenExportTest, AbbrechenSchreibtNichts)
{
    MessageBoxScript skript;
    skript.Window<TfrmListenExport>(
        [](TfrmListenExport& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    ListenExport::ListeExportieren(Liste, 0, {});
    EXPECT_TRUE(QDir(ordner.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ListenExportTest, UnbekannteListeMeldetDeutsch)
{
    try {
        ListenExport::ListeExportieren(999, 0, {});
        FAIL() << "keine Ausnahme";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Die Liste 999 ist nicht gespeichert.");
    }
}

}  // namespace
