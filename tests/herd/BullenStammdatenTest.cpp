#include "BullenTestHilfe.h"

#include <BullenStammdaten.h>
#include <StierWahl.h>

#include <DBAMCheckbox.h>
#include <DBComboBox.h>
#include <DBMemo.h>
#include <DBZRBaseEdit.h>
#include <DBZRDateEdit.h>
#include <DataSetModel.h>
#include <ZRFilterEdit.h>
#include <ZRcxGridDBTableView.h>

#include <MessageBoxScript.h>

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>

#include <memory>

namespace {

std::function<void(QDialog&)> Druecken(const QString& text)
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

class BullenStammdatenTest : public BullenTest {
protected:
    void SetUp() override
    {
        BullenTest::SetUp();
        ProgDatum::HeuteSetzen(QDate(2026, 5, 10));
    }

    void Oeffnen()
    {
        dlg = std::make_unique<TfrmBullenStammdaten>();
        dlg->show();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }

    void Klick(QPushButton* k) { QTest::mouseClick(k, Qt::LeftButton); }

    std::unique_ptr<TfrmBullenStammdaten> dlg;
};

TEST_F(BullenStammdatenTest, NeuerBulleWirdMitSeinenVorgabenGespeichert)
{
    Oeffnen();
    EXPECT_EQ(dlg->ListenGruppe()->title(), "0 Bulle(n)");
    Klick(dlg->NeuKnopf());
    EXPECT_EQ(dlg->focusWidget(), dlg->NameEdit());
    EXPECT_TRUE(dlg->SichtbarBox()->isChecked());
    Tippen(dlg->NameEdit(), "Rambo");
    Tippen(dlg->HBNREdit(), "de 0581");
    EXPECT_EQ(dlg->HBNREdit()->text(), "DE 0581");
    Klick(dlg->SpeichernKnopf());

    // The first breed of the list of breeds in use.
    EXPECT_EQ(Wert("SELECT HBNR || '/' || SICHTBAR || '/' || (SELECT BEZEICHNUNG FROM T_RASSEN "
                   "R WHERE R.ID = B.RASSE) || '/' || EXTRACT(YEAR FROM PRUEFBULLE_BIS) FROM "
                   "T_BULLEN_STAMM B WHERE NAME = 'Rambo'"),
              "DE 0581/T/" +
                  Wert("SELECT FIRST 1 BEZEICHNUNG FROM T_RASSEN WHERE VERWENDET = 'T' ORDER BY "
                       "BEZEICHNUNG") +
                  "/1900");
    EXPECT_EQ(dlg->RasseAuswahl()->currentText(),
              Wert("SELECT FIRST 1 BEZEICHNUNG FROM T_RASSEN WHERE VERWENDET = 'T' ORDER BY "
                   "BEZEICHNUNG"));
    EXPECT_EQ(dlg->ListenGruppe()->title(), "1 Bulle(n)");
    EXPECT_GT(dlg->BulleID(), 0);
    EXPECT_EQ(dlg->Liste().FieldByName("NAME").AsString(), "Rambo");
}

TEST_F(BullenStammdatenTest, LeeresPruefbulleBisMachtDenBullenZumPruefbullen)
{
    Oeffnen();
    Klick(dlg->NeuKnopf());
    Tippen(dlg->NameEdit(), "Pruefer");
    Tippen(dlg->HBNREdit(), "DE1");
    EXPECT_EQ(dlg->PruefbulleBisEdit()->text(), "01.01.1900");
    Tippen(dlg->PruefbulleBisEdit(), "");
    Klick(dlg->SpeichernKnopf());
    EXPECT_EQ(Wert("SELECT PRUEFBULLE_BIS FROM T_BULLEN_STAMM WHERE NAME = 'Pruefer'"), "<null>");
}

struct PruefFall {
    const char* name;
    const char* bulle;
    const char* hbnr;
    const char* gebdat;
    const char* verwendung;
    const char* meldung;
    QWidget* (*feld)(TfrmBullenStammdaten&);
};

// Each check as a user meets it: on a new bull (the question whether to discard it, answered
// No) and on a stored one (the error box, answered OK). Nothing is stored, the field is focused.
class BullenPruefTest : public BullenStammdatenTest,
                        public ::testing::WithParamInterface<PruefFall> {
protected:
    void Fuellen(const PruefFall& f)
    {
        Tippen(dlg->NameEdit(), f.bulle);
        Tippen(dlg->HBNREdit(), f.hbnr);
        Tippen(dlg->GebDatEdit(), f.gebdat);
        Tippen(dlg->LetzteVerwendungEdit(), f.verwendung);
    }
};

TEST_P(BullenPruefTest, NeuerBulle)
{
    const PruefFall& f = GetParam();
    Oeffnen();
    Klick(dlg->NeuKnopf());
    Fuellen(f);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrNo);
    Klick(dlg->SpeichernKnopf());
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(boxen.Shown()[0].text.startsWith(QString::fromUtf8(f.meldung)))
        << boxen.Shown()[0].text.toStdString();
    EXPECT_TRUE(boxen.Shown()[0].text.contains("rückgängig machen"));
    EXPECT_EQ(dlg->focusWidget(), f.feld(*dlg));
    EXPECT_EQ(dlg->Bulle().State(), db::DataSetState::Insert);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_BULLEN_STAMM"), "0");
}

