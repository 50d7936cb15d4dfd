#include "HerdeTest.h"

#include <Stammdaten.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

class StammdatenTest : public HerdeTest {
protected:
    void SetUp() override
    {
        HerdeTest::SetUp();
        ProgDatum::HeuteSetzen(QDate(2025, 6, 15));
        karte = std::make_unique<TfrmStammdaten>();
    }
    void TearDown() override
    {
        karte.reset();
        HerdeTest::TearDown();
    }

    QLineEdit* Zeile(const char* name) { return karte->findChild<QLineEdit*>(name); }
    QComboBox* Combo(const char* name) { return karte->findChild<QComboBox*>(name); }

    void Eingeben(const char* feld, const QString& text)
    {
        QLineEdit* e = Zeile(feld);
        ASSERT_TRUE(e) << feld;
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
    }

    QString Spalte(int id, const QString& spalte)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, "SELECT " + spalte + " FROM T_STAMMDATEN WHERE ID = :ID");
        q.Param("ID").SetInteger(id);
        q.Open();
        return q.Eof() ? QStringLiteral("<kein Tier>") : q.Field(0).AsString();
    }

    static std::function<void(QDialog&)> Druecken(const QString& text)
    {
        return [text](QDialog& d) {
            for (QPushButton* k : d.findChildren<QPushButton*>())
                if (k->text() == text) {
                    k->click();
                    return;
                }
            ADD_FAILURE() << "Kein Knopf " << text.toStdString();
            d.reject();
        };
    }

    std::unique_ptr<TfrmStammdaten> karte;
};

TEST_F(StammdatenTest, NeueKuhEingebenUndSpeichernMitZugangsmeldung)
{
    karte->TierAnzeigen(0, 1, {});
    karte->show();
    EXPECT_TRUE(karte->findChild<QRadioButton*>("rbWeiblich")->isChecked());
    EXPECT_EQ(Combo("cbStatus")->currentText(), "Jungrind");
    EXPECT_EQ(Combo("cbArt")->currentText(), "Normal");
    Eingeben("edNummer", "de 05 123 45678");
    EXPECT_EQ(Zeile("edNummer")->text(), "DE 05 123 45678") << "upper case as typed";
    Eingeben("edName", "Resi");
    Eingeben("edKNR", "42");
    Eingeben("edGebDat", "3.2.2025");
    Eingeben("edGekauft", "01.03.2025");
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes);
    QTest::mouseClick(karte->SpeichernKnopf(), Qt::LeftButton);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text, "Soll eine Zugangsmeldung an HI - Tier vorbereitet werden?");
    const int id = karte->TierID();
    ASSERT_GT(id, 0);
    EXPECT_EQ(Spalte(id, "NUMMER"), "DE 05 123 45678");
    EXPECT_EQ(Spalte(id, "KNR"), "42");
    EXPECT_EQ(Ids("SELECT TIER FROM T_HITMELDUNGEN WHERE MELDUNG = 14 AND DATUM = DATE "
                  "'2025-03-01'"),
              QList<int>{id});
    // Storing the unchanged record again asks nothing and writes no second report.
    Eingeben("edName", "Resi");
    QTest::mouseClick(karte->SpeichernKnopf(), Qt::LeftButton);
    EXPECT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(Ids("SELECT ID FROM T_HITMELDUNGEN").size(), 1);
}

TEST_F(StammdatenTest, NeuesTierOhneNummerVerwerfen)
{
    karte->TierAnzeigen(0, 1, {});
    karte->show();
    Eingeben("edGebDat", "3.2.2025");
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes);
    QTest::mouseClick(karte->SpeichernKnopf(), Qt::LeftButton);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(
        boxen.Shown()[0].text.startsWith("Sie müssen eine Nummer für das Tier eingeben.\r\r"
                                         "Wollen Sie die Bearbeitung des neuen Tieres"));
    EXPECT_EQ(Ids("SELECT ID FROM T_STAMMDATEN").size(), 4);
    QTest::mouseClick(karte->SchliessenKnopf(), Qt::LeftButton);
    EXPECT_FALSE(karte->isVisible());
}

