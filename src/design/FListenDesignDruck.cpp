#include "FListenDesignDruck.h"

#include "FEigenschaftenLinie.h"
#include "LayoutEditorControls.h"
#include "LayoutEditorLogik.h"
#include "ListenDruckCodes.h"

#include <DBComboBox.h>
#include <DBTools.h>
#include <Datenmodul.h>
#include <ListenDruck.h>

#include <DBAMCheckbox.h>
#include <DBFloatEdit.h>
#include <DBZRBaseEdit.h>
#include <Meldung.h>

#include <QComboBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <stdexcept>
#include <tuple>

using LayoutEditor::Auswahl;
using LayoutEditor::Haken;
using LayoutEditor::Text;
using LayoutEditor::Zahl;

namespace {

// A one-column list of the dataset's records showing one field.
QTableView* Liste(db::DataSetModel& modell, const char* name, QWidget* parent)
{
    auto* v = new QTableView(parent);
    v->setObjectName(QLatin1String(name));
    v->setModel(&modell);
    v->horizontalHeader()->hide();
    v->horizontalHeader()->setStretchLastSection(true);
    v->verticalHeader()->hide();
    v->verticalHeader()->setDefaultSectionSize(v->fontMetrics().height() + 6);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setShowGrid(false);
    return v;
}

// Shows only the named field of the dataset.
void NurFeld(db::DataSet& ds, const QString& feld)
{
    for (int i = 0; i < ds.FieldCount(); ++i)
        ds.Fields(i).Visible = ds.Fields(i).FieldName() == feld;
}

// The list follows the dataset and moves it when clicked; a refused post keeps the old record.
void Folgen(QTableView* liste, db::DataSetModel& modell, db::DataSet& ds)
{
    QObject::connect(&modell, &db::DataSetModel::CurrentRowChanged, liste, [liste, &modell](int z) {
        if (z >= 0 && liste->currentIndex().row() != z)
            liste->setCurrentIndex(modell.index(z, 0));
    });
    QObject::connect(liste->selectionModel(), &QItemSelectionModel::currentRowChanged, liste,
                     [liste, &modell, &ds](const QModelIndex& jetzt) {
                         if (!jetzt.isValid() || ds.RecNo() == jetzt.row())
                             return;
                         DBTools::Sicher([&ds, &jetzt] { ds.MoveTo(jetzt.row()); });
                         if (ds.RecNo() != jetzt.row())
                             liste->setCurrentIndex(modell.index(ds.RecNo(), jetzt.column()));
                     });
}

QLabel* Beschriftung(const QString& text, QWidget* parent)
{
    return new QLabel(text, parent);
}

}  // namespace

