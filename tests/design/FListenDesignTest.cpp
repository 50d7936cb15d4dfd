#include <FListenDesign.h>

#include <FListeNormal.h>
#include <ZRDBcxGridBovantis.h>
#include <ZREditGrid.h>

#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <Haupt.h>
#include <KernAktionen.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <Query.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>
#include <Transaction.h>
#include <ZRcxGridDBTableView.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr int Kuehe = 12;
constexpr int Bullen = 5;

// The shipped catalogue and a small herd, without any user list: every list here is made by the
// designer as a user makes it.
class ListenDesignerTest : public DatabaseTest {
public:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        db::Transaction tr(Db());
        tr.Start();
        db::Query(tr, "DELETE FROM T_LISTEN WHERE ID > 0").Execute();
        db::Query tier(tr,
                       "INSERT INTO T_STAMMDATEN (NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) "
                       "VALUES (:NUMMER, :NAME, :GEBDAT, :G, 1)");
        for (int i = 1; i <= Kuehe + Bullen; ++i) {
            tier.Param("NUMMER").SetString(
                QStringLiteral("DE 0%1").arg(i, 4, 10, QLatin1Char('0')));
            tier.Param("NAME").SetString(QStringLiteral("Tier %1").arg(i));
            tier.Param("GEBDAT").SetDate(QDate(2019, 1, 1).addDays(i * 20));
            tier.Param("G").SetString(i <= Kuehe ? "W" : "M");
            tier.Execute();
        }
        tr.Commit();
    }

    static int Wert(const QString& sql)
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        return q.Eof() ? -1 : q.Field(0).AsInteger();
    }
    static QString Text(const QString& sql)
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query q(tr, sql);
        q.Open();
        return q.Eof() ? QStringLiteral("<keine Zeile>") : q.Field(0).AsString();
    }
    static void Ausfuehren(const QString& sql)
    {
        db::Transaction tr(Db());
        tr.Start();
        db::Query(tr, sql).Execute();
        tr.Commit();
    }

