#include "BesamungTest.h"

#include <BesamungPortionWahl.h>
#include <Besamungen.h>

#include <AMCbRb.h>
#include <DBFloatEdit.h>
#include <DBZRDateEdit.h>
#include <Field.h>
#include <ZRcxGridDBTableView.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

class BesamungenTest : public BesamungTest {
protected:
    void SetUp() override
    {
        BesamungTest::SetUp();
        Einstellung("Eigenbesamung-Stationen", "MEGGLE;RUW");
        dlg = std::make_unique<TfrmBesamungen>();
        dlg->OnGeaendert = [this](TfrmBesamungen* sender) {
            EXPECT_EQ(sender, dlg.get());
            ++geaendert;
        };
    }
    void TearDown() override
    {
        dlg.reset();
        BesamungTest::TearDown();
    }

    void Oeffnen(int tier, int modus = 1, int kalbung = 0, int besamung = -1, int nr = 1)
    {
        dlg->BesamungOeffnen(tier, kalbung, QDate(2024, 1, 1), modus, besamung, nr);
        dlg->show();
        QApplication::setActiveWindow(dlg.get());
    }

    template <class W = QLineEdit>
    W* Feld(const char* name)
    {
        auto* w = dlg->findChild<W*>(name);
        EXPECT_TRUE(w) << name;
        return w;
    }

    void Tippen(QLineEdit* e, const QString& text)
    {
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
    }

    // Chooses the portion in "Portion wählen" as a user would: a click on its row, then "Ok".
    // Returns the number of portions the choice offered.
    int PortionWaehlen(int portion)
    {
        int angeboten = -1;
        Bedienen<TfrmPortionWahl>([portion, &angeboten](TfrmPortionWahl& w) {
            db::DataSet& p = w.Portionen();
            angeboten = p.RecordCount();
            const int id = p.FieldByName("ID").Index();
            for (int zeile = 0; zeile < p.RecordCount(); ++zeile)
                if (p.ValueAt(zeile, id).AsInteger() == portion) {
                    TZRcxGridDBTableView* v = w.Ansicht();
                    const QModelIndex index = v->model()->index(zeile, 0);
                    QTest::mouseClick(v->viewport(), Qt::LeftButton, {},
                                      v->visualRect(index).center());
                }
            QTest::mouseClick(w.OkKnopf(), Qt::LeftButton);
        });
        QTest::mouseClick(dlg->PortionKnopf(), Qt::LeftButton);
        return angeboten;
    }

    void Ok() { QTest::mouseClick(dlg->OkKnopf(), Qt::LeftButton); }

    QString Spalte(const QString& sql) { return Lesen(sql); }

    std::unique_ptr<TfrmBesamungen> dlg;
    int geaendert = 0;
};

TEST_F(BesamungenTest, FremdbesamungMitStierAusDerListe)
{
    Oeffnen(berta);
    EXPECT_TRUE(dlg->EigenKnopf()->isChecked());
    EXPECT_FALSE(dlg->StierEdit()->isEnabled());
    EXPECT_EQ(dlg->StierGruppe()->title(), "vorhandene Stiere");
    QTest::mouseClick(dlg->FremdKnopf(), Qt::LeftButton);
    ASSERT_TRUE(dlg->FremdKnopf()->isChecked());
    EXPECT_TRUE(dlg->StierEdit()->isEnabled());
    EXPECT_FALSE(dlg->PortionKnopf()->isEnabled());
    EXPECT_EQ(dlg->StierGruppe()->title(), "2 Stiere gefunden");

    Tippen(dlg->DatumEdit(), "1.6.2025");
    Tippen(dlg->StierEdit(), "ru");
    EXPECT_EQ(dlg->Stiere().FieldByName("STIER").AsString(), "Ruben");
    QTest::keyClick(dlg->StierEdit(), Qt::Key_Up);
    EXPECT_EQ(dlg->Stiere().FieldByName("STIER").AsString(), "Hanno");
    QTest::keyClick(dlg->StierEdit(), Qt::Key_Return);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->StierEdit()->text(), "Hanno");
    EXPECT_EQ(Feld("edHBNr")->text(), "DE 09 111");

    MessageBoxScript boxen;
    Ok();
    EXPECT_TRUE(boxen.Shown().isEmpty());
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(geaendert, 1);
    EXPECT_EQ(Spalte(QString("SELECT STIER || '/' || NUMMER || '/' || NR || '/' || BES_NR_BY || "
                             "'/' || DATUM FROM T_BESAMUNGEN WHERE TIER = %1")
                         .arg(berta)),
              "Hanno/DE 09 111/1/1/2025-06-01");
    EXPECT_EQ(Spalte("SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG"), "0");
    EXPECT_EQ(Spalte("SELECT COUNT(*) FROM T_BESAMUNGSMELDUNG"), "0");
    EXPECT_EQ(Spalte("SELECT COUNT(*) FROM T_EINSTELLUNGEN WHERE NAME STARTING WITH "
                     "'Besamungsschein'"),
              "0");
}