TfrmListenDesignDruck::TfrmListenDesignDruck(db::Database& datenbank, QWidget* owner)
    : TZRDialog(owner),
      TADruck(datenbank, QStringLiteral("TADruck")),
      listen_(TADruck),
      felder_(TADruck),
      linien_(TADruck),
      seiten_(new QTabWidget(this))
{
    setObjectName(QStringLiteral("frmListenDesignDruck"));
    setWindowTitle(QStringLiteral("Listen Design Druck-Ausgabe"));
    setHelpContext(HilfeKontext);
    // The bound controls read their fields as they are made.
    TADruck.Start();

    listen_.SetSelectSQL(QStringLiteral(
        "select AUSRICHTUNG, ID, PAPIER_AUSRICHTUNG, RAND_LINKS, RAND_OBEN, RAND_RECHTS,\n"
        "  RAND_UNTEN, SCHRIFT, STAND, LINIE_UEBER_TITEL, LINIE_UNTER_TITEL, LINIE_ZWISCHEN,\n"
        "  LINIE_UNTEN, LINIE_ZWISCHEN_ZEILEN, LINIE_UEBER_TITEL_ART, LINIE_UNTER_TITEL_ART,\n"
        "  LINIE_ZWISCHEN_ART, LINIE_UNTEN_ART, LINIE_UEBER_TITEL_BREITE,\n"
        "  LINIE_UNTER_TITEL_BREITE, LINIE_ZWISCHEN_BREITE, LINIE_UNTEN_BREITE,\n"
        "  MULTI_LINE_SHORT_DRUCK, DATUM_VERGANGEN_FETT, SQL, QUELLE1, QUELLE2, QUELLE3\n"
        "from T_LISTEN WHERE ID = :LISTE"));
    listen_.SetModifySQL(QStringLiteral(
        "UPDATE T_LISTEN SET AUSRICHTUNG = :AUSRICHTUNG, PAPIER_AUSRICHTUNG = "
        ":PAPIER_AUSRICHTUNG,\n"
        "  RAND_LINKS = :RAND_LINKS, RAND_OBEN = :RAND_OBEN, RAND_RECHTS = :RAND_RECHTS,\n"
        "  RAND_UNTEN = :RAND_UNTEN, SCHRIFT = :SCHRIFT, STAND = :STAND,\n"
        "  LINIE_UEBER_TITEL = :LINIE_UEBER_TITEL, LINIE_UNTER_TITEL = :LINIE_UNTER_TITEL,\n"
        "  LINIE_ZWISCHEN = :LINIE_ZWISCHEN, LINIE_UNTEN = :LINIE_UNTEN,\n"
        "  LINIE_ZWISCHEN_ZEILEN = :LINIE_ZWISCHEN_ZEILEN,\n"
        "  LINIE_UEBER_TITEL_ART = :LINIE_UEBER_TITEL_ART,\n"
        "  LINIE_UNTER_TITEL_ART = :LINIE_UNTER_TITEL_ART,\n"
        "  LINIE_ZWISCHEN_ART = :LINIE_ZWISCHEN_ART, LINIE_UNTEN_ART = :LINIE_UNTEN_ART,\n"
        "  LINIE_UEBER_TITEL_BREITE = :LINIE_UEBER_TITEL_BREITE,\n"
        "  LINIE_UNTER_TITEL_BREITE = :LINIE_UNTER_TITEL_BREITE,\n"
        "  LINIE_ZWISCHEN_BREITE = :LINIE_ZWISCHEN_BREITE,\n"
        "  LINIE_UNTEN_BREITE = :LINIE_UNTEN_BREITE,\n"
        "  MULTI_LINE_SHORT_DRUCK = :MULTI_LINE_SHORT_DRUCK,\n"
        "  DATUM_VERGANGEN_FETT = :DATUM_VERGANGEN_FETT\n"
        "WHERE ID = :OLD_ID"));
    felder_.SetSelectSQL(QStringLiteral("select * from P_GET_LISTE_DRUCK_FELDER(:LISTE)"));
    felder_.SetModifySQL(QStringLiteral(
        "UPDATE T_LISTEN_DRUCK SET ID = :ID, FELD = :FELD, L_POSITION = :L_POSITION,\n"
        "  ZEILE = :ZEILE, BREITE = :BREITE, SCHRIFT = :SCHRIFT, TITEL = :TITEL,\n"
        "  AUSRICHTUNG = :AUSRICHTUNG, SICHTBAR = :SICHTBAR, TITEL_SCHRIFT = :TITEL_SCHRIFT,\n"
        "  ZEILENUMBRUCH = :ZEILENUMBRUCH, LEERZEILE = :LEERZEILE,\n"
        "  SCHRIFTSCHMAL = :SCHRIFTSCHMAL, DISPLAY_FORMAT = :DISPLAY_FORMAT, WERT = :WERT\n"
        "WHERE ID = :OLD_ID"));
    linien_.SetSelectSQL(
        QStringLiteral("select ID, LISTE, L_POSITION, BEGINN_TITEL, ART, BREITE\n"
                       "from T_LISTEN_LINIEN WHERE LISTE = :LISTE\n"
                       "order by l_position"));
    linien_.SetInsertSQL(QStringLiteral(
        "INSERT INTO T_LISTEN_LINIEN (ID, LISTE, L_POSITION, BEGINN_TITEL, ART, BREITE)\n"
        "VALUES (:ID, :LISTE, :L_POSITION, :BEGINN_TITEL, :ART, :BREITE)"));
    linien_.SetModifySQL(QStringLiteral(
        "UPDATE T_LISTEN_LINIEN SET L_POSITION = :L_POSITION, BEGINN_TITEL = :BEGINN_TITEL,\n"
        "  ART = :ART, BREITE = :BREITE WHERE ID = :OLD_ID"));
    linien_.SetDeleteSQL(QStringLiteral("DELETE FROM T_LISTEN_LINIEN WHERE ID = :OLD_ID"));
    linien_.SetGenerator(QStringLiteral("ID"), QStringLiteral("G_LISTEN_LINIEN_ID"));
    linien_.AddCalculatedField(QStringLiteral("TITEL"), db::FieldType::VarChar, 20);
    linien_.OnCalcFields = [](db::DataSet& ds) {
        const db::Field& pos = ds.FieldByName(QStringLiteral("L_POSITION"));
        ds.FieldByName(QStringLiteral("TITEL"))
            .SetString(pos.IsNull() ? QString() : pos.AsString() + QStringLiteral(" mm"));
    };
    linien_.OnNewRecord = [this](db::DataSet& ds) {
        ds.FieldByName(QStringLiteral("LISTE")).SetInteger(listeId_);
        ds.FieldByName(QStringLiteral("L_POSITION")).SetInteger(0);
        ds.FieldByName(QStringLiteral("BEGINN_TITEL")).SetString(QStringLiteral("T"));
        ds.FieldByName(QStringLiteral("ART")).SetString(QStringLiteral("S"));
        ds.FieldByName(QStringLiteral("BREITE")).SetInteger(0);
    };

    seiten_->setObjectName(QStringLiteral("Seiten"));
    seiten_->addTab(AllgemeinSeite(), QStringLiteral("Allgemein"));
    seiten_->addTab(FelderSeite(), QStringLiteral("Felder"));
    seiten_->addTab(PapierSeite(), QStringLiteral("Papier"));
    seiten_->addTab(RahmenSeite(), QStringLiteral("Rahmen"));

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(
        Knopf(QStringLiteral("Test"), "Test", this, &TfrmListenDesignDruck::TestClick));
    auto* hilfe = new QPushButton(QStringLiteral("Hilfe"), this);
    hilfe->setObjectName(QStringLiteral("Hilfe"));
    connect(hilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });
    knoepfe->addWidget(hilfe);
    auto* schliessen = new QPushButton(QStringLiteral("Schließen"), this);
    schliessen->setObjectName(QStringLiteral("Schliessen"));
    connect(schliessen, &QPushButton::clicked, this, &QDialog::close);
    knoepfe->addWidget(schliessen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(seiten_, 1);
    layout->addLayout(knoepfe);

    listenSchriftLink_.SetDataSource(&listen_);
    listenSchriftLink_.SetDataField(QStringLiteral("SCHRIFT"));
    listenSchriftLink_.OnDataChange = [this] { DSListenDataChange(); };
    listenSchriftLink_.OnActiveChange = [this] { DSListenDataChange(); };
    for (const auto& [link, feld] :
         {std::pair{&feldFeldLink_, "FELD"}, std::pair{&feldSchriftLink_, "SCHRIFT"},
          std::pair{&feldTitelSchriftLink_, "TITEL_SCHRIFT"}}) {
        link->SetDataSource(&felder_);
        link->SetDataField(QLatin1String(feld));
        link->OnDataChange = [this] { DSFelderDataChange(); };
        link->OnActiveChange = [this] { DSFelderDataChange(); };
    }
}

