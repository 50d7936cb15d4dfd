#include <FHITKorr.h>
#include <FHITPinChange.h>
#include <HitDialog.h>
#include <HitProps.h>

#include <Grundeinstellungen.h>
#include <Query.h>
#include <Transaction.h>
#include <ZRPropGrid.h>

#include <Bildschirmfoto.h>
#include <MessageBoxScript.h>
#include <ScopedEnv.h>
#include <TestDatabase.h>

#include <QApplication>
#include <QCollator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class HitDialogeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        {
            db::Transaction tr(t.Db());
            tr.Start();
            for (const char* sql : {"UPDATE T_RASSEN SET VERWENDET = 'T' WHERE ID = 3",
                                    "UPDATE T_BETRIEBSGRUPPEN SET NUMMER = '276090000000002' "
                                    "WHERE ID = 1",
                                    "INSERT INTO T_BETRIEBSGRUPPEN (ID, BEZEICHNUNG, NUMMER) "
                                    "VALUES (2, 'Weide', '276090000000001')"}) {
                db::Query q(tr, QString::fromLatin1(sql));
                q.Execute();
            }
            tr.Commit();
        }
        TEinstellungen::Umgebung u;
        u.exeName = QStringLiteral("/opt/bovantis/ZR_Bovantis");
        u.benutzerName = QStringLiteral("maier");
        e = std::make_unique<TEinstellungen>(&t.Db(), tmp.filePath(QStringLiteral("daten")), u);
        e->Laden();
    }

    static THITPBefehl Geburt()
    {
        THITPBefehl b;
        b.Meldung = 8;
        b.Felder = {30, 11, 20, 53, 22, 64, 32};
        b.Werte = {QStringLiteral("276000912345670"),
                   QStringLiteral("276090000000001"),
                   QStringLiteral("01.03.2021"),
                   QStringLiteral("01"),
                   QStringLiteral("2"),
                   QStringLiteral("1"),
                   QStringLiteral("276000912300001")};
        return b;
    }

    // Types into a row of the grid (rows count from 1) and leaves it with Enter.
    static void Zeile(TZRPropGrid* g, int zeile, const QString& text)
    {
        g->setFocus();
        g->SetCell(1, zeile);
        for (int i = 0; i < 20 && !(g->Editor() && g->Editor()->isVisible()); ++i)
            QApplication::processEvents();
        TZRGridInplaceEdit* ed = g->Editor();
        ASSERT_TRUE(ed);
        ed->setFocus();
        ed->selectAll();
        QTest::keyClicks(ed, text);
        QTest::keyClick(ed, Qt::Key_Return);
        QApplication::processEvents();
    }
    static QString Zelle(TZRPropGrid* g, int zeile)
    {
        return g->model()->index(zeile - 1, 1).data().toString();
    }

    QTemporaryDir tmp;
    ScopedEnv dataHome{"XDG_DATA_HOME", tmp.filePath("xdg-data").toLocal8Bit()};
    ScopedEnv configHome{"XDG_CONFIG_HOME", tmp.filePath("xdg-config").toLocal8Bit()};
    TestDatabase t;
    std::unique_ptr<TEinstellungen> e;
    MessageBoxScript boxen;
};

TEST(HitPropsRegelnTest, EingabeArtJeFeld)
{
    const struct {
        int code;
        int art;
    } faelle[] = {{-1, 0}, {0, 0}, {1, 0},  {78, 0}, {2, 3},  {63, 3}, {11, 4}, {41, 4},
                  {53, 5}, {4, 5}, {26, 5}, {30, 1}, {31, 1}, {51, 1}, {77, 1}};
    for (const auto& f : faelle)
        EXPECT_EQ(THITProps::EingabeArt(f.code), f.art) << f.code;
}

TEST(HitPropsRegelnTest, Datum)
{
    for (const char* gut : {"01.03.2021", "1.3.2021", " 29.02.2024 ", "3.4.21"})
        EXPECT_FALSE(HITDatumFalsch(QString::fromLatin1(gut))) << gut;
    for (const char* falsch : {"", "29.02.2023", "1.13.2021", "01-03-2021", "heute", "1.3."})
        EXPECT_TRUE(HITDatumFalsch(QString::fromLatin1(falsch))) << falsch;
    EXPECT_EQ(HITDatumNormal(QStringLiteral("3.4.21")), QStringLiteral("03.04.2021"));
    EXPECT_EQ(HITDatumNormal(QStringLiteral("x")), QStringLiteral("x"));
}

