#include "../preview/DruckTestHilfe.h"
#include "LayoutEditorDaten.h"

#include <FEigenschaftenLinie.h>
#include <FListenDesignDruck.h>

#include <ListenDruck.h>

#include <DBAMCheckbox.h>
#include <DataSet.h>
#include <MessageBoxScript.h>
#include <VorschauFenster.h>

#include <QComboBox>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

class ListenDesignDruckTest : public LayoutEditorTest {
protected:
    void Oeffnen(int liste, db::DataSet* daten = nullptr)
    {
        fenster = std::make_unique<TfrmListenDesignDruck>(DM()->Datenbank);
        fenster->Vorbereiten(liste, daten);
        fenster->show();
        fenster->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
    }
    void TearDown() override
    {
        fenster.reset();
        LayoutEditorTest::TearDown();
    }
    template <class T>
    T* Kind(const char* name)
    {
        T* w = fenster->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Klick(const char* name)
    {
        QPushButton* k = Kind<QPushButton>(name);
        ASSERT_TRUE(k->isVisible()) << name;
        QTest::mouseClick(k, Qt::LeftButton);
    }
    void Seite(const QString& titel)
    {
        QTabWidget* s = fenster->Seiten();
        for (int i = 0; i < s->count(); ++i)
            if (s->tabText(i) == titel)
                s->setCurrentIndex(i);
        ASSERT_EQ(s->tabText(s->currentIndex()), titel);
    }
    void Tippen(const char* name, const QString& text)
    {
        // A message box just closed gives the window back its activation later.
        fenster->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
        QLineEdit* e = Kind<QLineEdit>(name);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Tab);
    }
    QStringList Wahlen(QComboBox* box)
    {
        QStringList w;
        for (int i = 0; i < box->count(); ++i)
            w << box->itemText(i) + "=" + box->itemData(i).toString();
        return w;
    }
    // Chooses a font in the font dialog that the named button opens.
    QString SchriftWaehlen(const char* knopf, const QFont& schrift)
    {
        QString vorher;
        MessageBoxScript bedienung;
        bedienung.Window<QFontDialog>([&](QFontDialog& d) {
            vorher = d.currentFont().family() + " " + QString::number(d.currentFont().pointSize());
            d.setCurrentFont(schrift);
            d.accept();
        });
        Klick(knopf);
        EXPECT_EQ(bedienung.PendingWindows(), 0) << knopf;
        return vorher;
    }
    // Sets style and width in the line dialog that the named button opens.
    void LinieWaehlen(const char* knopf, const QString& art, const QString& breite, bool ok,
                      const QString& bild = {})
    {
        MessageBoxScript bedienung;
        bedienung.Window<TfrmEigenschaftenLinie>([&](TfrmEigenschaftenLinie& d) {
            for (auto [box, text] : {std::pair{d.Art(), art}, std::pair{d.Breite(), breite}}) {
                box->setFocus();
                const int i = box->findText(text);
                ASSERT_GE(i, 0) << text.toStdString();
                while (box->currentIndex() != i)
                    QTest::keyClick(box, box->currentIndex() < i ? Qt::Key_Down : Qt::Key_Up);
            }
            if (!bild.isEmpty())
                Bildschirmfoto(d, bild + ".png");
            QTest::mouseClick(d.findChild<QPushButton*>(ok ? "Ok" : "Abbrechen"), Qt::LeftButton);
        });
        Klick(knopf);
        EXPECT_EQ(bedienung.PendingWindows(), 0) << knopf;
    }

    std::unique_ptr<TfrmListenDesignDruck> fenster;
};

TEST_F(ListenDesignDruckTest, DatumsauswahlNurMitDenDatumsspaltenDerListe)
{
    Oeffnen(Herde);
    EXPECT_EQ(fenster->windowTitle(), "Listen Design Druck-Ausgabe");
    EXPECT_EQ(fenster->Seiten()->tabText(fenster->Seiten()->currentIndex()), "Allgemein");
    EXPECT_EQ(
        Wahlen(fenster->DatumFett()),
        (QStringList{"Deaktiviert=-", "Tier: Geburtsdatum=Q1GEBDAT", "Kalbung: Datum=Q2DATUM"}));
    EXPECT_EQ(fenster->DatumFett()->currentText(), "Tier: Geburtsdatum");
    EXPECT_EQ(Kind<QLabel>("lbSchrift")->text(), "DejaVu Sans, Größe 12, fett");
    EXPECT_EQ(Kind<QComboBox>("Ausrichtung")->currentText(), "Zentriert");
    EXPECT_EQ(Kind<QComboBox>("Stand")->currentText(), "Rechts");
    Bildschirmfoto(*fenster, "listendesigndruck-allgemein.png");
    for (const char* seite : {"Felder", "Papier", "Rahmen"}) {
        Seite(seite);
        Bildschirmfoto(*fenster, QStringLiteral("listendesigndruck-%1.png").arg(seite).toLower());
    }

    QComboBox* datum = fenster->DatumFett();
    datum->setFocus();
    QTest::keyClick(datum, Qt::Key_Down);
    EXPECT_EQ(datum->currentText(), "Kalbung: Datum");
    fenster->close();
    EXPECT_EQ(Text("SELECT DATUM_VERGANGEN_FETT FROM T_LISTEN WHERE ID = 5"), "Q2DATUM");
}

