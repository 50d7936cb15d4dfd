#include <Medikamente.h>

#include <DBAMCheckbox.h>
#include <DBFloatEdit.h>
#include <DBZRBaseEdit.h>
#include <Query.h>
#include <ZRFilterEdit.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <TestDatabase.h>

#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(MedikamenteSuche, BlanksZaehlenNichtAndereZeichenSchon)
{
    struct Fall {
        const char* suche;
        const char* name;
        bool passt;
    };
    for (const Fall& f :
         {Fall{"pen strep", "Penstrep 200", true}, Fall{"pen strep", "Pen-Strep 200", false},
          Fall{"PENSTREP2", "Pen strep 200", true}, Fall{"", "Synulox", true},
          Fall{"lox ", "Synulox RTU", true}, Fall{"ä", "Mastitis-Präparat", true},
          Fall{"rtu-", "Synulox RTU", false}}) {
        SCOPED_TRACE(f.suche);
        EXPECT_EQ(Medikamente::PasstZurSuche(QString::fromUtf8(f.suche), QString::fromUtf8(f.name)),
                  f.passt);
    }
}

// The window on a fresh database with three medicines, used as the user would.
class MedikamenteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Ausfuehren(
            "INSERT INTO T_MEDIKAMENTE (BEZEICHNUNG, WMILCH, WFLEISCH, ANZEIGEN) VALUES "
            "('Penstrep 200', 3, 28, 'T')");
        Ausfuehren(
            "INSERT INTO T_MEDIKAMENTE (BEZEICHNUNG, WMILCH, WFLEISCH, ANZEIGEN) VALUES "
            "('Pen-Strep 200', 4, 30, 'F')");
        Ausfuehren(
            "INSERT INTO T_MEDIKAMENTE (BEZEICHNUNG, WMILCH, WFLEISCH, ANZEIGEN) VALUES "
            "('Synulox', 2, 10, 'T')");
        fenster = std::make_unique<TfrmMedikamente>(t.Db());
        fenster->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(fenster.get()));
    }

    void Ausfuehren(const QString& sql)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query(tr, sql).Execute();
        tr.Commit();
    }
    // What another workstation sees: committed rows only.
    QString Gespeichert(const QString& sql)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, sql);
        QStringList zeilen;
        for (q.Open(); !q.Eof(); q.Next()) {
            QStringList werte;
            for (int i = 0; i < q.FieldCount(); ++i)
                werte << q.Field(i).AsString().trimmed();
            zeilen << werte.join(',');
        }
        return zeilen.join(';');
    }
    static void Tippen(QWidget* edit, const QString& text)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }
    QStringList Namen() const
    {
        QStringList namen;
        QAbstractItemModel* m = fenster->Liste()->model();
        for (int z = 0; z < m->rowCount(); ++z)
            for (int s = 0; s < m->columnCount(); ++s)
                if (m->headerData(s, Qt::Horizontal).toString() == "Bezeichnung")
                    namen << m->index(z, s).data().toString();
        return namen;
    }

    TestDatabase t;
    std::unique_ptr<TfrmMedikamente> fenster;
};

TEST_F(MedikamenteTest, NeuesMedikamentWirdGespeichertUndGewaehlt)
{
    EXPECT_EQ(fenster->Listengruppe()->title(), "3 Medikament(e)");
    QTest::mouseClick(fenster->NeuKnopf(), Qt::LeftButton);
    EXPECT_TRUE(fenster->Bezeichnung()->hasFocus());
    QTest::keyClicks(fenster->Bezeichnung(), "Cobactan");
    QTest::keyClick(fenster->Bezeichnung(), Qt::Key_Return);
    EXPECT_TRUE(fenster->WartezeitMilch()->hasFocus());
    EXPECT_EQ(fenster->WartezeitMilch()->text(), "0");
    Tippen(fenster->WartezeitMilch(), "5");
    Tippen(fenster->WartezeitFleisch(), "21");
    QTest::keyClick(fenster->WartezeitFleisch(), Qt::Key_Return);
    EXPECT_TRUE(fenster->Sichtbar()->hasFocus());
    QTest::keyClick(fenster->Sichtbar(), Qt::Key_Return);
    EXPECT_TRUE(fenster->SpeichernKnopf()->hasFocus());
    QTest::mouseClick(fenster->SpeichernKnopf(), Qt::LeftButton);

    EXPECT_EQ(Gespeichert("SELECT BEZEICHNUNG, WMILCH, WFLEISCH, ANZEIGEN FROM T_MEDIKAMENTE "
                          "WHERE BEZEICHNUNG = 'Cobactan'"),
              "Cobactan,5,21,T");
    EXPECT_EQ(fenster->Listengruppe()->title(), "4 Medikament(e)");
    EXPECT_EQ(Namen(), QStringList({"Cobactan", "Pen-Strep 200", "Penstrep 200", "Synulox"}));
    EXPECT_EQ(fenster->Liste()->currentIndex().row(), 0);

    QApplication::processEvents();
    Bildschirmfoto(*fenster, "medikamente.png");
}

TEST_F(MedikamenteTest, SucheFiltertOhneBlanks)
{
    Tippen(fenster->Suche(), "pen strep");
    QApplication::processEvents();
    EXPECT_EQ(Namen(), QStringList({"Penstrep 200"}));
    fenster->Suche()->clear();
    Tippen(fenster->Suche(), "lox");
    QApplication::processEvents();
    EXPECT_EQ(Namen(), QStringList({"Synulox"}));
    // Enter takes the found medicine into the edit panel.
    QTest::keyClick(fenster->Suche(), Qt::Key_Return);
    EXPECT_EQ(fenster->Bezeichnung()->text(), "Synulox");
}

