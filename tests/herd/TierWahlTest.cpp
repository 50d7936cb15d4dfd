#include "HerdeTest.h"
#include <Bildschirmfoto.h>

#include <TierWahl.h>

#include <MessageBoxScript.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QHeaderView>
#include <QTest>

namespace {

class TierWahlTest : public HerdeTest {
protected:
    // Masks by name; the reference rows have "Aktuelle Tiere" first and "Alle Tiere" second.
    static void MaskeWaehlen(TfrmTierWahl& d, const QString& name)
    {
        const auto treffer = d.Masken()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(treffer.size(), 1) << name.toStdString();
        d.Masken()->setCurrentItem(treffer.first());
        QTest::keyClick(d.Masken(), Qt::Key_Return);
    }

    static void BetriebWaehlen(TfrmTierWahl& d, const QString& name)
    {
        d.Betriebe()->setCurrentIndex(d.Betriebe()->findText(name));
        QTest::mouseClick(d.EinlesenKnopf(), Qt::LeftButton);
    }

    // The names in the grid's order.
    static QStringList Namen(TfrmTierWahl& d)
    {
        QStringList namen;
        auto* m = d.Tabelle()->model();
        for (int i = 0; i < m->rowCount(); ++i)
            namen << m->index(i, TTierWahlModell::Name).data().toString();
        return namen;
    }

    static void Markieren(TfrmTierWahl& d, const QString& name)
    {
        auto* m = d.Tabelle()->model();
        for (int i = 0; i < m->rowCount(); ++i)
            if (m->index(i, TTierWahlModell::Name).data().toString() == name) {
                d.Tabelle()->setCurrentIndex(m->index(i, TTierWahlModell::Markierung));
                QTest::keyClick(d.Tabelle(), Qt::Key_Space);
                return;
            }
        ADD_FAILURE() << "Keine Zeile " << name.toStdString();
    }

    static QStringList Markierte(TfrmTierWahl& d)
    {
        QStringList namen;
        for (const TTierWahlZeile& z : d.Modell().Zeilen())
            if (z.markiert)
                namen << z.name;
        return namen;
    }
};

TEST_F(TierWahlTest, EinzeltierDurchSucheUndEnter)
{
    Bedienen<TfrmTierWahl>([](TfrmTierWahl& d) {
        EXPECT_EQ(d.windowTitle(), "Einzeltier-Auswahl");
        EXPECT_EQ(d.OkKnopf()->text(), "Auswählen");
        EXPECT_FALSE(d.UmschaltenKnopf()->isVisible());
        EXPECT_TRUE(d.Tabelle()->isColumnHidden(TTierWahlModell::Markierung));
        MaskeWaehlen(d, "Alle Tiere");
        EXPECT_EQ(d.Gruppe()->title(), "4 Tier(e)");
        // Every column is in sight: the grid takes the window's width beside the masks.
        const QHeaderView* kopf = d.Tabelle()->horizontalHeader();
        EXPECT_LE(kopf->length(), d.Tabelle()->viewport()->width());
        Bildschirmfoto(d, "TierWahl.png");
        QTest::keyClicks(d.Suche(), "li sa");
        EXPECT_EQ(Namen(d), QStringList{"Lisa"});
        QTest::keyClick(d.Suche(), Qt::Key_Return);
    });
    int id = 0;
    QString sql;
    ASSERT_TRUE(FTierWahl::TierWaehlen(nullptr, 0, id, sql));
    EXPECT_EQ(id, lisa);
    EXPECT_TRUE(sql.startsWith("SELECT T.ID, T.NAME, T.NUMMER "));
    EXPECT_TRUE(sql.endsWith("ORDER BY T.KNR, T.GEBDAT\n"));
    // The quick list holds the mask's animals without the search filter.
    EXPECT_EQ(Ids(sql).size(), 4);
}

TEST_F(TierWahlTest, SchliessenGibtNichtsZurueckUndMerktMaskeUndBetrieb)
{
    Bedienen<TfrmTierWahl>([](TfrmTierWahl& d) {
        MaskeWaehlen(d, "Alle Tiere");
        BetriebWaehlen(d, "O'Brien");
        QTest::mouseClick(d.SchliessenKnopf(), Qt::LeftButton);
    });
    int id = -1;
    QString sql = "x";
    EXPECT_FALSE(FTierWahl::TierWaehlen(nullptr, 0, id, sql));
    EXPECT_EQ(id, 0);
    EXPECT_TRUE(sql.isEmpty());

    Bedienen<TfrmTierWahl>([](TfrmTierWahl& d) {
        EXPECT_EQ(d.Masken()->currentItem()->text(), "Alle Tiere");
        EXPECT_EQ(d.Betriebe()->currentText(), "O'Brien");
        EXPECT_EQ(Namen(d).size(), 2);
        QTest::mouseClick(d.SchliessenKnopf(), Qt::LeftButton);
    });
    EXPECT_FALSE(FTierWahl::TierWaehlen(nullptr, 0, id, sql));
}

TEST_F(TierWahlTest, BetriebUndMaskeGrenzenEin)
{
    Bedienen<TfrmTierWahl>([this](TfrmTierWahl& d) {
        MaskeWaehlen(d, "Aktuelle Tiere");
        EXPECT_FALSE(Namen(d).contains("Vera"));
        MaskeWaehlen(d, "Alle Tiere");
        EXPECT_TRUE(Namen(d).contains("Vera"));
        BetriebWaehlen(d, "Nord");
        EXPECT_EQ(Namen(d), QStringList({"Vera", "Berta"}));
        BetriebWaehlen(d, "O'Brien");
        QStringList namen = Namen(d);
        std::sort(namen.begin(), namen.end());
        EXPECT_EQ(namen, QStringList({"Anna", "Lisa"}));
        EXPECT_EQ(d.Gruppe()->title(), "2 Tier(e)");
        d.Tabelle()->setCurrentIndex(
            d.Tabelle()->model()->index(Namen(d).indexOf("Anna"), TTierWahlModell::Name));
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        (void)this;
    });
    int id = 0;
    QString sql;
    ASSERT_TRUE(FTierWahl::TierWaehlen(nullptr, 0, id, sql));
    EXPECT_EQ(id, anna);
    EXPECT_TRUE(sql.contains("(BETRIEB = 'O''Brien')")) << sql.toStdString();
    QList<int> ids = Ids(sql);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, QList<int>({lisa, anna}));
}