TEST_F(ListenDesignDruckTest, InterneListeBietetNurDeaktiviert)
{
    MessageBoxScript boxen;
    Oeffnen(Intern);
    EXPECT_EQ(Wahlen(fenster->DatumFett()), QStringList{"Deaktiviert=-"});
    EXPECT_TRUE(boxen.Shown().isEmpty());
}

TEST_F(ListenDesignDruckTest, FehlerhafteAbfrageOeffnetDenEditorTrotzdem)
{
    MessageBoxScript boxen;
    boxen.AnswerWith(Tools::mrOk);
    Oeffnen(Kaputt);
    ASSERT_EQ(boxen.Shown().size(), 1);
    EXPECT_TRUE(boxen.Shown()[0].text.startsWith(
        "Die Datumsfelder der Liste konnten nicht ermittelt werden"))
        << boxen.Shown()[0].text.toStdString();
    EXPECT_TRUE(boxen.Shown()[0].text.contains("NICHTDA")) << boxen.Shown()[0].text.toStdString();
    EXPECT_EQ(Wahlen(fenster->DatumFett()), QStringList{"Deaktiviert=-"});
    Seite("Papier");
    Tippen("RandLinks", "25");
    fenster->close();
    // The stored choice is left as it was; the rest is stored.
    EXPECT_EQ(Text("SELECT DATUM_VERGANGEN_FETT || '|' || RAND_LINKS FROM T_LISTEN WHERE ID = 6"),
              "Q1GEBDAT|25");
}

TEST_F(ListenDesignDruckTest, SchriftenAendernUndFuerAlleSetzen)
{
    Oeffnen(Herde);
    EXPECT_EQ(SchriftWaehlen("SchriftAendern", QFont("Liberation Serif", 16, -1, true)),
              "DejaVu Sans 12");
    EXPECT_EQ(fenster->QListen().FieldByName("SCHRIFT").AsString(), "Liberation Serif;16;I");
    EXPECT_EQ(Kind<QLabel>("lbSchrift")->text(), "Liberation Serif, Größe 16, kursiv");

    Seite("Felder");
    fenster->FeldWaehlen(1);
    EXPECT_EQ(Kind<QLabel>("lbFeldSchrift")->text(), "DejaVu Serif, Größe 11, kursiv");
    EXPECT_EQ(Kind<QLabel>("lbTitelSchrift")->text(), "DejaVu Serif, Größe 9");
    EXPECT_EQ(Kind<QLabel>("lbFormat")->text(), "Format:");
    QFont mono("Liberation Mono", 9);
    mono.setBold(true);
    mono.setItalic(true);
    SchriftWaehlen("Button3", mono);
    EXPECT_EQ(Kind<QLabel>("lbFeldSchrift")->text(), "Liberation Mono, Größe 9, fett, kursiv");
    Klick("Button4");
    // Every column has the field font and narrow flag of the current one, which stays current.
    EXPECT_EQ(fenster->QFelder().FieldByName("FELD").AsString(), "Q1.GEBDAT");
    EXPECT_EQ(fenster->Felder()->currentIndex().row(), 1);
    fenster->FeldWaehlen(0);
    SchriftWaehlen("Button1", QFont("Liberation Sans", 11));
    Klick("Button2");
    EXPECT_EQ(fenster->QFelder().FieldByName("FELD").AsString(), "Q1.NUMMER");
    fenster->FeldWaehlen(2);
    EXPECT_EQ(Kind<QLabel>("lbFormat")->text(), "Wert:");
    EXPECT_TRUE(Kind<QLineEdit>("Wert")->isVisible());
    EXPECT_FALSE(Kind<QLineEdit>("Format")->isVisible());
    fenster->close();
    EXPECT_EQ(Text("SELECT LIST(FELD || '=' || SCHRIFT || '/' || SCHRIFTSCHMAL || '/' || "
                   "TITEL_SCHRIFT, ',') FROM (SELECT * FROM T_LISTEN_DRUCK WHERE LISTE = 5 "
                   "ORDER BY ID)"),
              "Q1.NUMMER=Liberation Mono;9;BI/T/Liberation Sans;11;,"
              "Q1.GEBDAT=Liberation Mono;9;BI/T/Liberation Sans;11;,"
              "S.F1=Liberation Mono;9;BI/T/Liberation Sans;11;");
    EXPECT_EQ(Text("SELECT SCHRIFT FROM T_LISTEN WHERE ID = 5"), "Liberation Serif;16;I");
}

