#include "ListenExportLeser.h"

#include <FrameInternListeWahl.h>
#include <InternListeWahl.h>
#include <ListenExport.h>

#include <Datenmodul.h>
#include <Grundeinstellungen.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <NeuWert.h>
#include <Query.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>
#include <Transaction.h>
#include <ZRcxGridDBTableView.h>
#include <ZRcxGridDataController.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <VorschauFenster.h>

#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(InternListeWahlRegeln, HakenUndStandard)
{
    const QList<int> ids{-5, -3, -9};
    struct Fall {
        QString standard;
        std::vector<bool> haken;
    };
    for (const Fall& fall :
         {Fall{"", {true, false, false}}, Fall{"-9", {false, false, true}},
          Fall{"-9;abc;-77;-3", {false, true, true}}, Fall{" -5 ; -3 ", {true, true, false}},
          Fall{"-1", {false, false, false}}, Fall{"abc", {false, false, false}}}) {
        SCOPED_TRACE(fall.standard.toStdString());
        EXPECT_EQ(InternListeWahl::Haken(ids, fall.standard), fall.haken);
    }
    EXPECT_EQ(InternListeWahl::StandardIDs("-2;x;;7"), (QList<int>{-2, -1, -1, 7}));
    EXPECT_TRUE(InternListeWahl::Haken({}, "").empty());
    EXPECT_EQ(InternListeWahl::StandardText(ids, {true, false, true}), "-5;-9");
    EXPECT_EQ(InternListeWahl::StandardText(ids, {false, false, false}), "");
}