TEST_P(BullenPruefTest, GespeicherterBulle)
{
    const PruefFall& f = GetParam();
    Bulle("Alt", "DE 9");
    Oeffnen();
    Fuellen(f);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    Klick(dlg->SpeichernKnopf());
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(boxen.Shown()[0].text.startsWith(QString::fromUtf8(f.meldung)));
    EXPECT_TRUE(boxen.Shown()[0].text.contains("Drücken Sie auf Rückgängig"));
    EXPECT_EQ(dlg->focusWidget(), f.feld(*dlg));
    EXPECT_EQ(dlg->Bulle().State(), db::DataSetState::Edit);
    EXPECT_EQ(Wert("SELECT NAME || HBNR || IIF(GEBDAT IS NULL, '-', 'x') || "
                   "IIF(LETZTE_VERWENDUNG IS NULL, '-', 'x') FROM T_BULLEN_STAMM"),
              "AltDE 9--");
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, BullenPruefTest,
    ::testing::Values(
        PruefFall{"OhneName", "", "DE 1", "", "", "Sie müssen einen Namen für den Bullen eingeben.",
                  [](TfrmBullenStammdaten& d) -> QWidget* { return d.NameEdit(); }},
        PruefFall{"OhneNummer", "Rambo", "", "", "",
                  "Sie müssen eine Herdbuch-Nummer für den Bullen eingeben.",
                  [](TfrmBullenStammdaten& d) -> QWidget* { return d.HBNREdit(); }},
        PruefFall{"GeburtInDerZukunft", "Rambo", "DE 1", "11.05.2026", "",
                  "Das Geburtsdatum darf nicht in der Zukunft sein.",
                  [](TfrmBullenStammdaten& d) -> QWidget* { return d.GebDatEdit(); }},
        PruefFall{"VerwendungInDerZukunft", "Rambo", "DE 1", "10.05.2026", "01.01.2027",
                  "Die letzte Verwendung darf nicht in der Zukunft sein.",
                  [](TfrmBullenStammdaten& d) -> QWidget* { return d.LetzteVerwendungEdit(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BullenStammdatenTest, RueckgaengigVerwirftDenNeuenBullenUndSchliesst)
{
    Oeffnen();
    Klick(dlg->NeuKnopf());
    Tippen(dlg->NameEdit(), "Ohne");
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes);
    Klick(dlg->SchliessenKnopf());
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(boxen.Shown()[0].text.startsWith(
        "Sie müssen eine Herdbuch-Nummer für den Bullen eingeben."));
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(dlg->Verworfen());
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_BULLEN_STAMM"), "0");
}

TEST_F(BullenStammdatenTest, RueckgaengigStelltDenGespeichertenBullenWiederHer)
{
    Bulle("Alt", "DE 9");
    Oeffnen();
    Tippen(dlg->NameEdit(), "");
    MessageBoxScript boxen;
    boxen.Answer(Druecken("Rückgängig")).AnswerWith(Tools::mrYes);
    Klick(dlg->SpeichernKnopf());
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_TRUE(boxen.Shown()[1].text.startsWith("Wollen Sie wirklich die Bearbeitung des Bullen"));
    EXPECT_EQ(dlg->Bulle().State(), db::DataSetState::Browse);
    EXPECT_EQ(dlg->NameEdit()->text(), "Alt");
    Klick(dlg->SchliessenKnopf());
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(Wert("SELECT NAME FROM T_BULLEN_STAMM"), "Alt");
}

TEST_F(BullenStammdatenTest, FehlerBeimWechselBleibtBeimBullen)
{
    Bulle("Alt", "DE 9");
    const int zweiter = Bulle("Zweiter", "DE 10");
    Oeffnen();
    Tippen(dlg->HBNREdit(), "");
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    dlg->Liste().Last();
    QTest::keyClick(dlg->Ansicht(), Qt::Key_Return);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_NE(dlg->BulleID(), zweiter);
    EXPECT_EQ(dlg->NameEdit()->text(), "Alt");
    EXPECT_EQ(dlg->Bulle().State(), db::DataSetState::Edit);
    EXPECT_EQ(dlg->focusWidget(), dlg->HBNREdit());
    EXPECT_EQ(Wert("SELECT HBNR FROM T_BULLEN_STAMM WHERE NAME = 'Alt'"), "DE 9");

    Tippen(dlg->HBNREdit(), "DE 11");
    QTest::keyClick(dlg->Ansicht(), Qt::Key_Return);
    EXPECT_EQ(dlg->BulleID(), zweiter);
    EXPECT_EQ(Wert("SELECT HBNR FROM T_BULLEN_STAMM WHERE NAME = 'Alt'"), "DE 11");
}

TEST_F(BullenStammdatenTest, SchliessenSpeichertDieOffeneBearbeitung)
{
    Bulle("Alt", "DE 9");
    Oeffnen();
    Tippen(dlg->NameEdit(), "Neu");
    Tippen(dlg->BemerkungEdit(), "guter Vererber");
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(Wert("SELECT NAME || ': ' || CAST(BEMERKUNG AS VARCHAR(100)) FROM T_BULLEN_STAMM"),
              "Neu: guter Vererber");
}

// Another workstation renamed the bull while it was edited here: the save asks, and each answer
// does what it says; Escape keeps the edit.
TEST_F(BullenStammdatenTest, GleichzeitigGeaendertFragtVorDemUeberschreiben)
{
    const struct {
        const char* name;
        std::function<void(QDialog&)> antwort;
        const char* gezeigt;
        const char* gespeichert;
        db::DataSetState zustand;
    } faelle[] = {
        {"überschreiben", Druecken("Überschreiben"), "Hier", "Hier", db::DataSetState::Browse},
        {"neu laden", Druecken("Neu laden"), "Dort", "Dort", db::DataSetState::Browse},
        {"abbrechen", MessageBoxScript::Escape(), "Hier", "Dort", db::DataSetState::Edit},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        Ausfuehren({"DELETE FROM T_BULLEN_STAMM"});
        const int id = Bulle("Alt", "DE 9");
        Oeffnen();
        Tippen(dlg->NameEdit(), "Hier");
        Ausfuehren({QString("UPDATE T_BULLEN_STAMM SET NAME = 'Dort' WHERE ID = %1").arg(id)});
        {
            MessageBoxScript boxen;
            boxen.Answer(f.antwort);
            Klick(dlg->SpeichernKnopf());
            ASSERT_EQ(boxen.Shown().size(), 1);
            EXPECT_TRUE(boxen.Shown()[0].text.startsWith(
                "Der Datensatz wurde inzwischen an einem anderen Arbeitsplatz geändert."))
                << boxen.Shown()[0].text.toStdString();
            EXPECT_TRUE(boxen.Shown()[0].text.contains("Geändert: NAME"));
        }
        EXPECT_EQ(dlg->Bulle().State(), f.zustand);
        EXPECT_EQ(dlg->NameEdit()->text(), f.gezeigt);
        EXPECT_EQ(Wert(QString("SELECT NAME FROM T_BULLEN_STAMM WHERE ID = %1").arg(id)),
                  f.gespeichert);
        dlg->Bulle().Cancel();
        Klick(dlg->SchliessenKnopf());
        dlg.reset();
    }
}

TEST_F(BullenStammdatenTest, BemerkungAlsErsteAenderungBleibtGanz)
{
    Bulle("Alt", "DE 9");
    Oeffnen();
    ASSERT_EQ(dlg->Bulle().State(), db::DataSetState::Browse);
    dlg->BemerkungEdit()->setFocus();
    QTest::keyClicks(dlg->BemerkungEdit(), "ruhig");
    EXPECT_EQ(dlg->BemerkungEdit()->toPlainText(), "ruhig");
    Klick(dlg->SpeichernKnopf());
    EXPECT_EQ(Wert("SELECT CAST(BEMERKUNG AS VARCHAR(100)) FROM T_BULLEN_STAMM"), "ruhig");
}

TEST_F(BullenStammdatenTest, BulleInDerContainerVerwaltungWirdNichtGeloescht)
{
    const int benutzt = Bulle("Benutzt", "DE 1");
    Bulle("Frei", "DE 2");
    const int lieferung =
        Eintragen("INSERT INTO T_CONTAINER_LIEFERUNG (DATUM) VALUES ('01.03.2026')");
    Eintragen(QString("INSERT INTO T_CONTAINER_PORTION (LIEFERUNG, BULLE, ANZAHL_GESAMT) VALUES "
                      "(%1, %2, 5)")
                  .arg(lieferung)
                  .arg(benutzt));
    Oeffnen();
    ASSERT_EQ(dlg->NameEdit()->text(), "Benutzt");
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrOk);
        Klick(dlg->LoeschenKnopf());
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_EQ(boxen.Shown()[0].text,
                  "Sie können den Bullen nicht löschen, da dieser in "
                  "der\rContainer-Verwaltung benötigt wird.");
    }
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_BULLEN_STAMM"), "2");

    dlg->Liste().Last();
    QTest::keyClick(dlg->Ansicht(), Qt::Key_Return);
    ASSERT_EQ(dlg->NameEdit()->text(), "Frei");
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrNo).AnswerWith(Tools::mrYes);
        Klick(dlg->LoeschenKnopf());
        EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_BULLEN_STAMM"), "2");
        Klick(dlg->LoeschenKnopf());
        ASSERT_EQ(boxen.Shown().size(), 2);
        EXPECT_EQ(boxen.Shown()[1].text, "Wollen Sie den Bullen wirklich löschen?");
    }
    EXPECT_EQ(Wert("SELECT NAME FROM T_BULLEN_STAMM"), "Benutzt");
    EXPECT_EQ(dlg->ListenGruppe()->title(), "1 Bulle(n)");
    EXPECT_EQ(dlg->NameEdit()->text(), "Benutzt");
}