TEST_F(BesamungenTest, EigenbesamungBuchtVerwendungMeldungUndScheinnummer)
{
    Einstellung("Besamungsschein-Nummer-MEGGLE", "41");
    const int portion = Portion(hanno, "MEGGLE", 5, 4711);
    const int leer = Portion(ruben, "MEGGLE", 1);
    Wert(QString("INSERT INTO T_CONTAINER_VERWENDUNG (ART, DATUM, PORTION) VALUES ('N', "
                 "DATE '2025-04-01', %1) RETURNING ID")
             .arg(leer));
    Oeffnen(berta);
    Tippen(dlg->DatumEdit(), "14.6.2025");
    // The empty portion is not offered for a new insemination.
    EXPECT_EQ(PortionWaehlen(portion), 1);
    EXPECT_EQ(dlg->PortionText()->text(), "Lieferung: 01.03.2025, Bulle: Hanno, DE 09 111, Meggle");
    EXPECT_EQ(dlg->StierEdit()->text(), "Hanno");
    EXPECT_TRUE(dlg->ScheinEdit()->isEnabled());
    EXPECT_EQ(dlg->ScheinEdit()->text(), "42");
    EXPECT_EQ(Feld<QComboBox>("cbPruefbulle")->currentText(), "Ja");
    auto* teilung = Feld<QComboBox>("cbTeilung");
    teilung->setFocus();
    QTest::keyClick(teilung, Qt::Key_Down);
    EXPECT_EQ(teilung->currentText(), "1. Hälfte");

    MessageBoxScript boxen;
    Ok();
    EXPECT_TRUE(boxen.Shown().isEmpty());
    EXPECT_EQ(geaendert, 1);
    const QString id = Spalte(QString("SELECT ID FROM T_BESAMUNGEN WHERE TIER = %1").arg(berta));
    EXPECT_EQ(Spalte("SELECT STIER || '/' || NUMMER || '/' || EJAKULAT_NR || '/' || PRUEFBULLE || "
                     "'/' || BESAMUNGSSCHEIN_NR || '/' || NR || '/' || BES_NR_BY FROM T_BESAMUNGEN "
                     "WHERE ID = " +
                     id),
              "Hanno/DE 09 111/4711/T/42/1/1");
    EXPECT_EQ(Spalte(QString("SELECT ART || '/' || DATUM || '/' || PORTIONSTEILUNG || '/' || "
                             "PORTION FROM T_CONTAINER_VERWENDUNG WHERE BESAMUNG = %1")
                         .arg(id)),
              QString("B/2025-06-14/1/%1").arg(portion));
    EXPECT_EQ(Spalte("SELECT TIER || '/' || COALESCE(GESENDET, 'offen') || '/' || "
                     "COALESCE(WERTE, 'NULL') || '/' || COALESCE(STATION, 'ohne') FROM "
                     "T_BESAMUNGSMELDUNG WHERE BESAMUNG = " +
                     id),
              QString("%1/offen//ohne").arg(berta));
    EXPECT_EQ(Schein("MEGGLE"), "42");
}