TEST_F(ListenDesignDruckTest, LinienstilAbbrechenStelltDenAltenStilWiederHer)
{
    Oeffnen(Herde);
    Seite("Rahmen");
    QTest::mouseClick(Kind<TDBAMCheckbox>("UeberTitel"), Qt::LeftButton);
    LinieWaehlen("ueberConfig", "punktiert", "1,50", true, "eigenschaftenlinie");
    EXPECT_EQ(fenster->QListen().FieldByName("LINIE_UEBER_TITEL_ART").AsString(), "P");
    EXPECT_EQ(fenster->QListen().FieldByName("LINIE_UEBER_TITEL_BREITE").AsInteger(), 150);
    LinieWaehlen("ueberConfig", "Strich Punkt Punkt", "Haarlinie", false);
    EXPECT_EQ(fenster->QListen().FieldByName("LINIE_UEBER_TITEL_ART").AsString(), "P");
    EXPECT_EQ(fenster->QListen().FieldByName("LINIE_UEBER_TITEL_BREITE").AsInteger(), 150);
    LinieWaehlen("untenConfig", "strichliert", "0,75", true);
    fenster->close();
    EXPECT_EQ(Text("SELECT LINIE_UEBER_TITEL || LINIE_UEBER_TITEL_ART || LINIE_UEBER_TITEL_BREITE "
                   "|| '|' || LINIE_UNTEN_ART || LINIE_UNTEN_BREITE FROM T_LISTEN WHERE ID = 5"),
              "TP150|D75");
}

TEST_F(ListenDesignDruckTest, VertikaleLinienHinzufuegenAnpassenLoeschen)
{
    Oeffnen(Herde);
    Seite("Rahmen");
    QTableView* linien = fenster->Linien();
    ASSERT_EQ(linien->model()->rowCount(), 1);
    EXPECT_EQ(linien->model()->data(linien->model()->index(0, 0)).toString(), "35 mm");
    EXPECT_FALSE(Kind<QLabel>("lbKeineLinie")->isVisible());
    EXPECT_EQ(Kind<QComboBox>("BeginnTitel")->currentText(), "1. Zeile");

    Klick("LinieHinzu");
    EXPECT_TRUE(Kind<QLineEdit>("LinienPosition")->hasFocus());
    db::DataSet& l = fenster->QLinien();
    EXPECT_EQ(l.FieldByName("L_POSITION").AsInteger(), 0);
    EXPECT_EQ(l.FieldByName("BEGINN_TITEL").AsString(), "T");
    EXPECT_EQ(l.FieldByName("ART").AsString(), "S");
    EXPECT_EQ(l.FieldByName("BREITE").AsInteger(), 0);
    Tippen("LinienPosition", "-12");
    LinieWaehlen("LinieAnpassen", "Strich Punkt", "2,00", true);
    Klick("setzen");
    EXPECT_EQ(linien->model()->rowCount(), 2);
    EXPECT_EQ(
        linien->model()->data(linien->model()->index(linien->currentIndex().row(), 0)).toString(),
        "-12 mm");

    // The old line goes; the new one stays.
    linien->setCurrentIndex(linien->model()->index(0, 0));
    ASSERT_EQ(l.FieldByName("L_POSITION").AsInteger(), 35);
    Klick("LinieEntfernen");
    EXPECT_EQ(linien->model()->rowCount(), 1);
    fenster->close();
    EXPECT_EQ(Text("SELECT LIST(L_POSITION || BEGINN_TITEL || ART || BREITE) FROM T_LISTEN_LINIEN "
                   "WHERE LISTE = 5"),
              "-12TDP200");

    Oeffnen(Intern);
    Seite("Rahmen");
    EXPECT_TRUE(Kind<QLabel>("lbKeineLinie")->isVisible());
    EXPECT_EQ(Kind<QLabel>("lbKeineLinie")->text(), "< keine Linie >");
}

