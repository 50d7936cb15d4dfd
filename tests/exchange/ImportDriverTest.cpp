#include <AdisImport.h>
#include <TestDatabase.h>

#include <Query.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A hand-written ADIS file with two animals and one test-day row.
const QByteArray Adis =
    "DN880005009000801500080002912"
    "0\n"
    "VN880005DE0912345678   ANNA ET     \n"
    "VN880005DE0911111111   BERTA       \n"
    "DN880006009000801500090003208"
    "0\n"
    "VN880006DE0912345678   20080307\n"
    "ZN\n";
const QByteArray Rdv =
    "Z00101DE0912345678  DE0911111111  DE0922222222  15032004ANNA ET     07"
    "       W\n";
const QByteArray Liesmich = "Diese Sendung enthält die Daten der Milchkontrolle vom Dezember.\n";

class ImportDriverTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        modul = std::make_unique<TADISADEDImport>(Db());
        // Passes that note what they see: the modul rules themselves are tested apart.
        const auto notieren = [this](int entity) {
            return [this, entity](TADISADEDImport& i, int a, int z) {
                gesehen << QStringLiteral("%1 %2").arg(entity).arg(
                    i.Abschnitte().GetWert(a, z, 900080).value_or("-"));
                return true;
            };
        };
        for (auto& p : modul->StammdatenPaesse)
            p.zeile = notieren(p.entity);
        for (auto& p : modul->MlpPaesse)
            p.zeile = notieren(p.entity);
        for (auto& p : modul->RdvPaesse)
            p.satz = [this, s = p.satzart](TADISADEDImport&, const TRDVEintrag& e) {
                gesehen << s + u' ' + e.Daten.left(12);
                return true;
            };
        modul->OnBereich = [this](const QString& titel, int, bool) { bereiche << titel; };
    }

    QString Datei(const QString& name, const QByteArray& inhalt)
    {
        const QString pfad = dir.filePath(name);
        QFile f(pfad);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
        return pfad;
    }

    // The archive is written by Python's zipfile module, members in the given order.
    QString Archiv(const QString& name, const QList<std::pair<QString, QByteArray>>& mitglieder)
    {
        QStringList argumente{dir.filePath(name)};
        for (const auto& [n, inhalt] : mitglieder)
            argumente << n << Datei(QStringLiteral("roh%1").arg(argumente.size()), inhalt);
        QProcess p;
        p.start("python3", QStringList{"-c",
                                       "import zipfile,sys\n"
                                       "with zipfile.ZipFile(sys.argv[1],'w',zipfile.ZIP_DEFLATED) "
                                       "as z:\n"
                                       "  a=sys.argv[2:]\n"
                                       "  for n,f in zip(a[::2],a[1::2]): z.write(f,n)\n"} +
                               argumente);
        EXPECT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return dir.filePath(name);
    }

    QStringList Protokoll() const
    {
        QStringList zeilen;
        for (int i = 0; i < modul->ImportProtokoll.Anzahl(); ++i)
            zeilen << QString::number(modul->ImportProtokoll.GetEintrag(i).Code) + u' ' +
                          modul->ImportProtokoll.GetEintrag(i).Werte.join(u'|');
        return zeilen;
    }

    QTemporaryDir dir;
    std::unique_ptr<TADISADEDImport> modul;
    QStringList gesehen;
    QStringList bereiche;
};

TEST_F(ImportDriverTest, PlainFiles)
{
    EXPECT_EQ(modul->Importieren(dir.filePath("fehlt.ads")), TADISADEDImport::DateiFehlt);

    EXPECT_EQ(modul->Importieren(Datei("mlp.ads", Adis)), TADISADEDImport::Importiert);
    EXPECT_EQ(gesehen,
              (QStringList{"880005 DE0912345678", "880005 DE0911111111", "880006 DE0912345678"}));
    EXPECT_EQ(modul->Zeilen, 3);
    EXPECT_TRUE(modul->NachbearbeitungNoetig);
    EXPECT_EQ(bereiche, (QStringList{"ADIS Datei lesen", "Stammdaten Tier", "Betriebszugehörigkeit",
                                     "Besamungen", "Kalbungen", "Stammdaten Bullen",
                                     "Leistungsergebnisse Tag", "Laktationsleistungen",
                                     "Leistungsergebnisse Betrieb", "Zuchtwerte",
                                     "Nachbearbeitung der Stammdaten"}));
    EXPECT_TRUE(Protokoll().isEmpty());

    // A plain RDV file is never read as RDV; it has no ADIS data.
    gesehen.clear();
    EXPECT_EQ(modul->Importieren(Datei("daten.rdv", Rdv)), TADISADEDImport::KeineDaten);
    EXPECT_TRUE(gesehen.isEmpty());
    EXPECT_EQ(Protokoll(), QStringList{"0 daten.rdv: Die Datei ist keine ADIS-Datei."});

    EXPECT_EQ(modul->Importieren(Datei("kurz.ads", Adis.left(Adis.size() - 3))),
              TADISADEDImport::NichtLesbar);
    EXPECT_TRUE(gesehen.isEmpty());
    EXPECT_EQ(Protokoll(), QStringList{"0 kurz.ads: Zeile 6: Die Datei endet ohne Endezeile, sie "
                                       "ist unvollständig."});
}

