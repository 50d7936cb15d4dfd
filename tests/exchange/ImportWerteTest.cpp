#include <AdisProtokoll.h>
#include <ImportSuche.h>
#include <ImportWerte.h>
#include <ImportZeile.h>
#include <TestDatabase.h>

#include <Query.h>
#include <Transaction.h>

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(ImportWerte, NamesAreNormalised)
{
    const std::pair<const char*, const char*> faelle[] = {
        {"ANNA ET", "Anna ET"},
        {"MAX ET", "Max ET"},
        {"ET", "Et"},
        {"BET", "Bet"},
        {"BERTA  DE LUX", "Berta De Lux"},
        {"anna   et", "Anna ET"},
        {"ÖDA", "Öda"},
        {"", ""},
    };
    for (const auto& [roh, name] : faelle)
        EXPECT_EQ(ImportWerte::NameNormalisieren(QString::fromUtf8(roh)), QString::fromUtf8(name))
            << roh;
}

TEST(ImportWerte, NumbersDatesAndEarTags)
{
    EXPECT_EQ(ImportWerte::Dezimal("3,45"), 3.45);
    EXPECT_EQ(ImportWerte::Dezimal("3.45"), 3.45);
    EXPECT_EQ(ImportWerte::Dezimal("-0,5"), -0.5);
    EXPECT_EQ(ImportWerte::Dezimal(" 12 "), 12.0);
    for (const char* kein : {"abc", "3,4,5", "3.4.5", "", "1e3", "3,45kg"})
        EXPECT_EQ(ImportWerte::Dezimal(kein), std::nullopt) << kein;
    EXPECT_EQ(ImportWerte::Ganzzahl("0042"), 42);
    EXPECT_EQ(ImportWerte::Ganzzahl("4.2"), std::nullopt);
    EXPECT_EQ(ImportWerte::Datum("15.03.2004"), QDate(2004, 3, 15));
    EXPECT_EQ(ImportWerte::Datum("00.00.0000"), std::nullopt);
    EXPECT_EQ(ImportWerte::Datum("20040315"), std::nullopt);
    EXPECT_EQ(ImportWerte::Ohrmarke("000123"), "123");
    EXPECT_EQ(ImportWerte::Ohrmarke("276000123456789"), "DE 01 234 56789");
    EXPECT_EQ(ImportWerte::Ohrmarke("DE0123456789"), "DE 01 234 56789");
}

class ImportDbTest : public DatabaseTest {
protected:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        Ausfuehren(
            {"CREATE TABLE T_TEST_IMPORT (ID INTEGER NOT NULL PRIMARY KEY, D NUMERIC(9,2), "
             "Z INTEGER, G BIGINT, T VARCHAR(5), DAT DATE)",
             "CREATE SEQUENCE G_TEST_IMPORT"});
        // A tag whose number is empty, as an older database may hold it.
        Ausfuehren({"ALTER TRIGGER STAMMDATEN_BIU_NUMMER INACTIVE"});
        Ausfuehren(
            {"INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE) VALUES "
             "('DE 05 111 22222', DATE '2020-01-01', 'W', 1)"});
        Ausfuehren({"ALTER TRIGGER STAMMDATEN_BIU_NUMMER ACTIVE"});
        Ausfuehren(
            {"INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) VALUES "
             "('DE 01 234 56789', 'Alma', DATE '2020-01-01', 'W', 1)"});
    }

    static void Ausfuehren(const QStringList& sqls)
    {
        db::Transaction tr(Db());
        tr.Start();
        for (const QString& sql : sqls) {
            db::Query q(tr, sql);
            q.SetParamCheck(false);
            q.Execute();
        }
        tr.Commit();
    }

    static int Id(const QString& nummer)
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr, "SELECT ID FROM T_STAMMDATEN WHERE NUMMER = :N");
        q.Param("N").SetString(nummer);
        q.Open();
        return q.Eof() ? -99 : q.Field(0).AsInteger();
    }
};