TEST_F(HitDialogeTest, AuswahllistenAusEinstellungenUndCodesets)
{
    THITProps props(t.Db(), *e);
    TZRPropGrid grid;
    props.SetGrid(&grid);
    THITPBefehl b;
    b.Felder = {53, 11, 26, 21, 59, 10};
    b.Werte = {QStringLiteral("03"), QString(),           QStringLiteral("276"),
               QStringLiteral("1"),  QStringLiteral("1"), QStringLiteral("09")};
    props.BefehlZeigen(b);
    ASSERT_EQ(grid.Properties().Count(), 6);

    const TZRPropPickList& rassen = grid.Properties().GetItem(0).PickList();
    ASSERT_GE(rassen.Count(), 3);
    EXPECT_EQ(rassen.Schluessel(0), QStringLiteral("01"));
    EXPECT_EQ(rassen.Schluessel(1), QStringLiteral("03"));
    QStringList schluessel;
    for (int i = 0; i < rassen.Count(); ++i) {
        EXPECT_FALSE(schluessel.contains(rassen.Schluessel(i)))
            << rassen.Schluessel(i).toStdString();
        schluessel << rassen.Schluessel(i);
    }
    EXPECT_EQ(rassen.Count(), e->Rassen().size());
    EXPECT_EQ(Zelle(&grid, 1), QStringLiteral("Rotvieh"));

    const TZRPropPickList& betriebe = grid.Properties().GetItem(1).PickList();
    ASSERT_EQ(betriebe.Count(), 2);
    EXPECT_EQ(betriebe.Text(0), QStringLiteral("276090000000001"));
    EXPECT_EQ(betriebe.Schluessel(0), QString());

    const auto texte = [&](int zeile) {
        return grid.Properties().GetItem(zeile).PickList().Texte();
    };
    QStringList laender = texte(2);
    QStringList sortiert = laender;
    std::sort(sortiert.begin(), sortiert.end(),
              [](const QString& a, const QString& b) { return QCollator().compare(a, b) < 0; });
    EXPECT_GT(laender.size(), 10);
    EXPECT_EQ(laender, sortiert);
    EXPECT_EQ(texte(3).first(), QStringLiteral("leicht, ohne Hilfe"));
    EXPECT_EQ(texte(3).size(), 4);
    EXPECT_EQ(texte(4),
              (QStringList{QStringLiteral("Verendung"), QStringLiteral("Schlachtung im Betrieb"),
                           QStringLiteral("Tötung")}));
    QStringList bland = texte(5);
    sortiert = bland;
    std::sort(sortiert.begin(), sortiert.end(),
              [](const QString& a, const QString& b) { return QCollator().compare(a, b) < 0; });
    EXPECT_EQ(bland, sortiert);
    EXPECT_EQ(Zelle(&grid, 6), QStringLiteral("Bayern"));
}

TEST_F(HitDialogeTest, PruefenWaehltDasErsteFehlendeFeld)
{
    THITProps props(t.Db(), *e);
    EXPECT_TRUE(props.Pruefen()) << "no grid";
    TZRPropGrid grid;
    grid.resize(300, 300);
    grid.show();
    props.SetGrid(&grid);
    props.Leeren();
    EXPECT_FALSE(grid.isEnabled());
    EXPECT_TRUE(props.Pruefen());

    THITPBefehl b = Geburt();
    b.Werte[0] = QStringLiteral("  ");
    b.Werte[2] = QStringLiteral("31.02.2021");
    props.BefehlZeigen(b);
    EXPECT_TRUE(grid.isEnabled());
    boxen.Answer(MessageBoxScript::Click(Tools::mrOk));
    EXPECT_FALSE(props.Pruefen());
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text, QStringLiteral("Die Ohrmarkennummer muß angegeben werden!"));
    EXPECT_EQ(grid.Row(), 1);

    b.Werte[0] = QStringLiteral("276000912345670");
    props.BefehlZeigen(b);
    EXPECT_FALSE(props.Pruefen()) << "a wrong date shows no box of its own";
    EXPECT_EQ(grid.Row(), 3);

    b.Werte[2] = QStringLiteral("28.02.2021");
    b.Werte[1].clear();
    props.BefehlZeigen(b);
    boxen.Answer(MessageBoxScript::Click(Tools::mrOk));
    EXPECT_FALSE(props.Pruefen());
    EXPECT_EQ(boxen.Shown().last().text,
              QStringLiteral("Die Betriebsnummer muß angegeben werden!"));
    EXPECT_EQ(grid.Row(), 2);

    b.Werte[1] = QStringLiteral("276090000000001");
    props.BefehlZeigen(b);
    EXPECT_TRUE(props.Pruefen());
}

