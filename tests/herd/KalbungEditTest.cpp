#include "BesamungTest.h"

#include <BullenFelder.h>
#include <Besamungen.h>
#include <KalbungEdit.h>
#include <Stammdaten.h>

#include <AMCbRb.h>
#include <DBComboBox.h>
#include <DBFloatEdit.h>
#include <DBMemo.h>
#include <DBZRDateEdit.h>
#include <ZRcxGridDBTableView.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

// "Kalbung bearbeiten" on Berta (born 1.1.2024): a calving of 1.5.2025 with the two
// inseminations of the summer before it. Today is 15.6.2025.
class KalbungEditTest : public BesamungTest {
protected:
    void SetUp() override
    {
        BesamungTest::SetUp();
        kalbung = Kalbung(berta, QDate(2025, 5, 1));
        erste = Besamung(berta, QDate(2024, 8, 1), 1);
        zweite = Besamung(berta, QDate(2024, 8, 22), 2);
    }
    void TearDown() override
    {
        karte.reset();
        BesamungTest::TearDown();
    }

    // The card on Berta with her calving selected.
    void KarteZeigen()
    {
        karte = std::make_unique<TfrmStammdaten>();
        karte->TierAnzeigen(berta, 0, {});
        karte->show();
        QApplication::setActiveWindow(karte.get());
        ASSERT_TRUE(karte->Kalbungen().Locate("ID", QVariantList{kalbung}));
        ASSERT_TRUE(karte->KalbungBearbeitenEintrag()->isEnabled());
    }

    static void Tippen(QLineEdit* e, const QString& text)
    {
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
    }

    // The inseminations as the database holds them, committed.
    QString Besamungen()
    {
        return Lesen(QString("SELECT LIST(ID || ':' || NR, ';') FROM (SELECT * FROM T_BESAMUNGEN "
                             "WHERE TIER = %1 ORDER BY DATUM)")
                         .arg(berta));
    }
    QString Kalbungen()
    {
        return Lesen(QString("SELECT LIST(DATUM || '/' || COALESCE(NUMMER, '-') || '/' || "
                             "GESCHLECHT || '/' || NR, ';') FROM (SELECT * FROM T_KALBUNGEN WHERE "
                             "TIER = %1 ORDER BY DATUM)")
                         .arg(berta));
    }

    // Selects the insemination in the dialog's list by a click on its row.
    static void ZeileWaehlen(TfrmKalbungEdit& d, int id)
    {
        db::DataSet& b = d.Besamungen();
        const int spalte = b.FieldByName("ID").Index();
        for (int zeile = 0; zeile < b.RecordCount(); ++zeile)
            if (b.ValueAt(zeile, spalte).AsInteger() == id) {
                TZRcxGridDBTableView* v = d.BesamungenAnsicht();
                QTest::mouseClick(v->viewport(), Qt::LeftButton, {},
                                  v->visualRect(v->model()->index(zeile, 0)).center());
            }
        ASSERT_EQ(b.FieldByName("ID").AsInteger(), id);
    }

    std::unique_ptr<TfrmStammdaten> karte;
    int kalbung = 0, erste = 0, zweite = 0;
};

// The deletion waits for the dialog's OK: Cancel gives the insemination back, OK makes it final
// with the later one renumbered.
TEST_F(KalbungEditTest, BesamungLoeschenWirdErstMitOkEndgueltig)
{
    KarteZeigen();
    const QString vorher = Besamungen();
    ASSERT_EQ(vorher, QString("%1:1;%2:2").arg(erste).arg(zweite));
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "Ok" : "Abbrechen");
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrYes);
        int inDerListe = -1;
        Bedienen<TfrmKalbungEdit>([&](TfrmKalbungEdit& d) {
            ASSERT_EQ(d.Besamungen().RecordCount(), 2);
            ZeileWaehlen(d, erste);
            ASSERT_TRUE(d.LoeschenEintrag()->isEnabled());
            d.LoeschenEintrag()->trigger();
            inDerListe = d.Besamungen().RecordCount();
            // Not committed while the dialog is open.
            EXPECT_EQ(Besamungen(), vorher);
            QTest::mouseClick(ok ? d.OkKnopf() : d.AbbrechenKnopf(), Qt::LeftButton);
        });
        karte->KalbungBearbeitenEintrag()->trigger();
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(boxen.Shown()[0].text, "Wollen Sie die Besamung wirklich löschen?");
        EXPECT_EQ(inDerListe, 1);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(Besamungen(), ok ? QString("%1:1").arg(zweite) : vorher);
    }
}