TEST_F(TierWahlTest, WhereNurImUnterSelectGibtEinWhere)
{
    // A query written by hand, not built from the conditions by the database.
    Ausfuehren({"ALTER TRIGGER MASKEN_BIU_QUERY INACTIVE"});
    Ausfuehren(
        {"INSERT INTO T_MASKEN (NAME, QUERY, BASIS, BEDINGUNGEN) VALUES ('Stall Nord', "
         "'FROM V_TIERWAHL_BASIS T JOIN (SELECT TIER FROM T_STAELLE WHERE STALL = 21) S "
         "ON S.TIER = T.ID', 'V_TIERWAHL_BASIS', '')"});
    Bedienen<TfrmTierWahl>([](TfrmTierWahl& d) {
        MaskeWaehlen(d, "Stall Nord");
        EXPECT_EQ(Namen(d).size(), 2);
        BetriebWaehlen(d, "Nord");
        EXPECT_EQ(Namen(d), QStringList({"Vera", "Berta"}));
        BetriebWaehlen(d, "O'Brien");
        EXPECT_TRUE(Namen(d).isEmpty());
        EXPECT_EQ(d.Gruppe()->title(), "0 Tier(e)");
        QTest::mouseClick(d.SchliessenKnopf(), Qt::LeftButton);
    });
    int id = 0;
    QString sql;
    EXPECT_FALSE(FTierWahl::TierWaehlen(nullptr, 0, id, sql));
}

