#include <Besamungsstation.h>
#include <Betriebsgruppe.h>
#include <Betriebsstaette.h>
#include <Datenmodul.h>
#include <FGrundeinstellungen.h>
#include <Grundeinstellungen.h>
#include <Haupt.h>
#include <KernAktionen.h>

#include <DBZRBaseEdit.h>
#include <DataSetModel.h>
#include <Query.h>
#include <Transaction.h>
#include <ZRPropGrid.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using Kat = GrundeinstellungenDaten::TGrundKat;

namespace {

// Reads the INI file on its own, line by line: "[section]" and "key=value".
std::optional<QString> IniLesen(const QString& pfad, const QString& sektion,
                                const QString& schluessel)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString aktuell;
    for (const QByteArray& roh : f.readAll().split('\n')) {
        const QString zeile = QString::fromUtf8(roh).trimmed();
        if (zeile.startsWith(QLatin1Char('[')) && zeile.endsWith(QLatin1Char(']'))) {
            aktuell = zeile.mid(1, zeile.size() - 2);
            continue;
        }
        const qsizetype gleich = zeile.indexOf(QLatin1Char('='));
        if (gleich > 0 && aktuell.compare(sektion, Qt::CaseInsensitive) == 0 &&
            zeile.left(gleich).compare(schluessel, Qt::CaseInsensitive) == 0)
            return zeile.mid(gleich + 1);
    }
    return std::nullopt;
}

QByteArray Inhalt(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<keine Datei>");
}

void Tippen(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
}

// Chooses an entry with the keyboard, as the user does on a closed combo box.
void Waehlen(QComboBox* box, const QString& text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < box->count() && box->currentText() != text; ++i)
        QTest::keyClick(box, Qt::Key_Down);
    ASSERT_EQ(box->currentText(), text);
}

class FGrundeinstellungenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TEinstellungen::Umgebung u;
        u.exeName = "/opt/bovantis/ZR_Bovantis";
        u.benutzerName = "maier";
        u.heute = [] { return QDate(2026, 12, 10); };
        e = std::make_unique<TEinstellungen>(&t.Db(), tmp.filePath("daten"), u);
        e->Laden();
        e->IniSpeichern();
    }

    void Ausfuehren(const QString& sql)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        {
            db::Query q(tr, sql);
            q.Execute();
        }
        tr.Commit();
    }
    // A committed farm-wide setting, as an earlier session left it.
    void Setzen(const QString& name, const QString& wert)
    {
        Ausfuehren(QStringLiteral("UPDATE OR INSERT INTO T_EINSTELLUNGEN (NAME, WERT) "
                                  "VALUES ('%1', '%2') MATCHING (NAME)")
                       .arg(name, wert));
        e->Laden();
    }
    // What another workstation reads: committed rows only.
    QString Wert(const QString& sql)
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        return q.Eof() ? QStringLiteral("<keine>") : q.Field(0).AsString().trimmed();
    }
    QString Gespeichert(const QString& name)
    {
        return Wert(QStringLiteral("SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = '%1'").arg(name));
    }
    QString AlleEinstellungen()
    {
        return Wert(
            "SELECT LIST(NAME || '=' || COALESCE(WERT, ''), '|') FROM "
            "(SELECT NAME, WERT FROM T_EINSTELLUNGEN ORDER BY NAME)");
    }
    QString Ini(const QString& sektion, const QString& schluessel)
    {
        return IniLesen(e->IniDateipfad(), sektion, schluessel).value_or("<fehlt>");
    }

    std::unique_ptr<TfrmGrundeinstellungen> Oeffnen()
    {
        auto dlg = std::make_unique<TfrmGrundeinstellungen>(*e, t.Db());
        dlg->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        QApplication::setActiveWindow(dlg.get());
        dlg->activateWindow();
        QApplication::processEvents();
        return dlg;
    }
    // Clicks the category in the list.
    void Seite(TfrmGrundeinstellungen& dlg, Kat kategorie)
    {
        QListWidget* liste = dlg.KategorieListe();
        const QRect r = liste->visualItemRect(liste->item(int(kategorie)));
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, r.center());
        QApplication::processEvents();
        ASSERT_EQ(liste->currentRow(), int(kategorie));
    }
    template <typename T>
    T* Feld(TfrmGrundeinstellungen& dlg, const char* name)
    {
        T* w = dlg.findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    void Klick(QWidget* w)
    {
        QTest::mouseClick(w, Qt::LeftButton);
        QApplication::processEvents();
    }
    // Types into a row of a property grid (rows count from 1) and leaves it with Enter.
    void Zeile(TZRPropGrid* g, int zeile, const QString& text)
    {
        g->setFocus();
        g->SetCell(1, zeile);
        for (int i = 0; i < 20 && !(g->Editor() && g->Editor()->isVisible()); ++i)
            QApplication::processEvents();
        TZRGridInplaceEdit* ed = g->Editor();
        ASSERT_TRUE(ed);
        ed->setFocus();
        ed->selectAll();
        if (text.isEmpty())
            QTest::keyClick(ed, Qt::Key_Delete);
        else
            QTest::keyClicks(ed, text);
        QTest::keyClick(ed, Qt::Key_Return);
        QApplication::processEvents();
    }
    // Picks the entry of a pick-list row.
    void Liste(TZRPropGrid* g, int zeile, const QString& text)
    {
        g->setFocus();
        g->SetCell(1, zeile);
        for (int i = 0; i < 20 && !(g->Editor() && g->Editor()->isVisible()); ++i)
            QApplication::processEvents();
        TZRGridInplaceEdit* ed = g->Editor();
        ASSERT_TRUE(ed);
        ed->setFocus();
        QTest::keyClick(ed, Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(ed->DroppedDown());
        QListWidget* liste = ed->Liste();
        while (liste->currentItem() && liste->currentItem()->text() != text &&
               liste->currentRow() + 1 < liste->count())
            QTest::keyClick(ed, Qt::Key_Down);
        QTest::keyClick(ed, Qt::Key_Return);
        QApplication::processEvents();
    }
    QString Zelle(TZRPropGrid* g, int zeile) const
    {
        return g->model()->index(zeile - 1, 1).data().toString();
    }

    QTemporaryDir tmp;
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.filePath("xdg-data").toLocal8Bit()};
    ScopedEnv configHome{"XDG_CONFIG_HOME", tmp.filePath("xdg-config").toLocal8Bit()};
    TestDatabase t;
    std::unique_ptr<TEinstellungen> e;
    // Every message box a test provokes must be expected: an unexpected one fails the test.
    MessageBoxScript boxen;
};