TEST_F(KalbungEditTest, LoeschenMitNeinLaesstDieListe)
{
    TfrmKalbungEdit d;
    d.KalbungOeffnen(kalbung, 1, berta, QDate(2024, 1, 1));
    d.show();
    MessageBoxScript boxen;
    boxen.Answer(MessageBoxScript::Enter());  // No is the default
    d.LoeschenEintrag()->trigger();
    EXPECT_EQ(d.Besamungen().RecordCount(), 2);
    EXPECT_EQ(DM()->SQLWertInteger(d.Transaktion(), "SELECT COUNT(*) FROM T_BESAMUNGEN"), 2);
}

// Each date as the user types it over the stored one, then OK: refused ones keep the dialog open
// with the date focused and store nothing; accepted ones are stored once the caller commits.
TEST_F(KalbungEditTest, DatumPruefungen)
{
    struct Fall {
        const char* eingabe;  // nullptr: the date stays, the ear tag is changed
        const char* meldung;  // nullptr: accepted
        const char* gespeichert;
    };
    const Fall faelle[] = {
        {nullptr, nullptr, "2025-05-01/DE 01 555 55555/W/1"},
        {"", "Sie müssen ein Datum für die Kalbung eingeben", nullptr},
        {"16.6.2025", "Das Kalbungsdatum darf nicht in der Zukunft liegen", nullptr},
        {"31.12.2023", "Das Kalbungsdatum darf nicht vor dem Geburtsdatum sein", nullptr},
        {"15.6.2025", nullptr, "2025-06-15/-/W/1"},
        {"1.1.2024", nullptr, "2024-01-01/-/W/1"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.eingabe ? f.eingabe : "unverändert");
        Ausfuehren({QString("UPDATE T_KALBUNGEN SET DATUM = DATE '2025-05-01', NUMMER = NULL "
                            "WHERE ID = %1")
                        .arg(kalbung)});
        TfrmKalbungEdit d;
        d.KalbungOeffnen(kalbung, 1, berta, QDate(2024, 1, 1));
        d.show();
        QApplication::setActiveWindow(&d);
        EXPECT_EQ(d.DatumEdit()->Date(), QDate(2025, 5, 1));
        if (f.eingabe)
            Tippen(d.DatumEdit(), f.eingabe);
        else
            Tippen(d.NummerEdit(), "DE 01 555 55555");
        MessageBoxScript boxen;
        if (f.meldung)
            boxen.AnswerWith(Tools::mrOk);
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        if (f.meldung) {
            ASSERT_EQ(boxen.Shown().size(), 1);
            EXPECT_EQ(boxen.Shown()[0].text, f.meldung);
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(d.focusWidget(), d.DatumEdit());
            QTest::mouseClick(d.AbbrechenKnopf(), Qt::LeftButton);
            d.Transaktion().Rollback();
            EXPECT_EQ(Kalbungen(), "2025-05-01/-/W/1");
        } else {
            EXPECT_TRUE(boxen.Shown().isEmpty());
            EXPECT_EQ(d.result(), QDialog::Accepted);
            d.Transaktion().Commit();
            EXPECT_EQ(Kalbungen(), f.gespeichert);
        }
    }
}

// OK from the card: the changed fields are committed and the card shows them; Cancel after the
// same changes stores nothing.
TEST_F(KalbungEditTest, OkSpeichertAbbrechenNicht)
{
    KarteZeigen();
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "Ok" : "Abbrechen");
        MessageBoxScript boxen;
        Bedienen<TfrmKalbungEdit>([ok](TfrmKalbungEdit& d) {
            EXPECT_EQ(d.windowTitle(), "Kalbung bearbeiten");
            Tippen(d.DatumEdit(), "2.5.2025");
            Tippen(d.NummerEdit(), "ZWICKE");
            d.GeschlechtWahl()->setFocus();
            // From "weiblich" four down and one back up.
            for (int i = 0; i < 4; ++i)
                QTest::keyClick(d.GeschlechtWahl(), Qt::Key_Down);
            QTest::keyClick(d.GeschlechtWahl(), Qt::Key_Up);
            EXPECT_EQ(d.GeschlechtWahl()->currentText(), "Zwilling m/w");
            Tippen(d.NrEdit(), "2");
            QTest::mouseClick(ok ? d.OkKnopf() : d.AbbrechenKnopf(), Qt::LeftButton);
        });
        karte->KalbungBearbeitenEintrag()->trigger();
        EXPECT_TRUE(boxen.Shown().isEmpty());
        EXPECT_EQ(Kalbungen(), ok ? "2025-05-02/ZWICKE/MW/2" : "2025-05-01/-/W/1");
        EXPECT_EQ(karte->Kalbungen().FieldByName("DATUM").AsDate(),
                  ok ? QDate(2025, 5, 2) : QDate(2025, 5, 1));
    }
}

