#include "HerdeTest.h"

#include <DBZRDateEdit.h>
#include <StammdatenNeueBetriebsstaette.h>

#include <MessageBoxScript.h>

#include <QComboBox>

namespace {

class NeueBetriebsstaetteTest : public HerdeTest {
protected:
    void SetUp() override
    {
        HerdeTest::SetUp();
        ProgDatum::HeuteSetzen(QDate(2025, 6, 15));
    }
};

TEST_F(NeueBetriebsstaetteTest, VorgabeIstDieLetzteStandardBetriebsstaette)
{
    struct Fall {
        QStringList sql;
        const char* vorgabe;
    };
    const Fall faelle[] = {
        {{}, "Stall"},  // the database's first premises is the default one
        {{"UPDATE T_BETRIEBSSTAETTEN SET STANDARD = 'F'"}, "Nord"},
        {{"UPDATE T_BETRIEBSSTAETTEN SET STANDARD = 'T' WHERE ID IN (21, 22)"}, "O'Brien"},
    };
    for (const Fall& f : faelle) {
        Ausfuehren(f.sql);
        TfrmNeueBetriebsstaette d;
        EXPECT_EQ(d.Auswahl()->currentText(), QString::fromUtf8(f.vorgabe));
        EXPECT_EQ(d.Datum(), QDate(2025, 6, 15));
    }
}

TEST_F(NeueBetriebsstaetteTest, OkPrueftDasDatum)
{
    struct Fall {
        const char* datum;
        const char* meldung;  // empty: accepted
    };
    const Fall faelle[] = {{"", "Sie müssen ein Datum angeben!"},
                           {"16.06.2025", "Das Datum darf nicht in der Zukunft sein!"},
                           {"15.06.2025", ""},
                           {"01.01.2020", ""}};
    for (const Fall& f : faelle) {
        TfrmNeueBetriebsstaette d;
        d.show();
        d.DatumFeld()->setText(QString::fromLatin1(f.datum));
        d.Auswahl()->setCurrentIndex(d.Auswahl()->findText("O'Brien"));
        MessageBoxScript boxen;
        if (*f.meldung)
            boxen.AnswerWith(Tools::mrOk);
        d.accept();
        if (*f.meldung) {
            ASSERT_EQ(boxen.Shown().size(), 1) << f.datum;
            EXPECT_EQ(boxen.Shown()[0].text, QString::fromUtf8(f.meldung));
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(d.focusWidget(), d.DatumFeld());
            EXPECT_EQ(d.result(), QDialog::Rejected);
        } else {
            EXPECT_EQ(d.result(), QDialog::Accepted) << f.datum;
            EXPECT_EQ(d.Datum(), QDate::fromString(QString::fromLatin1(f.datum), "dd.MM.yyyy"));
            EXPECT_EQ(d.Betriebsstaette(), 22);
        }
    }
}

}  // namespace