// Item types come from the catalogue in the database: a date item is handed out as a date.
TEST_F(ImportDriverTest, ItemTypesFromTheCatalogue)
{
    auto werte = std::make_shared<QStringList>();
    modul->MlpPaesse[0].zeile = [werte](TADISADEDImport& i, int a, int z) {
        *werte << i.Abschnitte().GetWert(a, z, 900032).value_or("-")
               << i.Abschnitte().GetWert(a, z, 900080).value_or("-");
        return true;
    };
    EXPECT_EQ(modul->Importieren(Datei("mlp.ads", Adis)), TADISADEDImport::Importiert);
    EXPECT_EQ(*werte, (QStringList{"07.03.2008", "DE0912345678"}));
}

// The file events of an archive: each member in the ADIS pass (short ones too), each member
// again per RDV kind, and the end.
TEST_F(ImportDriverTest, FileEventsOfAnArchive)
{
    auto dateien = std::make_shared<QStringList>();
    modul->OnDatei = [dateien](int nr, int anzahl) {
        *dateien << QStringLiteral("%1/%2").arg(nr).arg(anzahl);
    };
    const QString archiv = Archiv("e.zip", {{"leer.txt", ""}, {"mlp.ads", Adis}, {"b.rdv", Rdv}});
    EXPECT_EQ(modul->Importieren(archiv), TADISADEDImport::Importiert);
    EXPECT_EQ(*dateien,
              (QStringList{"1/3", "2/3", "3/3", "1/0", "1/0", "1/0", "1/0", "1/0", "1/0"}));
    // Each RDV kind: the outer section, then the pass over the records of that kind.
    EXPECT_EQ(
        bereiche.mid(bereiche.size() - 11),
        (QStringList{"Stammdaten Tier", "Stammdaten Tier", "Betriebszugehörigkeit",
                     "Betriebszugehörigkeit", "Besamungen", "Besamungen", "Kalbungen", "Kalbungen",
                     "MLP Kontrolldaten", "MLP Kontrolldaten", "Nachbearbeitung der Stammdaten"}));
}

// The merge of an archive's members: what was imported counts whatever order the members have.
TEST_F(ImportDriverTest, ArchiveMembers)
{
    struct Fall {
        const char* name;
        QList<std::pair<QString, QByteArray>> mitglieder;
        int ergebnis;
        QStringList gesehen;
        QStringList protokoll;
    };
    const QByteArray kaputt = Adis.left(Adis.size() - 3);
    const Fall faelle[] = {
        {"read-me first, then ADIS",
         {{"liesmich.txt", Liesmich}, {"mlp.ads", Adis}},
         TADISADEDImport::Importiert,
         {"880005 DE0912345678", "880005 DE0911111111", "880006 DE0912345678"},
         {"0 liesmich.txt: Die Datei enthält weder ADIS- noch RDV-Daten."}},
        {"ADIS, then read-me",
         {{"mlp.ads", Adis}, {"liesmich.txt", Liesmich}},
         TADISADEDImport::Importiert,
         {"880005 DE0912345678", "880005 DE0911111111", "880006 DE0912345678"},
         {"0 liesmich.txt: Die Datei enthält weder ADIS- noch RDV-Daten."}},
        {"RDV only: read once per kind",
         {{"a.rdv", Rdv}},
         TADISADEDImport::Importiert,
         {"Z00101 DE0912345678"},
         {}},
        {"a small ADIS file is never read as RDV",
         {{"klein.ads",
           "DN880005009000801500080002912"
           "0\nCN ein Kommentar\nZN\n"},
          {"b.rdv", Rdv}},
         TADISADEDImport::Importiert,
         {"Z00101 DE0912345678"},
         {}},
        {"only short members",
         {{"leer.txt", ""}, {"notiz.txt", "kurz"}},
         TADISADEDImport::LeeresArchiv,
         {},
         {}},
        {"broken ADIS and no data",
         {{"kaputt.ads", kaputt}, {"liesmich.txt", Liesmich}},
         TADISADEDImport::NichtLesbar,
         {},
         {"0 kaputt.ads: Zeile 6: Die Datei endet ohne Endezeile, sie ist unvollständig.",
          "0 liesmich.txt: Die Datei enthält weder ADIS- noch RDV-Daten."}},
        {"the same name in two folders",
         {{"a/mlp.ads", Adis}, {"b/mlp.ads", Rdv}},
         TADISADEDImport::Importiert,
         {"880005 DE0912345678", "880005 DE0911111111", "880006 DE0912345678",
          "Z00101 DE0912345678"},
         {}},
        {"a name leading outside",
         {{"../../mlp.ads", Adis}},
         TADISADEDImport::Importiert,
         {"880005 DE0912345678", "880005 DE0911111111", "880006 DE0912345678"},
         {}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        gesehen.clear();
        const QString archiv = Archiv("a.zip", f.mitglieder);
        const QStringList vorher =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        EXPECT_EQ(modul->Importieren(archiv), f.ergebnis);
        EXPECT_EQ(gesehen, f.gesehen);
        EXPECT_EQ(Protokoll(), f.protokoll);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), vorher);
        QFile::remove(archiv);
    }
}