TfrmListenDesignDruck::~TfrmListenDesignDruck()
{
    for (TFieldDataLink* link :
         {&listenSchriftLink_, &feldFeldLink_, &feldSchriftLink_, &feldTitelSchriftLink_})
        link->SetDataSource(nullptr);
    felderListe_->setModel(nullptr);
    linienListe_->setModel(nullptr);
    felderModell_.SetDataSet(nullptr);
    linienModell_.SetDataSet(nullptr);
}

QPushButton* TfrmListenDesignDruck::Knopf(const QString& text, const char* name, QWidget* parent,
                                          void (TfrmListenDesignDruck::*handler)())
{
    auto* k = new QPushButton(text, parent);
    k->setObjectName(QLatin1String(name));
    connect(k, &QPushButton::clicked, this,
            [this, handler] { DBTools::Sicher([this, handler] { (this->*handler)(); }); });
    return k;
}

QWidget* TfrmListenDesignDruck::AllgemeinSeite()
{
    auto* seite = new QWidget(seiten_);
    seite->setObjectName(QStringLiteral("Allgemein"));
    auto* kopf = new QGroupBox(QStringLiteral("Kopf"), seite);
    auto* kopfForm = new QGridLayout(kopf);
    kopfForm->addWidget(Beschriftung(QStringLiteral("Ausrichtung"), kopf), 0, 0);
    kopfForm->addWidget(Auswahl(ListenDruckCodes::Ausrichtungen(), listen_,
                                QStringLiteral("AUSRICHTUNG"), "Ausrichtung", kopf),
                        0, 1, Qt::AlignLeft);
    kopfForm->addWidget(Beschriftung(QStringLiteral("Stand"), kopf), 1, 0);
    kopfForm->addWidget(
        Auswahl(ListenDruckCodes::StandCodes(), listen_, QStringLiteral("STAND"), "Stand", kopf), 1,
        1, Qt::AlignLeft);
    kopfForm->addWidget(Beschriftung(QStringLiteral("Schriftart"), kopf), 2, 0);
    kopfSchrift_ = new QLabel(kopf);
    kopfSchrift_->setObjectName(QStringLiteral("lbSchrift"));
    kopfForm->addWidget(kopfSchrift_, 2, 1);
    kopfForm->addWidget(Knopf(QStringLiteral("ändern"), "SchriftAendern", kopf,
                              &TfrmListenDesignDruck::SchriftAendernClick),
                        2, 2);
    kopfForm->setColumnStretch(1, 1);

    datumFett_ = new TDBComboBox(seite);
    datumFett_->setObjectName(QStringLiteral("DatumFett"));
    datumFett_->setMinimumWidth(260);
    datumFett_->SetDataSource(&listen_);
    datumFett_->SetDataField(QStringLiteral("DATUM_VERGANGEN_FETT"));
    auto* layout = new QVBoxLayout(seite);
    layout->addWidget(kopf);
    layout->addWidget(Beschriftung(
        QStringLiteral("Zeilen fett darstellen, wenn Datum erreicht ist. Feld:"), seite));
    layout->addWidget(datumFett_, 0, Qt::AlignLeft);
    layout->addWidget(Haken(QStringLiteral("Minimale Höhe der Datensätze verwenden"), listen_,
                            QStringLiteral("MULTI_LINE_SHORT_DRUCK"), "MultiLineShort", seite));
    layout->addStretch(1);
    return seite;
}

