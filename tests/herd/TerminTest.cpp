#include "HerdeTest.h"
#include <Bildschirmfoto.h>

#include <TerminListe.h>
#include <TerminLogik.h>
#include <TerminVerwaltung.h>

#include <DBAMCheckbox.h>
#include <DBComboBox.h>
#include <DBFloatEdit.h>
#include <DBMemo.h>
#include <DBTools.h>
#include <DBZRBaseEdit.h>
#include <DBZRDateEdit.h>
#include <FrameInternListeWahl.h>
#include <Haupt.h>
#include <InternListeWahl.h>
#include <MessageBoxScript.h>
#include <NeuWert.h>
#include <ZRDBcxGridBovantis.h>
#include <ZRcxGridDBTableView.h>

#include <QCheckBox>
#include <QHeaderView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

namespace {

// ------------------------------------------------------------------------ texts and codes

TEST(TerminLogik, WochentageHinUndZurueck)
{
    const std::array<bool, 7> alle{true, true, true, true, true, true, true};
    EXPECT_EQ(Termin::WochentageLesen(""), alle);
    EXPECT_EQ(Termin::WochentageLesen("  "), alle);
    EXPECT_EQ(Termin::WochentageText(alle), "MO;DI;MI;DO;FR;SA;SO");
    const std::array<bool, 7> zwei{false, true, false, false, false, false, true};
    EXPECT_EQ(Termin::WochentageLesen("DI;SO"), zwei);
    EXPECT_EQ(Termin::WochentageText(zwei), "DI;SO");
    EXPECT_EQ(Termin::WochentageText({}), "");
}

TEST(TerminLogik, IntervallArten)
{
    EXPECT_EQ(Termin::IntervallArtPosition("W"), 1);
    EXPECT_EQ(Termin::IntervallArtPosition("M"), 2);
    EXPECT_EQ(Termin::IntervallArtPosition("T"), 0);
    EXPECT_EQ(Termin::IntervallArtPosition("X"), 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Termin::IntervallArtPosition(Termin::IntervallArtCode(i)), i);
}

TEST(TerminLogik, TexteUndZeitraum)
{
    EXPECT_EQ(Termin::TerminAnzeige(QDate(2024, 5, 3), QDate(2024, 5, 3), " Trockenstellen "),
              "Heute: Trockenstellen");
    EXPECT_EQ(Termin::TerminAnzeige(QDate(2024, 5, 3), QDate(2024, 5, 4), "Trockenstellen"),
              "03.05.2024: Trockenstellen");
    EXPECT_EQ(Termin::BemerkungKurz("eins\r\nzwei"), "eins ...");
    EXPECT_EQ(Termin::BemerkungKurz("eins"), "eins");
    const auto [von, bis] = Termin::ZeitraumOrdnen(QDate(2024, 1, 10), QDate(2024, 1, 1));
    EXPECT_EQ(von, QDate(2024, 1, 1));
    EXPECT_EQ(bis, QDate(2024, 1, 10));
}

TEST(TerminLogik, DatenImSqlUnabhaengigVomGebietsschema)
{
    const QLocale vorher;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString sql =
        Termin::ErledigteDatenSQL(QDate(2024, 1, 1), QDate(2024, 1, 31), true, false);
    QLocale::setDefault(vorher);
    EXPECT_TRUE(sql.contains("P_GET_ERLEDIGTE_TERMINE('01.01.2024','01.02.2024','T','F')"))
        << sql.toStdString();
    EXPECT_TRUE(Termin::ErledigteSchnellwahlSQL(QDate(2024, 1, 1), QDate(2024, 1, 31), false)
                    .contains("('01.01.2024','01.02.2024','F','F')"));
    EXPECT_EQ(Termin::ErledigteTitelzusatz(QDate(2024, 1, 1), QDate(2024, 1, 10)),
              "von 01.01.2024 bis 10.01.2024");
}

// ------------------------------------------------------------------------------ with a database

class TerminTest : public HerdeTest {
protected:
    QString Wert(const QString& sql)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        return q.Eof() ? QStringLiteral("<keine>") : q.Field(0).AsString();
    }
    int Zahl(const QString& sql) { return Wert(sql).toInt(); }
    static QString D(const QDate& d) { return d.toString("yyyy-MM-dd"); }
    // A fixed appointment stored directly; returns its ID.
    int FesterTermin(const QDate& datum, int vor, int nach, const char* erledigen,
                     const QString& text = QStringLiteral("Fest"))
    {
        Ausfuehren({QStringLiteral("INSERT INTO T_TERMINE (DATUM, VOR, NACH, TEXT, ERLEDIGEN) "
                                   "VALUES ('%1', %2, %3, '%4', '%5')")
                        .arg(D(datum))
                        .arg(vor)
                        .arg(nach)
                        .arg(text, QLatin1String(erledigen))});
        return Zahl("SELECT MAX(ID) FROM T_TERMINE");
    }
    static void Tippen(QLineEdit* e, const QString& text)
    {
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Tab);
    }
    QStringList Texte(TfrmTerminVerwaltung& v)
    {
        QStringList texte;
        db::DataSet& d = v.FesteTermine();
        const int text = d.FieldByName("TEXT").Index();
        for (int i = 0; i < d.RecordCount(); ++i)
            texte << d.ValueAt(i, text).AsString();
        return texte;
    }
    // The stored list of the due appointments, as the setting "Termin-Liste" names it.
    void TerminlisteAnlegen()
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query l(tr,
                    "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, MENUE, MENUE_REIHUNG, SQL, "
                    "SQL_SW) VALUES (41, 'Termine', 'Fällige Termine', 'F', 1, :SQL, :SW)");
        l.Param("SQL").SetString(
            "SELECT F.ERLEDIGEN AS Q1ERLEDIGEN, F.TERMIN_ID AS Q1TERMIN_ID, F.TIERID AS Q1TIERID, "
            "F.TERMIN AS Q1TERMIN, F.TEXT AS Q1TEXT, F.NAME AS Q1NAME FROM V_TERMINE_FAELLIG F "
            "ORDER BY F.TERMIN, F.TEXT");
        l.Param("SW").SetString("SELECT F.TIERID AS ID FROM V_TERMINE_FAELLIG F");
        l.Execute();
        db::Query f(tr,
                    "INSERT INTO T_LISTEN_BILDSCHIRM (ID, LISTE, FELD, BREITE, TITEL, "
                    "SICHTBAR, ZEILE, AUSRICHTUNG, AUTOBREITE, UEBERSCHRIFT) VALUES (:ID, 41, "
                    ":FELD, :BREITE, :TITEL, :SICHTBAR, 1, 'L', 'F', 'F')");
        int id = 1;
        for (const auto& [feld, breite, titel, sichtbar] :
             {std::tuple{"Q1.ERLEDIGEN", 30, "E.", "T"}, std::tuple{"Q1.TERMIN_ID", 40, "ID", "F"},
              std::tuple{"Q1.TIERID", 40, "Tier", "F"}, std::tuple{"Q1.TERMIN", 100, "Termin", "T"},
              std::tuple{"Q1.TEXT", 220, "Text", "T"}, std::tuple{"Q1.NAME", 150, "Name", "T"}}) {
            f.Param("ID").SetInteger(id++);
            f.Param("FELD").SetString(feld);
            f.Param("BREITE").SetInteger(breite);
            f.Param("TITEL").SetString(titel);
            f.Param("SICHTBAR").SetString(sichtbar);
            f.Execute();
        }
        tr.Commit();
        Einstellungen()->Bearbeiten();
        Einstellungen()->SetTerminListe(41);
        Einstellungen()->Speichern();
    }
};

