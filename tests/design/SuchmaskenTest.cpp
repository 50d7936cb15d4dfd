// The search-mask window driven as a user would, from a database without masks to a mask that
// the animal selection offers and applies.

#include "ListenDialogTestHilfe.h"

#include <FSuchmasken.h>
#include <SuchmaskenLogik.h>

#include <MessageBoxScript.h>
#include <TierWahl.h>
#include <ZREditGrid.h>
#include <ZRGrids.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

class SuchmaskenTest : public ListenDialogTest {
protected:
    void SetUp() override
    {
        ListenDialogTest::SetUp();
        Ausfuehren({"DELETE FROM T_MASKEN",
                    "INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE, KNR) "
                    "VALUES ('DE Anna', 'Anna', '01.03.2019', 'W', 1, 1)",
                    "INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE, KNR) "
                    "VALUES ('DE Max', 'Max', '01.03.2019', 'M', 1, 2)"});
    }

    static void Klick(TfrmSuchmasken& d, const char* knopf)
    {
        QPushButton* k = d.Knopf(QLatin1String(knopf));
        ASSERT_TRUE(k) << knopf;
        ASSERT_TRUE(k->isEnabled()) << knopf;
        QTest::mouseClick(k, Qt::LeftButton);
        QApplication::processEvents();
    }
    static TZRGridInplaceEdit* Editor(TZREditGrid* g)
    {
        EXPECT_TRUE(QTest::qWaitFor([g] { return g->Editor() && g->Editor()->isVisible(); }));
        if (g->Editor())
            g->Editor()->setFocus();
        return g->Editor();
    }
    // The entry in the cell's pick list. The window opens the list itself once its events are
    // through; on a busy offscreen platform that can come late or lose the activation, and the
    // user opens it with Alt+Down then.
    static void PickWahl(TZREditGrid* g, const QString& text)
    {
        const auto offen = [g] { return g->Editor() && g->Editor()->DroppedDown(); };
        for (int versuch = 0; versuch < 3 && !QTest::qWaitFor(offen, 500); ++versuch)
            if (TZRGridInplaceEdit* e = Editor(g))
                QTest::keyClick(e, Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(offen()) << text.toStdString();
        QListWidget* liste = g->Editor()->Liste();
        const QList<QListWidgetItem*> treffer = liste->findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(treffer.isEmpty()) << text.toStdString();
        liste->scrollToItem(treffer.first());
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
                          liste->visualItemRect(treffer.first()).center());
    }
    static void Enter(TZREditGrid* g)
    {
        TZRGridInplaceEdit* e = Editor(g);
        ASSERT_TRUE(e);
        QTest::keyClick(e, Qt::Key_Return);
        QApplication::processEvents();
    }
    // A filter row typed with the pick lists and Enter; the question for another row: "Nein".
    static void FilterEingeben(TfrmSuchmasken& d, const QString& feld, const QString& op,
                               const QString& wert)
    {
        TZREditGrid* g = d.Filter();
        Klick(d, "FilterHinzu");
        PickWahl(g, feld);
        if (::testing::Test::HasFatalFailure())
            return;
        Enter(g);
        PickWahl(g, op);
        if (::testing::Test::HasFatalFailure())
            return;
        Enter(g);
        QTest::keyClicks(Editor(g), wert);
        Enter(g);
        MessageBoxScript frage;
        frage.Answer(MessageBoxScript::Click(Tools::mrNo));
        Enter(g);
        ASSERT_EQ(frage.Shown().size(), 1);
        EXPECT_EQ(frage.Shown()[0].text, "Weitere Einschränkung eingeben?");
    }
    static QStringList Masken(QListWidget* l)
    {
        QStringList r;
        for (int i = 0; i < l->count(); ++i)
            r << l->item(i)->text();
        return r;
    }
};