TEST_F(BesamungenTest, PortionEinerAnderenStationRechnetBesamungsNrNeu)
{
    Besamungen(berta, QDate(2025, 1, 1), 3);
    const int ruw = Portion(hanno, "RUW", 5);
    Oeffnen(berta);
    EXPECT_EQ(Feld("edNr")->text(), "4");
    EXPECT_EQ(dlg->BesNrBYEdit()->text(), "1");
    Tippen(dlg->DatumEdit(), "1.6.2025");
    PortionWaehlen(ruw);
    EXPECT_EQ(dlg->BesNrBYEdit()->text(), "4");
    {
        // The help at the field follows the portion's station too.
        MessageBoxScript hilfe;
        hilfe.AnswerWith(Tools::mrOk);
        QTest::mouseClick(Feld<QPushButton>("btnBesNrBYInfo"), Qt::LeftButton);
        ASSERT_EQ(hilfe.Shown().size(), 1);
        EXPECT_TRUE(hilfe.Shown()[0].text.contains("nach 9 kommt wieder die 1"));
    }
    MessageBoxScript boxen;
    Ok();
    EXPECT_EQ(
        Spalte(QString("SELECT BES_NR_BY FROM T_BESAMUNGEN WHERE TIER = %1 AND NR = 4").arg(berta)),
        "4");
}

// A portion chosen before switching to a bought insemination books nothing.
TEST_F(BesamungenTest, FremdbesamungNachPortionswahlBuchtNichts)
{
    Einstellung("Besamungsschein-Nummer-MEGGLE", "41");
    Portion(hanno, "MEGGLE", 5);
    Oeffnen(berta);
    Tippen(dlg->DatumEdit(), "1.6.2025");
    // A double click on the portion text opens the choice as "..." does.
    Bedienen<TfrmPortionWahl>([](TfrmPortionWahl& w) { w.OkKnopf()->click(); });
    QTest::mouseDClick(dlg->PortionText(), Qt::LeftButton);
    EXPECT_EQ(dlg->ScheinEdit()->text(), "42");
    QTest::mouseClick(dlg->FremdKnopf(), Qt::LeftButton);
    // The bull comes from the list now: a double click takes it.
    TZRcxGridDBTableView* liste = dlg->StierAnsicht();
    const QModelIndex ruben = liste->model()->index(1, 0);
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->visualRect(ruben).center());
    QTest::mouseDClick(liste->viewport(), Qt::LeftButton, {}, liste->visualRect(ruben).center());
    EXPECT_EQ(dlg->StierEdit()->text(), "Ruben");
    Ok();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(Spalte(QString("SELECT STIER || '/' || COALESCE(BESAMUNGSSCHEIN_NR, 0) FROM "
                             "T_BESAMUNGEN WHERE TIER = %1")
                         .arg(berta)),
              "Ruben/0");
    EXPECT_EQ(Spalte("SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG"), "0");
    EXPECT_EQ(Spalte("SELECT COUNT(*) FROM T_BESAMUNGSMELDUNG"), "0");
    EXPECT_EQ(Schein("MEGGLE"), "41");
}