TEST_F(TerminTest, VergangeneTermineNurAufWunsch)
{
    const QDate heute = QDate::currentDate();
    FesterTermin(heute.addDays(-1), 7, 0, "F", "gestern ohne Nachlauf");
    FesterTermin(heute.addDays(-1), 7, 1, "F", "gestern mit Nachlauf");
    FesterTermin(heute.addYears(-1), 7, 0, "T", "offen seit einem Jahr");
    const int erledigt = FesterTermin(heute.addYears(-1), 7, 0, "T", "erledigt");
    Ausfuehren({QStringLiteral("UPDATE T_TERMINE SET ERLEDIGT = '%1' WHERE ID = %2")
                    .arg(D(heute.addYears(-1)))
                    .arg(erledigt)});
    TfrmTerminVerwaltung v(DM()->Datenbank);
    EXPECT_EQ(Texte(v), (QStringList{"offen seit einem Jahr", "gestern mit Nachlauf"}));
    QTest::mouseClick(v.VergangeneAnzeigen(), Qt::LeftButton);
    EXPECT_EQ(Texte(v).size(), 4);
}

TEST_F(TerminTest, AbbrechenVerwirftTerminUndWiederholung)
{
    {
        TfrmTerminVerwaltung v(DM()->Datenbank);
        Bedienen<TfrmFesterTermin>([](TfrmFesterTermin& d) {
            Tippen(d.Datum(), "01.03.2024");
            d.Text()->setEditText("Klauenpflege");
            QTest::mouseClick(d.Wiederholen(), Qt::LeftButton);
            EXPECT_TRUE(d.Intervall()->isEnabled());
            d.Intervall()->setValue(4);
            d.IntervallArt()->setCurrentIndex(1);
            QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        });
        v.Hinzufuegen();
        EXPECT_EQ(Texte(v).size(), 0);  // in the past and not to be marked done
        QTest::mouseClick(v.VergangeneAnzeigen(), Qt::LeftButton);
        EXPECT_EQ(Texte(v), QStringList{"Klauenpflege"});
        v.reject();
    }
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_TERMINE"), 0);
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_TERMINE_WIEDERHOLEN"), 0);
}