TEST_F(BullenStammdatenTest, SucheOhneLeerzeichenUndSchreibweise)
{
    Bulle("Rambo", "DE 0581");
    Bulle("Balu", "AT 77");
    Bulle("Ramses", "DE 99");
    Oeffnen();
    const auto Treffer = [&](const QString& text) {
        Tippen(dlg->Suche(), text);
        return dlg->Liste().RecordCount();
    };
    EXPECT_EQ(Treffer("RAM"), 2);
    EXPECT_EQ(Treffer("r a m"), 2);
    EXPECT_EQ(dlg->ListenGruppe()->title(), "2 Bulle(n)");
    EXPECT_EQ(Treffer("at77"), 1);
    EXPECT_EQ(Treffer("de 05 81"), 1);
    QTest::keyClick(dlg->Suche(), Qt::Key_Return);
    EXPECT_EQ(dlg->NameEdit()->text(), "Rambo");
}

TEST_F(BullenStammdatenTest, VaterAusDerStierwahl)
{
    Bulle("Balu", "AT 77");
    Bulle("Zorro", "DE 5");
    Oeffnen();
    Klick(dlg->NeuKnopf());
    Tippen(dlg->NameEdit(), "Sohn");
    Tippen(dlg->HBNREdit(), "DE 6");
    Tippen(dlg->VaterEdit(), "zo");
    QString gezeigt;
    HerdeTest::Bedienen<TfrmStierWahl>([&gezeigt](TfrmStierWahl& wahl) {
        gezeigt = wahl.Stier();
        QTest::mouseClick(wahl.OkKnopf(), Qt::LeftButton);
    });
    Klick(dlg->VaterKnopf());
    EXPECT_EQ(gezeigt, "Zorro");
    EXPECT_EQ(dlg->VaterEdit()->text(), "Zorro");
    EXPECT_EQ(dlg->VaterNrEdit()->text(), "DE 5");
    Klick(dlg->SpeichernKnopf());
    EXPECT_EQ(Wert("SELECT VATER || '/' || VATERNR FROM T_BULLEN_STAMM WHERE NAME = 'Sohn'"),
              "Zorro/DE 5");
}