TEST_F(MedikamenteTest, NeuesOhneNamenVerwerfenErlaubtDasSchliessen)
{
    {
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrNo);
        QTest::mouseClick(fenster->NeuKnopf(), Qt::LeftButton);
        Tippen(fenster->WartezeitMilch(), "9");
        QTest::mouseClick(fenster->SpeichernKnopf(), Qt::LeftButton);
        ASSERT_EQ(boxen.Shown().size(), 1);
        EXPECT_TRUE(
            boxen.Shown()[0].text.startsWith("Sie müssen eine Bezeichnung für das Medikament "
                                             "eingeben.\r\rWollen Sie die Bearbeitung des neuen"));
        EXPECT_EQ(fenster->focusWidget(), fenster->Bezeichnung());
        EXPECT_EQ(fenster->QMedikament().State(), db::DataSetState::Insert);
    }
    {
        // Closing tries to store the new one again; Yes drops it and lets the window close.
        MessageBoxScript boxen;
        boxen.AnswerWith(Tools::mrNo);
        QTest::mouseClick(fenster->SchliessenKnopf(), Qt::LeftButton);
        EXPECT_TRUE(fenster->isVisible());
        boxen.AnswerWith(Tools::mrYes);
        QTest::mouseClick(fenster->SchliessenKnopf(), Qt::LeftButton);
        EXPECT_TRUE(fenster->isVisible());
        QTest::mouseClick(fenster->SchliessenKnopf(), Qt::LeftButton);
        EXPECT_FALSE(fenster->isVisible());
        EXPECT_EQ(boxen.Shown().size(), 2);
    }
    EXPECT_EQ(Gespeichert("SELECT COUNT(*) FROM T_MEDIKAMENTE"), "3");
}

TEST_F(MedikamenteTest, LeererNameEinesGespeichertenWirdRueckgaengigGemacht)
{
    const QPoint synulox =
        fenster->Liste()->visualRect(fenster->Liste()->model()->index(2, 1)).center();
    QTest::mouseClick(fenster->Liste()->viewport(), Qt::LeftButton, {}, synulox);
    QTest::mouseDClick(fenster->Liste()->viewport(), Qt::LeftButton, {}, synulox);
    ASSERT_EQ(fenster->Bezeichnung()->text(), "Synulox");
    Tippen(fenster->WartezeitMilch(), "8");
    fenster->Bezeichnung()->setFocus();
    QTest::keyClick(fenster->Bezeichnung(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(fenster->Bezeichnung(), Qt::Key_Delete);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);  // keep editing
    QTest::mouseClick(fenster->SpeichernKnopf(), Qt::LeftButton);
    EXPECT_EQ(fenster->QMedikament().State(), db::DataSetState::Edit);
    boxen.Answer(MessageBoxScript::ClickText("Rückgängig")).AnswerWith(Tools::mrYes);
    QTest::mouseClick(fenster->SpeichernKnopf(), Qt::LeftButton);
    ASSERT_EQ(boxen.Shown().size(), 3);
    EXPECT_TRUE(boxen.Shown()[1].text.endsWith(
        "Drücken Sie auf Rückgängig, um die gesamte \rBearbeitung rückgängig zu machen."));
    EXPECT_EQ(fenster->QMedikament().State(), db::DataSetState::Browse);
    EXPECT_EQ(fenster->Bezeichnung()->text(), "Synulox");
    EXPECT_EQ(fenster->WartezeitMilch()->text(), "2");
    fenster->done(QDialog::Rejected);
    EXPECT_EQ(
        Gespeichert("SELECT BEZEICHNUNG, WMILCH FROM T_MEDIKAMENTE WHERE BEZEICHNUNG = 'Synulox'"),
        "Synulox,2");
}

TEST_F(MedikamenteTest, SchliessenSpeichertUndLoeschenBleibt)
{
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes);
    // The first row (Pen-Strep 200) is loaded at the start.
    ASSERT_EQ(fenster->Bezeichnung()->text(), "Pen-Strep 200");
    QTest::mouseClick(fenster->LoeschenKnopf(), Qt::LeftButton);
    EXPECT_EQ(fenster->Listengruppe()->title(), "2 Medikament(e)");
    // A later new medicine that is dropped rolls back, but the confirmed delete stays.
    boxen.AnswerWith(Tools::mrYes);
    QTest::mouseClick(fenster->NeuKnopf(), Qt::LeftButton);
    QTest::mouseClick(fenster->SpeichernKnopf(), Qt::LeftButton);
    EXPECT_EQ(Gespeichert("SELECT COUNT(*) FROM T_MEDIKAMENTE WHERE BEZEICHNUNG = 'Pen-Strep 200'"),
              "0");

    ASSERT_EQ(fenster->Bezeichnung()->text(), "Penstrep 200");
    Tippen(fenster->WartezeitFleisch(), "35");
    QTest::mouseClick(fenster->SchliessenKnopf(), Qt::LeftButton);
    EXPECT_FALSE(fenster->isVisible());
    EXPECT_EQ(Gespeichert("SELECT WFLEISCH FROM T_MEDIKAMENTE WHERE BEZEICHNUNG = 'Penstrep 200'"),
              "35");
    EXPECT_EQ(boxen.Shown().size(), 2);
}

}  // namespace