TEST_F(TerminTest, LeeresNachSpeichertNull)
{
    TfrmTerminVerwaltung v(DM()->Datenbank);
    Bedienen<TfrmFesterTermin>([](TfrmFesterTermin& d) {
        EXPECT_EQ(d.Vor()->text(), "7");
        Tippen(d.Datum(), "01.03.2030");
        Tippen(d.Nach(), "");
        d.Text()->setEditText("Tierarzt");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        if (d.isVisible())
            d.reject();
    });
    MessageBoxScript boxen;
    v.Hinzufuegen();
    v.accept();
    EXPECT_EQ(boxen.Shown().size(), 0);
    EXPECT_EQ(Wert("SELECT NACH || ' ' || VOR || ' ' || ERLEDIGEN || ' ' || TEXT FROM T_TERMINE"),
              "0 7 F Tierarzt");
}

TEST_F(TerminTest, WiederholungBearbeitenUndLoeschen)
{
    const int id = FesterTermin(QDate(2030, 1, 7), 2, 0, "F", "Waage");
    // The repetition's own ID differs from the appointment's.
    Ausfuehren({"ALTER SEQUENCE G_TERMINE_WIEDERHOLEN_ID RESTART WITH 500",
                QStringLiteral("INSERT INTO T_TERMINE_WIEDERHOLEN (TERMIN_ID, INTERVALL, "
                               "INTERVALL_ART, BIS) VALUES (%1, 3, 'T', '2030-06-30')")
                    .arg(id)});
    FesterTermin(QDate(2030, 1, 8), 2, 0, "F", "Zweiter");
    TfrmTerminVerwaltung v(DM()->Datenbank);
    ASSERT_EQ(Texte(v), (QStringList{"Waage", "Zweiter"}));
    EXPECT_EQ(v.FesteTermine().FieldByName("ID").AsInteger(), id);
    EXPECT_EQ(v.FesteTermine().FieldByName("WIEDERHOLUNG").AsString(), "T");
    Bedienen<TfrmFesterTermin>([](TfrmFesterTermin& d) {
        EXPECT_EQ(d.Text()->currentText(), "Waage");
        EXPECT_TRUE(d.Wiederholen()->isChecked());
        EXPECT_EQ(d.Intervall()->value(), 3);
        EXPECT_EQ(d.IntervallArt()->currentText(), "Tage");
        EXPECT_EQ(d.Bis()->text(), "30.06.2030");
        QTest::mouseClick(d.Wiederholen(), Qt::LeftButton);
        EXPECT_FALSE(d.Bis()->isEnabled());
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    v.Bearbeiten();
    EXPECT_EQ(v.FesteTermine().FieldByName("ID").AsInteger(), id);
    EXPECT_EQ(v.FesteTermine().FieldByName("WIEDERHOLUNG").AsString(), "F");
    v.accept();
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_TERMINE_WIEDERHOLEN"), 0);
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_TERMINE"), 2);
}

TEST_F(TerminTest, EntfernenLoeschtDieWiederholungMit)
{
    const int id = FesterTermin(QDate(2030, 1, 7), 2, 0, "F", "Waage");
    Ausfuehren({QStringLiteral("INSERT INTO T_TERMINE_WIEDERHOLEN (TERMIN_ID, INTERVALL, "
                               "INTERVALL_ART) VALUES (%1, 1, 'W')")
                    .arg(id)});
    TfrmTerminVerwaltung v(DM()->Datenbank);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrNo).AnswerWith(Tools::mrYes);
    v.Entfernen();
    EXPECT_EQ(Texte(v).size(), 1);
    v.Entfernen();
    EXPECT_EQ(Texte(v).size(), 0);
    EXPECT_EQ(boxen.Shown()[0].text, "Wollen Sie diesen Termin wirklich löschen?");
    v.accept();
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_TERMINE"), 0);
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_TERMINE_WIEDERHOLEN"), 0);
}

TEST_F(TerminTest, NeueRegelUndWochentage)
{
    TfrmTerminVerwaltung v(DM()->Datenbank);
    v.Seiten()->setCurrentIndex(1);
    Bedienen<TfrmTierTermin>([](TfrmTierTermin& d) {
        EXPECT_EQ(d.Ankerpunkt()->currentText(), "Geburt");
        EXPECT_EQ(d.Termin()->text(), "0");
        EXPECT_EQ(d.Vor()->text(), "7");
        EXPECT_EQ(d.Nach()->text(), "0");
        EXPECT_EQ(d.Tierklasse()->currentText(), "Alle Tiere");
        EXPECT_EQ(d.Betriebsstaette()->currentText(), "Alle Betriebsstätten");
        EXPECT_EQ(d.Text()->text(), "Text");
        for (int i = 0; i < 7; ++i)
            EXPECT_TRUE(d.Wochentag(i)->isChecked());
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    v.Hinzufuegen();
    ASSERT_EQ(v.TierTermine().RecordCount(), 1);
    v.accept();
    const int id = Zahl("SELECT ID FROM T_TERMINE_EINSTELLUNG");
    db::Transaction tr(DM()->Datenbank);
    tr.Start();
    // Ok without touching the boxes keeps the empty text; off and on again stores all seven.
    {
        TfrmTierTermin d;
        d.Initialisieren(tr, id);
        d.show();
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    tr.Commit();
    EXPECT_EQ(Wert("SELECT COALESCE(WOCHENTAGE, '<leer>') FROM T_TERMINE_EINSTELLUNG"), "<leer>");
    tr.Start();
    {
        TfrmTierTermin d;
        d.Initialisieren(tr, id);
        d.show();
        d.Wochentag(2)->click();
        EXPECT_FALSE(d.Wochentag(2)->isChecked());
        d.Wochentag(2)->click();
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    tr.Commit();
    EXPECT_EQ(Wert("SELECT COALESCE(WOCHENTAGE, '<leer>') FROM T_TERMINE_EINSTELLUNG"),
              "MO;DI;MI;DO;FR;SA;SO");
}

// A weekly fixed appointment entered in the dialog falls due on its days, until its end.
TEST_F(TerminTest, FesterTerminMitWiederholungWirdAnDenRichtigenTagenFaellig)
{
    TfrmTerminVerwaltung v(DM()->Datenbank);
    Bedienen<TfrmFesterTermin>([](TfrmFesterTermin& d) {
        Tippen(d.Datum(), "01.01.2024");  // a Monday
        Tippen(d.Vor(), "1");
        d.Text()->setEditText("Wiegen");
        QTest::mouseClick(d.Wiederholen(), Qt::LeftButton);
        d.Intervall()->setValue(1);
        d.IntervallArt()->setCurrentIndex(1);
        d.Bis()->setText("22.01.2024");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    v.Hinzufuegen();
    v.accept();
    const auto faellig = [this](const char* tag) {
        return Wert(QStringLiteral("SELECT COALESCE(LIST(TERMIN), '-') FROM "
                                   "P_GET_TERMINE_FAELLIG('%1')")
                        .arg(QLatin1String(tag)));
    };
    EXPECT_EQ(faellig("2023-12-30"), "-");
    EXPECT_EQ(faellig("2023-12-31"), "2024-01-01");
    EXPECT_EQ(faellig("2024-01-07"), "2024-01-08");
    EXPECT_EQ(faellig("2024-01-08"), "2024-01-08");
    EXPECT_EQ(faellig("2024-01-10"), "-");
    EXPECT_EQ(faellig("2024-01-21"), "2024-01-22");
    EXPECT_EQ(faellig("2024-01-28"), "-");  // after its end
}

// An animal-related rule moves the appointment onto the nearest allowed weekday (the database's
// extension function) and the reminder window lists it.
TEST_F(TerminTest, TierbezogenerTerminAufErlaubtemWochentag)
{
    const QDate heute = QDate::currentDate();
    Ausfuehren({QStringLiteral("INSERT INTO T_STAMMDATEN (ID, NUMMER, KNR, NAME, GEBDAT, "
                               "GESCHLECHT, RASSE) VALUES (900, 'DE 01 900 00900', 90, 'Kalb', "
                               "'%1', 'W', 1)")
                    .arg(D(heute.addDays(-10)))});
    const int morgen = QDate::currentDate().addDays(1).dayOfWeek() - 1;
    TfrmTerminVerwaltung v(DM()->Datenbank);
    v.Seiten()->setCurrentIndex(1);
    Bedienen<TfrmTierTermin>([morgen](TfrmTierTermin& d) {
        Tippen(d.Termin(), "10");
        for (int i = 0; i < 7; ++i)
            if (i != morgen)
                d.Wochentag(i)->click();
        Tippen(d.Text(), "Impfen");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    v.Hinzufuegen();
    v.accept();
    EXPECT_EQ(Wert("SELECT WOCHENTAGE || ' ' || TERMIN || ' ' || TEXT FROM T_TERMINE_EINSTELLUNG"),
              Termin::WochentagCodes()[morgen] + " 10 Impfen");
    FesterTermin(heute, 0, 0, "F", "Heute fest");
    Ausfuehren({"EXECUTE PROCEDURE P_INIT_DATEN"});
    EXPECT_EQ(Wert("SELECT LIST(TIER || ' ' || TERMIN || ' ' || TEXT) FROM T_TERMINE_ERLEDIGEN"),
              QStringLiteral("900 %1 Impfen").arg(D(heute.addDays(1))));

    TerminlisteAnlegen();
    TfrmTerminListe liste(DM()->Datenbank, nullptr);
    ASSERT_FALSE(liste.Ladefehler);
    EXPECT_EQ(liste.GetAnzahl(), 2);
    EXPECT_TRUE(liste.Grid()->Terminmodus());
    liste.show();
    QApplication::processEvents();
    Bildschirmfoto(liste, "terminliste.png");
    // The list is already on screen: "Starten" is pressed once its own loop runs.
    QMetaObject::invokeMethod(
        &liste, [&liste] { QTest::mouseClick(liste.StartenKnopf(), Qt::LeftButton); },
        Qt::QueuedConnection);
    EXPECT_EQ(liste.Zeigen(), Tools::mrYes);
}

TEST_F(TerminTest, TerminlisteMitFehlerZeigtSichNicht)
{
    Einstellungen()->Bearbeiten();
    Einstellungen()->SetTerminListe(77);
    Einstellungen()->Speichern();
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    TfrmTerminListe liste(DM()->Datenbank, nullptr);
    EXPECT_TRUE(liste.Ladefehler);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(boxen.Shown()[0].text.startsWith(
        "Es ist ein Fehler bei der Anzeige der Hinweisliste aufgetreten\r\r"));
}

TEST_F(TerminTest, ErledigenFesterUndTierbezogenerTermine)
{
    const QDate heute = ProgDatum::Heute();
    const int fest = FesterTermin(heute, 3, 0, "T", "Zaun prüfen");
    Ausfuehren(
        {"INSERT INTO T_TERMINE_EINSTELLUNG (ID, ANKERPUNKT, TERMIN, VOR, NACH, "
         "TIERKLASSE, TEXT, ERLEDIGEN) VALUES (5, 'GE', 0, 7, 0, 'AL', 'Trockenstellen', "
         "'T')",
         QStringLiteral("INSERT INTO T_TERMINE_ERLEDIGEN (TERMIN_ID, TERMIN, TIER, TEXT, "
                        "BEMERKUNG) VALUES (5, '2024-05-03', %1, 'Trockenstellen', "
                        "'erste Zeile\nzweite Zeile')")
             .arg(berta),
         QStringLiteral("UPDATE T_TERMINE SET BEMERKUNG = 'erste Zeile\nzweite Zeile' "
                        "WHERE ID = %1")
             .arg(fest)});
    {
        TfrmTerminErledigen d(DM()->Datenbank);
        d.Initialisieren(fest, 0, heute);
        EXPECT_EQ(d.Tier()->text(), "");
        EXPECT_EQ(d.Termin()->text(), "Heute: Zaun prüfen");
        EXPECT_EQ(d.Erledigt()->text(), heute.toString("dd.MM.yyyy"));
        // The same remark in both tables is offered once, by its first line.
        ASSERT_EQ(d.Bemerkungen()->count(), 1);
        EXPECT_EQ(d.Bemerkungen()->itemText(0), "erste Zeile ...");
        emit d.Bemerkungen()->activated(0);
        EXPECT_EQ(d.Bemerkung()->toPlainText(), "erste Zeile\nzweite Zeile");
        d.Bemerkung()->setPlainText("  Zaun geflickt \n");
        d.show();
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    EXPECT_EQ(Wert(QStringLiteral("SELECT ERLEDIGT || ' ' || BEMERKUNG FROM T_TERMINE WHERE ID = "
                                  "%1")
                       .arg(fest)),
              D(heute) + " Zaun geflickt");
    {
        TfrmTerminErledigen d(DM()->Datenbank);
        d.Initialisieren(5, berta, QDate(2024, 5, 3));
        EXPECT_EQ(d.Tier()->text(), "007, Berta, DE 01 111 11111");
        EXPECT_EQ(d.Termin()->text(), "03.05.2024: Trockenstellen");
        d.Erledigt()->setText("04.05.2024");
        d.show();
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    EXPECT_EQ(Wert("SELECT ERLEDIGT FROM T_TERMINE_ERLEDIGEN"), "04.05.2024");
}

TEST_F(TerminTest, ErledigenOhneZeileMeldetDenFehler)
{
    Ausfuehren(
        {"INSERT INTO T_TERMINE_EINSTELLUNG (ID, ANKERPUNKT, TERMIN, VOR, NACH, "
         "TIERKLASSE, TEXT, ERLEDIGEN) VALUES (5, 'GE', 0, 7, 0, 'AL', 'Impfen', 'T')"});
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    TfrmTerminErledigen d(DM()->Datenbank);
    d.Initialisieren(5, lisa, QDate(2024, 5, 3));
    d.show();
    QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    EXPECT_NE(d.result(), QDialog::Accepted);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(boxen.Shown()[0].text.contains("nicht gefunden"));
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_TERMINE_ERLEDIGEN"), 0);
}

class ErledigteTermineTest : public TerminTest {
protected:
    void SetUp() override
    {
        TerminTest::SetUp();
        fest = FesterTermin(QDate(2024, 1, 2), 3, 0, "T", "Zaun");
        Ausfuehren({QStringLiteral("UPDATE T_TERMINE SET ERLEDIGT = '2024-01-05', BEMERKUNG = "
                                   "'fertig' WHERE ID = %1")
                        .arg(fest),
                    "INSERT INTO T_TERMINE_EINSTELLUNG (ID, ANKERPUNKT, TERMIN, VOR, NACH, "
                    "TIERKLASSE, TEXT, ERLEDIGEN) VALUES (5, 'GE', 0, 7, 0, 'AL', 'Impfen', 'T')",
                    QStringLiteral("INSERT INTO T_TERMINE_ERLEDIGEN (TERMIN_ID, TERMIN, TIER, "
                                   "TEXT, ERLEDIGT) VALUES (5, '2024-01-30', %1, 'Impfen', "
                                   "'2024-01-31')")
                        .arg(berta),
                    // The list design the chooser would offer.
                    "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, MENUE, MENUE_REIHUNG) VALUES "
                    "(-20, 'Erledigte Termine', 'Erledigte Termine', 'F', 1)"});
    }
    static QWidget* Wahl(TfrmErledigteTermine&, QWidget* platz) { return new QWidget(platz); }
    int fest = 0;
};

TEST_F(ErledigteTermineTest, DieDesignAuswahlDerEingebautenListenSitztImDialog)
{
    TfrmErledigteTermine d(DM()->Datenbank);
    auto* wahl = d.findChild<TframeInternListeWahl*>();
    ASSERT_NE(wahl, nullptr);
    EXPECT_EQ(wahl->ListenTyp, TfrmErledigteTermine::ListenTyp);
    EXPECT_EQ(wahl->Daten, &d.QDaten());
    d.reject();
}

TEST_F(ErledigteTermineTest, ZeitraumWirdGetauschtUndGespeichert)
{
    TfrmErledigteTermine d(DM()->Datenbank, nullptr, &ErledigteTermineTest::Wahl);
    d.Von()->setText("31.01.2024");
    d.Bis()->setText("01.01.2024");
    d.Feste()->setChecked(false);
    d.VorAusgabe();
    EXPECT_EQ(Einstellungen()->GetErledigteTermineVon(), QDate(2024, 1, 1));
    EXPECT_EQ(Einstellungen()->GetErledigteTermineBis(), QDate(2024, 1, 31));
    EXPECT_FALSE(Einstellungen()->GetErledigteTermineFeste());
    EXPECT_EQ(d.Titelzusatz, "von 01.01.2024 bis 31.01.2024");
    EXPECT_TRUE(d.DatenSQL.contains("('01.01.2024','01.02.2024','T','F')"));
    // The completion of 31.01 is inside the period; the fixed one is not asked for.
    db::DataSet& q = d.QDaten();
    q.Open();
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName("TEXT").AsString(), "Impfen");
    EXPECT_EQ(q.FieldByName("TIERID").AsInteger(), berta);
    EXPECT_EQ(TfrmErledigteTermine::NeueFelder().size(), 9);
    EXPECT_EQ(TfrmErledigteTermine::Felder.split(';').size(), 9);
}

TEST_F(ErledigteTermineTest, EintragLoeschenBehaeltDenFestenTermin)
{
    TfrmErledigteTermine d(DM()->Datenbank, nullptr, &ErledigteTermineTest::Wahl);
    d.Von()->setText("01.01.2024");
    d.Bis()->setText("31.01.2024");
    d.Feste()->setChecked(true);
    d.Tierbezogene()->setChecked(true);
    d.VorAusgabe();
    TfrmListeNormal* fenster =
        FListeNormal::ListeAnzeigenEx(nullptr, -20, -1, d.Titelzusatz, d.DatenSQL, d.SchnellwahlSQL,
                                      true, false, TfrmErledigteTermine::Fensterklasse(), true, {});
    auto* liste = qobject_cast<TfrmListeErledigteTermine*>(fenster);
    ASSERT_NE(liste, nullptr);
    EXPECT_EQ(liste->windowTitle(), "Erledigte Termine (von 01.01.2024 bis 31.01.2024)");
    ASSERT_EQ(liste->GetAnzahl(), 2);
    ASSERT_TRUE(DBTools::LocateInteger(liste->QDaten(), "ID", fest, false));
    ASSERT_TRUE(liste->QDaten().FieldByName("TIERID").IsNull());
    liste->actEintragLoeschen->trigger();
    EXPECT_EQ(liste->GetAnzahl(), 1);
    EXPECT_EQ(Wert(QStringLiteral("SELECT TEXT || ' ' || COALESCE(ERLEDIGT, 'offen') || ' ' || "
                                  "COALESCE(BEMERKUNG, '-') FROM T_TERMINE WHERE ID = %1")
                       .arg(fest)),
              "Zaun offen -");

    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes);
    liste->AktionenAktualisieren();
    EXPECT_TRUE(liste->actAlleEintraegeLoeschen->isEnabled());
    liste->actAlleEintraegeLoeschen->trigger();
    EXPECT_EQ(boxen.Shown()[0].text, "Sollen wirklich alle Einträge gelöscht werden?");
    EXPECT_EQ(liste->GetAnzahl(), 0);
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_TERMINE_ERLEDIGEN"), 0);
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_TERMINE"), 1);
    liste->AktionenAktualisieren();
    EXPECT_FALSE(liste->actAlleEintraegeLoeschen->isEnabled());
    liste->close();
}

// A design made with "Neu" in the dialog's chooser gets the fields of the data SQL, named as that
// SQL names its columns; the list window shows them.
TEST_F(ErledigteTermineTest, NeuesDesignZeigtDieErledigtenTermine)
{
    struct Editor {
        Editor()
        {
            InternListeWahl::ListenDesignBildschirmStarten = [](QWidget*, int, const QString&) {};
        }
        ~Editor() { InternListeWahl::ListenDesignBildschirmStarten = nullptr; }
    } editor;
    MessageBoxScript boxen;
    // Windows of earlier tests, watched so that a new window at a freed address is not taken
    // for one of them.
    QList<QPointer<TfrmListeErledigteTermine>> vorher;
    for (QWidget* w : QApplication::allWidgets())
        if (auto* f = qobject_cast<TfrmListeErledigteTermine*>(w))
            vorher << f;
    TfrmErledigteTermine d(DM()->Datenbank);
    d.Von()->setText("01.01.2024");
    d.Bis()->setText("31.01.2024");
    d.Feste()->setChecked(true);
    d.Tierbezogene()->setChecked(true);
    d.show();
    auto* wahl = d.findChild<TframeInternListeWahl*>();
    ASSERT_NE(wahl, nullptr);
    QTest::mouseClick(wahl->Knopf("Mehr"), Qt::LeftButton);
    {
        MessageBoxScript skript;
        skript.Window<TNeuerWert>([](TNeuerWert& n) {
            n.Edits()[0]->setText("Januar");
            n.Edits()[1]->setText("Erledigt im Januar");
            n.accept();
        });
        QTest::mouseClick(wahl->Knopf("Neu"), Qt::LeftButton);
    }
    const int design = wahl->FokusID();
    ASSERT_LT(design, 0);
    // The chooser's column shows its whole title.
    const QHeaderView* kopf = wahl->ListeView()->horizontalHeader();
    int bezeichnung = -1;
    for (int i = 0; i < kopf->count(); ++i)
        if (kopf->model()->headerData(i, Qt::Horizontal).toString() == "Bezeichnung")
            bezeichnung = i;
    ASSERT_GE(bezeichnung, 0);
    EXPECT_GE(kopf->sectionSize(bezeichnung),
              kopf->fontMetrics().horizontalAdvance("Bezeichnung") + 8);
    EXPECT_LE(kopf->sectionPosition(bezeichnung) + kopf->sectionSize(bezeichnung),
              wahl->ListeView()->viewport()->width());
    Bildschirmfoto(d, "ErledigteTermine.png");
    for (int r = 0; r < wahl->QListen().RecordCount(); ++r)
        wahl->ListeView()->DataController()->SetValues(
            r, wahl->AuswahlSpalte(),
            wahl->QListen().ValueAt(r, wahl->QListen().FieldByName("ID").Index()).AsInteger() ==
                design);
    QTest::mouseClick(wahl->Knopf("Anzeigen"), Qt::LeftButton);
    EXPECT_TRUE(boxen.Shown().isEmpty());

    TfrmListeErledigteTermine* liste = nullptr;
    const auto neueListe = [&] {
        for (QWidget* w : QApplication::allWidgets())
            if (auto* f = qobject_cast<TfrmListeErledigteTermine*>(w); f && !vorher.contains(f))
                liste = f;
        return liste != nullptr;
    };
    ASSERT_TRUE(QTest::qWaitFor(neueListe));
    EXPECT_EQ(liste->windowTitle(), "Erledigt im Januar (von 01.01.2024 bis 31.01.2024)");
    ASSERT_EQ(liste->GetAnzahl(), 2);
    // A design without a symbol carries the list choice's picture, not the toolkit's logo.
    EXPECT_EQ(liste->windowIcon().pixmap(16).toImage(), Symbolbild(6).pixmap(16).toImage());
    TZRcxGridDBTableView* v = liste->Grid()->GetTableView();
    QStringList titel;
    for (int i = 0; i < v->horizontalHeader()->count(); ++i)
        titel << v->model()
                     ->headerData(v->horizontalHeader()->logicalIndex(i), Qt::Horizontal)
                     .toString();
    EXPECT_EQ(titel, (QStringList{"ID", "Tier-ID", "KNR", "Name", "Nummer", "Datum", "Text",
                                  "Erledigt", "Bemerkung"}));
    QStringList texte;
    for (int r = 0; r < 2; ++r)
        texte << v->model()->index(r, v->horizontalHeader()->logicalIndex(6)).data().toString();
    texte.sort();
    EXPECT_EQ(texte, (QStringList{"Impfen", "Zaun"}));
    liste->close();
    delete liste;
}

}  // namespace