TEST_F(BesamungenTest, JedePruefungMeldetUndFokussiertIhrFeld)
{
    Kalbung(berta, QDate(2025, 3, 1));
    const int portion = Portion(hanno, "MEGGLE", 5);
    struct Fall {
        const char* datum;
        bool portion;
        const char* meldung;
        const char* fokus;
    };
    const Fall faelle[] = {
        {"", true, "Sie müssen ein Datum für die Besamung eingeben", "edDatum"},
        {"16.6.2025", true, "Das Besamungsdatum darf nicht in der Zukunft liegen", "edDatum"},
        {"31.12.2023", true, "Das Besamungsdatum darf nicht vor dem Geburtsdatum sein", "edDatum"},
        {"1.6.2025", false, "Wählen Sie die verwendete Portion für die Besamung aus", "btnPortion"},
    };
    for (const Fall& f : faelle) {
        Oeffnen(berta);
        if (f.portion)
            PortionWaehlen(portion);
        Tippen(dlg->DatumEdit(), f.datum);
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk);
        Ok();
        ASSERT_EQ(boxen.Shown().size(), 1) << f.meldung;
        EXPECT_EQ(boxen.Shown()[0].text, QString::fromUtf8(f.meldung));
        EXPECT_EQ(boxen.Shown()[0].type, Tools::mtError);
        EXPECT_TRUE(dlg->isVisible()) << f.meldung;
        ASSERT_TRUE(dlg->focusWidget()) << f.meldung;
        EXPECT_EQ(dlg->focusWidget()->objectName(), f.fokus) << f.meldung;
        dlg->reject();
    }
    EXPECT_EQ(Spalte("SELECT COUNT(*) FROM T_BESAMUNGEN"), "0");
    EXPECT_EQ(geaendert, 0);
}

TEST_F(BesamungenTest, DatumAusserhalbDerLaktationFragtNach)
{
    Kalbung(berta, QDate(2025, 3, 1));
    Oeffnen(berta);
    QTest::mouseClick(dlg->FremdKnopf(), Qt::LeftButton);
    Tippen(dlg->DatumEdit(), "28.2.2025");
    {
        MessageBoxScript boxen;
        boxen.Answer(MessageBoxScript::Enter());
        Ok();
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(boxen.Shown()[0].text,
                  "Das Besamungsdatum ist nicht in der Laktation\r"
                  "Soll diese trotzdem eingetragen werden?");
        // "Nein" is the default.
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_EQ(dlg->focusWidget(), dlg->DatumEdit());
        EXPECT_EQ(Spalte("SELECT COUNT(*) FROM T_BESAMUNGEN"), "0");
    }
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrYes);
        Ok();
        EXPECT_EQ(boxen.Shown().size(), 1);
        EXPECT_FALSE(dlg->isVisible());
    }
    EXPECT_EQ(Spalte("SELECT DATUM FROM T_BESAMUNGEN"), "28.02.2025");
    // The calving day itself lies in the lactation: no question.
    Kalbung(lisa, QDate(2025, 3, 1));
    dlg = std::make_unique<TfrmBesamungen>();
    Oeffnen(lisa);
    QTest::mouseClick(dlg->FremdKnopf(), Qt::LeftButton);
    Tippen(dlg->DatumEdit(), "1.3.2025");
    MessageBoxScript keine;
    Ok();
    EXPECT_TRUE(keine.Shown().isEmpty());
    EXPECT_EQ(Spalte(QString("SELECT DATUM FROM T_BESAMUNGEN WHERE TIER = %1").arg(lisa)),
              "01.03.2025");
}

TEST_F(BesamungenTest, PortionslisteZeigtBeimAendernAuchLeerePortionen)
{
    const int voll = Portion(hanno, "MEGGLE", 2);
    const int leer = Portion(ruben, "RUW", 1);
    Wert(QString("INSERT INTO T_CONTAINER_VERWENDUNG (ART, DATUM, PORTION) VALUES ('B', "
                 "DATE '2025-04-01', %1) RETURNING ID")
             .arg(leer));
    TfrmPortionWahl wahl;
    wahl.PortionenOeffnen(DM()->Datenbank, voll, true);
    EXPECT_EQ(wahl.Portionen().RecordCount(), 1);
    wahl.PortionenOeffnen(DM()->Datenbank, leer, false);
    ASSERT_EQ(wahl.Portionen().RecordCount(), 2);
    EXPECT_EQ(wahl.Portionen().FieldByName("ID").AsInteger(), leer);
    EXPECT_EQ(wahl.Portionen().FieldByName("ANZAHL_VORHANDEN").AsString(), "0");
    EXPECT_EQ(wahl.Portionen().FieldByName("STATION_NICE").AsString(), "RUW");
}