TEST_F(HitDialogeTest, KorrekturMeldenUebernimmtDieEingaben)
{
    THITPBefehl b = Geburt();
    MessageBoxScript fenster;
    fenster.Window<TfrmHITKorr>([](TfrmHITKorr& dlg) {
        TZRPropGrid* g = dlg.DetailsGrid();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Korrigieren der HIT Meldung"));
        EXPECT_EQ(g->Properties().Count(), 7);
        EXPECT_EQ(g->Properties().GetItem(2).Caption(), QStringLiteral("Geburtsdatum"));
        Bildschirmfoto(dlg, QStringLiteral("hit_korrektur.png"));
        Zeile(g, 3, QStringLiteral("3.4.21"));
        Zeile(g, 7, QStringLiteral("276000912300002"));
        // Esc asks as the discard button does; No keeps the edits.
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QApplication::processEvents();
        EXPECT_TRUE(dlg.isVisible());
        QTest::mouseClick(dlg.MeldenKnopf(), Qt::LeftButton);
    });
    boxen.AnswerWith(Tools::mrNo);
    EXPECT_TRUE(HITMeldungKorrigieren(nullptr, b, t.Db(), *e));
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_EQ(boxen.Shown()[0].text,
              QStringLiteral("Wollen Sie diese Meldung wirklich verwerfen?"));
    EXPECT_EQ(b.Werte[2], QStringLiteral("03.04.2021"));
    EXPECT_EQ(b.Werte[6], QStringLiteral("276000912300002"));
    EXPECT_EQ(b.Werte[0], QStringLiteral("276000912345670"));
    EXPECT_EQ(b.Werte[3], QStringLiteral("01"));
    EXPECT_EQ(b.Felder, Geburt().Felder);
}

TEST_F(HitDialogeTest, VerwerfenFragtUndNeinLaesstDenDialogOffen)
{
    THITPBefehl b = Geburt();
    MessageBoxScript fenster;
    bool nochOffen = false;
    fenster.Window<TfrmHITKorr>([&](TfrmHITKorr& dlg) {
        Zeile(dlg.DetailsGrid(), 3, QStringLiteral("05.05.2021"));
        QTest::mouseClick(dlg.VerwerfenKnopf(), Qt::LeftButton);
        QApplication::processEvents();
        nochOffen = dlg.isVisible();
        QTest::mouseClick(dlg.VerwerfenKnopf(), Qt::LeftButton);
    });
    boxen.AnswerWith(Tools::mrNo).AnswerWith(Tools::mrYes);
    EXPECT_FALSE(HITMeldungKorrigieren(nullptr, b, t.Db(), *e));
    EXPECT_TRUE(nochOffen);
    ASSERT_EQ(boxen.Shown().size(), 2);
    EXPECT_EQ(boxen.Shown()[0].text,
              QStringLiteral("Wollen Sie diese Meldung wirklich verwerfen?"));
    EXPECT_EQ(b.Werte, Geburt().Werte);
}

TEST_F(HitDialogeTest, PinBleibtImGitterVerdeckt)
{
    THITPBefehl b;
    b.Meldung = 16;
    b.Felder = {11, 75, 51, 76};
    b.Werte = {QStringLiteral("276090000000001"), QStringLiteral("0"), QStringLiteral("900000"),
               QStringLiteral("900001")};
    MessageBoxScript fenster;
    fenster.Window<TfrmHITKorr>([](TfrmHITKorr& dlg) {
        TZRPropGrid* g = dlg.DetailsGrid();
        EXPECT_EQ(Zelle(g, 3), QStringLiteral("******"));
        EXPECT_EQ(Zelle(g, 4), QStringLiteral("******"));
        Zeile(g, 4, QStringLiteral("900000"));
        QTest::mouseClick(dlg.MeldenKnopf(), Qt::LeftButton);
    });
    EXPECT_TRUE(HITMeldungKorrigieren(nullptr, b, t.Db(), *e));
    EXPECT_EQ(b.Werte[2], QStringLiteral("900000")) << "an untouched mask keeps the PIN";
    EXPECT_EQ(b.Werte[3], QStringLiteral("900000"));
}

struct Antwort {
    THITKnoepfe knoepfe;
    std::function<void(THITDialog&)> handlung;
    int ergebnis;
};

TEST(HitAntwortDialogTest, KnoepfeTastenUndErgebnisse)
{
    const THITKnoepfe alle = hkRichtig | hkAendern | hkVerwerfen | hkTrennen;
    const THITKnoepfe drei = hkAendern | hkVerwerfen | hkTrennen;
    const auto taste = [](Qt::Key k) {
        return [k](THITDialog& d) {
            QWidget* ziel = d.focusWidget() ? d.focusWidget() : &d;
            QTest::keyClick(ziel, k);
        };
    };
    const auto klick = [](THITKnopf k) {
        return [k](THITDialog& d) { QTest::mouseClick(d.Knopf(k), Qt::LeftButton); };
    };
    const Antwort faelle[] = {
        {alle, taste(Qt::Key_Return), 4}, {alle, taste(Qt::Key_Escape), 1},
        {alle, klick(hkVerwerfen), 2},    {alle, klick(hkTrennen), 3},
        {drei, taste(Qt::Key_Escape), 1}, {drei, klick(hkAendern), 1},
    };
    for (const Antwort& f : faelle) {
        MessageBoxScript script;
        script.Window<THITDialog>(f.handlung);
        EXPECT_EQ(HITDialogZeigen(QStringLiteral("Tier ist nicht im Bestand. Trotzdem melden?"), 3,
                                  f.knoepfe),
                  f.ergebnis);
    }
}