TEST_F(BullenStammdatenTest, EnterSpringtZumNaechstenFeld)
{
    Bulle("Alt", "DE 9");
    Oeffnen();
    dlg->NameEdit()->setFocus();
    QTest::keyClick(dlg->NameEdit(), Qt::Key_Return);
    EXPECT_NE(dlg->focusWidget(), dlg->NameEdit());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(Wert("SELECT NAME FROM T_BULLEN_STAMM"), "Alt");
}

// Enter walks the fields down the left column and then the right one, passing over the
// buttons; a birth date typed after "HB. Nr." lands in "Geb. Dat." and leaves the breed alone.
TEST_F(BullenStammdatenTest, EnterFolgtDenFeldern)
{
    Bulle("Alt", "DE 9");
    Oeffnen();
    const QList<QWidget*> erwartet{dlg->NameEdit(),          dlg->RasseAuswahl(),
                                   dlg->VaterEdit(),         dlg->MutterEdit(),
                                   dlg->SichtbarBox(),       dlg->HBNREdit(),
                                   dlg->GebDatEdit(),        dlg->VaterNrEdit(),
                                   dlg->MutterNrEdit(),      dlg->LetzteVerwendungEdit(),
                                   dlg->PruefbulleBisEdit(), dlg->BemerkungEdit()};
    dlg->NameEdit()->setFocus();
    QList<QWidget*> gefolgt{QApplication::focusWidget()};
    for (int i = 1; i < erwartet.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        gefolgt << QApplication::focusWidget();
    }
    EXPECT_EQ(gefolgt, erwartet);

    const QString rasse = dlg->RasseAuswahl()->currentText();
    Tippen(dlg->HBNREdit(), "DE 1");
    QTest::keyClick(dlg->HBNREdit(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), "01.05.2020");
    EXPECT_EQ(dlg->GebDatEdit()->text(), "01.05.2020");
    EXPECT_EQ(dlg->RasseAuswahl()->currentText(), rasse);
}