QWidget* TfrmListenDesignDruck::FelderSeite()
{
    auto* seite = new QWidget(seiten_);
    seite->setObjectName(QStringLiteral("FelderSeite"));
    felderListe_ = Liste(felderModell_, "Felder", seite);
    felderListe_->setMinimumWidth(180);

    auto* form = new QGridLayout;
    int z = 0;
    form->addWidget(Beschriftung(QStringLiteral("Position"), seite), z, 0);
    form->addWidget(Zahl(felder_, QStringLiteral("L_POSITION"), 0, 999, true, "Position", seite), z,
                    1);
    form->addWidget(Beschriftung(QStringLiteral("vom linken Rand in mm"), seite), z++, 2, 1, 3);
    form->addWidget(Beschriftung(QStringLiteral("Zeile"), seite), z, 0);
    form->addWidget(Zahl(felder_, QStringLiteral("ZEILE"), 1, 99, true, "Zeile", seite), z++, 1);
    form->addWidget(Beschriftung(QStringLiteral("Breite"), seite), z, 0);
    form->addWidget(Zahl(felder_, QStringLiteral("BREITE"), 0, 999, true, "Breite", seite), z, 1);
    form->addWidget(Beschriftung(QStringLiteral("in mm"), seite), z++, 2, 1, 3);
    form->addWidget(Beschriftung(QStringLiteral("Titel"), seite), z, 0);
    form->addWidget(Text(felder_, QStringLiteral("TITEL"), 50, "Titel", seite), z++, 1, 1, 4);
    form->addWidget(Beschriftung(QStringLiteral("Ausrichtung"), seite), z, 0);
    form->addWidget(Auswahl(ListenDruckCodes::Ausrichtungen(), felder_,
                            QStringLiteral("AUSRICHTUNG"), "FeldAusrichtung", seite),
                    z++, 1, 1, 2, Qt::AlignLeft);
    form->addWidget(Haken(QStringLiteral("Feld ist sichtbar"), felder_, QStringLiteral("SICHTBAR"),
                          "Sichtbar", seite),
                    z++, 1, 1, 4);
    form->addWidget(Beschriftung(QStringLiteral("Titel-Schrift"), seite), z, 0);
    titelSchrift_ = new QLabel(seite);
    titelSchrift_->setObjectName(QStringLiteral("lbTitelSchrift"));
    form->addWidget(titelSchrift_, z++, 1, 1, 4);
    form->addWidget(
        Knopf(QStringLiteral("ändern"), "Button1", seite, &TfrmListenDesignDruck::Button1Click), z,
        1);
    form->addWidget(Knopf(QStringLiteral("für alle setzen"), "Button2", seite,
                          &TfrmListenDesignDruck::Button2Click),
                    z++, 2, 1, 2);
    form->addWidget(Beschriftung(QStringLiteral("Schriftart"), seite), z, 0);
    feldSchrift_ = new QLabel(seite);
    feldSchrift_->setObjectName(QStringLiteral("lbFeldSchrift"));
    form->addWidget(feldSchrift_, z++, 1, 1, 4);
    form->addWidget(
        Knopf(QStringLiteral("ändern"), "Button3", seite, &TfrmListenDesignDruck::Button3Click), z,
        1);
    form->addWidget(Knopf(QStringLiteral("für alle setzen"), "Button4", seite,
                          &TfrmListenDesignDruck::Button4Click),
                    z, 2, 1, 2);
    form->addWidget(Haken(QStringLiteral("schmal"), felder_, QStringLiteral("SCHRIFTSCHMAL"),
                          "SchriftSchmal", seite),
                    z++, 4);
    form->addWidget(Beschriftung(QStringLiteral("Zeilenumbruch"), seite), z, 0);
    form->addWidget(Haken(QStringLiteral("zu lange Texte umbrechen"), felder_,
                          QStringLiteral("ZEILENUMBRUCH"), "Zeilenumbruch", seite),
                    z++, 1, 1, 4);
    form->addWidget(Beschriftung(QStringLiteral("Leerzeile"), seite), z, 0);
    form->addWidget(Haken(QStringLiteral("bei Wert-Wechsel Leerzeile einfügen"), felder_,
                          QStringLiteral("LEERZEILE"), "Leerzeile", seite),
                    z++, 1, 1, 4);
    formatLabel_ = Beschriftung(QStringLiteral("Format:"), seite);
    formatLabel_->setObjectName(QStringLiteral("lbFormat"));
    form->addWidget(formatLabel_, z, 0);
    format_ = Text(felder_, QStringLiteral("DISPLAY_FORMAT"), 10, "Format", seite);
    wert_ = Text(felder_, QStringLiteral("WERT"), 50, "Wert", seite);
    form->addWidget(format_, z, 1, 1, 4);
    form->addWidget(wert_, z++, 1, 1, 4);
    form->setRowStretch(z, 1);
    form->setColumnStretch(3, 1);

    auto* layout = new QHBoxLayout(seite);
    layout->addWidget(felderListe_, 1);
    layout->addLayout(form, 2);
    return seite;
}