TEST_F(FGrundeinstellungenTest, OkSpeichertDieSeitenInEinemZug)
{
    auto dlg = Oeffnen();
    Tippen(Feld<QLineEdit>(*dlg, "edName"), "Hof Sonnenschein");
    Tippen(Feld<QLineEdit>(*dlg, "edPLZ"), "835120");  // at most five characters
    Tippen(Feld<QLineEdit>(*dlg, "edFlaeche"), "42,5");
    Waehlen(Feld<QComboBox>(*dlg, "cbWaehrung"), "DEM");
    Waehlen(Feld<QComboBox>(*dlg, "cbKNR"), "123456");

    Seite(*dlg, Kat::gkFruchtbarkeit);
    Tippen(Feld<QLineEdit>(*dlg, "edSOLL_KALBEN"), "285");

    Seite(*dlg, Kat::gkTermine);
    Klick(Feld<QCheckBox>(*dlg, "cbTermineStart"));
    auto* termine = Feld<TZRPropGrid>(*dlg, "grdTermine");
    Zeile(termine, 1, "9");
    Liste(termine, 2, "Nein");
    Liste(termine, 9, "mg / dl");

    Seite(*dlg, Kat::gkPrognosen);
    Tippen(Feld<QLineEdit>(*dlg, "edMaxKuhzahl"), "55");
    Klick(Feld<QCheckBox>(*dlg, "cbGVLinie"));

    Seite(*dlg, Kat::gkGV);
    auto* gv = Feld<TZRPropGrid>(*dlg, "grdGVSchluessel");
    Zeile(gv, 1, "Milchvieh");
    Zeile(gv, 3, "0,45");

    Seite(*dlg, Kat::gkHIT);
    Tippen(Feld<QLineEdit>(*dlg, "edMeldefrist"), "3");
    Klick(Feld<QCheckBox>(*dlg, "cbDFUE"));
    Klick(Feld<QCheckBox>(*dlg, "cbTiername"));

    Seite(*dlg, Kat::gkHITSystem);
    Tippen(Feld<QLineEdit>(*dlg, "edPrimaerAddr"), "hit.example.org");
    Tippen(Feld<QLineEdit>(*dlg, "edPortNormal"), "3333");
    Waehlen(Feld<QComboBox>(*dlg, "cbSystemart"), "Testsystem");

    Seite(*dlg, Kat::gkFarben);
    auto* farbe = Feld<QComboBox>(*dlg, "cbListenfarbe");
    farbe->setFocus();
    QTest::keyClick(farbe, Qt::Key_Home);
    QTest::keyClick(farbe, Qt::Key_Down);
    QTest::keyClick(farbe, Qt::Key_Down);
    Klick(Feld<QCheckBox>(*dlg, "cbSymbolHintergrund"));

    Seite(*dlg, Kat::gkSicherung);
    Tippen(Feld<QLineEdit>(*dlg, "edSicherungVerzeichnis"), "/srv/sicherung");
    Tippen(Feld<QLineEdit>(*dlg, "edAutoAnzahl"), "7");

    Seite(*dlg, Kat::gkUpdates);
    Waehlen(Feld<QComboBox>(*dlg, "cbUpdateIntervall"), "Nie");

    // Nothing is stored before "Ok".
    EXPECT_EQ(Gespeichert("Betrieb-Name"), "<keine>");
    EXPECT_EQ(Ini("AutoSicherung", "Anzahl"), "<fehlt>");

    Klick(dlg->OkKnopf());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_FALSE(e->InBearbeitung());

    struct Fall {
        const char* name;
        const char* wert;
    };
    const Fall datenbank[] = {
        {"Betrieb-Name", "Hof Sonnenschein"},
        {"Betrieb-PLZ", "83512"},
        {"Betrieb-Fläche", "42.5"},
        {"Standardwährung", "DEM"},
        {"KNRLaenge", "6"},
        {"Termin-Prog-Start-Anzeigen", "F"},
        {"Termin-Deckfähig-Vorher", "9"},
        {"Termin-Deckfähig-Rindern-Anzeigen", "F"},
        {"Harnstoff-Anzeige", "1"},
        {"Prognose-Max-Kuhzahl", "55"},
        {"GV-Linie", "F"},
        {"GV-Schluessel", "1"},
        {"HIT-Meldefrist", "3"},
        {"HIT-Geburt-Tiername", "T"},
        {"HIT-Primär-Addr", "hit.example.org"},
        {"HIT-Port-Normal", "3333"},
        {"HIT-Normal-Server", "F"},
        {"VersteckeSymbolHintergrund", "T"},
    };
    for (const Fall& f : datenbank)
        EXPECT_EQ(Gespeichert(QString::fromUtf8(f.name)), QString::fromUtf8(f.wert)) << f.name;
    EXPECT_EQ(Wert("SELECT SOLL_KALBEN FROM T_RASSEN WHERE ID = 1"), "285");
    EXPECT_EQ(Wert("SELECT BEZEICHNUNG || '/' || KALB6M FROM T_GV_SCHLUESSEL WHERE ID = 1"),
              "Milchvieh/0.45");

    const struct {
        const char* sektion;
        const char* schluessel;
        const char* wert;
    } ini[] = {
        {"DFÜ", "verwenden", "1"},
        {"Farbe", "Listenmuster", "2"},
        {"Sicherung", "Verzeichnis", "/srv/sicherung"},
        {"AutoSicherung", "Anzahl", "7"},
        {"Update", "UpdateIntervall", "0"},
    };
    for (const auto& f : ini)
        EXPECT_EQ(Ini(QString::fromUtf8(f.sektion), f.schluessel), f.wert) << f.schluessel;
}