protected:
    void SetUp() override
    {
        ASSERT_TRUE(daten.isValid());
        DMErzeugen();
        EinstellungenErzeugen(&DM()->Datenbank, QString());
        DM()->Datenbank.Open(TestDatabase::Params(Suite().Path()));
    }
    void TearDown() override
    {
        haupt.reset();
        EinstellungenFreigeben();
        DMFreigeben();
    }

    // Opens the designer for the list as the program does and lets `schritte` work in it; the
    // window is closed afterwards when the steps left it open.
    int Bedienen(int listeId, const std::function<void(TfrmListenDesign&)>& schritte)
    {
        MessageBoxScript b;
        b.Window<TfrmListenDesign>([&](TfrmListenDesign& d) {
            d.resize(760, 520);
            QApplication::processEvents();
            schritte(d);
            if (d.isVisible())
                d.reject();
        });
        const int id = ListenDesignStarten(nullptr, listeId);
        EXPECT_EQ(b.PendingWindows(), 0);
        return id;
    }

    template <class W = QWidget>
    static W* Teil(TfrmListenDesign& d, const char* name)
    {
        W* w = d.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void Klick(TfrmListenDesign& d, const char* knopf)
    {
        auto* k = Teil<QAbstractButton>(d, knopf);
        ASSERT_TRUE(k && k->isVisible() && k->isEnabled()) << knopf;
        // A check box takes clicks on its box and text, not on the rest of its row.
        const QPoint punkt =
            qobject_cast<QCheckBox*>(k) ? QPoint(6, k->height() / 2) : k->rect().center();
        QTest::mouseClick(k, Qt::LeftButton, {}, punkt);
        QApplication::processEvents();
    }
    // Chooses an entry of a box with the keyboard, as a user does.
    static void Waehlen(TfrmListenDesign& d, const char* box, const QString& text)
    {
        auto* b = Teil<QComboBox>(d, box);
        ASSERT_TRUE(b && b->isEnabled()) << box;
        const int ziel = b->findText(text);
        ASSERT_GE(ziel, 0) << text.toStdString();
        b->setFocus();
        QTest::keyClick(b, Qt::Key_Home);
        for (int i = 0; i < ziel; ++i)
            QTest::keyClick(b, Qt::Key_Down);
        ASSERT_EQ(b->currentText(), text);
    }
    static void Markieren(QListWidget* liste, const QString& text)
    {
        const QList<QListWidgetItem*> treffer = liste->findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(treffer.isEmpty()) << text.toStdString();
        liste->scrollToItem(treffer.first());
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
                          liste->visualItemRect(treffer.first()).center());
        ASSERT_EQ(liste->currentItem(), treffer.first());
    }
    static void Hinzufuegen(TfrmListenDesign& d, const QString& feld)
    {
        Markieren(Teil<QListWidget>(d, "Verfuegbar"), feld);
        Klick(d, "Hinzu");
    }
    static QStringList Eintraege(QListWidget* liste)
    {
        QStringList r;
        for (int i = 0; i < liste->count(); ++i)
            r << liste->item(i)->text();
        return r;
    }
    static QList<QStringList> Zeilen(TZREditGrid* g)
    {
        QList<QStringList> r;
        for (int i = 0; i < g->Items().Count(); ++i)
            r << g->Items().GetItem(i).Zellen;
        return r;
    }
    // Clicks the entry in the cell editor's pick list. The designer opens the list itself; on the
    // offscreen platform the list's first showing can take the activation and close it again,
    // and the user opens it with Alt+Down then.
    static void PickWahl(TZREditGrid* g, const QString& text)
    {
        TZRGridInplaceEdit* e = Editor(g);
        ASSERT_TRUE(e);
        if (!QTest::qWaitFor([e] { return e->DroppedDown(); }, 300))
            QTest::keyClick(e, Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(g->Editor() && g->Editor()->DroppedDown())
            << "pick list for " << text.toStdString();
        QListWidget* liste = g->Editor()->Liste();
        const QList<QListWidgetItem*> treffer = liste->findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(treffer.isEmpty()) << text.toStdString();
        liste->scrollToItem(treffer.first());
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
                          liste->visualItemRect(treffer.first()).center());
        ASSERT_FALSE(g->Editor()->DroppedDown());
    }
    static TZRGridInplaceEdit* Editor(TZREditGrid* g)
    {
        EXPECT_TRUE(QTest::qWaitFor([g] { return g->Editor() && g->Editor()->isVisible(); }));
        if (g->Editor())
            g->Editor()->setFocus();
        return g->Editor();
    }
    static void Enter(TZREditGrid* g)
    {
        TZRGridInplaceEdit* e = Editor(g);
        ASSERT_TRUE(e);
        QTest::keyClick(e, Qt::Key_Return);
        QApplication::processEvents();
    }
    static void Foto(TfrmListenDesign& d, const QString& name)
    {
        QApplication::processEvents();
        Bildschirmfoto(d, "listendesign-" + name + ".png");
    }
    static int Seite(TfrmListenDesign& d) { return d.AktuelleSeite(); }
    // Types a text key by key, umlauts too.
    static void Tippen(QWidget* w, const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    QTemporaryDir daten;
    ScopedEnv datenHome{"XDG_DATA_HOME", daten.path().toLocal8Bit()};
    std::unique_ptr<TfrmHaupt> haupt;
};