QWidget* TfrmListenDesignDruck::PapierSeite()
{
    auto* seite = new QWidget(seiten_);
    seite->setObjectName(QStringLiteral("Papier"));
    auto* form = new QGridLayout(seite);
    form->addWidget(Beschriftung(QStringLiteral("Ausrichtung"), seite), 0, 0);
    form->addWidget(Auswahl(ListenDruckCodes::PapierAusrichtungen(), listen_,
                            QStringLiteral("PAPIER_AUSRICHTUNG"), "PapierAusrichtung", seite),
                    0, 1, 1, 2, Qt::AlignLeft);
    auto* raender = new QGroupBox(QStringLiteral("Ränder (in mm):"), seite);
    auto* r = new QGridLayout(raender);
    int spalte = 0;
    for (const auto& [text, feld, name] : {std::tuple{"links", "RAND_LINKS", "RandLinks"},
                                           std::tuple{"rechts", "RAND_RECHTS", "RandRechts"},
                                           std::tuple{"oben", "RAND_OBEN", "RandOben"},
                                           std::tuple{"unten", "RAND_UNTEN", "RandUnten"}}) {
        r->addWidget(Beschriftung(QString::fromUtf8(text), raender), 0, spalte);
        r->addWidget(Zahl(listen_, QLatin1String(feld), 0, 999, false, name, raender), 1, spalte++);
    }
    form->addWidget(raender, 1, 0, 1, 3);
    form->setColumnStretch(2, 1);
    form->setRowStretch(2, 1);
    return seite;
}