TEST_F(FGrundeinstellungenTest, AbbrechenNimmtAllesZurueck)
{
    const QString einstellungen = AlleEinstellungen();
    const QByteArray ini = Inhalt(e->IniDateipfad());
    const QString rassen = Wert("SELECT LIST(ID) FROM T_RASSEN WHERE VERWENDET = 'T'");
    {
        boxen.AnswerWith(Tools::mrYes);
        auto dlg = Oeffnen();
        Tippen(Feld<QLineEdit>(*dlg, "edName"), "Hof Regen");

        Seite(*dlg, Kat::gkBetriebsgruppen);
        MessageBoxScript gruppe;
        gruppe.Window<TfrmBetriebsgruppe>([](TfrmBetriebsgruppe& g) {
            Tippen(g.BezeichnungEdit(), "Hof Nord");
            QTest::mouseClick(g.OkKnopf(), Qt::LeftButton);
        });
        Klick(Feld<QPushButton>(*dlg, "btnGruppeNeu"));
        EXPECT_TRUE(gruppe.PendingWindows() == 0);
        EXPECT_EQ(Feld<QTableView>(*dlg, "grdBetriebsgruppen")->model()->rowCount(), 2);

        Seite(*dlg, Kat::gkRassen);
        auto* gitter = Feld<QTableView>(*dlg, "grdRassen");
        const int vorher = gitter->model()->rowCount();
        ASSERT_GT(vorher, 0);
        gitter->setCurrentIndex(gitter->model()->index(0, 0));
        Klick(Feld<QPushButton>(*dlg, "btnRasseEntfernen"));
        EXPECT_EQ(gitter->model()->rowCount(), vorher - 1);

        Seite(*dlg, Kat::gkFarben);
        Feld<QComboBox>(*dlg, "cbListenfarbe")->setFocus();
        QTest::keyClick(Feld<QComboBox>(*dlg, "cbListenfarbe"), Qt::Key_Down);

        Seite(*dlg, Kat::gkHIT);
        Klick(Feld<QCheckBox>(*dlg, "cbMeldungAuto"));

        Klick(dlg->AbbrechenKnopf());
        EXPECT_EQ(dlg->result(), QDialog::Rejected);
        EXPECT_EQ(boxen.Shown().size(), 1);
    }
    EXPECT_FALSE(e->InBearbeitung());
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_BETRIEBSGRUPPEN"), "1");
    EXPECT_EQ(Wert("SELECT LIST(ID) FROM T_RASSEN WHERE VERWENDET = 'T'"), rassen);
    EXPECT_EQ(AlleEinstellungen(), einstellungen);
    EXPECT_EQ(Inhalt(e->IniDateipfad()), ini);
}