TEST_F(ListenDesignDruckTest, TestZeigtDieVorschauDesGespeichertenLayouts)
{
    Oeffnen(Herde);
    Seite("Papier");
    Tippen("RandOben", "30");
    QStringList vorschau;
    QTimer schliessen;
    QObject::connect(&schliessen, &QTimer::timeout, [&] {
        if (auto* form = qobject_cast<TfmPreview*>(QApplication::activeModalWidget())) {
            vorschau << form->Preview().Title() + "|" + QString::number(form->Preview().MaxPage());
            form->reject();
        }
    });
    schliessen.start(20);
    Klick("Test");
    schliessen.stop();
    ASSERT_EQ(vorschau.size(), 1);
    EXPECT_EQ(vorschau[0], "ZR Bovantis - Herdenliste|1");
    EXPECT_EQ(Text("SELECT RAND_OBEN FROM T_LISTEN WHERE ID = 5"), "30");
    EXPECT_TRUE(fenster->isVisible());

    // An internal list previews the host's rows.
    fenster->close();
    db::Transaction tr(DM()->Datenbank);
    tr.Start();
    db::DataSet daten(tr);
    daten.SetSelectSQL(TestSQL);
    daten.Open();
    Oeffnen(Intern, &daten);
    schliessen.start(20);
    Klick("Test");
    schliessen.stop();
    ASSERT_EQ(vorschau.size(), 2);
    EXPECT_EQ(vorschau[1], "ZR Bovantis - Interne Liste|1");
    fenster->close();
    fenster.reset();
    daten.Close();
}

TEST_F(ListenDesignDruckTest, BearbeitetesLayoutDrucktInEinePdfDatei)
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    const QString pdffonts = QStandardPaths::findExecutable("pdffonts");
    ASSERT_FALSE(pdftotext.isEmpty() || pdffonts.isEmpty())
        << "poppler-utils is needed (scripts/install-deps.sh)";
    Oeffnen(Herde);
    SchriftWaehlen("SchriftAendern", QFont("Liberation Serif", 16, -1, true));
    QComboBox* stand = Kind<QComboBox>("Stand");
    stand->setFocus();
    QTest::keyClick(stand, Qt::Key_Up);
    EXPECT_EQ(stand->currentText(), "Links");
    Seite("Felder");
    fenster->FeldWaehlen(0);
    Tippen("Titel", "Ohrmarke");
    SchriftWaehlen("Button3", QFont("Liberation Mono", 10));
    Klick("Button4");
    fenster->close();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrinterGeraet geraet(printer);
    auto ausgabe = std::make_unique<QPrinterOutput>(printer);
    const QString datei = QDir(ordner.path()).filePath("liste.pdf");
    ausgabe->FileNameQuery = [datei](const QString&) { return datei; };
    auto druck = TListenDruck::CreateMitSQL(DM()->Datenbank, Herde, 0, QString(), geraet,
                                            std::move(ausgabe));
    druck->DruckeInhalt(nullptr);
    druck->Preview->Print();
    ASSERT_TRUE(QFileInfo::exists(datei));

    QProcess leser;
    leser.start(pdftotext, {"-layout", datei, "-"});
    ASSERT_TRUE(leser.waitForFinished(30000));
    const QStringList zeilen = QString::fromUtf8(leser.readAllStandardOutput()).split('\n');
    const auto zeile = [&](const QString& text) {
        for (const QString& z : zeilen)
            if (z.contains(text))
                return z.simplified();
        return QString();
    };
    // The date line now left of the title; the renamed column; the rows.
    EXPECT_TRUE(zeile("Herdenliste").startsWith("Stand:")) << zeile("Herdenliste").toStdString();
    EXPECT_TRUE(zeile("Ohrmarke").contains("Geboren")) << zeilen.join('\n').toStdString();
    EXPECT_EQ(zeile("DE 01"), "DE 01 03.02.2020 fix");
    EXPECT_EQ(zeile("DE 02"), "DE 02 06.05.2021 fix");

    QProcess schriften;
    schriften.start(pdffonts, {datei});
    ASSERT_TRUE(schriften.waitForFinished(30000));
    const QString fonts = QString::fromUtf8(schriften.readAllStandardOutput());
    EXPECT_TRUE(fonts.contains("LiberationSerif-Italic")) << fonts.toStdString();
    EXPECT_TRUE(fonts.contains("LiberationMono")) << fonts.toStdString();
}

}  // namespace