TEST_F(BesamungenTest, EigeneBesamungAendern)
{
    const int portion = Portion(hanno, "RUW", 5);
    const int id = Besamung(berta, QDate(2025, 5, 1), 1, 77);
    Wert(QString("INSERT INTO T_CONTAINER_VERWENDUNG (ART, BESAMUNG, DATUM, PORTIONSTEILUNG, "
                 "PORTION) VALUES ('B', %1, DATE '2025-05-01', '2', %2) RETURNING ID")
             .arg(id)
             .arg(portion));
    Oeffnen(berta, 0, 0, id);
    EXPECT_TRUE(dlg->EigenKnopf()->isChecked());
    EXPECT_FALSE(dlg->EigenKnopf()->isEnabled());
    EXPECT_FALSE(dlg->FremdKnopf()->isEnabled());
    EXPECT_FALSE(dlg->PortionKnopf()->isEnabled());
    EXPECT_EQ(Feld<QComboBox>("cbTeilung")->currentText(), "2. Hälfte");
    EXPECT_EQ(dlg->PortionText()->text(), "Lieferung: 01.03.2025, Bulle: Hanno, DE 09 111, RUW");
    EXPECT_TRUE(dlg->StierEdit()->isEnabled());
    EXPECT_TRUE(dlg->ScheinEdit()->isEnabled());
    EXPECT_EQ(dlg->ScheinEdit()->text(), "77");
    Tippen(dlg->DatumEdit(), "2.5.2025");
    Ok();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(Spalte(QString("SELECT DATUM FROM T_BESAMUNGEN WHERE ID = %1").arg(id)),
              "02.05.2025");
    EXPECT_EQ(Spalte("SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG"), "1");
    EXPECT_EQ(Spalte("SELECT COUNT(*) FROM T_BESAMUNGSMELDUNG"), "0");
}

TEST_F(BesamungenTest, ErsteBesamungenNacheinanderMitBemerkung)
{
    Besamung(lisa, QDate(2025, 1, 1), 1);
    Wert(
        "UPDATE T_BESAMUNGEN SET BEMERKUNG = 'unruhig' || ASCII_CHAR(13) || ASCII_CHAR(10) || "
        "'zweite Zeile' RETURNING ID");
    Oeffnen(anna, 2);
    ASSERT_TRUE(dlg->NaechsteKnopf()->isVisible());
    QTest::mouseClick(dlg->FremdKnopf(), Qt::LeftButton);
    Tippen(dlg->DatumEdit(), "1.4.2025");
    Tippen(dlg->StierEdit(), "Sepp");
    auto* wahl = dlg->BemerkungWahl();
    ASSERT_EQ(wahl->count(), 1);
    EXPECT_EQ(wahl->itemText(0), "unruhig ...");
    wahl->setFocus();
    QTest::keyClick(wahl, Qt::Key_Down);
    EXPECT_EQ(Feld<QPlainTextEdit>("mmBemerkung")->toPlainText(), "unruhig\nzweite Zeile");
    QTest::mouseClick(dlg->NaechsteKnopf(), Qt::LeftButton);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(geaendert, 1);
    EXPECT_EQ(Feld("edNr")->text(), "2");
    EXPECT_EQ(dlg->DatumEdit()->text(), "");
    Tippen(dlg->DatumEdit(), "22.4.2025");
    Tippen(dlg->StierEdit(), "Xaver");
    Feld<QPlainTextEdit>("mmBemerkung")->setFocus();
    QTest::keyClicks(Feld<QPlainTextEdit>("mmBemerkung"), "ruhig");
    Ok();
    EXPECT_EQ(geaendert, 2);
    EXPECT_EQ(Spalte(QString("SELECT LIST(NR || ':' || STIER || ':' || BEMERKUNG, ';') FROM "
                             "(SELECT * FROM T_BESAMUNGEN WHERE TIER = %1 ORDER BY NR)")
                         .arg(anna)),
              "1:Sepp:unruhig\r\nzweite Zeile;2:Xaver:ruhig");
}