TEST(HitAntwortDialogTest, AufbauUndReihenfolge)
{
    std::unique_ptr<THITDialog> d(
        HITDialogErzeugen(QStringLiteral("Die Meldung wurde abgelehnt: Ohrmarke ungültig."), 3,
                          hkRichtig | hkAendern | hkVerwerfen | hkTrennen));
    d->show();
    QApplication::processEvents();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Bestätigung"));
    EXPECT_TRUE(d->findChild<QLabel*>(QStringLiteral("Image")));
    const char* namen[] = {"Richtig", "Andern", "Verwerfen", "Trennen"};
    const char* captions[] = {"Richtig", "Ändern", "Verwerfen", "Verbindung trennen"};
    int x = -1;
    for (int i = 0; i < 4; ++i) {
        auto* b = d->findChild<QPushButton*>(QString::fromLatin1(namen[i]));
        ASSERT_TRUE(b) << namen[i];
        EXPECT_EQ(b->text(), QString::fromUtf8(captions[i]));
        EXPECT_GT(b->x(), x) << namen[i];
        x = b->x();
    }
    EXPECT_TRUE(d->Knopf(hkRichtig)->isDefault());
    Bildschirmfoto(*d, QStringLiteral("hit_antwort.png"));

    std::unique_ptr<THITDialog> ohne(
        HITDialogErzeugen(QStringLiteral("kurz"), 4, hkAendern | hkVerwerfen | hkTrennen));
    ohne->show();
    QApplication::processEvents();
    EXPECT_EQ(ohne->windowTitle(), QApplication::applicationDisplayName());
    EXPECT_FALSE(ohne->findChild<QLabel*>(QStringLiteral("Image")));
    EXPECT_FALSE(ohne->Knopf(hkRichtig));
    for (QPushButton* b : ohne->findChildren<QPushButton*>())
        EXPECT_FALSE(b->isDefault()) << b->objectName().toStdString();
    const int knopfBreiten = ohne->Knopf(hkAendern)->width() + ohne->Knopf(hkVerwerfen)->width() +
                             ohne->Knopf(hkTrennen)->width();
    EXPECT_GE(ohne->width(), knopfBreiten) << "a short message keeps the buttons' width";

    const QString lang = QStringLiteral("Sehr lange Meldung des HIT-Servers ").repeated(30);
    std::unique_ptr<THITDialog> breit(HITDialogErzeugen(lang, 1, hkAendern | hkVerwerfen));
    breit->show();
    QApplication::processEvents();
    auto* text = breit->findChild<QLabel*>(QStringLiteral("Message"));
    ASSERT_TRUE(text);
    const int halb = breit->screen()->availableGeometry().width() / 2;
    EXPECT_LE(text->width(), halb);
    EXPECT_GT(text->height(), 2 * text->fontMetrics().height()) << "the long text wraps";
    Bildschirmfoto(*breit, QStringLiteral("hit_antwort_lang.png"));
}

TEST(HitPinDialogTest, BeideEingabenVerdecktUndLesbarNachAendern)
{
    MessageBoxScript script;
    QString pin1, pin2;
    script.Window<TfrmHITPinChange>([&](TfrmHITPinChange& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("HI Tier - PIN Änderung"));
        EXPECT_EQ(d.Pin1()->echoMode(), QLineEdit::Password);
        EXPECT_EQ(d.Pin2()->echoMode(), QLineEdit::Password);
        QTest::keyClicks(d.Pin1(), QStringLiteral("123456"));
        QTest::keyClicks(d.Pin2(), QStringLiteral("123457"));
        Bildschirmfoto(d, QStringLiteral("hit_pin.png"));
        QTest::mouseClick(d.AendernKnopf(), Qt::LeftButton);
    });
    TfrmHITPinChange dlg;
    dlg.BNR()->setText(QStringLiteral("276 09 000 000 0001"));
    ASSERT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(dlg.Pin1()->text(), QStringLiteral("123456"));
    EXPECT_EQ(dlg.Pin2()->text(), QStringLiteral("123457")) << "the program does not compare them";

    script.Window<TfrmHITPinChange>(
        [](TfrmHITPinChange& d) { QTest::mouseClick(d.AbbrechenKnopf(), Qt::LeftButton); });
    TfrmHITPinChange abbrechen;
    EXPECT_EQ(abbrechen.exec(), QDialog::Rejected);
}

}  // namespace