TEST_F(FGrundeinstellungenTest, NeueBetriebsgruppeWirdMitOkGespeichert)
{
    auto dlg = Oeffnen();
    Seite(*dlg, Kat::gkBetriebsgruppen);
    MessageBoxScript gruppe;
    gruppe.Window<TfrmBetriebsgruppe>([](TfrmBetriebsgruppe& g) {
        Tippen(g.BezeichnungEdit(), "Hof Nord");
        QTest::mouseClick(g.OkKnopf(), Qt::LeftButton);
    });
    Klick(Feld<QPushButton>(*dlg, "btnGruppeNeu"));
    ASSERT_TRUE(gruppe.PendingWindows() == 0);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_BETRIEBSGRUPPEN"), "1");
    Klick(dlg->OkKnopf());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(Wert("SELECT LIST(BEZEICHNUNG, ',') FROM (SELECT BEZEICHNUNG FROM "
                   "T_BETRIEBSGRUPPEN ORDER BY ID)"),
              "Betrieb,Hof Nord");
}

TEST_F(FGrundeinstellungenTest, BetriebsstaettenHinzufuegenUndEntfernen)
{
    Ausfuehren(
        "INSERT INTO T_BETRIEBSSTAETTEN (ID, BEZEICHNUNG, GRUPPE, STANDARD) "
        "VALUES (50, 'Alt', 1, 'F')");
    boxen.AnswerWith(Tools::mrYes);
    auto dlg = Oeffnen();
    Seite(*dlg, Kat::gkBetriebsstaetten);
    auto* gitter = Feld<QTableView>(*dlg, "grdBetriebsstaetten");
    ASSERT_EQ(gitter->model()->rowCount(), 2);
    MessageBoxScript neu;
    neu.Window<TfrmBetriebsstaette>([](TfrmBetriebsstaette& d) {
        EXPECT_EQ(d.GruppeAuswahl()->currentText(), "Betrieb");
        Tippen(d.BezeichnungEdit(), "Weide");
        QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
    });
    Klick(Feld<QPushButton>(*dlg, "btnStaetteNeu"));
    ASSERT_TRUE(neu.PendingWindows() == 0);
    EXPECT_EQ(gitter->model()->rowCount(), 3);
    const int name = static_cast<db::DataSetModel*>(gitter->model())->ColumnOfField("BEZEICHNUNG");
    // The new premises is focused; the old one is removed after the question.
    EXPECT_EQ(gitter->model()->index(gitter->currentIndex().row(), name).data().toString(),
              "Weide");
    for (int zeile = 0; zeile < gitter->model()->rowCount(); ++zeile)
        if (gitter->model()->index(zeile, name).data().toString() == "Alt")
            gitter->setCurrentIndex(gitter->model()->index(zeile, name));
    Klick(Feld<QPushButton>(*dlg, "btnStaetteEntfernen"));
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text, "Wollen Sie diese Betriebsstätte wirklich löschen?");
    EXPECT_EQ(gitter->model()->rowCount(), 2);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_BETRIEBSSTAETTEN WHERE BEZEICHNUNG = 'Alt'"), "1");
    Klick(dlg->OkKnopf());
    EXPECT_EQ(Wert("SELECT LIST(BEZEICHNUNG || GRUPPE || STANDARD, ',') FROM (SELECT * FROM "
                   "T_BETRIEBSSTAETTEN ORDER BY ID)"),
              "Stall1T,Weide1F");
}