// The ear-tag rule on a table of tags: printed, numeric, bare national, unknown and invalid.
TEST_F(ImportDbTest, EarTagRule)
{
    const int alma = Id("DE 01 234 56789");
    const int ohneNummer = Id("DE 05 111 22222");
    ASSERT_GT(alma, 0);
    ASSERT_GT(ohneNummer, 0);
    struct Fall {
        const char* text;
        bool anlegen;
        int ergebnis;
        qint64 nummer;
        std::optional<std::pair<int, QString>> log;
    };
    const Fall faelle[] = {
        {"DE 01 234 56789", false, alma, 276000123456789, {}},
        {"DE0123456789", false, alma, 276000123456789, {}},
        {"276000123456789", false, alma, 276000123456789, {}},
        {"123456789", false, alma, 276000123456789, {}},
        {"0123456789", false, alma, 276000123456789, {}},
        {"DE 05 111 22222", false, ohneNummer, 276000511122222, {}},
        {"DE0912345678", true, 0, 276000912345678, {}},
        {"DE0912345678", false, -2, 276000912345678, {{1, "DE 09 123 45678"}}},
        {"XY 12", true, -1, 0, {{2, "XY 12"}}},
        {"", true, -1, 0, {{2, ""}}},
        {"-5", true, -1, 0, {{2, "-5"}}},
    };
    db::Transaction tr(Db());
    tr.Start();
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.text);
        ImportZeile zeile(tr, "T_STAMMDATEN", "G_STAMMDATEN");
        TADISProtokoll log;
        qint64 nummer = -1;
        EXPECT_EQ(ImportSuche::TierSuchen(zeile, f.text, nummer, f.anlegen, true, log), f.ergebnis);
        EXPECT_EQ(nummer, f.nummer);
        if (f.ergebnis > 0) {
            EXPECT_EQ(zeile.Id(), f.ergebnis);
        }
        if (f.ergebnis == 0) {
            EXPECT_TRUE(zeile.Neu());
        }
        ASSERT_EQ(log.Anzahl(), f.log ? 1 : 0);
        if (f.log) {
            EXPECT_EQ(log.GetEintrag(0).Code, f.log->first);
            EXPECT_EQ(log.GetEintrag(0).Werte, QStringList{f.log->second});
        }
    }
    // Without logging a missing animal leaves no entry.
    ImportZeile zeile(tr, "T_STAMMDATEN", "G_STAMMDATEN");
    TADISProtokoll log;
    qint64 nummer = 0;
    EXPECT_EQ(ImportSuche::TierSuchen(zeile, "DE0912345678", nummer, false, false, log), -2);
    EXPECT_EQ(log.Anzahl(), 0);
}

// Values go only into empty columns; a second import of the same values changes nothing.
TEST_F(ImportDbTest, SettersFillEmptyColumnsOnly)
{
    const int alma = Id("DE 01 234 56789");
    db::Transaction tr(Db());
    tr.Start();
    const auto lauf = [&](const QString& name, const QString& vater) {
        ImportZeile zeile(tr, "T_STAMMDATEN", "G_STAMMDATEN");
        EXPECT_EQ(ImportSuche::DatensatzSuchen(zeile, "SELECT ID FROM T_STAMMDATEN WHERE ID = :ID",
                                               {{"ID", alma}}, false),
                  alma);
        zeile.TextSetzen("NAME", name, true);
        zeile.OhrmarkeSetzen("VATERNR", vater, false);
        zeile.OhrmarkeSetzen("MUTTERNR", "DE0911111111", false);
        zeile.ZahlSetzen("KNR", "0", true);
        zeile.TextSetzen("VATER", std::nullopt);
        QString fehler;
        EXPECT_TRUE(zeile.Sichern(fehler)) << fehler.toStdString();
    };
    lauf("BERTA", "000123");
    lauf("CLARA", "000456");
    db::Query q(tr, "SELECT NAME, VATERNR, MUTTERNR, KNR, VATER FROM T_STAMMDATEN WHERE ID = :ID");
    q.Param("ID").SetInteger(alma);
    q.Open();
    EXPECT_EQ(q.Field(0).AsString(), "Alma");
    EXPECT_EQ(q.Field(1).AsString(), "123");
    EXPECT_EQ(q.Field(2).AsString(), "DE 09 111 11111");
    EXPECT_TRUE(q.Field(3).IsNull());
    EXPECT_TRUE(q.Field(4).IsNull());
    tr.Rollback();
}