TEST_F(SuchmaskenTest, VonDerLeerenTabelleZurMaskeInDerTierauswahl)
{
    MessageBoxScript boxen;
    TfrmSuchmasken d(DM()->Datenbank);
    d.show();
    EXPECT_EQ(d.Liste()->count(), 0);
    EXPECT_FALSE(d.Bezeichnung()->isEnabled());
    EXPECT_FALSE(d.Knopf("Speichern")->isEnabled());

    Klick(d, "NeueMaske");
    EXPECT_TRUE(d.Bezeichnung()->hasFocus());
    EXPECT_EQ(d.Basis()->currentText(), "Alle Tiere");
    QTest::keyClicks(d.Bezeichnung(), "Weibliche");
    FilterEingeben(d, "Geschlecht", "gleich", "W");
    ASSERT_FALSE(HasFatalFailure());
    Bildschirmfoto(d, "Suchmasken.png");
    Klick(d, "Speichern");
    EXPECT_TRUE(boxen.Shown().isEmpty());
    // Committed at once: another connection sees it.
    EXPECT_EQ(Text("SELECT NAME || '|' || BASIS || '|' || BEDINGUNGEN FROM T_MASKEN"),
              "Weibliche|V_TIERWAHL_BASIS|GESCHLECHT;=;W;");
    EXPECT_EQ(Masken(d.Liste()), QStringList{"Weibliche"});

    // A second mask comes last; a value with an apostrophe is a literal of the query.
    Klick(d, "NeueMaske");
    QTest::keyClicks(d.Bezeichnung(), "Seltsam");
    d.Basis()->setCurrentIndex(d.Basis()->findText("Aktuelle Tiere"));
    FilterEingeben(d, "Status", "in Liste", "J,O'");
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(d.Filter()->Items().GetItem(0).Zellen,
              (QStringList{"Status", "in Liste", "J,O'", ""}));
    Klick(d, "Speichern");
    EXPECT_TRUE(boxen.Shown().isEmpty());
    EXPECT_EQ(Masken(d.Liste()), (QStringList{"Weibliche", "Seltsam"}));
    const QString reihung = Text(
        "SELECT LIST(REIHUNG, ',') FROM (SELECT REIHUNG FROM T_MASKEN "
        "ORDER BY NAME)");

    // Up: the two exchange their positions.
    Klick(d, "EintragAuf");
    EXPECT_EQ(Masken(d.Liste()), (QStringList{"Seltsam", "Weibliche"}));
    const QStringList vorher = reihung.split(',');
    EXPECT_EQ(Text("SELECT LIST(REIHUNG, ',') FROM (SELECT REIHUNG FROM T_MASKEN ORDER BY NAME)"),
              vorher[1] + "," + vorher[0]);
    ASSERT_NE(d.Liste()->currentItem(), nullptr);
    EXPECT_EQ(d.Liste()->currentItem()->text(), "Seltsam");
    // The first one up changes nothing.
    Klick(d, "EintragAuf");
    EXPECT_EQ(Masken(d.Liste()), (QStringList{"Seltsam", "Weibliche"}));

    // "Test": the selection offers both masks and applies the chosen one.
    QStringList angeboten;
    QStringList tiere;
    boxen.Window<TfrmTierWahl>([&](TfrmTierWahl& w) {
        angeboten = Masken(w.Masken());
        w.SetMaske(int(angeboten.indexOf("Weibliche")));
        w.Einlesen();
        for (const TTierWahlZeile& z : w.Modell().Zeilen())
            tiere << z.name;
        w.SetMaske(int(angeboten.indexOf("Seltsam")));
        w.Einlesen();
        for (const TTierWahlZeile& z : w.Modell().Zeilen())
            tiere << z.name;
        w.reject();
    });
    Klick(d, "Test");
    EXPECT_EQ(angeboten, (QStringList{"Seltsam", "Weibliche"}));
    // The female one; then both young animals, the apostrophe being part of the value only.
    EXPECT_EQ(tiere, (QStringList{"Anna", "Anna", "Max"}));

    Klick(d, "Schliessen");
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(boxen.Shown().isEmpty());
}