TEST_F(FGrundeinstellungenTest, FalscheEingabenWerdenGemeldetUndNichtsGespeichert)
{
    struct Fall {
        Kat seite;
        const char* feld;
        const char* eingabe;
        const char* meldung;
    };
    const Fall faelle[] = {
        {Kat::gkBetrieb, "edFlaeche", "10000,01", "Fläche:\rDie Zahl liegt außerhalb"},
        {Kat::gkPrognosen, "edMaxKuhzahl", "1001", "max. Kuhzahl:\rDie Zahl liegt außerhalb"},
        {Kat::gkPrognosen, "edKuhBesamen", "401", "1. Besamung:\rDie Zahl liegt außerhalb"},
        {Kat::gkHIT, "edMeldefrist", "11", "Meldefrist:\rDie Zahl liegt außerhalb"},
        {Kat::gkHITSystem, "edPortNormal", "65536", "Normalsystem:\rDie Zahl liegt außerhalb"},
        {Kat::gkFruchtbarkeit, "edKALB_BESAMEN_ANZEIGEN", "", "Kälber mit:\r"},
        {Kat::gkSicherung, "edAutoAnzahl", "1", "Max. Anzahl der zu verwendenden Sicherungen:\r"},
        {Kat::gkSicherung, "edAutoAnzahl", "101", "Max. Anzahl der zu verwendenden Sicherungen:\r"},
        {Kat::gkFruchtbarkeit, "edSOLL_KALBEN", "601", "Die Zahl liegt außerhalb"},
        {Kat::gkFruchtbarkeit, "edNAECHSTES_RINDERN", "0", "Die Zahl liegt außerhalb"},
    };
    const QString einstellungen = AlleEinstellungen();
    const QByteArray ini = Inhalt(e->IniDateipfad());
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.feld);
        const qsizetype gezeigt = boxen.Shown().size();
        boxen.AnswerWith(Tools::mrOk);
        auto dlg = Oeffnen();
        Tippen(Feld<QLineEdit>(*dlg, "edName"), "Hof Regen");
        Seite(*dlg, Kat::gkSicherung);
        Klick(Feld<QCheckBox>(*dlg, "cbAutoSicherung"));
        Seite(*dlg, f.seite);
        Tippen(Feld<QLineEdit>(*dlg, f.feld), QString::fromUtf8(f.eingabe));
        Klick(dlg->OkKnopf());
        ASSERT_EQ(boxen.Shown().size(), gezeigt + 1);
        EXPECT_TRUE(boxen.Shown().last().text.contains(QString::fromUtf8(f.meldung)))
            << boxen.Shown().last().text.toStdString();
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_EQ(dlg->KategorieListe()->currentRow(), int(f.seite));
        EXPECT_EQ(AlleEinstellungen(), einstellungen);
        EXPECT_EQ(Inhalt(e->IniDateipfad()), ini);
        Klick(dlg->AbbrechenKnopf());
    }
    EXPECT_EQ(Wert("SELECT LIST(SOLL_KALBEN || '/' || NAECHSTES_RINDERN) FROM T_RASSEN "
                   "WHERE ID = 1"),
              "281/21");
}

TEST_F(FGrundeinstellungenTest, GVSchluesselOhneNamenWirdGemeldet)
{
    boxen.AnswerWith(Tools::mrOk);
    auto dlg = Oeffnen();
    Seite(*dlg, Kat::gkGV);
    Zeile(Feld<TZRPropGrid>(*dlg, "grdGVSchluessel"), 1, "");
    Klick(dlg->OkKnopf());
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(boxen.Shown()[0].text.startsWith("Bitte geben Sie eine Bezeichnung"));
    EXPECT_TRUE(dlg->isVisible());
    Klick(dlg->AbbrechenKnopf());
    EXPECT_EQ(Wert("SELECT BEZEICHNUNG FROM T_GV_SCHLUESSEL"), "Standard");
}

TEST_F(FGrundeinstellungenTest, NeuerGVSchluesselHeisstNachDerAnzahl)
{
    auto dlg = Oeffnen();
    Seite(*dlg, Kat::gkGV);
    Klick(Feld<QPushButton>(*dlg, "btnGVNeu"));
    EXPECT_EQ(Feld<QComboBox>(*dlg, "cbGVSchluessel")->currentText(), "Neuer Eintrag 2");
    EXPECT_EQ(Zelle(Feld<TZRPropGrid>(*dlg, "grdGVSchluessel"), 3), "0,30");
    Klick(dlg->OkKnopf());
    EXPECT_EQ(Wert("SELECT KALB6M || '/' || M6M1J || '/' || PU2J FROM T_GV_SCHLUESSEL "
                   "WHERE BEZEICHNUNG = 'Neuer Eintrag 2'"),
              "0.30/0.60/1.00");
}