// A new insemination from the dialog's list lands in the dialog's transaction, limited to the
// time before the calving, and is committed with the dialog's OK.
TEST_F(KalbungEditTest, NeueBesamungMitDerKalbungGespeichert)
{
    KarteZeigen();
    int listeNachher = 0;
    Bedienen<TfrmKalbungEdit>([&](TfrmKalbungEdit& d) {
        Bedienen<TfrmBesamungen>([](TfrmBesamungen& b) {
            QTest::mouseClick(b.FremdKnopf(), Qt::LeftButton);
            Tippen(b.DatumEdit(), "12.9.2024");
            Tippen(b.StierEdit(), "Hanno");
            QTest::keyClick(b.StierEdit(), Qt::Key_Return);
            QTest::mouseClick(b.OkKnopf(), Qt::LeftButton);
        });
        d.NeuEintrag()->trigger();
        listeNachher = d.Besamungen().RecordCount();
        EXPECT_EQ(Lesen("SELECT COUNT(*) FROM T_BESAMUNGEN"), "2");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    karte->KalbungBearbeitenEintrag()->trigger();
    EXPECT_EQ(listeNachher, 3);
    EXPECT_EQ(Lesen(QString("SELECT STIER || '/' || NR FROM T_BESAMUNGEN WHERE TIER = %1 AND "
                            "DATUM = DATE '2024-09-12'")
                        .arg(berta)),
              "Hanno/3");
    EXPECT_EQ(karte->Kalbungen().FieldByName("ANZAHL_BES").AsInteger(), 3);
}

// A calving row without ID is created in the dialog's transaction: its date must be given, and
// the row disappears when the dialog is cancelled.
TEST_F(KalbungEditTest, OhneIDAngelegteKalbungBrauchtEinDatum)
{
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "Ok" : "Abbrechen");
        MessageBoxScript boxen;
        TfrmKalbungEdit d;
        d.KalbungOeffnen(0, 2, berta, QDate(2024, 1, 1));
        d.show();
        QApplication::setActiveWindow(&d);
        EXPECT_TRUE(boxen.Shown().isEmpty());
        EXPECT_TRUE(d.DatumEdit()->text().isEmpty());
        EXPECT_EQ(d.NrEdit()->text(), "2");
        EXPECT_EQ(d.Besamungen().RecordCount(), 0);
        if (ok) {
            boxen.AnswerWith(Tools::mrOk);
            QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
            ASSERT_EQ(boxen.Shown().size(), 1);
            EXPECT_EQ(boxen.Shown()[0].text, "Sie müssen ein Datum für die Kalbung eingeben");
            Tippen(d.DatumEdit(), "10.6.2025");
            QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
            ASSERT_EQ(d.result(), QDialog::Accepted);
            d.Transaktion().Commit();
        } else {
            QTest::mouseClick(d.AbbrechenKnopf(), Qt::LeftButton);
            d.Transaktion().Rollback();
        }
        EXPECT_EQ(Kalbungen(), ok ? "2025-05-01/-/W/1;2025-06-10/-/M/2" : "2025-05-01/-/W/1");
    }
}

TEST_F(KalbungEditTest, Bildschirmfoto)
{
    Ausfuehren({QString("UPDATE T_KALBUNGEN SET NUMMER = 'DE 01 555 55555', VERLAUF = 'ohne "
                        "Hilfe oder Hilfe nicht nötig', BEMERKUNG = 'ruhig' WHERE ID = %1")
                    .arg(kalbung)});
    TfrmKalbungEdit d;
    d.KalbungOeffnen(kalbung, 1, berta, QDate(2024, 1, 1));
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    Bildschirmfoto(d, "KalbungEdit.png");
    EXPECT_GT(QImage(Bildschirmfotoordner() + "/KalbungEdit.png").width(), 400);
}

}  // namespace