TEST_F(TierWahlTest, MarkenUeberlebenDenFilterUndMindestanzahlGilt)
{
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    Bedienen<TfrmTierWahl>([](TfrmTierWahl& d) {
        EXPECT_EQ(d.windowTitle(), "Betriebsstätten - Wechsel");
        EXPECT_TRUE(d.UmschaltenKnopf()->isVisible());
        MaskeWaehlen(d, "Alle Tiere");
        Markieren(d, "Berta");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        EXPECT_TRUE(d.isVisible());
        Markieren(d, "Lisa");
        Markieren(d, "Anna");
        QTest::keyClicks(d.Suche(), "vera");
        EXPECT_EQ(Namen(d), QStringList{"Vera"});
        d.Suche()->clear();
        EXPECT_EQ(Namen(d).size(), 4);
        QStringList m = Markierte(d);
        std::sort(m.begin(), m.end());
        EXPECT_EQ(m, QStringList({"Anna", "Berta", "Lisa"}));
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    QList<int> ids;
    QString sql;
    ASSERT_TRUE(FTierWahl::TiereWaehlen(nullptr, 2, ids, sql, 2));
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text, "Es müssen mindestens 2 Tiere ausgewählt werden.");
    std::sort(ids.begin(), ids.end());
    QList<int> erwartet{berta, lisa, anna};
    std::sort(erwartet.begin(), erwartet.end());
    EXPECT_EQ(ids, erwartet);
    EXPECT_TRUE(sql.isEmpty());
}

TEST_F(TierWahlTest, UmschaltenKehrtDieMarkenDerSichtbarenZeilenUm)
{
    Bedienen<TfrmTierWahl>([](TfrmTierWahl& d) {
        EXPECT_EQ(d.OkKnopf()->text(), "Löschen");
        MaskeWaehlen(d, "Alle Tiere");
        Markieren(d, "Berta");
        QTest::keyClicks(d.Suche(), "DE01");
        QTest::mouseClick(d.UmschaltenKnopf(), Qt::LeftButton);
        QStringList m = Markierte(d);
        std::sort(m.begin(), m.end());
        EXPECT_EQ(m, QStringList({"Anna", "Lisa", "Vera"}));
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    QList<int> ids;
    QString sql;
    ASSERT_TRUE(FTierWahl::TiereWaehlen(nullptr, 1, ids, sql, 1));
    EXPECT_EQ(ids.size(), 3);
    EXPECT_FALSE(ids.contains(berta));
}

TEST_F(TierWahlTest, OhneMaskeLeereListeMitHinweis)
{
    Ausfuehren({"DELETE FROM T_MASKEN"});
    Bedienen<TfrmTierWahl>([](TfrmTierWahl& d) {
        EXPECT_EQ(d.Tabelle()->model()->rowCount(), 0);
        EXPECT_FALSE(d.OkKnopf()->isEnabled());
        EXPECT_EQ(d.Tabelle()->LeerText(), TfrmTierWahl::KeineMaskeText);
        EXPECT_EQ(d.Gruppe()->title(), "0 Tier(e)");
        QTest::mouseClick(d.SchliessenKnopf(), Qt::LeftButton);
    });
    int id = 0;
    QString sql;
    EXPECT_FALSE(FTierWahl::TierWaehlen(nullptr, 0, id, sql));
}

TEST_F(TierWahlTest, AbgelehnteMaskeMeldetUndLaesstDenDialogOffen)
{
    // A query written by hand, not built from the conditions by the database.
    Ausfuehren({"ALTER TRIGGER MASKEN_BIU_QUERY INACTIVE"});
    Ausfuehren(
        {"INSERT INTO T_MASKEN (NAME, QUERY, BASIS, BEDINGUNGEN) VALUES ('Kaputt', "
         "'FROM GIBT_ES_NICHT T', 'V_TIERWAHL_BASIS', '')"});
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    Bedienen<TfrmTierWahl>([](TfrmTierWahl& d) {
        MaskeWaehlen(d, "Kaputt");
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(Namen(d).size(), 0);
        MaskeWaehlen(d, "Alle Tiere");
        EXPECT_EQ(Namen(d).size(), 4);
        QTest::mouseClick(d.SchliessenKnopf(), Qt::LeftButton);
    });
    int id = 0;
    QString sql;
    EXPECT_FALSE(FTierWahl::TierWaehlen(nullptr, 0, id, sql));
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(boxen.Shown()[0].text.contains("GIBT_ES_NICHT"))
        << boxen.Shown()[0].text.toStdString();
}

TEST_F(TierWahlTest, KnrSortierungStelltLeereAnsEnde)
{
    Bedienen<TfrmTierWahl>([](TfrmTierWahl& d) {
        MaskeWaehlen(d, "Alle Tiere");
        d.Tabelle()->sortByColumn(TTierWahlModell::Knr, Qt::AscendingOrder);
        EXPECT_EQ(Namen(d), QStringList({"Vera", "Berta", "Lisa", "Anna"}));
        QTest::mouseClick(d.SchliessenKnopf(), Qt::LeftButton);
    });
    int id = 0;
    QString sql;
    EXPECT_FALSE(FTierWahl::TierWaehlen(nullptr, 0, id, sql));
}

}  // namespace