// A stored threshold of 300 stays 300 when its row is entered and left.
TEST_F(FGrundeinstellungenTest, ZellzahlBleibtInIhremBereich)
{
    Setzen("Zellzahl-Maximal", "300");
    auto dlg = Oeffnen();
    Seite(*dlg, Kat::gkTermine);
    auto* termine = Feld<TZRPropGrid>(*dlg, "grdTermine");
    EXPECT_EQ(Zelle(termine, 14), "300");
    Zeile(termine, 14, "300");
    termine->SetCell(1, 15);
    QApplication::processEvents();
    Klick(dlg->OkKnopf());
    EXPECT_EQ(Gespeichert("Zellzahl-Maximal"), "300");
}

// The check box shows and writes the key that the reporting reads.
TEST_F(FGrundeinstellungenTest, MeldungAutoIstDerSchalterDerMeldungen)
{
    Setzen("MeldungAuto", "F");
    {
        auto dlg = Oeffnen();
        Seite(*dlg, Kat::gkHIT);
        auto* box = Feld<QCheckBox>(*dlg, "cbMeldungAuto");
        EXPECT_FALSE(box->isChecked());
        Klick(box);
        Klick(dlg->OkKnopf());
    }
    EXPECT_EQ(Gespeichert("MeldungAuto"), "T");
    EXPECT_EQ(Gespeichert("HIT-Meldung-automatisch"), "<keine>");
    EXPECT_TRUE(e->GetMeldungAuto());
}

TEST_F(FGrundeinstellungenTest, TerminZeileZeigtJaUndSpeichertEins)
{
    Setzen("Termin-Deckfähig-Rindern-Anzeigen", "T");
    Setzen("Harnstoff-Anzeige", "1");
    auto dlg = Oeffnen();
    Seite(*dlg, Kat::gkTermine);
    auto* termine = Feld<TZRPropGrid>(*dlg, "grdTermine");
    EXPECT_EQ(Zelle(termine, 2), "Ja");
    EXPECT_EQ(termine->Properties().GetItem(1).Value(), "1");
    EXPECT_EQ(Zelle(termine, 9), "mg / dl");
    EXPECT_EQ(Zelle(termine, 15), "Ja");
    Klick(dlg->OkKnopf());
    EXPECT_EQ(Gespeichert("Termin-Deckfähig-Rindern-Anzeigen"), "T");
    EXPECT_EQ(Gespeichert("Harnstoff-Anzeige"), "1");
}

// Switching stations puts the shown values into the dialog's one bracket: "Ok" stores those of
// both stations, "Abbrechen" neither.
TEST_F(FGrundeinstellungenTest, StationWechselnBleibtImBearbeitungsrahmen)
{
    Setzen("Eigenbesamung-Stationen", "MEGGLE;HOECHSTAEDT");
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "Ok" : "Abbrechen");
        auto dlg = Oeffnen();
        Seite(*dlg, Kat::gkEigenbesamung);
        auto* stationen = Feld<QComboBox>(*dlg, "cbStation");
        ASSERT_EQ(stationen->count(), 2);
        EXPECT_EQ(stationen->currentText(), "Meggle");
        auto* gitter = Feld<TZRPropGrid>(*dlg, "grdEigenbesamung");
        ASSERT_EQ(gitter->Properties().Count(), 11);
        Zeile(gitter, 1, "123456");
        Waehlen(stationen, "Höchstädt");
        EXPECT_TRUE(e->InBearbeitung());
        gitter = Feld<TZRPropGrid>(*dlg, "grdEigenbesamung");
        ASSERT_EQ(gitter->Properties().Count(), 8);
        EXPECT_EQ(gitter->Properties().GetItem(1).Caption(), "Besamer-Nr");
        Zeile(gitter, 2, "B7");
        Waehlen(stationen, "Meggle");
        EXPECT_EQ(Zelle(Feld<TZRPropGrid>(*dlg, "grdEigenbesamung"), 1), "123456");
        // Nothing of it is visible to others before "Ok".
        EXPECT_EQ(Gespeichert("Eigenbesamung-MEGGLE-Betriebsnummer"), "<keine>");
        Klick(ok ? dlg->OkKnopf() : dlg->AbbrechenKnopf());
        EXPECT_FALSE(e->InBearbeitung());
        EXPECT_EQ(Gespeichert("Eigenbesamung-MEGGLE-Betriebsnummer"), ok ? "123456" : "<keine>");
        EXPECT_EQ(Gespeichert("Eigenbesamung-HOECHSTAEDT-Besamer"), ok ? "B7" : "<keine>");
    }
}