TEST_F(SuchmaskenTest, PruefungUndNamensdialog)
{
    // Written by another program: a condition on a field the window does not offer.
    Ausfuehren({"ALTER TRIGGER MASKEN_BIU_QUERY INACTIVE"});
    Ausfuehren(
        {"INSERT INTO T_MASKEN (NAME, BASIS, BEDINGUNGEN, QUERY) VALUES ('Alle', "
         "'V_TIERWAHL_BASIS', 'GESCHLECHT;=;W;;FELD;=;X;', 'FROM V_TIERWAHL_BASIS T')"});
    Ausfuehren({"ALTER TRIGGER MASKEN_BIU_QUERY ACTIVE"});
    MessageBoxScript boxen;
    auto d = std::make_unique<TfrmSuchmasken>(DM()->Datenbank);
    d->show();
    // A condition on another field is left out of the grid.
    EXPECT_EQ(d->Filter()->Items().Count(), 1);
    EXPECT_EQ(d->Filter()->Items().GetItem(0).Zellen,
              (QStringList{"Geschlecht", "gleich", "W", ""}));

    // A ";" in a value cannot be stored: the check refuses it and nothing changes.
    d->Filter()->Items().GetItem(0).SetZelle(2, "W;M");
    boxen.AnswerWith(Tools::mrOk);
    Klick(*d, "Speichern");
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(boxen.Shown()[0].text.startsWith(
        "Die Filtereinstellungen sind möglicherweise falsch.\rDie Suchmaske kann nicht "
        "angewendet werden.\r\rFehler: "))
        << boxen.Shown()[0].text.toStdString();
    EXPECT_EQ(Text("SELECT BEDINGUNGEN FROM T_MASKEN"), "GESCHLECHT;=;W;;FELD;=;X;");
    d->Filter()->Items().GetItem(0).SetZelle(2, "W");

    // An existing mask without a name: "Rückgängig" and "Ja" undo the edit; the window stays.
    d->Bezeichnung()->clear();
    boxen.Answer(MessageBoxScript::ClickText("Rückgängig"));
    boxen.AnswerWith(Tools::mrYes);
    Klick(*d, "Schliessen");
    ASSERT_EQ(boxen.Shown().size(), 3);
    EXPECT_TRUE(boxen.Shown()[1].text.startsWith("Sie müssen eine Bezeichnung"));
    EXPECT_EQ(boxen.Shown()[2].text,
              "Wollen Sie wirklich die Bearbeitung der Maske rückgängig machen?\rAlle "
              "durchgeführten Änderungen werden dabei verworfen!");
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->Bezeichnung()->text(), "Alle");

    // A new mask without a name given up while closing: the window closes, nothing is stored.
    Klick(*d, "NeueMaske");
    boxen.AnswerWith(Tools::mrYes);
    Klick(*d, "Schliessen");
    ASSERT_EQ(boxen.Shown().size(), 4);
    EXPECT_TRUE(
        boxen.Shown()[3].text.contains("Wollen Sie die Bearbeitung der neuen Maske "
                                       "rückgängig machen?"));
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(Text("SELECT COUNT(*) FROM T_MASKEN"), "1");
}

TEST(SuchmaskenLogik, BedingungenUndTausch)
{
    EXPECT_EQ(Suchmasken::BedingungenErstellen({}), "");
    EXPECT_EQ(Suchmasken::BedingungenErstellen({{"Geschlecht", "gleich", "W", "und"}}),
              "GESCHLECHT;=;W;");
    EXPECT_EQ(Suchmasken::BedingungenErstellen(
                  {{"Geschlecht", "gleich", "W", "oder"}, {"Art", "nicht in Liste", "P,M", "und"}}),
              "GESCHLECHT;=;W;OR;STATUSEXT;NOT IN;P,M;");
    EXPECT_EQ(Suchmasken::FilterZeilen("FELD;=;1;AND;STATUS;<>;T;"),
              (QList<QStringList>{{"Status", "nicht gleich", "T", ""}}));
    // No two masks share a position at any write; -0 would, so a free value stands in.
    EXPECT_EQ(Suchmasken::Tauschen(1, 5, 2, 4, -99),
              (QList<Suchmasken::Reihung>{{2, -4}, {1, 4}, {2, 5}}));
    EXPECT_EQ(Suchmasken::Tauschen(1, 5, 2, 0, -99),
              (QList<Suchmasken::Reihung>{{2, -99}, {1, 0}, {2, 5}}));
}

}  // namespace