// A focused breed list marks its focus plainly, however it got it.
TEST_F(BullenStammdatenTest, FokussierteAuswahlZeigtIhrenFokus)
{
    Bulle("Alt", "DE 9");
    Oeffnen();
    TDBComboBox* rasse = dlg->RasseAuswahl();
    dlg->NameEdit()->setFocus(Qt::MouseFocusReason);
    const QImage ohne = rasse->grab().toImage();
    rasse->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(rasse->hasFocus());
    const QImage mit = rasse->grab().toImage();
    // The frame's left edge, half-way down, takes the highlight colour.
    const QColor markierung = rasse->palette().color(QPalette::Highlight);
    const auto abstand = [&](const QImage& bild) {
        const QColor c = bild.pixelColor(1, bild.height() / 2);
        return std::abs(c.red() - markierung.red()) + std::abs(c.green() - markierung.green()) +
               std::abs(c.blue() - markierung.blue());
    };
    EXPECT_LT(abstand(mit), 60);
    EXPECT_GT(abstand(ohne), 150);
}

TEST_F(BullenStammdatenTest, Bildschirmfoto)
{
    Bulle("Rambo", "DE 000354120312");
    Bulle("Balu", "AT 77", false);
    Bulle("Zorro", "DE 5");
    Oeffnen();
    dlg->resize(dlg->sizeHint());
    Bild(*dlg, "BullenStammdaten.png");
    EXPECT_EQ(dlg->ListenGruppe()->title(), "3 Bulle(n)");
    // The longest herd-book number and breed are not cut.
    TZRcxGridDBTableView* v = dlg->Ansicht();
    const QFontMetrics fm(v->font());
    for (const auto& [feld, text] :
         {std::pair{"HBNR", "DE 000354120312"}, std::pair{"RASSE", "Holstein-Schwarzbunt"}})
        EXPECT_GE(v->columnWidth(v->DataModel()->ColumnOfField(feld)),
                  fm.horizontalAdvance(text) + 6)
            << feld;
}

}  // namespace