TEST_F(FGrundeinstellungenTest, StationEntfernen)
{
    Setzen("Eigenbesamung-Stationen", "MEGGLE;RUW");
    Setzen("Eigenbesamung-RUW-Betriebsnummer", "4711");
    Ausfuehren("INSERT INTO T_BULLEN_STAMM (ID, NAME, RASSE) VALUES (1, 'Bulle', 1)");
    Ausfuehren("INSERT INTO T_CONTAINER_LIEFERUNG (ID, DATUM) VALUES (1, '2021-01-01')");
    Ausfuehren(
        "INSERT INTO T_CONTAINER_PORTION (ID, LIEFERUNG, BULLE, STATION) "
        "VALUES (1, 1, 1, 'MEGGLE')");
    boxen.AnswerWith(Tools::mrOk).AnswerWith(Tools::mrYes);
    auto dlg = Oeffnen();
    Seite(*dlg, Kat::gkEigenbesamung);
    auto* stationen = Feld<QComboBox>(*dlg, "cbStation");
    Klick(Feld<QPushButton>(*dlg, "btnStationEntfernen"));
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text,
              "Diese Besamungsstation wird verwendet.\rSie können sie deshalb nicht löschen!");
    EXPECT_EQ(stationen->count(), 2);

    Waehlen(stationen, "Rinder Union West");
    Klick(Feld<QPushButton>(*dlg, "btnStationEntfernen"));
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(boxen.Shown()[1].text, "Wollen Sie diese Besamungsstation wirklich löschen?");
    ASSERT_EQ(stationen->count(), 1);
    EXPECT_EQ(stationen->currentText(), "Meggle");
    Klick(dlg->OkKnopf());
    EXPECT_EQ(Gespeichert("Eigenbesamung-Stationen"), "MEGGLE");
    EXPECT_EQ(Gespeichert("Eigenbesamung-RUW-Betriebsnummer"), "4711");
}

TEST_F(FGrundeinstellungenTest, StationHinzufuegenHaengtAnUndZeigtSie)
{
    Setzen("Eigenbesamung-Stationen", "MEGGLE");
    auto dlg = Oeffnen();
    Seite(*dlg, Kat::gkEigenbesamung);
    MessageBoxScript wahl;
    wahl.Window<TfrmBesamungsstation>([](TfrmBesamungsstation& w) {
        EXPECT_EQ(w.Auswahl()->findText("Meggle"), -1);
        w.Auswahl()->setCurrentIndex(w.Auswahl()->findText("Rinder Union West"));
        QTest::mouseClick(w.OkKnopf(), Qt::LeftButton);
    });
    Klick(Feld<QPushButton>(*dlg, "btnStationNeu"));
    ASSERT_TRUE(wahl.PendingWindows() == 0);
    auto* stationen = Feld<QComboBox>(*dlg, "cbStation");
    EXPECT_EQ(stationen->count(), 2);
    EXPECT_EQ(stationen->currentText(), "Rinder Union West");
    EXPECT_EQ(Feld<TZRPropGrid>(*dlg, "grdEigenbesamung")->Properties().GetItem(1).Caption(),
              "Personen-Nr");
    Klick(dlg->OkKnopf());
    EXPECT_EQ(Gespeichert("Eigenbesamung-Stationen"), "MEGGLE;RUW");
}

TEST_F(FGrundeinstellungenTest, BerechnenOhneDatenLaesstDenWert)
{
    auto dlg = Oeffnen();
    Seite(*dlg, Kat::gkFruchtbarkeit);
    auto* soll = Feld<QLineEdit>(*dlg, "edSOLL_KALBEN");
    EXPECT_EQ(soll->text(), "281");
    Klick(Feld<QPushButton>(*dlg, "btnSollKalbenBerechnen"));
    EXPECT_EQ(soll->text(), "281");
    Seite(*dlg, Kat::gkPrognosen);
    Klick(Feld<QPushButton>(*dlg, "btnKuhBerechnen"));
    EXPECT_EQ(Feld<QLineEdit>(*dlg, "edKuhBesamen")->text(), "42");
}