// Opened from the calving edit, the dialog works in that transaction and leaves committing it to
// its owner; rolled back, nothing of the insemination stays and its number is free again.
TEST_F(BesamungenTest, InDerTransaktionDerKalbungsbearbeitung)
{
    Einstellung("Besamungsschein-Nummer-MEGGLE", "300");
    const int portion = Portion(hanno, "MEGGLE", 5);
    const int kalbung = Kalbung(berta, QDate(2025, 5, 1));
    db::Transaction kalbungEdit(DM()->Datenbank, "TAKalbungEdit");
    kalbungEdit.Start();
    dlg->TransaktionSetzen(kalbungEdit);
    Oeffnen(berta, 1, kalbung);
    Tippen(dlg->DatumEdit(), "1.2.2025");
    PortionWaehlen(portion);
    EXPECT_EQ(dlg->ScheinEdit()->text(), "301");
    Ok();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(geaendert, 1);
    EXPECT_TRUE(kalbungEdit.Active());
    EXPECT_EQ(Spalte("SELECT COUNT(*) FROM T_BESAMUNGEN"), "0");
    EXPECT_EQ(DM()->SQLWertInteger(kalbungEdit, "SELECT COUNT(*) FROM T_CONTAINER_VERWENDUNG"), 1);
    kalbungEdit.Rollback();
    EXPECT_EQ(Spalte("SELECT COUNT(*) FROM T_BESAMUNGEN"), "0");
    EXPECT_EQ(Spalte("SELECT COUNT(*) FROM T_BESAMUNGSMELDUNG"), "0");
    EXPECT_EQ(Schein("MEGGLE"), "300");
}

TEST_F(BesamungenTest, AbbrechenSpeichertNichts)
{
    Einstellung("Besamungsschein-Nummer-MEGGLE", "5");
    const int portion = Portion(hanno, "MEGGLE", 5);
    Oeffnen(berta);
    Tippen(dlg->DatumEdit(), "1.6.2025");
    PortionWaehlen(portion);
    QTest::mouseClick(dlg->AbbrechenKnopf(), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    DM()->TAStammdaten.Commit();
    EXPECT_EQ(Spalte("SELECT COUNT(*) FROM T_BESAMUNGEN"), "0");
    EXPECT_EQ(Schein("MEGGLE"), "5");
    EXPECT_EQ(geaendert, 0);
}

TEST_F(BesamungenTest, Bildschirmfoto)
{
    Einstellung("Besamungsschein-Nummer-MEGGLE", "1203");
    const int portion = Portion(hanno, "MEGGLE", 5, 4711);
    Besamung(berta, QDate(2025, 5, 20), 1);
    Portion(ruben, "RUW", 12, 815);
    Oeffnen(berta);
    Tippen(dlg->DatumEdit(), "14.6.2025");
    Bedienen<TfrmPortionWahl>([](TfrmPortionWahl& w) {
        Bildschirmfoto(w, "Besamungen-PortionWaehlen.png");
        w.reject();
    });
    QTest::mouseClick(dlg->PortionKnopf(), Qt::LeftButton);
    PortionWaehlen(portion);
    Bildschirmfoto(*dlg, "Besamungen-Eigenbesamung.png");
    QTest::mouseClick(dlg->FremdKnopf(), Qt::LeftButton);
    Bildschirmfoto(*dlg, "Besamungen-Fremdbesamung.png");
    EXPECT_GT(QImage(Bildschirmfotoordner() + "/Besamungen-Eigenbesamung.png").width(), 400);
}

}  // namespace