// Three designs of the dialog's list type, one of another type and a user list that names the
// type too; Beta has screen, print and line rows.
class InternListeWahlTest : public ::testing::Test {
protected:
    static constexpr int Alpha = -5, Beta = -3, Gamma = -9;
    static inline const QString Sql = QStringLiteral(
        "SELECT Q1.ID AS Q1TIERID, Q1.NUMMER AS Q1NUMMER FROM T_STAMMDATEN Q1 "
        "ORDER BY Q1.NUMMER");

    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        Ausfuehren({"ALTER SEQUENCE G_LISTEN_ID_INTERN RESTART WITH -20",
                    "INSERT INTO T_STAMMDATEN (ID, NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) VALUES "
                    "(1, 'DE 01', 'Ölke', DATE '2020-02-03', 'W', 1)",
                    "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, BEDINGUNGEN) VALUES (-3, "
                    "'Beta', 'Titel B', 'TESTLISTE')",
                    "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, BEDINGUNGEN) VALUES (-5, "
                    "'Alpha', 'Titel A', 'TESTLISTE')",
                    "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, BEDINGUNGEN) VALUES (-9, "
                    "'Gamma', 'Titel G', 'TESTLISTE')",
                    "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, BEDINGUNGEN) VALUES (-11, "
                    "'Aaa', 'Andere', 'ANDERE')",
                    "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, BEDINGUNGEN) VALUES (12, 'Aab', "
                    "'Benutzer', 'TESTLISTE')",
                    "INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, TITEL) VALUES (-3, 'Q1.NUMMER', "
                    "'Ohrmarke')",
                    "INSERT INTO T_LISTEN_DRUCK (LISTE, FELD, TITEL, L_POSITION, BREITE) VALUES "
                    "(-3, 'Q1.NUMMER', 'Ohrmarke', 0, 30)",
                    "INSERT INTO T_LISTEN_LINIEN (LISTE, L_POSITION) VALUES (-3, 10)",
                    "INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, TITEL) VALUES (-9, 'Q1.NUMMER', "
                    "'Nummer G')"});
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        DM()->Datenbank.Open(TestDatabase::Params(datenbank.Path()));
        DM()->DBFehlerOeffnen();
        daten = std::make_unique<db::DataSet>(DM()->TAStammdaten);
        DM()->TAStammdaten.Start();
        daten->SetSelectSQL(Sql);
        daten->Open();
    }
    void TearDown() override
    {
        frame.reset();
        daten.reset();
        QList<QPointer<TfrmListeNormal>> fenster;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<TfrmListeNormal*>(w))
                fenster << f;
        for (const QPointer<TfrmListeNormal>& f : fenster)
            delete f.data();
        ListenExport::DateiWaehlen = nullptr;
        InternListeWahl::ListenDesignBildschirmStarten = nullptr;
        InternListeWahl::ListenDesignDruckStarten = nullptr;
        InternListeWahl::ListeInDateiSpeichern = nullptr;
        InternListeWahl::ListeAusDateiLaden = nullptr;
        EinstellungenFreigeben();
        DMFreigeben();
    }

    void Ausfuehren(const QStringList& sql)
    {
        db::Transaction tr(datenbank.Db());
        tr.Start();
        for (const QString& s : sql)
            db::Query(tr, s).Execute();
        tr.Commit();
    }
    // A committed value, read in a transaction of its own.
    int Zahl(const QString& sql)
    {
        db::Transaction tr(datenbank.Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        return q.Eof() ? -1 : q.Field(0).AsInteger();
    }
    QString Text(const QString& sql)
    {
        db::Transaction tr(datenbank.Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        return q.Eof() ? QString() : q.Field(0).AsString();
    }

    void Erzeugen(bool mitBildschirm = true, const QString& standard = {},
                  const QString& typ = "TESTLISTE")
    {
        frame = std::make_unique<TframeInternListeWahl>(DM()->Datenbank);
        frame->ListenTyp = typ;
        frame->Felder = "Q1.TIERID;Q1.NUMMER";
        frame->StandardDesigns = standard;
        frame->Daten = daten.get();
        frame->DatenSQL = Sql;
        frame->Titelzusatz = "von 01.01.2024 bis 31.12.2024";
        frame->OnNachAusgabe = [this](TframeInternListeWahl&) { ++nachAusgabe; };
        frame->OnVorAusgabe = [this](TframeInternListeWahl&) { ++vorAusgabe; };
        frame->Initialisieren(mitBildschirm);
        frame->resize(500, 360);
        frame->show();
        QApplication::processEvents();
    }
    QStringList Namen() const
    {
        QStringList namen;
        db::DataSet& l = frame->QListen();
        for (int r = 0; r < l.RecordCount(); ++r)
            namen << l.ValueAt(r, l.FieldByName("BEZEICHNUNG").Index()).AsString();
        return namen;
    }
    std::vector<bool> Haken() const
    {
        std::vector<bool> h;
        for (int r = 0; r < frame->QListen().RecordCount(); ++r)
            h.push_back(
                frame->ListeView()->DataController()->Values(r, frame->AuswahlSpalte()).toBool());
        return h;
    }
    void Ankreuzen(int zeile, bool an)
    {
        frame->ListeView()->DataController()->SetValues(zeile, frame->AuswahlSpalte(), an);
    }
    void Fokus(int zeile)
    {
        TZRcxGridDBTableView* v = frame->ListeView();
        v->setCurrentIndex(v->model()->index(zeile, 1));
    }
    void Klick(const QString& knopf)
    {
        QPushButton* k = frame->Knopf(knopf);
        ASSERT_NE(k, nullptr) << knopf.toStdString();
        ASSERT_TRUE(k->isVisible() && k->isEnabled()) << knopf.toStdString();
        QTest::mouseClick(k, Qt::LeftButton);
    }
    static void Werte(MessageBoxScript& skript, const QStringList& werte,
                      QStringList* vorher = nullptr, QString* titel = nullptr)
    {
        skript.Window<TNeuerWert>([werte, vorher, titel](TNeuerWert& d) {
            if (vorher)
                for (QLineEdit* e : d.Edits())
                    *vorher << e->text();
            if (titel)
                *titel = d.windowTitle();
            for (int i = 0; i < werte.size(); ++i)
                d.Edits()[i]->setText(werte[i]);
            d.accept();
        });
    }

    TestDatabase datenbank;
    QTemporaryDir ordner;
    ScopedEnv datenHome{"XDG_DATA_HOME", ordner.path().toLocal8Bit()};
    std::unique_ptr<db::DataSet> daten;
    std::unique_ptr<TframeInternListeWahl> frame;
    int nachAusgabe = 0;
    int vorAusgabe = 0;
};

TEST_F(InternListeWahlTest, ListetNurDieDesignsDerListenart)
{
    Erzeugen();
    EXPECT_EQ(Namen(), (QStringList{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(Haken(), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(frame->FokusID(), Alpha);
    EXPECT_EQ(frame->Knopf("Exportieren"), nullptr);
    for (const char* k : {"Anzeigen", "Vorschau", "Drucken", "Mehr", "Hilfe", "Schliessen"})
        EXPECT_TRUE(frame->Knopf(k)->isVisible() && frame->Knopf(k)->isEnabled()) << k;
    for (const char* k : {"Neu", "BearbeitenBildschirm", "BearbeitenDruck", "Umbenennen",
                          "Loeschen", "Laden", "Speichern", "Standard"})
        EXPECT_FALSE(frame->Knopf(k)->isVisible()) << k;

    Klick("Mehr");
    EXPECT_FALSE(frame->Knopf("Mehr")->isEnabled());
    for (const char* k : {"Neu", "BearbeitenBildschirm", "BearbeitenDruck", "Umbenennen",
                          "Loeschen", "Laden", "Speichern", "Standard"})
        EXPECT_TRUE(frame->Knopf(k)->isVisible() && frame->Knopf(k)->isEnabled()) << k;
    EXPECT_EQ(frame->Knopf("BearbeitenDruck")->toolTip(), "Bearbeiten der Druckausgabe");
    Bildschirmfoto(*frame, "internlistewahl.png");
}

TEST_F(InternListeWahlTest, StandardauswahlMitGeloeschtemDesign)
{
    Erzeugen(true, "-9;-77;x;-3");
    EXPECT_EQ(Haken(), (std::vector<bool>{false, true, true}));
    Ankreuzen(0, true);
    Ankreuzen(1, false);
    Klick("Mehr");
    Klick("Standard");
    EXPECT_EQ(frame->StandardDesigns, "-5;-9");
}

TEST_F(InternListeWahlTest, OhneDesignsSindDieAusgabenAus)
{
    Erzeugen(false, {}, "LEER");
    EXPECT_EQ(frame->ListeView()->Leertext(), "< Keine Listen-Designs vorhanden >");
    EXPECT_EQ(frame->Knopf("Anzeigen"), nullptr);
    for (const char* k : {"Vorschau", "Drucken", "Exportieren"})
        EXPECT_FALSE(frame->Knopf(k)->isEnabled()) << k;
    Klick("Mehr");
    EXPECT_TRUE(frame->Knopf("Neu")->isEnabled());
    EXPECT_TRUE(frame->Knopf("Laden")->isEnabled());
    EXPECT_EQ(frame->Knopf("BearbeitenBildschirm"), nullptr);
    for (const char* k : {"BearbeitenDruck", "Umbenennen", "Loeschen", "Speichern", "Standard"})
        EXPECT_FALSE(frame->Knopf(k)->isEnabled()) << k;
}

TEST_F(InternListeWahlTest, NeuZaehltAbwaertsUndLegtDieFelderDesGastgebersAn)
{
    // A database that gives every new list its fields on its own must not double the host's.
    Ausfuehren(
        {"CREATE TRIGGER T_TEST_AUTO FOR T_LISTEN ACTIVE AFTER INSERT AS BEGIN "
         "INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, TITEL) VALUES (NEW.ID, 'AUTO', 'Auto'); "
         "INSERT INTO T_LISTEN_DRUCK (LISTE, FELD, TITEL) VALUES (NEW.ID, 'AUTO', 'Auto'); END"});
    Erzeugen();
    frame->OnBildschirmFelderAnlegen = [](TframeInternListeWahl& f, int id) {
        f.BildschirmFeldAnlegen(id, "Q1.NUMMER", "Ohrmarke", 90);
        f.BildschirmFeldAnlegen(id, "Q1.TIERID", "Tier", 40);
    };
    frame->OnDruckFelderAnlegen = [](TframeInternListeWahl& f, int id) {
        f.DruckFeldAnlegen(id, "Q1.NUMMER", "Ohrmarke", 12, 30);
    };
    QList<QPair<int, QString>> editor;
    InternListeWahl::ListenDesignBildschirmStarten = [&](QWidget*, int id, const QString& sql) {
        editor << qMakePair(id, sql);
    };
    Klick("Mehr");
    QString titel;
    {
        MessageBoxScript skript;
        Werte(skript, {"Delta", "Titel Ä"}, nullptr, &titel);
        Werte(skript, {"Epsilon", "E"});
        Klick("Neu");
        Klick("Neu");
    }
    EXPECT_EQ(titel, "Neues Design");
    EXPECT_EQ(editor, (QList<QPair<int, QString>>{{-21, Sql}, {-22, Sql}}));
    EXPECT_EQ(frame->FokusID(), -22);
    EXPECT_EQ(Namen(), (QStringList{"Alpha", "Beta", "Delta", "Epsilon", "Gamma"}));
    EXPECT_EQ(vorAusgabe, 2);
    // Committed: another transaction sees it.
    EXPECT_EQ(
        Text("SELECT BEZEICHNUNG || '|' || TITEL || '|' || FELDER || '|' || BEDINGUNGEN || '|' "
             "|| LINIE_UEBER_TITEL || LINIE_UNTER_TITEL || LINIE_ZWISCHEN || LINIE_UNTEN "
             "FROM T_LISTEN WHERE ID = -21"),
        "Delta|Titel Ä|Q1.TIERID;Q1.NUMMER|TESTLISTE|FFFF");
    EXPECT_EQ(
        Text("SELECT LIST(FELD || ':' || TITEL || ':' || BREITE || ':' || ZEILE || SICHTBAR || "
             "AUTOBREITE || UEBERSCHRIFT, ',') FROM (SELECT * FROM T_LISTEN_BILDSCHIRM WHERE "
             "LISTE = -21 ORDER BY ID)"),
        "Q1.NUMMER:Ohrmarke:90:1TTF,Q1.TIERID:Tier:40:1TTF");
    EXPECT_EQ(Text("SELECT LIST(FELD || ':' || L_POSITION || ':' || BREITE || ':' || ZEILE || "
                   "SICHTBAR || ZEILENUMBRUCH || LEERZEILE || SCHRIFTSCHMAL, ',') FROM "
                   "T_LISTEN_DRUCK WHERE LISTE = -21"),
              "Q1.NUMMER:12:30:1TFFF");
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_LISTEN_BILDSCHIRM WHERE LISTE = -21"), 2);
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_LISTEN_DRUCK WHERE LISTE = -21"), 1);
    // The helpers work only while a design is made.
    MessageBoxScript boxen;
    EXPECT_THROW(frame->BildschirmFeldAnlegen(-21, "X", "X", 1), std::logic_error);
}

TEST_F(InternListeWahlTest, NeuOhneBildschirmOeffnetDenDruckEditor)
{
    Erzeugen(false);
    frame->OnDruckFelderAnlegen = [](TframeInternListeWahl& f, int id) {
        f.DruckFeldAnlegen(id, "Q1.NUMMER", "Ohrmarke", 0, 30);
    };
    QList<int> editor;
    InternListeWahl::ListenDesignDruckStarten = [&](QWidget*, int id, db::DataSet* d) {
        EXPECT_EQ(d, daten.get());
        editor << id;
    };
    Klick("Mehr");
    MessageBoxScript skript;
    Werte(skript, {"Delta", "D"});
    Klick("Neu");
    EXPECT_EQ(editor, QList<int>{-21});
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_LISTEN_BILDSCHIRM WHERE LISTE = -21"), 0);
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_LISTEN_DRUCK WHERE LISTE = -21"), 1);
}

TEST_F(InternListeWahlTest, FehlerBeimAnlegenLaesstNichtsZurueck)
{
    Erzeugen();
    frame->OnBildschirmFelderAnlegen = [](TframeInternListeWahl& f, int id) {
        f.BildschirmFeldAnlegen(id, "Q1.NUMMER", "Ohrmarke", 90);
        throw std::runtime_error("Feld fehlt");
    };
    Klick("Mehr");
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    MessageBoxScript skript;
    Werte(skript, {"Delta", "D"});
    Klick("Neu");
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text, "Feld fehlt");
    frame->Schliessen();
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_LISTEN WHERE BEZEICHNUNG = 'Delta'"), 0);
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_LISTEN_BILDSCHIRM WHERE LISTE = -21"), 0);
}

TEST_F(InternListeWahlTest, UmbenennenSchreibtSofort)
{
    Erzeugen();
    Fokus(1);
    ASSERT_EQ(frame->FokusID(), Beta);
    Klick("Mehr");
    QStringList vorher;
    QString titel;
    MessageBoxScript skript;
    Werte(skript, {"Zeta", "Neuer Titel"}, &vorher, &titel);
    Klick("Umbenennen");
    EXPECT_EQ(vorher, (QStringList{"Beta", "Titel B"}));
    EXPECT_EQ(titel, "Umbenennen");
    EXPECT_EQ(Text("SELECT BEZEICHNUNG || '|' || TITEL FROM T_LISTEN WHERE ID = -3"),
              "Zeta|Neuer Titel");
    EXPECT_EQ(Namen(), (QStringList{"Alpha", "Gamma", "Zeta"}));
    EXPECT_EQ(frame->FokusID(), Beta);
}

TEST_F(InternListeWahlTest, LoeschenNimmtDieKindzeilenMitAuchOhneKaskade)
{
    Ausfuehren({"ALTER TABLE T_LISTEN_BILDSCHIRM DROP CONSTRAINT FK_LISTEN_BILDSCHIRM_LISTE",
                "ALTER TABLE T_LISTEN_DRUCK DROP CONSTRAINT FK_LISTEN_DRUCK_LISTE",
                "ALTER TABLE T_LISTEN_LINIEN DROP CONSTRAINT FK_LISTEN_LINIEN_LISTE"});
    Erzeugen();
    Fokus(1);
    Klick("Mehr");
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrNo).AnswerWith(Tools::mrYes);
    Klick("Loeschen");
    EXPECT_EQ(Namen(), (QStringList{"Alpha", "Beta", "Gamma"}));
    Fokus(1);
    Klick("Loeschen");
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(boxen.Shown()[1].text, "Wollen Sie das Design wirklich löschen?");
    EXPECT_EQ(Namen(), (QStringList{"Alpha", "Gamma"}));
    frame->Schliessen();
    for (const char* t : {"T_LISTEN_BILDSCHIRM", "T_LISTEN_DRUCK", "T_LISTEN_LINIEN"})
        EXPECT_EQ(Zahl(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE LISTE = -3").arg(t)), 0) << t;
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_LISTEN WHERE ID = -3"), 0);
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_LISTEN_BILDSCHIRM WHERE LISTE = -9"), 1);
}

TEST_F(InternListeWahlTest, AbgelehntesLoeschenBehaeltDieKindzeilen)
{
    Ausfuehren({"ALTER TABLE T_LISTEN_BILDSCHIRM DROP CONSTRAINT FK_LISTEN_BILDSCHIRM_LISTE",
                "CREATE EXCEPTION E_TEST_NEIN 'Das Design wird noch gebraucht'",
                "CREATE TRIGGER T_TEST_NEIN FOR T_LISTEN ACTIVE BEFORE DELETE AS BEGIN "
                "IF (OLD.ID = -9) THEN EXCEPTION E_TEST_NEIN; END"});
    Erzeugen();
    Fokus(2);
    ASSERT_EQ(frame->FokusID(), Gamma);
    Klick("Mehr");
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrYes).AnswerWith(Tools::mrOk);
    Klick("Loeschen");
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_TRUE(boxen.Shown()[1].text.contains("Das Design wird noch gebraucht"));
    frame->Schliessen();
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_LISTEN WHERE ID = -9"), 1);
    EXPECT_EQ(Zahl("SELECT COUNT(*) FROM T_LISTEN_BILDSCHIRM WHERE LISTE = -9"), 1);
}

// Stands in for the list exchange file of the list designer: the design's name, title and
// screen fields as XML.
void XmlSpeichern(db::Database& datenbank, int id, const QString& datei)
{
    db::Transaction tr(datenbank);
    tr.Start();
    db::Query l(tr, "SELECT BEZEICHNUNG, TITEL, BEDINGUNGEN FROM T_LISTEN WHERE ID = :ID");
    l.Param("ID").SetInteger(id);
    l.Open();
    QFile f(datei);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QXmlStreamWriter x(&f);
    x.writeStartDocument();
    x.writeStartElement("Liste");
    x.writeAttribute("Art", l.Field("BEDINGUNGEN").AsString());
    x.writeTextElement("Bezeichnung", l.Field("BEZEICHNUNG").AsString());
    x.writeTextElement("Titel", l.Field("TITEL").AsString());
    db::Query b(tr, "SELECT FELD, TITEL FROM T_LISTEN_BILDSCHIRM WHERE LISTE = :ID ORDER BY ID");
    b.Param("ID").SetInteger(id);
    for (b.Open(); !b.Eof(); b.Next()) {
        x.writeStartElement("Feld");
        x.writeAttribute("Titel", b.Field("TITEL").AsString());
        x.writeCharacters(b.Field("FELD").AsString());
        x.writeEndElement();
    }
    x.writeEndDocument();
}

int XmlLaden(db::Database& datenbank, const QString& datei, const QString& typ)
{
    QFile f(datei);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader x(&f);
    QString bezeichnung, titel;
    QList<QPair<QString, QString>> felder;
    while (x.readNextStartElement()) {
        if (x.name() == u"Liste") {
            if (x.attributes().value("Art") != typ)
                throw std::runtime_error("Die Datei passt nicht zur Listenart");
            continue;
        }
        if (x.name() == u"Bezeichnung")
            bezeichnung = x.readElementText();
        else if (x.name() == u"Titel")
            titel = x.readElementText();
        else if (x.name() == u"Feld") {
            const QString t = x.attributes().value("Titel").toString();
            felder << qMakePair(x.readElementText(), t);
        }
    }
    db::Transaction tr(datenbank);
    tr.Start();
    const int id = InternListeWahl::DesignAnlegen(tr, bezeichnung + " (2)", titel, {}, typ);
    db::Query b(tr, "INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, TITEL) VALUES (:L, :F, :T)");
    for (const auto& [feld, t] : felder) {
        b.Param("L").SetInteger(id);
        b.Param("F").SetString(feld);
        b.Param("T").SetString(t);
        b.Execute();
    }
    tr.Commit();
    return id;
}

TEST_F(InternListeWahlTest, SpeichernUndLadenAlsXml)
{
    InternListeWahl::ListeInDateiSpeichern = [this](int id, const QString& datei) {
        XmlSpeichern(DM()->Datenbank, id, datei);
    };
    InternListeWahl::ListeAusDateiLaden = [this](const QString& datei, const QString& typ) {
        return XmlLaden(DM()->Datenbank, datei, typ);
    };
    Erzeugen();
    Fokus(1);
    Klick("Mehr");
    const QString datei = ordner.filePath("Beta.xml");
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk).AnswerWith(Tools::mrOk);
    {
        MessageBoxScript skript;
        skript.Window<QFileDialog>([this](QFileDialog& d) {
            EXPECT_EQ(d.windowTitle(), "Liste in Datei speichern");
            EXPECT_EQ(d.nameFilters(), QStringList{"Listen Austauschformat (*.xml)"});
            EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
            d.setDirectory(ordner.path());
            static_cast<QDialog&>(d).accept();
        });
        Klick("Speichern");
        skript.Window<QFileDialog>([datei](QFileDialog& d) {
            EXPECT_EQ(d.windowTitle(), "Liste aus Datei laden");
            EXPECT_EQ(d.fileMode(), QFileDialog::ExistingFile);
            d.selectFile(datei);
            static_cast<QDialog&>(d).accept();
        });
        Klick("Laden");
    }
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(
        boxen.Shown()[0].text,
        QStringLiteral("Die Liste \"Beta\" wurde in die Datei\r\"%1\"\rgespeichert.").arg(datei));
    EXPECT_EQ(boxen.Shown()[1].text,
              QStringLiteral("Die Liste \"Beta (2)\" wurde aus der Datei\r\"%1\"\reingelesen.")
                  .arg(datei));
    EXPECT_EQ(frame->FokusID(), -21);
    EXPECT_EQ(Namen(), (QStringList{"Alpha", "Beta", "Beta (2)", "Gamma"}));
    EXPECT_EQ(Text("SELECT TITEL FROM T_LISTEN WHERE ID = -21"), "Titel B");
    EXPECT_EQ(Text("SELECT FELD || '=' || TITEL FROM T_LISTEN_BILDSCHIRM WHERE LISTE = -21"),
              "Q1.NUMMER=Ohrmarke");
}

TEST_F(InternListeWahlTest, AusgabeFuerJedesAngekreuzteDesign)
{
    Erzeugen(false);
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    Ankreuzen(0, false);
    Klick("Drucken");
    Ankreuzen(0, true);
    Ankreuzen(2, true);
    // Every ticked design comes up in the print preview, one after the other.
    QStringList vorschauen;
    boxen.EveryWindow<TfmPreview>([&](TfmPreview& form) {
        vorschauen << form.windowTitle();
        form.reject();
    });
    Klick("Vorschau");
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text, "Wählen Sie ein Design aus");
    EXPECT_EQ(vorschauen.size(), 2) << vorschauen.join('|').toStdString();
    EXPECT_EQ(vorAusgabe, 2);

    // Export: the host's rows under each design's titles.
    Ankreuzen(0, false);
    const QString datei = ordner.filePath("gamma.csv");
    {
        MessageBoxScript skript;
        skript.Window<TfrmListenExport>([](TfrmListenExport& d) {
            ExportLeser::Anklicken(d.FormatKnopf(ListenExport::Format::CSV));
            d.accept();
        });
        ListenExport::DateiWaehlen = [datei](QWidget*, const QString&, const QString&,
                                             const QString& vorschlag) {
            EXPECT_EQ(vorschlag, "von 01.01.2024 bis 31.12.2024.csv");
            return datei;
        };
        Klick("Exportieren");
    }
    EXPECT_EQ(ExportLeser::Zeilen(ExportLeser::Lesen(datei)),
              (QList<QStringList>{{"Q1TIERID", "Nummer G"}, {"1", "DE 01"}}));
    EXPECT_EQ(nachAusgabe, 0);

    Klick("Schliessen");
    EXPECT_EQ(nachAusgabe, 1);
}

TEST_F(InternListeWahlTest, AnzeigenOeffnetEinFensterJeDesign)
{
    Erzeugen(true);
    Ankreuzen(2, true);
    QList<int> klassen;
    frame->OnFensterklasse = [&](TframeInternListeWahl&, FListeNormal::Fensterklasse& k) {
        k = [&](db::Database& d, QWidget* p) {
            klassen << 1;
            return new TfrmListeNormal(d, p);
        };
    };
    Klick("Anzeigen");
    EXPECT_EQ(klassen.size(), 2);
    EXPECT_EQ(nachAusgabe, 1);
    QStringList titel;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<TfrmListeNormal*>(w)) {
            titel << f->windowTitle();
            EXPECT_EQ(f->GetAnzahl(), 1);
        }
    titel.sort();
    EXPECT_EQ(titel, (QStringList{"Titel A (von 01.01.2024 bis 31.12.2024)",
                                  "Titel G (von 01.01.2024 bis 31.12.2024)"}));
}

}  // namespace