TEST_F(FGrundeinstellungenTest, SollKalbenBerechnenFuerDieGewaehlteRasse)
{
    Ausfuehren(
        "INSERT INTO T_STAMMDATEN (ID, NUMMER, GEBDAT, GESCHLECHT, RASSE) "
        "VALUES (1, 'DE 1', '2018-01-01', 'W', 1)");
    Ausfuehren("INSERT INTO T_BESAMUNGEN (ID, TIER, DATUM, NR) VALUES (1, 1, '2026-02-01', 1)");
    Ausfuehren("INSERT INTO T_BESAMUNGEN (ID, TIER, DATUM, NR) VALUES (2, 1, '2026-02-20', 2)");
    Ausfuehren(
        "INSERT INTO T_KALBUNGEN (ID, TIER, DATUM, GESCHLECHT) "
        "VALUES (1, 1, '2026-11-28', 'W')");
    auto dlg = Oeffnen();
    Seite(*dlg, Kat::gkFruchtbarkeit);
    Waehlen(Feld<QComboBox>(*dlg, "cbRasse"), "Holstein-Schwarzbunt");
    Klick(Feld<QPushButton>(*dlg, "btnSollKalbenBerechnen"));
    // 281 days from the later insemination, not 300 from the first.
    EXPECT_EQ(Feld<QLineEdit>(*dlg, "edSOLL_KALBEN")->text(), "281");
    Ausfuehren("UPDATE T_BESAMUNGEN SET DATUM = '2026-02-22' WHERE ID = 2");
    Klick(Feld<QPushButton>(*dlg, "btnSollKalbenBerechnen"));
    EXPECT_EQ(Feld<QLineEdit>(*dlg, "edSOLL_KALBEN")->text(), "279");
    Klick(dlg->OkKnopf());
    EXPECT_EQ(Wert("SELECT SOLL_KALBEN FROM T_RASSEN WHERE ID = 1"), "279");
}

// Every page as the user sees it, saved under the build folder; the dialog fits a small screen.
TEST_F(FGrundeinstellungenTest, BilderDerSeiten)
{
    Setzen("Eigenbesamung-Stationen", "MEGGLE");
    auto dlg = Oeffnen();
    EXPECT_LE(dlg->frameGeometry().width(), 1366);
    EXPECT_LE(dlg->frameGeometry().height(), 768 - 40);
    for (const GrundeinstellungenDaten::Kategorie& k : GrundeinstellungenDaten::Kategorien()) {
        Seite(*dlg, k.wert);
        QWidget* seite = dlg->Seite(k.wert);
        EXPECT_TRUE(seite->isVisible());
        EXPECT_EQ(dlg->helpContext(), k.hilfe);
        // The page's layout needs no more room than the dialog gives it.
        EXPECT_LE(seite->minimumSizeHint().width(), seite->width()) << k.text.toStdString();
        EXPECT_LE(seite->minimumSizeHint().height(), seite->height()) << k.text.toStdString();
        Bildschirmfoto(*dlg, QStringLiteral("Grundeinstellungen-%1-%2.png")
                                 .arg(int(k.wert), 2, 10, QLatin1Char('0'))
                                 .arg(k.hilfe));
    }
}

// The main window's "Grundeinstellungen" opens the dialog on the program's settings and database.
TEST(FGrundeinstellungenHauptfenster, GrundeinstellungenOeffnetDenDialog)
{
    QTemporaryDir daten;
    ScopedEnv dataHome{"XDG_DATA_HOME", daten.filePath("xdg-data").toLocal8Bit()};
    ScopedEnv configHome{"XDG_CONFIG_HOME", daten.filePath("xdg-config").toLocal8Bit()};
    TestDatabase t;
    DMErzeugen();
    EinstellungenErzeugen(&DM()->Datenbank, daten.filePath("daten"));
    DM()->Datenbank.Open(t.Params());
    Einstellungen()->Laden();
    {
        TfrmHaupt haupt;
        GrundeinstellungenVerbinden(haupt);
        QAction* aktion = haupt.Aktion("actGrundeinstellungen");
        ASSERT_TRUE(aktion);
        EXPECT_TRUE(aktion->isEnabled());
        MessageBoxScript dialog;
        dialog.Window<TfrmGrundeinstellungen>([](TfrmGrundeinstellungen& d) {
            Tippen(d.findChild<QLineEdit*>("edName"), "Hof am Bach");
            QTest::mouseClick(d.OkKnopf(), Qt::LeftButton);
        });
        aktion->trigger();
        EXPECT_TRUE(dialog.PendingWindows() == 0);
    }
    EXPECT_EQ(Einstellungen()->GetBetriebName(), "Hof am Bach");
    {
        db::Transaction tr(t.Db());
        tr.Start();
        db::Query q(tr, "SELECT WERT FROM T_EINSTELLUNGEN WHERE NAME = 'Betrieb-Name'");
        q.Open();
        ASSERT_FALSE(q.Eof());
        EXPECT_EQ(q.Field(0).AsString(), "Hof am Bach");
    }
    EinstellungenFreigeben();
    DMFreigeben();
}

}  // namespace