TEST_F(StammdatenTest, JedeFalscheEingabeMeldetUndFokussiertIhrFeld)
{
    struct Fall {
        const char* feld;
        const char* eingabe;
        const char* meldung;
        Stammdaten::TFeld fokus;
    };
    const Fall faelle[] = {
        {"edNummer", "", "Sie müssen eine Nummer für das Tier eingeben.",
         Stammdaten::TFeld::Nummer},
        {"edGebDat", "", "Sie müssen ein Geburtsdatum für das Tier eingeben.",
         Stammdaten::TFeld::Gebdat},
        {"edGebDat", "16.06.2025", "Das Geburtsdatum darf nicht in der Zukunft sein.",
         Stammdaten::TFeld::Gebdat},
        {"edGekauft", "31.12.2023", "Das Gekauft-Datum darf nicht vor dem Geburtsdatum sein.",
         Stammdaten::TFeld::Gekauft},
        {"edVerkauft", "16.06.2025", "Das Verkauft-Datum darf nicht in der Zukunft sein.",
         Stammdaten::TFeld::Verkauft},
        {"edRindern", "01.01.2024",
         "Das Datum des nächsten Rinderns darf\nnicht vor dem "
         "Geburtsdatum sein.",
         Stammdaten::TFeld::Rindern},
    };
    // "deckfähig" opens the next-heat date for input.
    Ausfuehren({QString("UPDATE T_STAMMDATEN SET STATUS = 'D' WHERE ID = %1").arg(berta)});
    karte->TierAnzeigen(berta, 0, {});
    karte->show();
    for (const Fall& f : faelle) {
        Eingeben(f.feld, f.eingabe);
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk);
        QTest::mouseClick(karte->SchliessenKnopf(), Qt::LeftButton);
        ASSERT_EQ(boxen.Shown().size(), 1) << f.meldung;
        EXPECT_TRUE(boxen.Shown()[0].text.startsWith(QString::fromUtf8(f.meldung)))
            << boxen.Shown()[0].text.toStdString();
        EXPECT_TRUE(karte->isVisible());
        EXPECT_EQ(karte->focusWidget(), karte->Feld(f.fokus)) << f.meldung;
        // Undo with the error box's second button drops the wrong entry.
        MessageBoxScript rueck;
        rueck.Answer(Druecken("Rückgängig")).AnswerWith(Tools::mrYes);
        QTest::mouseClick(karte->SchliessenKnopf(), Qt::LeftButton);
        EXPECT_EQ(rueck.Shown().size(), 2);
        EXPECT_TRUE(karte->isVisible());
        karte->show();
    }
    EXPECT_EQ(Spalte(berta, "NUMMER"), "DE 01 111 11111");
    EXPECT_EQ(Spalte(berta, "GEKAUFT"), "");
}

TEST_F(StammdatenTest, GeschlechtWechselBietetDieStatusDesGeschlechts)
{
    karte->TierAnzeigen(berta, 0, {});
    karte->show();
    MessageBoxScript boxen;
    QTest::mouseClick(karte->findChild<QRadioButton*>("rbMaennlich"), Qt::LeftButton);
    EXPECT_EQ(Combo("cbStatus")->findText("deckfähig"), -1);
    EXPECT_NE(Combo("cbStatus")->findText("Ochse"), -1);
    QTest::mouseClick(karte->SchliessenKnopf(), Qt::LeftButton);
    EXPECT_FALSE(karte->isVisible());
    EXPECT_EQ(Spalte(berta, "GESCHLECHT"), "M");
    EXPECT_EQ(Spalte(berta, "STATUS"), "J");
}

TEST_F(StammdatenTest, BlaetternSpeichertUndLaedtDasNaechsteTier)
{
    const QString sql = QString(
                            "SELECT ID, NAME, NUMMER FROM T_STAMMDATEN WHERE ID IN (%1, %2) "
                            "ORDER BY KNR")
                            .arg(berta)
                            .arg(lisa);
    karte->TierAnzeigen(berta, 0, sql);
    karte->show();
    Eingeben("edName", "Bertha");
    QTest::keyClick(karte.get(), Qt::Key_PageDown);
    EXPECT_EQ(karte->TierID(), lisa);
    EXPECT_EQ(Zeile("edName")->text(), "Lisa");
    EXPECT_EQ(Spalte(berta, "NAME"), "Bertha");
    QTest::keyClick(karte.get(), Qt::Key_PageUp);
    EXPECT_EQ(karte->TierID(), berta);
    EXPECT_EQ(Zeile("edName")->text(), "Bertha");
}

TEST_F(StammdatenTest, Bildschirmfoto)
{
    karte->TierAnzeigen(berta, 0, {});
    karte->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(karte.get()));
    Bildschirmfoto(*karte, "Stammdaten-Karte.png");
    EXPECT_GT(QImage(Bildschirmfotoordner() + "/Stammdaten-Karte.png").width(), 400);
}

}  // namespace
