// The update step 1.27 -> 1.28 on a database as 1.27 left it: ear tags kept twice in different
// spellings are reported and stay, every other tag gets its printed form and one number per
// animal holds from then on; a booked medicine register entry outlives its animal. The step runs
// its blocks again without harm when it was interrupted.

#include <TestDatabase.h>

#include <Error.h>
#include <Query.h>
#include <Skript.h>
#include <Transaction.h>

#include <QFile>

#include <gtest/gtest.h>

namespace {

QString Skript()
{
    QFile datei(QStringLiteral(BOVANTIS_SQL_UPDATE "/upd-1-27-1-28-1.sql"));
    EXPECT_TRUE(datei.open(QIODevice::ReadOnly)) << datei.fileName().toStdString();
    return QString::fromUtf8(datei.readAll());
}

class UpdateSchrittTest : public ::testing::Test {
protected:
    void SetUp() override { SchemaVersion127(Db()); }

    db::Database& Db() { return datenbank_.Db(); }

    int Sql(const QString& sql)
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Execute();
        const int wert = q.FieldCount() > 0 && !q.Eof() ? q.Field(0).AsInteger() : 0;
        tr.Commit();
        return wert;
    }

    QString Text(const QString& sql)
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr, sql);
        QStringList zeilen;
        for (q.Open(); !q.Eof(); q.Next()) {
            QStringList werte;
            for (int i = 0; i < q.FieldCount(); ++i)
                werte << (q.Field(i).IsNull() ? QStringLiteral("-")
                                              : q.Field(i).AsString().trimmed());
            zeilen << werte.join(QLatin1Char('|'));
        }
        return zeilen.join(QStringLiteral("; "));
    }

    int Tier(const QString& nummer, const QString& name)
    {
        return Sql(QStringLiteral("INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, "
                                  "RASSE) VALUES ('%1', '%2', '01.03.2020', 'W', 1) RETURNING ID")
                       .arg(nummer, name));
    }

    void SchrittAusfuehren()
    {
        db::Transaction tr(Db());
        tr.Start();
        ZRDBScript::TSkriptDatenbank datenbank(tr);
        ZRDBScript::FuehreDBScriptAus(datenbank, Skript());
        tr.Commit();
    }

    TestDatabase datenbank_;
};

TEST_F(UpdateSchrittTest, DuplicateEarTagsAreReportedAndStayAndNoNewOneCanBeStored)
{
    const int erste = Tier(QStringLiteral("DE 01 111 11111"), QStringLiteral("Anna"));
    const int zweite = Tier(QStringLiteral("DE0111111111"), QStringLiteral("Berta"));
    const int dritte = Tier(QStringLiteral("276 01 111 11111"), QStringLiteral("Clara"));
    const int einzeln = Tier(QStringLiteral("de0122222222"), QStringLiteral("Dora"));
    const int ungueltig = Tier(QStringLiteral("XY 1"), QStringLiteral("Erna"));
    // 1.27 kept an unreadable tag's number as NULL or, from older versions, as 0.
    Sql(QStringLiteral("UPDATE T_STAMMDATEN SET NUMMER_NUM = 0 WHERE ID = %1").arg(ungueltig));

    ASSERT_NO_THROW(SchrittAusfuehren());

    EXPECT_EQ(Text(QStringLiteral("SELECT ID, NUMMER, NUMMER_NUM FROM T_STAMMDATEN ORDER BY ID"))
                  .toStdString(),
              QStringLiteral("%1|DE 01 111 11111|276000111111111; %2|DE0111111111|-; "
                             "%3|276 01 111 11111|-; %4|DE 01 222 22222|276000122222222; "
                             "%5|XY 1|-")
                  .arg(erste)
                  .arg(zweite)
                  .arg(dritte)
                  .arg(einzeln)
                  .arg(ungueltig)
                  .toStdString());
    // The farmer finds the animals among the due appointments until he marks it done.
    EXPECT_EQ(Text(QStringLiteral("SELECT TEXT, ERLEDIGEN, DATUM - CURRENT_DATE FROM T_TERMINE")),
              QStringLiteral("Ohrmarke doppelt: DE 01 111 11111|T|0"));
    const QString bemerkung = Text(QStringLiteral("SELECT BEMERKUNG FROM T_TERMINE"));
    for (const char* tier :
         {"DE 01 111 11111, Anna", "DE0111111111, Berta", "276 01 111 11111, Clara"})
        EXPECT_TRUE(bemerkung.contains(QString::fromUtf8(tier))) << bemerkung.toStdString();
    EXPECT_FALSE(bemerkung.contains(QStringLiteral("Dora")));
    EXPECT_EQ(Text(QStringLiteral("SELECT TEXT FROM V_TERMINE_FAELLIG WHERE TIERID IS NULL")),
              QStringLiteral("Ohrmarke doppelt: DE 01 111 11111"));

    // From now on one animal per number; a duplicate kept from before can still be edited.
    EXPECT_THROW(Tier(QStringLiteral("DE 0111111111"), QStringLiteral("Frida")), db::Error);
    EXPECT_THROW(Tier(QStringLiteral("276000122222222"), QStringLiteral("Frida")), db::Error);
    Sql(QStringLiteral("UPDATE T_STAMMDATEN SET NAME = 'Bella' WHERE ID = %1").arg(zweite));
    EXPECT_THROW(Sql(QStringLiteral("UPDATE T_STAMMDATEN SET NUMMER = 'DE 01 222 22222' WHERE "
                                    "ID = %1")
                         .arg(zweite)),
                 db::Error);

    // An interrupted step runs its blocks again: nothing twice, nothing lost.
    ASSERT_NO_THROW(SchrittAusfuehren());
    EXPECT_EQ(Sql(QStringLiteral("SELECT COUNT(*) FROM T_TERMINE")), 1);
    EXPECT_EQ(Sql(QStringLiteral("SELECT COUNT(*) FROM T_STAMMDATEN WHERE NUMMER_NUM IS NULL")), 3);
}

TEST_F(UpdateSchrittTest, BookedRegisterEntriesOutliveTheirAnimalAfterTheStep)
{
    const int kuh = Tier(QStringLiteral("DE 0100000001"), QStringLiteral("Anna"));
    const int leistung =
        Sql(QStringLiteral("INSERT INTO T_TIERARZTLEISTUNG (BESTANDSBUCH, "
                           "ARZNEIMITTEL) VALUES ('B', 'Penicillin') RETURNING ID"));
    Sql(QStringLiteral("INSERT INTO T_TIERARZTGRUPPE (TIER, LEISTUNG) VALUES (%1, %2)")
            .arg(kuh)
            .arg(leistung));
    Sql(QStringLiteral(
            "INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM) VALUES (%1, '02.03.2024')")
            .arg(leistung));

    ASSERT_NO_THROW(SchrittAusfuehren());
    Sql(QStringLiteral("EXECUTE PROCEDURE P_DO_TIER_LOESCHEN(%1)").arg(kuh));

    EXPECT_EQ(Text(QStringLiteral("SELECT LID, TIERID, NAME, IDENTITAET FROM "
                                  "P_GET_BESTANDSBUCH('01.03.2024', '31.03.2024')")),
              QStringLiteral("%1|-|Anna|DE 01 000 00001").arg(leistung));
}

}  // namespace