QWidget* TfrmListenDesignDruck::RahmenSeite()
{
    auto* seite = new QWidget(seiten_);
    seite->setObjectName(QStringLiteral("Rahmen"));
    auto* horizontal = new QGroupBox(QStringLiteral("horizontale Linien"), seite);
    auto* h = new QGridLayout(horizontal);
    struct Linie {
        const char* text;
        const char* feld;
        const char* name;
        const char* knopf;
        void (TfrmListenDesignDruck::*handler)();
    };
    int z = 0;
    for (const Linie& l : {Linie{"über Titel", "LINIE_UEBER_TITEL", "UeberTitel", "ueberConfig",
                                 &TfrmListenDesignDruck::ueberConfigClick},
                           Linie{"unter Titel", "LINIE_UNTER_TITEL", "UnterTitel", "unterConfig",
                                 &TfrmListenDesignDruck::unterConfigClick},
                           Linie{"Zwischenlinie", "LINIE_ZWISCHEN", "Zwischen", "zwischenConfig",
                                 &TfrmListenDesignDruck::zwischenConfigClick},
                           Linie{"unten", "LINIE_UNTEN", "Unten", "untenConfig",
                                 &TfrmListenDesignDruck::untenConfigClick}}) {
        h->addWidget(
            Haken(QString::fromUtf8(l.text), listen_, QLatin1String(l.feld), l.name, horizontal), z,
            0);
        h->addWidget(Knopf(QStringLiteral("Linie anpassen"), l.knopf, horizontal, l.handler), z, 1);
        ++z;
    }
    auto* zeilen = new QHBoxLayout;
    zeilen->addWidget(Beschriftung(QStringLiteral("alle"), horizontal));
    zeilen->addWidget(Zahl(listen_, QStringLiteral("LINIE_ZWISCHEN_ZEILEN"), 1, 10, true,
                           "ZwischenZeilen", horizontal));
    zeilen->addWidget(Beschriftung(QStringLiteral("Zeilen"), horizontal));
    zeilen->addStretch(1);
    h->addLayout(zeilen, 2, 2);
    h->setColumnStretch(2, 1);

    auto* vertikal = new QGroupBox(QStringLiteral("vertikale Linien"), seite);
    linienListe_ = Liste(linienModell_, "Linien", vertikal);
    linienListe_->setMinimumWidth(140);
    keineLinie_ = new QLabel(QStringLiteral("< keine Linie >"), linienListe_->viewport());
    keineLinie_->setObjectName(QStringLiteral("lbKeineLinie"));
    keineLinie_->move(6, 4);
    keineLinie_->adjustSize();
    auto* v = new QGridLayout;
    linienPosition_ =
        Zahl(linien_, QStringLiteral("L_POSITION"), -999, 9999, false, "LinienPosition", vertikal);
    v->addWidget(Beschriftung(QStringLiteral("Position"), vertikal), 0, 0);
    v->addWidget(linienPosition_, 0, 1);
    v->addWidget(Beschriftung(QStringLiteral("vom linken Rand (in mm)"), vertikal), 0, 2);
    v->addWidget(Beschriftung(QStringLiteral("beginnend ab"), vertikal), 1, 0);
    v->addWidget(Auswahl(ListenDruckCodes::BeginnTitelCodes(), linien_,
                         QStringLiteral("BEGINN_TITEL"), "BeginnTitel", vertikal),
                 1, 1, 1, 2, Qt::AlignLeft);
    auto* knoepfe = new QGridLayout;
    knoepfe->addWidget(Knopf(QStringLiteral("Linie hinzufügen"), "LinieHinzu", vertikal,
                             &TfrmListenDesignDruck::LinieHinzuClick),
                       0, 0);
    knoepfe->addWidget(Knopf(QStringLiteral("Linie löschen"), "LinieEntfernen", vertikal,
                             &TfrmListenDesignDruck::LinieEntfernenClick),
                       0, 1);
    knoepfe->addWidget(Knopf(QStringLiteral("Linie anpassen"), "LinieAnpassen", vertikal,
                             &TfrmListenDesignDruck::LinieAnpassenClick),
                       1, 0);
    knoepfe->addWidget(Knopf(QStringLiteral("Linie speichern"), "setzen", vertikal,
                             &TfrmListenDesignDruck::setzenClick),
                       1, 1);
    v->addLayout(knoepfe, 2, 0, 1, 3);
    v->setRowStretch(3, 1);
    auto* vl = new QHBoxLayout(vertikal);
    vl->addWidget(linienListe_, 1);
    vl->addLayout(v, 2);

    auto* layout = new QVBoxLayout(seite);
    layout->addWidget(horizontal);
    layout->addWidget(vertikal, 1);
    return seite;
}

