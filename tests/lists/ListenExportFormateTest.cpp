#include "ListenExportLeser.h"

#include <ListenExportFormate.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using ListenExport::Format;
using ListenExport::Spalte;
using ListenExport::Tabelle;
using ListenExport::Typ;

namespace {

// Umlauts, characters the formats escape, dates, times, Booleans, empty cells and a line break.
Tabelle Kuhliste()
{
    Tabelle t;
    t.kopf = "Kühe im Stall";
    t.erstellt = QDateTime(QDate(2025, 2, 1), QTime(10, 15));
    t.spalten = {{"Name", Typ::Text, {}},
                 {"Geboren", Typ::Datum, {}},
                 {"Uhrzeit", Typ::Zeit, {}},
                 {"Gemeldet", Typ::DatumZeit, {}},
                 {"Trächtig", Typ::Wahrheitswert, {}},
                 {"Nummer", Typ::Ganzzahl, {}},
                 {"Milch", Typ::Zahl, "0.00"},
                 {"Bemerkung", Typ::Text, {}}};
    t.werte = {"Ölke, \"Bärbel\"",
               QDate(2024, 3, 12),
               QTime(7, 5),
               QDateTime(QDate(2024, 3, 12), QTime(18, 30)),
               true,
               276,
               31.5,
               "Zeile 1\nZeile 2",
               "Straße € ß",
               QVariant(),
               QVariant(),
               QVariant(),
               false,
               -5,
               QVariant(),
               "",
               "",
               QDate(1999, 12, 31),
               QTime(23, 59),
               QDateTime(QDate(2000, 1, 1), QTime(0, 15)),
               QVariant(),
               QVariant(),
               1234.5,
               "<b>&</b>"};
    return t;
}

const QStringList Titel{"Name",     "Geboren", "Uhrzeit", "Gemeldet",
                        "Trächtig", "Nummer",  "Milch",   "Bemerkung"};
const QList<QStringList> Angezeigt{
    {"Ölke, \"Bärbel\"", "12.03.2024", "07:05", "18:30 12.03.2024", "Wahr", "276", "31,50",
     "Zeile 1\nZeile 2"},
    {"Straße € ß", "", "", "", "Falsch", "-5", "", ""},
    {"", "31.12.1999", "23:59", "00:15 01.01.2000", "", "", "1234,50", "<b>&</b>"}};

QString Schreiben(const QTemporaryDir& ordner, Format format, const Tabelle& t,
                  const ListenExport::Optionen& o = {})
{
    const QString datei = ordner.filePath("liste." + ListenExport::Dateiendung(format));
    QFile f(datei);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(ListenExport::Schreiben(format, t, o));
    return datei;
}

TEST(ListenExportFormate, JedesFormatLiestSichMitFremdemLeserZurueck)
{
    QTemporaryDir ordner;
    const Tabelle t = Kuhliste();
    struct Fall {
        Format format;
        // How the reader shows a cell where the format stores the value rather than its text.
        std::function<void(QList<QStringList>&)> anpassen;
    };
    const auto ohneUmbruch = [](QList<QStringList>& z) { z[1][7] = "Zeile 1 Zeile 2"; };
    const auto excel = [](QList<QStringList>& z) {
        z[1][6] = "31.5";
        z[3][6] = "1234.5";
        const QStringList leer(8, QString());
        z.prepend(leer);
        z.prepend(QStringList{"Erstellt: 10:15 01.02.2025"} + QStringList(7, QString()));
        z.prepend(QStringList{"Kühe im Stall"} + QStringList(7, QString()));
    };
    for (const Fall& fall :
         {Fall{Format::CSV, {}}, Fall{Format::TabText, {}}, Fall{Format::Excel, excel},
          Fall{Format::Word, {}}, Fall{Format::HTML, {}}, Fall{Format::RTF, {}},
          Fall{Format::Text, ohneUmbruch}}) {
        SCOPED_TRACE(ListenExport::Formatname(fall.format).toStdString());
        const QJsonObject gelesen = ExportLeser::Lesen(Schreiben(ordner, fall.format, t));
        QList<QStringList> erwartet = QList<QStringList>{Titel} + Angezeigt;
        if (fall.anpassen)
            fall.anpassen(erwartet);
        EXPECT_EQ(ExportLeser::Zeilen(gelesen), erwartet);

        if (fall.format == Format::Excel) {
            const QStringList fett = gelesen.value("fett").toVariant().toStringList();
            EXPECT_EQ(fett, (QStringList{"A1", "A4", "B4", "C4", "D4", "E4", "F4", "G4", "H4"}));
            EXPECT_EQ(gelesen.value("fuss").toString(), "&P");
            EXPECT_EQ(gelesen.value("breite").toDouble(), 20.0);
        }
        if (fall.format == Format::Word) {
            EXPECT_EQ(gelesen.value("absaetze").toVariant().toStringList(),
                      (QStringList{"Kühe im Stall", "Erstellt: 10:15 01.02.2025"}));
            EXPECT_EQ(gelesen.value("fett").toVariant().toList(),
                      (QVariantList{true, false, false, false}));
            EXPECT_TRUE(gelesen.value("quer").toBool());
        }
        if (fall.format == Format::HTML) {
            EXPECT_EQ(gelesen.value("titel").toString(), "Kühe im Stall");
            EXPECT_EQ(gelesen.value("h1").toString(), "Kühe im Stall");
            EXPECT_EQ(gelesen.value("p").toVariant().toStringList(),
                      QStringList{"Erstellt: 10:15 01.02.2025"});
            EXPECT_EQ(gelesen.value("fett").toVariant().toStringList(), Titel);
        }
        if (fall.format == Format::RTF) {
            EXPECT_EQ(gelesen.value("p").toVariant().toStringList(),
                      (QStringList{"Kühe im Stall", "Erstellt: 10:15 01.02.2025"}));
        }
        if (fall.format == Format::Text) {
            EXPECT_EQ(gelesen.value("vorspann").toVariant().toStringList(),
                      (QStringList{"Kühe im Stall", "Erstellt: 10:15 01.02.2025", ""}));
            EXPECT_EQ(gelesen.value("rest").toVariant().toStringList(), QStringList{""});
        }
    }
}

TEST(ListenExportFormate, ZwischenablageIstTabulatorTextOhneBom)
{
    const QByteArray text = ListenExport::Schreiben(Format::Zwischenablage, Kuhliste());
    EXPECT_TRUE(text.startsWith("Name\tGeboren\t"));
    EXPECT_TRUE(text.contains("\r\nStraße € ß\t\t\t\tFalsch\t-5\t\t\r\n"));
    EXPECT_TRUE(ListenExport::Schreiben(Format::CSV, Kuhliste()).startsWith("\xEF\xBB\xBFName,"));
}

TEST(ListenExportFormate, LeereListeUndOhneKopfzeile)
{
    QTemporaryDir ordner;
    Tabelle leer = Kuhliste();
    leer.werte.clear();
    ListenExport::Optionen ohne;
    ohne.kopfzeile = false;
    for (Format f :
         {Format::CSV, Format::TabText, Format::Excel, Format::Word, Format::HTML, Format::RTF}) {
        SCOPED_TRACE(ListenExport::Formatname(f).toStdString());
        const QList<QStringList> zeilen =
            ExportLeser::Zeilen(ExportLeser::Lesen(Schreiben(ordner, f, leer)));
        ASSERT_FALSE(zeilen.isEmpty());
        EXPECT_EQ(zeilen.last(), Titel);
        if (f == Format::Excel || f == Format::Word)
            continue;  // the readers need a first row to find the table
        const QList<QStringList> ohneKopf =
            ExportLeser::Zeilen(ExportLeser::Lesen(Schreiben(ordner, f, Kuhliste(), ohne)));
        EXPECT_EQ(ohneKopf, Angezeigt);
    }
}

TEST(ListenExportFormate, LangerTextWirdImKlartextGekuerzt)
{
    Tabelle t;
    t.spalten = {{"Text", Typ::Text, {}}};
    const QString lang = QString(39, u'a') + "ÄÖ";
    t.werte = {QString(40, u'b'), lang};
    const QString text = QString::fromUtf8(ListenExport::Schreiben(Format::Text, t));
    EXPECT_TRUE(text.contains("\n" + QString(40, u'b') + "\n"));
    EXPECT_TRUE(text.contains("\n" + QString(37, u'a') + "...\n"));
    EXPECT_FALSE(text.contains("Ä"));
}

TEST(ListenExportFormate, SpaltentitelNachDemErstenPassendenFeld)
{
    struct Fall {
        QString feld;
        QString titel;
    };
    const QList<QPair<QString, QString>> layout{{"Q1.NUMMER", "Ohrmarke"},
                                                {"Q1.NUMMER", "Zweiter Titel"},
                                                {"S.N1", "Nr."},
                                                {"Q2.GEBDAT", "Geboren"},
                                                {"Q1NAME", "Ohne Punkt"}};
    for (const Fall& fall :
         {Fall{"Q1NUMMER", "Ohrmarke"}, Fall{"Q2GEBDAT", "Geboren"}, Fall{"Q1TIERID", "Q1TIERID"},
          Fall{"SN1", "Nr."}, Fall{"Q1NAME", "Ohne Punkt"}, Fall{"q1nummer", "q1nummer"}}) {
        SCOPED_TRACE(fall.feld.toStdString());
        EXPECT_EQ(ListenExport::Spaltentitel({fall.feld}, layout), QStringList{fall.titel});
    }
}

TEST(ListenExportFormate, ZellTextNachTyp)
{
    struct Fall {
        Spalte spalte;
        QVariant wert;
        QString text;
    };
    for (const Fall& fall : {
             Fall{{"", Typ::Datum, {}}, QDate(2024, 1, 2), "02.01.2024"},
             Fall{{"", Typ::Zeit, {}}, QTime(9, 8, 59), "09:08"},
             Fall{{"", Typ::DatumZeit, {}},
                  QDateTime(QDate(2024, 1, 2), QTime(9, 8)),
                  "09:08 02.01.2024"},
             Fall{{"", Typ::Wahrheitswert, {}}, true, "Wahr"},
             Fall{{"", Typ::Wahrheitswert, {}}, false, "Falsch"},
             Fall{{"", Typ::Wahrheitswert, {}}, QVariant(), ""},
             Fall{{"", Typ::Zahl, {}}, 2.5, "2,5"},
             Fall{{"", Typ::Zahl, "#,##0.00"}, 12345.678, "12.345,68"},
             Fall{
                 {"", Typ::Ganzzahl, {}}, QVariant::fromValue(qlonglong(1) << 40), "1099511627776"},
             Fall{{"", Typ::Text, {}}, QVariant(), ""},
         }) {
        SCOPED_TRACE(fall.text.toStdString());
        EXPECT_EQ(ListenExport::ZellText(fall.spalte, fall.wert), fall.text);
    }
}

}  // namespace