TEST_F(ListenDesignerTest, VonDerLeerenDatenbankZurGespeichertenListe)
{
    ASSERT_EQ(Wert("SELECT COUNT(*) FROM T_LISTEN WHERE ID > 0"), 0);
    haupt = std::make_unique<TfrmHaupt>();
    ListenfensterVerbinden(*haupt);
    haupt->resize(1000, 650);
    haupt->show();
    haupt->ErzeugeListenMenue();

    MessageBoxScript meldungen;
    meldungen.AnswerWith(Tools::mrNo);  // "Weitere Einschränkung eingeben?"
    const int id = Bedienen(0, [&](TfrmListenDesign& d) {
        EXPECT_EQ(d.windowTitle(), "Listen Designer");
        EXPECT_EQ(d.helpContext(), 11310);
        EXPECT_EQ(Seite(d), 0);
        EXPECT_FALSE(Teil(d, "Zuruck")->isEnabled());
        EXPECT_FALSE(Teil(d, "Speichern")->isVisible());
        EXPECT_FALSE(Teil(d, "Quelle2")->isEnabled());
        Waehlen(d, "Quelle1", "Tiere");
        EXPECT_TRUE(Teil(d, "Quelle2")->isEnabled());
        EXPECT_FALSE(Teil(d, "Feld12_1")->isEnabled());
        Foto(d, "1-datenquellen");
        Klick(d, "Weiter");
        ASSERT_EQ(Seite(d), 1);

        auto* verfuegbar = Teil<QListWidget>(d, "Verfuegbar");
        auto* sichtbar = Teil<QListWidget>(d, "Sichtbar");
        EXPECT_TRUE(sichtbar->count() == 0);
        EXPECT_EQ(Eintraege(verfuegbar).mid(verfuegbar->count() - 2),
                  QStringList({"Fortlaufende Nummer", "Fester Wert"}));
        Hinzufuegen(d, "Fortlaufende Nummer");
        Hinzufuegen(d, "Tiere - Ohrmarke");
        Hinzufuegen(d, "Tiere - Name");
        Hinzufuegen(d, "Tiere - Status-Symbol");
        EXPECT_EQ(Eintraege(sichtbar), QStringList({"Fortlaufende Nummer (1)", "Tiere - Ohrmarke",
                                                    "Tiere - Name", "Tiere - Status-Symbol"}));
        EXPECT_EQ(sichtbar->currentRow(), 3);
        Klick(d, "Auf");
        Klick(d, "Auf");
        Klick(d, "Auf");
        EXPECT_EQ(Eintraege(sichtbar).first(), "Tiere - Status-Symbol");
        Foto(d, "2-ausgabefelder");
        Klick(d, "Weiter");
        ASSERT_EQ(Seite(d), 2);

        // A restriction typed with the pick lists and Enter, a sort key by its button.
        auto* einschr = Teil<TZREditGrid>(d, "Einschraenkungen");
        EXPECT_FALSE(einschr->isEnabled()) << "no restriction yet";
        Klick(d, "SpeedButton1");
        PickWahl(einschr, "Tiere - Geschlecht");
        Enter(einschr);
        EXPECT_EQ(einschr->Col(), 1);
        PickWahl(einschr, "gleich");
        Enter(einschr);
        EXPECT_EQ(einschr->Col(), 2);
        QTest::keyClicks(Editor(einschr), "W");
        Enter(einschr);
        EXPECT_EQ(einschr->Col(), 3);
        Enter(einschr);  // last row: the question, answered "Nein"
        EXPECT_EQ(Zeilen(einschr), (QList<QStringList>{{"Tiere - Geschlecht", "gleich", "W", ""}}));
        auto* sort = Teil<TZREditGrid>(d, "Sortierungen");
        Klick(d, "SpeedButton3");
        PickWahl(sort, "Tiere - Ohrmarke");
        Enter(sort);
        EXPECT_EQ(sort->Col(), 1);
        EXPECT_EQ(Zeilen(sort), (QList<QStringList>{{"Tiere - Ohrmarke", "aufsteigend"}}));
        QTest::keyClick(Editor(sort), Qt::Key_Down, Qt::AltModifier);
        PickWahl(sort, "absteigend");
        EXPECT_EQ(Zeilen(sort), (QList<QStringList>{{"Tiere - Ohrmarke", "absteigend"}}));
        Foto(d, "3-optionen");
        Klick(d, "Weiter");
        ASSERT_EQ(Seite(d), 3);

        // The test: the cows, newest ear tag first, with the titles and widths of the fields.
        auto* test = Teil<TZRDBcxGridBovantis>(d, "ListeTest");
        EXPECT_FALSE(d.TestFehlgeschlagen());
        TZRcxGridDBTableView* v = test->GetTableView();
        ASSERT_TRUE(QTest::qWaitFor([v] { return v->model()->rowCount() == Kuehe; }));
        QStringList titel;
        for (int i = 0; i < v->model()->columnCount(); ++i)
            titel << v->model()
                         ->headerData(v->horizontalHeader()->logicalIndex(i), Qt::Horizontal)
                         .toString();
        EXPECT_EQ(titel, QStringList({" ", "Fortlaufende Nummer (1)", "Ohrmarke", "Name"}));
        const auto zelle = [&](int zeile, int spalte) {
            return test->Anzeigetext(
                v->model()->index(zeile, v->horizontalHeader()->logicalIndex(spalte)));
        };
        EXPECT_EQ(zelle(0, 1), "1");
        EXPECT_EQ(zelle(1, 1), "2");
        EXPECT_EQ(zelle(0, 2), QStringLiteral("DE 0%1").arg(Kuehe, 4, 10, QLatin1Char('0')));
        EXPECT_LT(v->columnWidth(v->horizontalHeader()->logicalIndex(0)),
                  v->columnWidth(v->horizontalHeader()->logicalIndex(3)) / 2)
            << "the status picture's narrow column";
        Foto(d, "4-test");
        Klick(d, "Weiter");
        ASSERT_EQ(Seite(d), 4);
        EXPECT_FALSE(Teil(d, "Weiter")->isVisible());
        EXPECT_TRUE(Teil(d, "Speichern")->isVisible());

        Tippen(Teil(d, "BEZEICHNUNG"), "Kühe");
        Tippen(Teil(d, "TITEL"), "Alle Kühe");
        Klick(d, "MENUE");
        EXPECT_FALSE(Teil(d, "SymbolNachher")->isVisible());
        Klick(d, "SymbolCheck");
        EXPECT_EQ(Teil<QLabel>(d, "SymbolAnzahl")->text(),
                  QStringLiteral("(1/%1)").arg(SymbolbildAnzahl()));
        Klick(d, "SymbolVorher");
        EXPECT_EQ(Teil<QLabel>(d, "SymbolAnzahl")->text(),
                  QStringLiteral("(%1/%1)").arg(SymbolbildAnzahl()))
            << "below the first the last";
        Klick(d, "SymbolNachher");
        Klick(d, "SymbolNachher");
        Klick(d, "SymbolNachher");
        EXPECT_EQ(Teil<QLabel>(d, "SymbolAnzahl")->text(),
                  QStringLiteral("(3/%1)").arg(SymbolbildAnzahl()));
        EXPECT_EQ(Teil<QLabel>(d, "Symbol")->pixmap().toImage(),
                  Symbolbild(2).pixmap(32, 32).toImage());
        Foto(d, "5-speichern");
        Klick(d, "Speichern");
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(meldungen.Pending(), 0);
    ASSERT_GT(id, 0);
    EXPECT_EQ(Text(QStringLiteral("SELECT BEZEICHNUNG || '|' || TITEL || '|' || FELDER || '|' || "
                                  "BEDINGUNGEN || '|' || SORTIERUNG || '|' || MENUE || '|' || "
                                  "SYMBOL || '|' || DIST FROM T_LISTEN WHERE ID = %1")
                       .arg(id)),
              "Kühe|Alle Kühe|Q1.STATUSIDX;S.N1;Q1.NUMMER;Q1.NAME|Q1.GESCHLECHT;=;W;|"
              "Q1.NUMMER;DESC|T|2|F");
    EXPECT_EQ(
        Wert(QStringLiteral("SELECT COUNT(*) FROM T_LISTEN_BILDSCHIRM WHERE LISTE = %1").arg(id)),
        4);

    // The main window offers the new list at once, and it opens with the cows.
    QAction* eintrag = nullptr;
    for (QAction* a : haupt->MenueListen()->actions())
        if (a->text() == "Kühe")
            eintrag = a;
    ASSERT_NE(eintrag, nullptr) << "the list menu was rebuilt";
    eintrag->trigger();
    QApplication::processEvents();
    QMdiSubWindow* kind = haupt->MdiArea()->activeSubWindow();
    auto* liste = kind ? qobject_cast<TfrmListeNormal*>(kind->widget()) : nullptr;
    ASSERT_NE(liste, nullptr);
    EXPECT_EQ(liste->windowTitle(), "Alle Kühe");
    EXPECT_TRUE(QTest::qWaitFor([liste] { return liste->GetAnzahl() == Kuehe; }));
    TZRcxGridDBTableView* v = liste->Grid()->GetTableView();
    EXPECT_EQ(
        liste->Grid()->Anzeigetext(v->model()->index(0, v->horizontalHeader()->logicalIndex(2))),
        QStringLiteral("DE 0%1").arg(Kuehe, 4, 10, QLatin1Char('0')));
}

TEST_F(ListenDesignerTest, NeueListeOhneSpeichernGibtNullZurueck)
{
    const int vorher = Wert("SELECT COUNT(*) FROM T_LISTEN");
    const int id = Bedienen(0, [&](TfrmListenDesign& d) {
        Waehlen(d, "Quelle1", "Tiere");
        Klick(d, "Weiter");
        Hinzufuegen(d, "Tiere - Name");
        Klick(d, "Weiter");
        Klick(d, "Weiter");
        Klick(d, "Weiter");
        QTest::keyClicks(Teil(d, "BEZEICHNUNG"), "Verworfen");
        Klick(d, "Schliessen");
    });
    EXPECT_EQ(id, 0);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_LISTEN"), vorher);
}

TEST_F(ListenDesignerTest, QuellenUndIhrePruefung)
{
    MessageBoxScript meldungen;
    for (int i = 0; i < 5; ++i)
        meldungen.AnswerWith(Tools::mrOk);
    Bedienen(0, [&](TfrmListenDesign& d) {
        Klick(d, "Weiter");
        EXPECT_EQ(Seite(d), 0);
        Waehlen(d, "Quelle1", "Letzte Kalbung");
        Klick(d, "Weiter");
        EXPECT_EQ(Seite(d), 0);
        Waehlen(d, "Quelle2", "Letzte Besamung");
        Klick(d, "Weiter");  // no joins yet
        Waehlen(d, "Feld12_1", Teil<QComboBox>(d, "Feld12_1")->itemText(0));
        Waehlen(d, "Feld12_2", Teil<QComboBox>(d, "Feld12_2")->itemText(0));
        Klick(d, "Weiter");  // two "P" sources
        EXPECT_EQ(Seite(d), 0);
        Waehlen(d, "Quelle1", "Tiere");
        Waehlen(d, "Quelle2", "Kalbungen");
        EXPECT_EQ(d.QListe().FieldByName("FELD12_1").IsNull(), true)
            << "a join field of another source does not stay";
        Waehlen(d, "Feld12_1", "Tier-ID");
        Waehlen(d, "Feld12_2", Teil<QComboBox>(d, "Feld12_2")->itemText(0));
        Waehlen(d, "Quelle3", "Letzte Besamung");
        EXPECT_TRUE(Teil(d, "Feld23_2")->isEnabled());
        Waehlen(d, "Feld23_2", Teil<QComboBox>(d, "Feld23_2")->itemText(0));
        Waehlen(d, "Feld23_3", Teil<QComboBox>(d, "Feld23_3")->itemText(0));
        Klick(d, "Weiter");  // other, other, "P": the middle may not stand there
        EXPECT_EQ(Seite(d), 0);

        // Clearing the first source clears the rest in the same step.
        Waehlen(d, "Quelle1", "< keine >");
        for (const char* feld :
             {"QUELLE1", "QUELLE2", "QUELLE3", "FELD12_1", "FELD12_2", "FELD23_2", "FELD23_3"})
            EXPECT_TRUE(d.QListe().FieldByName(feld).IsNull()) << feld;
        for (const char* box :
             {"Quelle2", "Quelle3", "Feld12_1", "Feld12_2", "Feld23_2", "Feld23_3"})
            EXPECT_FALSE(Teil(d, box)->isEnabled()) << box;
        EXPECT_EQ(Teil<QComboBox>(d, "Quelle2")->currentText(), "< keine >");
    });
    QStringList texte;
    for (const Tools::ShownMessage& m : meldungen.Shown())
        texte << m.text;
    EXPECT_EQ(texte,
              QStringList({"Sie müssen mindestens eine Quelle angeben",
                           "Diese Datenquelle ist allein nicht erlaubt\rSie benötigen eine weitere",
                           "Geben Sie die Verbindungsfelder für die Quellen 1 und 2 an",
                           "Diese Datenquellen können nicht\rmiteinander direkt verbunden werden",
                           "Die Datenquelle in der Mitte darf dort nicht stehen.\r"
                           "Ändern Sie die Reihenfolge"}));
}

TEST_F(ListenDesignerTest, AusgabefelderMitPseudofeldern)
{
    MessageBoxScript meldungen;
    meldungen.AnswerWith(Tools::mrOk);
    Bedienen(0, [&](TfrmListenDesign& d) {
        Waehlen(d, "Quelle1", "Tiere");
        Klick(d, "Weiter");
        Klick(d, "Weiter");
        EXPECT_EQ(Seite(d), 1) << "no field shown";
        auto* sichtbar = Teil<QListWidget>(d, "Sichtbar");
        auto* verfuegbar = Teil<QListWidget>(d, "Verfuegbar");
        for (int i = 0; i < 3; ++i)
            Hinzufuegen(d, "Fortlaufende Nummer");
        EXPECT_EQ(Eintraege(sichtbar),
                  QStringList({"Fortlaufende Nummer (1)", "Fortlaufende Nummer (2)",
                               "Fortlaufende Nummer (3)"}));
        Markieren(sichtbar, "Fortlaufende Nummer (2)");
        Klick(d, "Entf");
        Hinzufuegen(d, "Fortlaufende Nummer");
        EXPECT_EQ(sichtbar->item(2)->text(), "Fortlaufende Nummer (2)");
        Hinzufuegen(d, "Fester Wert");
        const int katalog = verfuegbar->count() - 2;
        Klick(d, "AlleHinzu");
        EXPECT_EQ(Eintraege(verfuegbar), QStringList({"Fortlaufende Nummer", "Fester Wert"}));
        EXPECT_EQ(sichtbar->count(), 4 + katalog);
        EXPECT_EQ(Eintraege(sichtbar).filter("Fortlaufende Nummer").size(), 3)
            << "no pseudo field came along";
        EXPECT_EQ(Eintraege(sichtbar).filter("Fester Wert").size(), 1);
        Klick(d, "AlleEntf");
        EXPECT_EQ(sichtbar->count(), 0);
        EXPECT_EQ(verfuegbar->count(), katalog + 2);
        // A double click adds and removes as the buttons do.
        const QList<QListWidgetItem*> name =
            verfuegbar->findItems("Tiere - Name", Qt::MatchExactly);
        ASSERT_FALSE(name.isEmpty());
        const QPoint punkt = verfuegbar->visualItemRect(name.first()).center();
        QTest::mouseClick(verfuegbar->viewport(), Qt::LeftButton, {}, punkt);
        QTest::mouseDClick(verfuegbar->viewport(), Qt::LeftButton, {}, punkt);
        EXPECT_EQ(Eintraege(sichtbar), QStringList({"Tiere - Name"}));
    });
    ASSERT_EQ(meldungen.Shown().size(), 1);
    EXPECT_EQ(meldungen.Shown().first().text,
              "Sie müssen mindestend ein Feld zum anzeigen angeben");
}

TEST_F(ListenDesignerTest, EinschraenkungenNichtAngeboteneFelderUndRueckweg)
{
    // Animals and their calvings; the user drops the calvings on page 0.
    Ausfuehren(
        "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, QUELLE1, QUELLE2, FELD12_1, "
        "FELD12_2, DIST, MENUE, FELDER, BEDINGUNGEN, SORTIERUNG) VALUES (900, 'Alt', "
        "'Alt', 1, 2, 101, 202, 'T', 'F', "
        "'Q1.NUMMER;Q1.NAME', "
        "'Q1.NAME;<>;Tier 3;AND;Q2.DATUM;>;01.01.2020;OR;Q1.GESCHLECHT;=;W;', "
        "'Q2.DATUM;ASC;Q1.NAME;DESC')");
    MessageBoxScript meldungen;
    meldungen.AnswerWith(Tools::mrOk);  // the ";" in a value
    const int id = Bedienen(900, [&](TfrmListenDesign& d) {
        EXPECT_EQ(Teil<QComboBox>(d, "Quelle1")->currentText(), "Tiere");
        EXPECT_EQ(Teil<QComboBox>(d, "Feld12_2")->currentText(), "Tier-ID");
        Waehlen(d, "Quelle2", "< keine >");
        Klick(d, "Weiter");
        EXPECT_EQ(Eintraege(Teil<QListWidget>(d, "Sichtbar")),
                  QStringList({"Tiere - Ohrmarke", "Tiere - Name"}));
        Klick(d, "Weiter");
        auto* einschr = Teil<TZREditGrid>(d, "Einschraenkungen");
        auto* sort = Teil<TZREditGrid>(d, "Sortierungen");
        const QList<QStringList> bedingungen{{"Tiere - Name", "nicht gleich", "Tier 3", "und"},
                                             {"Tiere - Geschlecht", "gleich", "W", ""}};
        EXPECT_EQ(Zeilen(einschr), bedingungen) << "the restriction on source 2 is gone";
        EXPECT_EQ(Zeilen(sort), (QList<QStringList>{{"Tiere - Name", "absteigend"}}));
        EXPECT_TRUE(Teil<QCheckBox>(d, "Distinct")->isChecked());

        Klick(d, "Weiter");
        ASSERT_EQ(Seite(d), 3);
        Klick(d, "Zuruck");
        ASSERT_EQ(Seite(d), 2);
        EXPECT_EQ(Zeilen(einschr), bedingungen) << "page 3 and back shows the same rows";
        EXPECT_EQ(Zeilen(sort), (QList<QStringList>{{"Tiere - Name", "absteigend"}}));

        // A ";" in a value would shift every later group: refused, the page stays.
        einschr->SetCell(2, 1);
        TZRGridInplaceEdit* e = Editor(einschr);
        ASSERT_TRUE(e);
        e->selectAll();
        QTest::keyClicks(e, "Tier;3");
        Enter(einschr);
        Klick(d, "Weiter");
        EXPECT_EQ(Seite(d), 2);
        // Removing the row puts the cursor on the row that follows.
        einschr->SetCell(0, 1);
        Klick(d, "SpeedButton2");
        EXPECT_EQ(Zeilen(einschr), bedingungen.mid(1));
        Klick(d, "SpeedButton2");
        EXPECT_TRUE(Zeilen(einschr).isEmpty());
        EXPECT_FALSE(einschr->isEnabled());
        Klick(d, "Weiter");
        ASSERT_EQ(Seite(d), 3);
        Klick(d, "Weiter");
        Klick(d, "Speichern");
    });
    EXPECT_EQ(id, 900);
    ASSERT_EQ(meldungen.Shown().size(), 1);
    EXPECT_TRUE(meldungen.Shown().first().text.contains("\"Tier;3\""));
    EXPECT_EQ(
        Text("SELECT COALESCE(BEDINGUNGEN, '') || '|' || SORTIERUNG FROM T_LISTEN WHERE ID = 900"),
        "|Q1.NAME;DESC");
}

TEST_F(ListenDesignerTest, SpeichernNurMitNameUndNachFrageBeiFehlgeschlagenemTest)
{
    MessageBoxScript meldungen;
    meldungen
        .AnswerWith(Tools::mrOk)    // the test's error box
        .AnswerWith(Tools::mrOk)    // no name
        .AnswerWith(Tools::mrNo)    // store although the test failed? No
        .AnswerWith(Tools::mrOk)    // the test again, on the way back
        .AnswerWith(Tools::mrYes);  // Yes
    const int vorher = Wert("SELECT COUNT(*) FROM T_LISTEN");
    const int id = Bedienen(0, [&](TfrmListenDesign& d) {
        Waehlen(d, "Quelle1", "Tiere");
        Klick(d, "Weiter");
        Hinzufuegen(d, "Tiere - Name");
        Klick(d, "Weiter");
        auto* einschr = Teil<TZREditGrid>(d, "Einschraenkungen");
        Klick(d, "SpeedButton1");
        PickWahl(einschr, "Tiere - Geburtsdatum");
        einschr->SetCell(1, 1);
        QTest::keyClick(Editor(einschr), Qt::Key_Down, Qt::AltModifier);
        PickWahl(einschr, "größer als");
        einschr->SetCell(2, 1);
        QTest::keyClicks(Editor(einschr), "kein Datum");
        Enter(einschr);
        Klick(d, "Weiter");
        ASSERT_EQ(Seite(d), 3) << "a failed test leaves the page";
        EXPECT_TRUE(d.TestFehlgeschlagen());
        Klick(d, "Weiter");
        Klick(d, "Speichern");
        EXPECT_TRUE(d.isVisible()) << "no name";
        QTest::keyClicks(Teil(d, "BEZEICHNUNG"), "Fehlerhaft");
        Klick(d, "Speichern");
        EXPECT_TRUE(d.isVisible()) << "not stored after No";
        Klick(d, "Zuruck");
        Klick(d, "Weiter");
        Klick(d, "Speichern");
    });
    ASSERT_EQ(meldungen.Shown().size(), 5);
    EXPECT_EQ(meldungen.Shown().at(0).text,
              "Es ist ein Fehler bei der Erstellung der Liste aufgetreten.\r"
              "Überprüfen Sie die Einstellungen auf der vorhergehenden Seite\r"
              "bei den Einschränkungen bzw. auf der ersten Seite mit den\r"
              "Datenquellen.");
    EXPECT_EQ(meldungen.Shown().at(1).text, "Geben Sie eine Bezeichnung für die Liste an.");
    EXPECT_EQ(meldungen.Shown().at(2).type, Tools::mtConfirmation);
    EXPECT_GT(id, 0);
    EXPECT_EQ(Wert("SELECT COUNT(*) FROM T_LISTEN"), vorher + 1);
    EXPECT_EQ(Text(QStringLiteral("SELECT BEZEICHNUNG FROM T_LISTEN WHERE ID = %1").arg(id)),
              "Fehlerhaft");
}

}  // namespace