void TfrmListenDesignDruck::Vorbereiten(int listeId, db::DataSet* daten)
{
    daten_ = daten;
    seiten_->setCurrentIndex(0);
    listeId_ = listeId;
    if (!TADruck.Active())
        TADruck.Start();
    listen_.Param(QStringLiteral("LISTE")).SetInteger(listeId);
    listen_.Open();
    if (listen_.IsEmpty())
        throw std::runtime_error(
            QStringLiteral("Die Liste %1 ist nicht vorhanden.").arg(listeId).toStdString());
    felder_.Param(QStringLiteral("LISTE")).SetInteger(listeId);
    felder_.Open();
    felder_.RecordCount();
    linien_.Param(QStringLiteral("LISTE")).SetInteger(listeId);
    linien_.Open();
    linien_.RecordCount();
    NurFeld(felder_, QStringLiteral("TITEL"));
    NurFeld(linien_, QStringLiteral("TITEL"));
    felderModell_.SetDataSet(&felder_);
    felderModell_.Reset();
    linienModell_.SetDataSet(&linien_);
    linienModell_.Reset();
    Folgen(felderListe_, felderModell_, felder_);
    Folgen(linienListe_, linienModell_, linien_);
    connect(&linienModell_, &QAbstractItemModel::modelReset, this, [this] { LinienLeertext(); });
    connect(&linienModell_, &QAbstractItemModel::rowsInserted, this, [this] { LinienLeertext(); });
    connect(&linienModell_, &QAbstractItemModel::rowsRemoved, this, [this] { LinienLeertext(); });
    if (!felder_.IsEmpty())
        felderListe_->setCurrentIndex(felderModell_.index(0, 0));
    if (!linien_.IsEmpty())
        linienListe_->setCurrentIndex(linienModell_.index(0, 0));
    LinienLeertext();
    DatumFelderLaden();
    listen_.Close();
    listen_.Open();
    DSFelderDataChange();
}

void TfrmListenDesignDruck::FeldWaehlen(int zeile)
{
    felderListe_->setCurrentIndex(felderModell_.index(zeile, 0));
}

void TfrmListenDesignDruck::DatumFelderLaden()
{
    const auto quelle = [this](const char* feld) {
        return listen_.FieldByName(QLatin1String(feld)).AsInteger();
    };
    const LayoutEditor::RDatumFelder d = LayoutEditor::DatumFelderLaden(
        TADruck, listeId_, quelle("QUELLE1"), quelle("QUELLE2"), quelle("QUELLE3"),
        listen_.FieldByName(QStringLiteral("SQL")).AsString());
    datumFett_->clear();
    for (const LayoutEditor::RDatumWahl& w : d.Wahlen)
        datumFett_->addItem(w.Text, w.Wert);
    if (!d.Fehler.isEmpty())
        Tools::MeldungWarning(
            QStringLiteral("Die Datumsfelder der Liste konnten nicht ermittelt werden, weil ihre "
                           "Abfrage nicht ausgeführt werden kann.\r\rFür fette Zeilen steht nur "
                           "\"Deaktiviert\" zur Auswahl.\r\rFehler: %1")
                .arg(d.Fehler));
}

void TfrmListenDesignDruck::DSListenDataChange()
{
    if (!kopfSchrift_)
        return;
    kopfSchrift_->setText(listen_.Active() && !listen_.IsEmpty()
                              ? ListenDruckCodes::SchriftBeschreibung(
                                    listen_.FieldByName(QStringLiteral("SCHRIFT")).AsString())
                              : QString());
}

void TfrmListenDesignDruck::DSFelderDataChange()
{
    if (!felder_.Active() || felder_.IsEmpty()) {
        titelSchrift_->clear();
        feldSchrift_->clear();
        return;
    }
    titelSchrift_->setText(ListenDruckCodes::SchriftBeschreibung(
        felder_.FieldByName(QStringLiteral("TITEL_SCHRIFT")).AsString()));
    feldSchrift_->setText(ListenDruckCodes::SchriftBeschreibung(
        felder_.FieldByName(QStringLiteral("SCHRIFT")).AsString()));
    const bool wert =
        LayoutEditor::ZeigtWert(felder_.FieldByName(QStringLiteral("FELD")).AsString());
    formatLabel_->setText(wert ? QStringLiteral("Wert:") : QStringLiteral("Format:"));
    wert_->setVisible(wert);
    wert_->setEnabled(wert);
    format_->setVisible(!wert);
    format_->setEnabled(!wert);
}

void TfrmListenDesignDruck::LinienLeertext()
{
    keineLinie_->setVisible(linienModell_.rowCount() == 0);
}

void TfrmListenDesignDruck::SchriftWaehlen(db::DataSet& ds, const QString& feld)
{
    if (!ds.Active() || ds.IsEmpty())
        return;
    QFontDialog dialog(ListenDruckCodes::SchriftAusText(ds.FieldByName(feld).AsString()), this);
    dialog.setObjectName(QStringLiteral("Schriftart"));
    dialog.setOptions(QFontDialog::DontUseNativeDialog | QFontDialog::ScalableFonts);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ds.Edit();
    ds.FieldByName(feld).SetString(ListenDruckCodes::SchriftZuText(dialog.selectedFont()));
}

void TfrmListenDesignDruck::SchriftAendernClick()
{
    SchriftWaehlen(listen_, QStringLiteral("SCHRIFT"));
}