TEST_F(ImportDbTest, ConversionsOfTheSetters)
{
    struct Fall {
        const char* name;
        std::function<void(ImportZeile&)> setzen;
        const char* spalte;
        QVariant erwartet;  // null: the column stays empty
    };
    const Fall faelle[] = {
        {"decimal comma", [](ImportZeile& z) { z.DezimalSetzen("D", "3,45", true); }, "D", 3.45},
        {"decimal point", [](ImportZeile& z) { z.DezimalSetzen("D", "3.45", true); }, "D", 3.45},
        {"decimal letters", [](ImportZeile& z) { z.DezimalSetzen("D", "abc", true); }, "D", {}},
        {"decimal zero left empty",
         [](ImportZeile& z) { z.DezimalSetzen("D", "0,0", true); },
         "D",
         {}},
        {"decimal zero kept", [](ImportZeile& z) { z.DezimalSetzen("D", "0", false); }, "D", 0.0},
        {"integer", [](ImportZeile& z) { z.ZahlSetzen("Z", "0042", false); }, "Z", 42},
        {"integer with decimals", [](ImportZeile& z) { z.ZahlSetzen("Z", "4.2", false); }, "Z", {}},
        {"integer zero left empty", [](ImportZeile& z) { z.ZahlSetzen("Z", "0", true); }, "Z", {}},
        {"64-bit in the 32-bit range",
         [](ImportZeile& z) { z.GrosszahlSetzen("G", "2147483647", false); }, "G",
         qlonglong(2147483647)},
        {"64-bit beyond it",
         [](ImportZeile& z) { z.GrosszahlSetzen("G", "2147483648", false); },
         "G",
         {}},
        {"text cut to its column", [](ImportZeile& z) { z.TextSetzen("T", "abcdefgh"); }, "T",
         "abcde"},
        {"blank text", [](ImportZeile& z) { z.TextSetzen("T", "   "); }, "T", {}},
        {"date", [](ImportZeile& z) { z.DatumSetzen("DAT", "29.02.2024"); }, "DAT",
         QDate(2024, 2, 29)},
        {"no date", [](ImportZeile& z) { z.DatumSetzen("DAT", "30.02.2024"); }, "DAT", {}},
        {"absent", [](ImportZeile& z) { z.DatumSetzen("DAT", std::nullopt); }, "DAT", {}},
    };
    db::Transaction tr(Db());
    tr.Start();
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        ImportZeile zeile(tr, "T_TEST_IMPORT", "G_TEST_IMPORT");
        zeile.Laden(0);
        f.setzen(zeile);
        QString fehler;
        ASSERT_TRUE(zeile.Sichern(fehler)) << fehler.toStdString();
        ASSERT_GT(zeile.Id(), 0);
        db::Query q(tr,
                    QStringLiteral("SELECT %1 FROM T_TEST_IMPORT WHERE ID = :ID").arg(f.spalte));
        q.Param("ID").SetInteger(zeile.Id());
        q.Open();
        ASSERT_FALSE(q.Eof());
        if (f.erwartet.isNull())
            EXPECT_TRUE(q.Field(0).IsNull()) << q.Field(0).AsString().toStdString();
        else if (f.erwartet.typeId() == QMetaType::Double)
            EXPECT_DOUBLE_EQ(q.Field(0).AsDouble(), f.erwartet.toDouble());
        else
            EXPECT_EQ(q.Field(0).AsVariant().toString(), f.erwartet.toString());
    }
    tr.Rollback();
}

// A refused save leaves the row unsaved and names the reason; the transaction goes on.
TEST_F(ImportDbTest, RefusedSaveGivesItsReason)
{
    db::Transaction tr(Db());
    tr.Start();
    ImportZeile zeile(tr, "T_STAMMDATEN", "G_STAMMDATEN");
    zeile.Laden(0);
    zeile.Setzen("NUMMER", "DE 01 234 56789");
    zeile.Setzen("GEBDAT", QDate(2021, 1, 1));
    zeile.Setzen("GESCHLECHT", "W");
    zeile.Setzen("RASSE", 1);
    QString fehler;
    EXPECT_FALSE(zeile.Sichern(fehler));
    EXPECT_TRUE(zeile.Neu());
    zeile.Setzen("NUMMER", "DE 09 777 77777");
    zeile.Setzen("GEBDAT", QDate(2021, 1, 1));
    zeile.Setzen("GESCHLECHT", "W");
    zeile.Setzen("RASSE", 1);
    EXPECT_TRUE(zeile.Sichern(fehler)) << fehler.toStdString();
    EXPECT_FALSE(zeile.Neu());
    db::Query q(tr, "SELECT NUMMER_NUM, STATUS FROM T_STAMMDATEN WHERE ID = :ID");
    q.Param("ID").SetInteger(zeile.Id());
    q.Open();
    EXPECT_EQ(q.Field(0).AsInt64(), 276000977777777);
    EXPECT_EQ(q.Field(1).AsString(), "J");
    tr.Rollback();
}

}  // namespace