// A pass that fails stops its file: the rows of the failed pass are rolled back, the message
// goes into the log, and the result is -3; an archive's later members are still imported.
TEST_F(ImportDriverTest, FailingPass)
{
    modul->StammdatenPaesse[0].zeile = [](TADISADEDImport& i, int, int) {
        db::Query q(i.Transaktion(),
                    "INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE) VALUES "
                    "('DE 09 555 55555', DATE '2020-01-01', 'W', 1)");
        q.Execute();
        throw std::runtime_error("Abbruch im Test");
        return true;
    };
    modul->MlpPaesse[3].zeile = nullptr;
    const QString archiv = Archiv("f.zip", {{"mlp.ads", Adis}, {"b.rdv", Rdv}});
    EXPECT_EQ(modul->Importieren(archiv), TADISADEDImport::Abgebrochen);
    EXPECT_EQ(Protokoll(), QStringList{"0 Abbruch im Test"});
    EXPECT_EQ(gesehen, QStringList{"Z00101 DE0912345678"});
    db::Transaction tr(Db());
    tr.Start();
    db::Query q(tr, "SELECT COUNT(*) FROM T_STAMMDATEN WHERE NUMMER = 'DE 09 555 55555'");
    q.Open();
    EXPECT_EQ(q.Field(0).AsInteger(), 0);

    // A pass without its rule is reported, not skipped.
    modul->StammdatenPaesse[0].zeile = [](TADISADEDImport&, int, int) { return true; };
    modul->ImportMLP = true;
    EXPECT_EQ(modul->Importieren(Datei("p.ads", Adis)), TADISADEDImport::Abgebrochen);
    EXPECT_EQ(Protokoll(),
              QStringList{"0 Der Import \"Zuchtwerte\" ist in diesem Programm nicht verfügbar."});
}

TEST_F(ImportDriverTest, LogIsSortedWithoutDuplicates)
{
    db::Transaction tr(Db());
    tr.Start();
    db::Query q(tr,
                "INSERT INTO T_STAMMDATEN (NUMMER, GEBDAT, GESCHLECHT, RASSE) VALUES "
                "('DE 09 444 44444', DATE '2020-01-01', 'W', 1) RETURNING ID");
    q.Execute();
    const int id = q.Field(0).AsInteger();
    tr.Commit();
    TADISProtokoll& log = modul->ImportProtokoll;
    log.Hinzufuegen(6, id, {"b"});
    log.Hinzufuegen(2, 0, {"zz"});
    log.Hinzufuegen(6, id, {"A"});
    log.Hinzufuegen(2, 0, {"Yy"});
    log.Hinzufuegen(6, id, {"b"});
    log.Hinzufuegen(2, 0, {"zz"});
    log.Hinzufuegen(6, id, {"B"});
    tr.Start();
    log.Vorbereiten(tr);
    tr.Commit();
    QStringList zeilen;
    for (int i = 0; i < log.Anzahl(); ++i)
        zeilen << QStringLiteral("%1 %2 %3")
                      .arg(log.GetEintrag(i).Code)
                      .arg(log.GetEintrag(i).Ohrmarke, log.GetEintrag(i).Werte.join(u'|'));
    EXPECT_EQ(zeilen, (QStringList{"2  Yy", "2  zz", "6 DE 09 444 44444 A", "6 DE 09 444 44444 b",
                                   "6 DE 09 444 44444 B"}));
    EXPECT_THROW(log.Hinzufuegen(19, 0, {}), std::out_of_range);
    EXPECT_EQ(TADISProtokoll::Ueberschrift(2),
              QString::fromUtf8("Folgende Tiere wurden nicht eingelesen,\r\nda die Ohrmarken "
                                "nicht gültig waren"));
}

}  // namespace