void TfrmListenDesignDruck::Button1Click()
{
    SchriftWaehlen(felder_, QStringLiteral("TITEL_SCHRIFT"));
}

void TfrmListenDesignDruck::Button3Click()
{
    SchriftWaehlen(felder_, QStringLiteral("SCHRIFT"));
}

void TfrmListenDesignDruck::Button2Click()
{
    FuerAlleSetzen(true);
}

void TfrmListenDesignDruck::Button4Click()
{
    FuerAlleSetzen(false);
}

void TfrmListenDesignDruck::FuerAlleSetzen(bool titel)
{
    if (!felder_.Active() || felder_.IsEmpty())
        return;
    DBTools::Posten(felder_);
    const int id = felder_.FieldByName(QStringLiteral("ID")).AsInteger();
    const auto text = [this](const char* feld) {
        const db::Field& f = felder_.FieldByName(QLatin1String(feld));
        return f.IsNull() ? QString() : f.AsString();
    };
    if (titel)
        LayoutEditor::TitelSchriftFuerAlleSetzen(TADruck, listeId_, text("TITEL_SCHRIFT"));
    else
        LayoutEditor::SchriftFuerAlleSetzen(TADruck, listeId_, text("SCHRIFT"),
                                            text("SCHRIFTSCHMAL"));
    felder_.Close();
    felder_.Open();
    felder_.RecordCount();
    NurFeld(felder_, QStringLiteral("TITEL"));
    felderModell_.Reset();
    DBTools::LocateInteger(felder_, QStringLiteral("ID"), id, false);
    felderListe_->setCurrentIndex(felderModell_.index(felder_.RecNo(), 0));
    DSFelderDataChange();
}

void TfrmListenDesignDruck::ueberConfigClick()
{
    LinieAnpassen(this, listen_, QStringLiteral("LINIE_UEBER_TITEL_BREITE"),
                  QStringLiteral("LINIE_UEBER_TITEL_ART"));
}

void TfrmListenDesignDruck::unterConfigClick()
{
    LinieAnpassen(this, listen_, QStringLiteral("LINIE_UNTER_TITEL_BREITE"),
                  QStringLiteral("LINIE_UNTER_TITEL_ART"));
}

void TfrmListenDesignDruck::zwischenConfigClick()
{
    LinieAnpassen(this, listen_, QStringLiteral("LINIE_ZWISCHEN_BREITE"),
                  QStringLiteral("LINIE_ZWISCHEN_ART"));
}

void TfrmListenDesignDruck::untenConfigClick()
{
    LinieAnpassen(this, listen_, QStringLiteral("LINIE_UNTEN_BREITE"),
                  QStringLiteral("LINIE_UNTEN_ART"));
}

void TfrmListenDesignDruck::LinieAnpassenClick()
{
    LinieAnpassen(this, linien_, QStringLiteral("BREITE"), QStringLiteral("ART"));
}

void TfrmListenDesignDruck::LinieHinzuClick()
{
    DBTools::Posten(linien_);
    linien_.Append();
    linienListe_->setCurrentIndex(linienModell_.index(linien_.RecNo(), 0));
    linienPosition_->setFocus();
    linienPosition_->selectAll();
}

void TfrmListenDesignDruck::LinieEntfernenClick()
{
    DBTools::LoeschenMitFrage(linien_, QString());
}

void TfrmListenDesignDruck::setzenClick()
{
    DBTools::Posten(linien_);
}

void TfrmListenDesignDruck::Speichern()
{
    DBTools::Posten(listen_);
    DBTools::Posten(felder_);
    DBTools::Posten(linien_);
}

void TfrmListenDesignDruck::TestClick()
{
    Speichern();
    TADruck.CommitRetaining();
    if (daten_)
        ListenDruck::ListeDruckenMitDaten(listeId_, -1, QString(), *daten_, true, true);
    else
        ListenDruck::ListeDrucken(listeId_, -1, QString(), true);
}

void TfrmListenDesignDruck::done(int result)
{
    bool gespeichert = false;
    DBTools::Sicher([this, &gespeichert] {
        Speichern();
        if (TADruck.Active())
            TADruck.Commit();
        gespeichert = true;
    });
    if (!gespeichert)
        return;
    TZRDialog::done(result);
}

void ListenDesignDruckStarten(QWidget* owner, int listeId, db::DataSet* daten)
{
    if (!DM())
        throw std::runtime_error("Es besteht keine Verbindung zur Datenbank.");
    TfrmListenDesignDruck fenster(DM()->Datenbank, owner);
    fenster.Vorbereiten(listeId, daten);
    fenster.exec();
}
