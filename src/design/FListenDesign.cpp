#include "FListenDesign.h"

#include <DBTools.h>
#include <Datenmodul.h>
#include <ListenTools.h>
#include <Shell.h>
#include <StatusSymbole.h>
#include <ZRDBcxGridBovantis.h>
#include <ZREditGrid.h>

#include <Database.h>
#include <Meldung.h>
#include <Query.h>
#include <ZRcxGridDBTableView.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

const QStringList Seitentitel{QStringLiteral("Datenquellen"), QStringLiteral("Ausgabefelder"),
                              QStringLiteral("Optionen"), QStringLiteral("Test"),
                              QStringLiteral("Speichern")};

const QString Spalten = QStringLiteral(
    "ID, BEZEICHNUNG, TITEL, QUELLE1, QUELLE2, QUELLE3, FELD12_1, FELD12_2, FELD23_2, FELD23_3, "
    "DIST, FELDER, BEDINGUNGEN, SORTIERUNG, MENUE, SYMBOL");

const char* const QuellenFelder[] = {"QUELLE1", "QUELLE2", "QUELLE3"};

using DBTools::Sicher;

QLabel* Titel(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    l->setFont(f);
    return l;
}

QToolButton* Knopf(const char* name, const QString& text, const QString& hinweis, QWidget* parent)
{
    auto* k = new QToolButton(parent);
    k->setObjectName(QLatin1String(name));
    k->setText(text);
    k->setToolTip(hinweis);
    k->setMinimumSize(32, 26);
    return k;
}

bool IstEnter(const QKeyEvent* taste)
{
    return taste->key() == Qt::Key_Return || taste->key() == Qt::Key_Enter;
}

}  // namespace

TfrmListenDesign::TfrmListenDesign(db::Database& datenbank, QWidget* owner)
    : TZRDialog(owner),
      taEdit_(datenbank, QStringLiteral("TAListenDesign")),
      taLesen_(datenbank, QStringLiteral("TAListenDesignLesen"),
               {db::TransactionOptions::ReadCommitted, true}),
      liste_(taEdit_),
      testDaten_(taEdit_)
{
    setObjectName(QStringLiteral("frmListenDesign"));
    setWindowTitle(QStringLiteral("Listen Designer"));
    setHelpContext(HilfeKontext);

    liste_.SetSelectSQL(
        QStringLiteral("select %1, SQL from T_LISTEN where ID = :LISTE").arg(Spalten));
    QStringList werte;
    QStringList zuweisungen;
    for (const QString& s : Spalten.split(QStringLiteral(", "))) {
        werte << QLatin1Char(':') + s;
        if (s != QLatin1String("ID"))
            zuweisungen << s + QStringLiteral(" = :") + s;
    }
    liste_.SetInsertSQL(QStringLiteral("insert into T_LISTEN (%1) values (%2)")
                            .arg(Spalten, werte.join(QStringLiteral(", "))));
    liste_.SetModifySQL(QStringLiteral("update T_LISTEN set %1 where ID = :OLD_ID")
                            .arg(zuweisungen.join(QStringLiteral(", "))));
    liste_.SetGenerator(QStringLiteral("ID"), QStringLiteral("G_LISTEN_ID"));

    SeitenAnlegen();
    SeiteAnzeigen(Datenquellen);
}

TfrmListenDesign::~TfrmListenDesign()
{
    // The test grid's view refers to the test data.
    listeTest_->SetDatenmenge(nullptr);
}

void TfrmListenDesign::SeitenAnlegen()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    seiten_ = new QStackedWidget(this);
    seiten_->setObjectName(QStringLiteral("Seiten"));
    seiten_->addWidget(SeiteDatenquellen());
    seiten_->addWidget(SeiteAusgabefelder());
    seiten_->addWidget(SeiteOptionen());
    seiten_->addWidget(SeiteTest());
    seiten_->addWidget(SeiteSpeichern());
    layout->addWidget(seiten_, 1);

    auto* knoepfe = new QHBoxLayout;
    auto* hilfe = new QPushButton(QStringLiteral("Hilfe"), this);
    hilfe->setObjectName(QStringLiteral("BitBtn3"));
    zurueck_ = new QPushButton(QStringLiteral("< Zurück"), this);
    zurueck_->setObjectName(QStringLiteral("Zuruck"));
    weiter_ = new QPushButton(QStringLiteral("Weiter >"), this);
    weiter_->setObjectName(QStringLiteral("Weiter"));
    speichern_ = new QPushButton(QStringLiteral("Speichern"), this);
    speichern_->setObjectName(QStringLiteral("Speichern"));
    schliessen_ = new QPushButton(QStringLiteral("Schließen"), this);
    schliessen_->setObjectName(QStringLiteral("Schliessen"));
    for (QPushButton* k : {hilfe, zurueck_, weiter_, speichern_, schliessen_})
        k->setAutoDefault(false);
    knoepfe->addWidget(hilfe);
    knoepfe->addStretch(1);
    knoepfe->addWidget(zurueck_);
    knoepfe->addWidget(weiter_);
    knoepfe->addWidget(speichern_);
    knoepfe->addSpacing(12);
    knoepfe->addWidget(schliessen_);
    layout->addLayout(knoepfe);

    connect(hilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });
    connect(zurueck_, &QPushButton::clicked, this, [this] { Sicher([this] { ZuruckClick(); }); });
    connect(weiter_, &QPushButton::clicked, this, [this] { Sicher([this] { WeiterClick(); }); });
    connect(speichern_, &QPushButton::clicked, this,
            [this] { Sicher([this] { SpeichernClick(); }); });
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::reject);
    resize(700, 500);
}

QWidget* TfrmListenDesign::SeiteDatenquellen()
{
    auto* seite = new QWidget(this);
    auto* layout = new QVBoxLayout(seite);
    layout->addWidget(Titel(QStringLiteral("Datenquellen"), seite));
    layout->addWidget(new QLabel(QStringLiteral("Wählen Sie die Datenquellen der Liste und die "
                                                "Felder, über die sie verbunden werden."),
                                 seite));

    const auto box = [seite](const QString& name) {
        auto* b = new QComboBox(seite);
        b->setObjectName(name);
        b->setMaxVisibleItems(15);
        b->setMinimumWidth(260);
        b->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        return b;
    };
    for (int i = 0; i < 3; ++i)
        quelle_[i] = box(QStringLiteral("Quelle%1").arg(i + 1));
    feld12_1_ = box(QStringLiteral("Feld12_1"));
    feld12_2_ = box(QStringLiteral("Feld12_2"));
    feld23_2_ = box(QStringLiteral("Feld23_2"));
    feld23_3_ = box(QStringLiteral("Feld23_3"));

    const auto verbindung = [seite](QComboBox* links, const QString& linksText, QComboBox* rechts,
                                    const QString& rechtsText) {
        auto* gruppe = new QGroupBox(QStringLiteral("Verbindung:"), seite);
        auto* g = new QGridLayout(gruppe);
        g->addWidget(new QLabel(linksText, gruppe), 0, 0);
        g->addWidget(links, 0, 1);
        g->addWidget(new QLabel(rechtsText, gruppe), 1, 0);
        g->addWidget(rechts, 1, 1);
        g->setColumnStretch(1, 1);
        return gruppe;
    };
    auto* raster = new QGridLayout;
    raster->addWidget(new QLabel(QStringLiteral("Quelle 1:"), seite), 0, 0);
    raster->addWidget(quelle_[0], 0, 1);
    raster->addWidget(new QLabel(QStringLiteral("Quelle 2:"), seite), 1, 0);
    raster->addWidget(quelle_[1], 1, 1);
    raster->addWidget(verbindung(feld12_1_, QStringLiteral("Feld Quelle 1:"), feld12_2_,
                                 QStringLiteral("Feld Quelle 2:")),
                      2, 1);
    raster->addWidget(new QLabel(QStringLiteral("Quelle 3:"), seite), 3, 0);
    raster->addWidget(quelle_[2], 3, 1);
    raster->addWidget(verbindung(feld23_2_, QStringLiteral("Feld Quelle 2:"), feld23_3_,
                                 QStringLiteral("Feld Quelle 3:")),
                      4, 1);
    raster->setColumnStretch(1, 1);
    layout->addLayout(raster);
    layout->addStretch(1);

    for (int i = 0; i < 3; ++i) {
        QComboBox* b = quelle_[i];
        const QString feld = QLatin1String(QuellenFelder[i]);
        connect(b, &QComboBox::activated, this,
                [this, b, feld] { Sicher([&] { QuelleGewaehlt(b, feld); }); });
    }
    for (const auto& [b, feld] :
         {std::pair{feld12_1_, "FELD12_1"}, std::pair{feld12_2_, "FELD12_2"},
          std::pair{feld23_2_, "FELD23_2"}, std::pair{feld23_3_, "FELD23_3"}}) {
        QComboBox* box = b;
        const QString name = QLatin1String(feld);
        connect(box, &QComboBox::activated, this,
                [this, box, name] { Sicher([&] { QuelleGewaehlt(box, name); }); });
    }
    return seite;
}

QWidget* TfrmListenDesign::SeiteAusgabefelder()
{
    auto* seite = new QWidget(this);
    auto* layout = new QVBoxLayout(seite);
    layout->addWidget(Titel(QStringLiteral("Ausgabefelder"), seite));
    auto* raster = new QGridLayout;
    raster->addWidget(new QLabel(QStringLiteral("Zur Verfügung stehende Felder:"), seite), 0, 0);
    raster->addWidget(new QLabel(QStringLiteral("Angezeigte Felder:"), seite), 0, 2);
    verfuegbar_ = new QListWidget(seite);
    verfuegbar_->setObjectName(QStringLiteral("Verfuegbar"));
    sichtbar_ = new QListWidget(seite);
    sichtbar_->setObjectName(QStringLiteral("Sichtbar"));
    for (QListWidget* l : {verfuegbar_, sichtbar_})
        l->setUniformItemSizes(true);
    raster->addWidget(verfuegbar_, 1, 0);
    raster->addWidget(sichtbar_, 1, 2);

    auto* mitte = new QVBoxLayout;
    auto* hinzu = Knopf("Hinzu", QStringLiteral(">"), QStringLiteral("Feld hinzufügen"), seite);
    auto* entf = Knopf("Entf", QStringLiteral("<"), QStringLiteral("Feld entfernen"), seite);
    auto* alleHinzu =
        Knopf("AlleHinzu", QStringLiteral(">>"), QStringLiteral("Alle Felder hinzufügen"), seite);
    auto* alleEntf =
        Knopf("AlleEntf", QStringLiteral("<<"), QStringLiteral("Alle Felder entfernen"), seite);
    mitte->addStretch(1);
    for (QToolButton* k : {hinzu, entf, alleHinzu, alleEntf})
        mitte->addWidget(k);
    mitte->addStretch(1);
    raster->addLayout(mitte, 1, 1);

    auto* rechts = new QVBoxLayout;
    auto* auf = Knopf("Auf", QStringLiteral("▲"), QStringLiteral("Feld nach oben bewegen"), seite);
    auto* ab = Knopf("Ab", QStringLiteral("▼"), QStringLiteral("Feld nach unten bewegen"), seite);
    rechts->addStretch(1);
    rechts->addWidget(auf);
    rechts->addWidget(ab);
    rechts->addStretch(1);
    raster->addLayout(rechts, 1, 3);
    raster->setColumnStretch(0, 1);
    raster->setColumnStretch(2, 1);
    layout->addLayout(raster, 1);

    const auto verbinden = [this](QToolButton* k, void (TfrmListenDesign::*handler)()) {
        connect(k, &QToolButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    verbinden(hinzu, &TfrmListenDesign::HinzuClick);
    verbinden(entf, &TfrmListenDesign::EntfClick);
    verbinden(alleHinzu, &TfrmListenDesign::AlleHinzuClick);
    verbinden(alleEntf, &TfrmListenDesign::AlleEntfClick);
    verbinden(auf, &TfrmListenDesign::AufClick);
    verbinden(ab, &TfrmListenDesign::AbClick);
    connect(verfuegbar_, &QListWidget::itemDoubleClicked, this, [this] { HinzuClick(); });
    connect(sichtbar_, &QListWidget::itemDoubleClicked, this, [this] { EntfClick(); });
    return seite;
}

QWidget* TfrmListenDesign::SeiteOptionen()
{
    auto* seite = new QWidget(this);
    auto* layout = new QVBoxLayout(seite);
    layout->addWidget(Titel(QStringLiteral("Optionen"), seite));

    const auto gridMitKnoepfen = [seite, layout](const QString& titel, TZREditGrid* grid,
                                                 QToolButton* plus, QToolButton* minus) {
        layout->addWidget(new QLabel(titel, seite));
        auto* zeile = new QHBoxLayout;
        zeile->addWidget(grid, 1);
        auto* knoepfe = new QVBoxLayout;
        knoepfe->addWidget(plus);
        knoepfe->addWidget(minus);
        knoepfe->addStretch(1);
        zeile->addLayout(knoepfe);
        layout->addLayout(zeile, 1);
    };
    const auto spalte = [](TZREditGrid* grid, const QString& titel, int breite, int typ) {
        TZRColumnsItem& s = grid->SpalteHinzufuegen();
        s.SetTitle(titel);
        s.SetWidth(breite);
        s.SetEditType(typ);
        s.SetDropDownRows(15);
        return &s;
    };

    // Wider than the classic 200/85/160/50 and 200/80: today's fonts and the pick-list button
    // would cut "kleiner o. gleich" and "absteigend".
    einschraenkungen_ = new TZREditGrid(seite);
    einschraenkungen_->setObjectName(QStringLiteral("Einschraenkungen"));
    spalte(einschraenkungen_, QStringLiteral("Feld"), 220, 5);
    spalte(einschraenkungen_, QStringLiteral("Operator"), 130, 5)->PickList() =
        ListenKodierung::Angezeigt(ListenKodierung::DesignerOperatoren());
    spalte(einschraenkungen_, QStringLiteral("Bedingung"), 160, 1);
    spalte(einschraenkungen_, QStringLiteral("Verk."), 65, 5)->PickList() =
        ListenKodierung::Angezeigt(ListenKodierung::Verknuepfungen());
    auto* plus1 = Knopf("SpeedButton1", QStringLiteral("+"),
                        QStringLiteral("Einschränkung hinzufügen"), seite);
    auto* minus1 = Knopf("SpeedButton2", QStringLiteral("−"),
                         QStringLiteral("Einschränkung entfernen"), seite);
    gridMitKnoepfen(QStringLiteral("Einschränkungen:"), einschraenkungen_, plus1, minus1);

    sortierungen_ = new TZREditGrid(seite);
    sortierungen_->setObjectName(QStringLiteral("Sortierungen"));
    spalte(sortierungen_, QStringLiteral("Feld"), 220, 5);
    spalte(sortierungen_, QStringLiteral("Sortierung"), 115, 5)->PickList() =
        ListenKodierung::Angezeigt(ListenKodierung::Sortierrichtungen());
    auto* plus2 =
        Knopf("SpeedButton3", QStringLiteral("+"), QStringLiteral("Sortierung hinzufügen"), seite);
    auto* minus2 =
        Knopf("SpeedButton4", QStringLiteral("−"), QStringLiteral("Sortierung entfernen"), seite);
    gridMitKnoepfen(QStringLiteral("Sortierung:"), sortierungen_, plus2, minus2);

    distinct_ =
        new QCheckBox(QStringLiteral("Mehrfache Anzeige gleicher Zeilen unterdrücken"), seite);
    distinct_->setObjectName(QStringLiteral("Distinct"));
    layout->addWidget(distinct_);

    connect(plus1, &QToolButton::clicked, this, [this] { EinschraenkungHinzufuegen(); });
    connect(minus1, &QToolButton::clicked, this, [this] { ZeileEntfernen(*einschraenkungen_); });
    connect(plus2, &QToolButton::clicked, this, [this] { SortierungHinzufuegen(); });
    connect(minus2, &QToolButton::clicked, this, [this] { ZeileEntfernen(*sortierungen_); });
    connect(distinct_, &QCheckBox::clicked, this, [this](bool an) {
        liste_.FieldByName(QStringLiteral("DIST"))
            .SetString(an ? QStringLiteral("T") : QStringLiteral("F"));
    });
    einschraenkungen_->OnKeyPress = [this](TZRCustomGrid*, QKeyEvent* taste) {
        return EinschraenkungenKeyPress(taste);
    };
    sortierungen_->OnKeyPress = [this](TZRCustomGrid*, QKeyEvent* taste) {
        return SortierungenKeyPress(taste);
    };
    return seite;
}

QWidget* TfrmListenDesign::SeiteTest()
{
    auto* seite = new QWidget(this);
    auto* layout = new QVBoxLayout(seite);
    layout->addWidget(Titel(QStringLiteral("Test"), seite));
    listeTest_ = new TZRDBcxGridBovantis(seite);
    listeTest_->setObjectName(QStringLiteral("ListeTest"));
    listeTest_->SetDatenmenge(&testDaten_);
    listeTest_->GetTableView()->SetEmptyText(QStringLiteral("< Die Liste ist leer >"));
    listeTest_->StatusIcons = StatusSymbole::Icons();
    if (const TShell* shell = TShell::Aktuell())
        shell->ListenStyleSheet(*listeTest_->GetTableView());
    layout->addWidget(listeTest_, 1);
    return seite;
}

QWidget* TfrmListenDesign::SeiteSpeichern()
{
    auto* seite = new QWidget(this);
    auto* layout = new QVBoxLayout(seite);
    layout->addWidget(Titel(QStringLiteral("Speichern"), seite));
    auto* raster = new QGridLayout;
    bezeichnung_ = new QLineEdit(seite);
    bezeichnung_->setObjectName(QStringLiteral("BEZEICHNUNG"));
    bezeichnung_->setMaxLength(50);
    titel_ = new QLineEdit(seite);
    titel_->setObjectName(QStringLiteral("TITEL"));
    titel_->setMaxLength(50);
    raster->addWidget(new QLabel(QStringLiteral("Bezeichnung"), seite), 0, 0);
    raster->addWidget(bezeichnung_, 0, 1, 1, 4);
    raster->addWidget(new QLabel(QStringLiteral("Titel"), seite), 1, 0);
    raster->addWidget(titel_, 1, 1, 1, 4);
    menue_ = new QCheckBox(QStringLiteral("Menü-Eintrag"), seite);
    menue_->setObjectName(QStringLiteral("MENUE"));
    raster->addWidget(menue_, 2, 1, 1, 4);
    symbolCheck_ = new QCheckBox(QStringLiteral("Symbolleiste"), seite);
    symbolCheck_->setObjectName(QStringLiteral("SymbolCheck"));
    raster->addWidget(symbolCheck_, 3, 1, 1, 4);

    symbolLabel_ = new QLabel(QStringLiteral("Symbol"), seite);
    symbolLabel_->setObjectName(QStringLiteral("SymbolLabel"));
    symbol_ = new QLabel(seite);
    symbol_->setObjectName(QStringLiteral("Symbol"));
    // As large as a toolbar picture of the main window.
    symbol_->setFixedSize(36, 36);
    symbol_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    symbolVorher_ =
        Knopf("SymbolVorher", QStringLiteral("<"), QStringLiteral("Voriges Symbol"), seite);
    symbolNachher_ =
        Knopf("SymbolNachher", QStringLiteral(">"), QStringLiteral("Nächstes Symbol"), seite);
    symbolAnzahl_ = new QLabel(seite);
    symbolAnzahl_->setObjectName(QStringLiteral("SymbolAnzahl"));
    raster->addWidget(symbolLabel_, 4, 0);
    raster->addWidget(symbolVorher_, 4, 1);
    raster->addWidget(symbol_, 4, 2);
    raster->addWidget(symbolNachher_, 4, 3);
    raster->addWidget(symbolAnzahl_, 4, 4);
    raster->setColumnStretch(4, 1);
    layout->addLayout(raster);
    layout->addStretch(1);

    connect(symbolCheck_, &QCheckBox::clicked, this, [this] { SymbolCheckClick(); });
    connect(symbolVorher_, &QToolButton::clicked, this, [this] { SymbolVorherClick(); });
    connect(symbolNachher_, &QToolButton::clicked, this, [this] { SymbolNachherClick(); });
    return seite;
}

void TfrmListenDesign::Vorbereiten(int listeId)
{
    ergebnisId_ = listeId;
    if (!taEdit_.Active())
        taEdit_.Start();
    if (!taLesen_.Active())
        taLesen_.Start();
    liste_.Param(QStringLiteral("LISTE")).SetInteger(listeId);
    liste_.Open();
    if (liste_.IsEmpty())
        liste_.Append();
    else
        liste_.Edit();

    db::Query quellen(taLesen_, QStringLiteral("select * from T_DESIGN_LISTEN_QUELLEN\n"
                                               "order by TEXT"));
    for (QComboBox* b : quelle_) {
        b->clear();
        b->addItem(QStringLiteral("< keine >"));
    }
    for (quellen.Open(); !quellen.Eof(); quellen.Next())
        for (QComboBox* b : quelle_)
            b->addItem(quellen.Field(QStringLiteral("TEXT")).AsString(),
                       quellen.Field(QStringLiteral("ID")).AsInteger());

    bezeichnung_->setText(liste_.FieldByName(QStringLiteral("BEZEICHNUNG")).AsString());
    titel_->setText(liste_.FieldByName(QStringLiteral("TITEL")).AsString());
    menue_->setChecked(liste_.FieldByName(QStringLiteral("MENUE")).AsString() == "T");
    distinct_->setChecked(liste_.FieldByName(QStringLiteral("DIST")).AsString() == "T");
    DSListeDataChange({});
    SeiteAnzeigen(Datenquellen);
}

void TfrmListenDesign::done(int r)
{
    // Whatever is not stored is dropped; what was stored is committed.
    if (DBTools::Bearbeitet(liste_))
        liste_.Cancel();
    testDaten_.Close();
    liste_.Close();
    DBTools::TransaktionBeenden(taEdit_, true);
    DBTools::TransaktionBeenden(taLesen_, true);
    TZRDialog::done(r);
}

int TfrmListenDesign::AktuelleSeite() const
{
    return seiten_->currentIndex();
}

void TfrmListenDesign::WeiterClick()
{
    const int seite = AktuelleSeite();
    if (seite == Datenquellen && !QuellenPruefen())
        return;
    if (seite == Ausgabefelder) {
        const QString fehler = logik_.FelderPruefen();
        if (!fehler.isEmpty()) {
            Tools::MeldungError(fehler);
            return;
        }
    }
    SeiteAnzeigen(std::min(seite + 1, int(Speichern)));
}

void TfrmListenDesign::ZuruckClick()
{
    SeiteAnzeigen(std::max(AktuelleSeite() - 1, int(Datenquellen)));
}

void TfrmListenDesign::SeiteAnzeigen(int seite)
{
    switch (seite) {
        case Ausgabefelder:
            AusgabefelderLaden();
            break;
        case Optionen:
            liste_.FieldByName(QStringLiteral("FELDER")).SetString(logik_.Felder());
            OptionenLaden();
            break;
        case Test:
            if (!EncodingsSchreiben())
                return;
            break;
        case Speichern:
            SymbolAnzeigen();
            break;
        default:
            break;
    }
    seiten_->setCurrentIndex(seite);
    KnoepfePruefen();
    if (seite == Test)
        Testen();
}

void TfrmListenDesign::KnoepfePruefen()
{
    const int seite = AktuelleSeite();
    zurueck_->setEnabled(seite > Datenquellen);
    const bool weiter = seite < Speichern;
    weiter_->setVisible(weiter);
    weiter_->setEnabled(weiter);
    speichern_->setVisible(!weiter);
    speichern_->setEnabled(!weiter);
}

std::optional<int> TfrmListenDesign::Wert(const QString& feld)
{
    const db::Field& f = liste_.FieldByName(feld);
    return f.IsNull() ? std::nullopt : std::optional<int>(f.AsInteger());
}

void TfrmListenDesign::Setzen(const QString& feld, std::optional<int> wert)
{
    db::Field& f = liste_.FieldByName(feld);
    if (f.IsNull() == !wert && (!wert || f.AsInteger() == *wert))
        return;
    if (wert)
        f.SetInteger(*wert);
    else
        f.SetNull();
}

TListenDesignLogik::Quellen TfrmListenDesign::QuellenLesen()
{
    TListenDesignLogik::Quellen q;
    q.quelle1 = Wert(QStringLiteral("QUELLE1"));
    q.quelle2 = Wert(QStringLiteral("QUELLE2"));
    q.quelle3 = Wert(QStringLiteral("QUELLE3"));
    q.feld12_1 = Wert(QStringLiteral("FELD12_1"));
    q.feld12_2 = Wert(QStringLiteral("FELD12_2"));
    q.feld23_2 = Wert(QStringLiteral("FELD23_2"));
    q.feld23_3 = Wert(QStringLiteral("FELD23_3"));
    return q;
}

void TfrmListenDesign::QuelleGewaehlt(QComboBox* box, const QString& feld)
{
    const QVariant daten = box->currentData();
    Setzen(feld, daten.isValid() ? std::optional<int>(daten.toInt()) : std::nullopt);
    DSListeDataChange(feld);
}

void TfrmListenDesign::DSListeDataChange(const QString& feld)
{
    if (aendernd_)
        return;
    aendernd_ = true;
    try {
        if (feld.isEmpty() || feld.toUpper().startsWith(QLatin1String("QUELLE")))
            VerbindungsfelderLaden();
        TListenDesignLogik::Quellen q = QuellenLesen();
        TListenDesignLogik::QuellenBereinigen(q);
        // A join field must belong to its source: one left from another source is cleared.
        const auto angeboten = [](QComboBox* b, std::optional<int>& wert) {
            if (wert && b->findData(*wert) < 0)
                wert.reset();
        };
        angeboten(feld12_1_, q.feld12_1);
        angeboten(feld12_2_, q.feld12_2);
        angeboten(feld23_2_, q.feld23_2);
        angeboten(feld23_3_, q.feld23_3);
        Setzen(QStringLiteral("QUELLE2"), q.quelle2);
        Setzen(QStringLiteral("QUELLE3"), q.quelle3);
        Setzen(QStringLiteral("FELD12_1"), q.feld12_1);
        Setzen(QStringLiteral("FELD12_2"), q.feld12_2);
        Setzen(QStringLiteral("FELD23_2"), q.feld23_2);
        Setzen(QStringLiteral("FELD23_3"), q.feld23_3);

        ComboZeigen(quelle_[0], q.quelle1);
        ComboZeigen(quelle_[1], q.quelle2);
        ComboZeigen(quelle_[2], q.quelle3);
        ComboZeigen(feld12_1_, q.feld12_1);
        ComboZeigen(feld12_2_, q.feld12_2);
        ComboZeigen(feld23_2_, q.feld23_2);
        ComboZeigen(feld23_3_, q.feld23_3);
        quelle_[1]->setEnabled(bool(q.quelle1));
        quelle_[2]->setEnabled(bool(q.quelle2));
        const bool v12 = q.quelle1 && q.quelle2;
        const bool v23 = q.quelle2 && q.quelle3;
        feld12_1_->setEnabled(v12);
        feld12_2_->setEnabled(v12);
        feld23_2_->setEnabled(v23);
        feld23_3_->setEnabled(v23);
    } catch (...) {
        aendernd_ = false;
        throw;
    }
    aendernd_ = false;
}

void TfrmListenDesign::VerbindungsfelderLaden()
{
    const auto laden = [this](const QList<QComboBox*>& boxen, std::optional<int> quelle) {
        for (QComboBox* b : boxen)
            b->clear();
        if (!quelle)
            return;
        db::Query q(taLesen_, QStringLiteral("SELECT F.ID, F.TEXT, F.TYP\n"
                                             "FROM T_DESIGN_LISTEN_FELDER F\n"
                                             "WHERE F.INPUT = 'T' AND F.QUELLE = :QUELLE\n"
                                             "ORDER BY F.TEXT"));
        q.Param(QStringLiteral("QUELLE")).SetInteger(*quelle);
        for (q.Open(); !q.Eof(); q.Next())
            for (QComboBox* b : boxen)
                b->addItem(q.Field(QStringLiteral("TEXT")).AsString(),
                           q.Field(QStringLiteral("ID")).AsInteger());
    };
    laden({feld12_1_}, Wert(QStringLiteral("QUELLE1")));
    laden({feld12_2_, feld23_2_}, Wert(QStringLiteral("QUELLE2")));
    laden({feld23_3_}, Wert(QStringLiteral("QUELLE3")));
}

void TfrmListenDesign::ComboZeigen(QComboBox* box, std::optional<int> wert)
{
    if (!wert) {
        // The source boxes show "< keine >" at their top, the join boxes nothing.
        box->setCurrentIndex(box->count() > 0 && !box->itemData(0).isValid() ? 0 : -1);
        return;
    }
    box->setCurrentIndex(box->findData(*wert));
}

bool TfrmListenDesign::QuellenPruefen()
{
    db::Query typ(taLesen_,
                  QStringLiteral("SELECT TYP FROM T_DESIGN_LISTEN_QUELLEN WHERE ID = :QUELLE"));
    const QString fehler = TListenDesignLogik::QuellenPruefen(QuellenLesen(), [&typ](int quelle) {
        typ.Param(QStringLiteral("QUELLE")).SetInteger(quelle);
        typ.Open();
        const bool p = !typ.Eof() && typ.Field(0).AsString().trimmed() == QLatin1String("P");
        typ.Close();
        return p;
    });
    if (fehler.isEmpty())
        return true;
    Tools::MeldungError(fehler);
    return false;
}

void TfrmListenDesign::AusgabefelderLaden()
{
    db::Query q(taLesen_,
                QStringLiteral("SELECT * FROM P_GET_DESIGN_FELDER(:QUELLE1, :QUELLE2, :QUELLE3)"));
    for (const char* feld : QuellenFelder) {
        const std::optional<int> wert = Wert(QLatin1String(feld));
        db::Value& p = q.Param(QLatin1String(feld));
        if (wert)
            p.SetInteger(*wert);
        else
            p.SetNull();
    }
    QList<TListenDesignLogik::Feld> alle;
    for (q.Open(); !q.Eof(); q.Next()) {
        const db::Value& breite = q.Field(QStringLiteral("BREITE"));
        alle << TListenDesignLogik::Feld{q.Field(QStringLiteral("KOMBI")).AsString().trimmed(),
                                         q.Field(QStringLiteral("FELD")).AsString().trimmed(),
                                         breite.IsNull() ? QString() : breite.AsString(),
                                         q.Field(QStringLiteral("SORTIERUNG")).AsString().trimmed(),
                                         q.Field(QStringLiteral("TEXT")).AsString().trimmed()};
    }
    logik_.AusgabefelderLaden(alle, liste_.FieldByName(QStringLiteral("FELDER")).AsString());
    ListenZeigen(logik_.Verfuegbar().isEmpty() ? -1 : 0, logik_.Sichtbar().isEmpty() ? -1 : 0);
}

void TfrmListenDesign::ListenZeigen(int verfuegbar, int sichtbar)
{
    const auto zeigen = [](QListWidget* l, const QList<TListenDesignLogik::Feld>& felder,
                           int auswahl) {
        l->clear();
        l->addItems(TListenDesignLogik::Kombis(felder));
        l->setCurrentRow(auswahl);
    };
    zeigen(verfuegbar_, logik_.Verfuegbar(), verfuegbar);
    zeigen(sichtbar_, logik_.Sichtbar(), sichtbar);
}

void TfrmListenDesign::HinzuClick()
{
    if (const auto a = logik_.Hinzufuegen(verfuegbar_->currentRow()))
        ListenZeigen(a->verfuegbar, a->sichtbar);
}

void TfrmListenDesign::EntfClick()
{
    if (const auto s = logik_.Entfernen(sichtbar_->currentRow()))
        ListenZeigen(verfuegbar_->currentRow(), *s);
}

void TfrmListenDesign::AlleHinzuClick()
{
    logik_.AlleHinzufuegen();
    ListenZeigen(0, sichtbar_->count() > 0 ? sichtbar_->currentRow() : 0);
}

void TfrmListenDesign::AlleEntfClick()
{
    logik_.AlleEntfernen();
    ListenZeigen(verfuegbar_->currentRow() < 0 ? 0 : verfuegbar_->currentRow(), -1);
}

void TfrmListenDesign::AufClick()
{
    const int neu = logik_.Auf(sichtbar_->currentRow());
    ListenZeigen(verfuegbar_->currentRow(), neu);
}

void TfrmListenDesign::AbClick()
{
    const int neu = logik_.Ab(sichtbar_->currentRow());
    ListenZeigen(verfuegbar_->currentRow(), neu);
}

void TfrmListenDesign::OptionenLaden()
{
    einschraenkungen_->Columns().GetItem(0).PickList() = logik_.EinschraenkungsFelder();
    sortierungen_->Columns().GetItem(0).PickList() = logik_.SortierFelder();
    ZeilenSetzen(
        *einschraenkungen_,
        logik_.EinschraenkungsZeilen(liste_.FieldByName(QStringLiteral("BEDINGUNGEN")).AsString()));
    ZeilenSetzen(*sortierungen_, logik_.SortierungsZeilen(
                                     liste_.FieldByName(QStringLiteral("SORTIERUNG")).AsString()));
    distinct_->setChecked(liste_.FieldByName(QStringLiteral("DIST")).AsString() == "T");
}

QList<QStringList> TfrmListenDesign::Zeilen(const TZREditGrid& grid)
{
    QList<QStringList> r;
    for (int i = 0; i < grid.Items().Count(); ++i)
        r << grid.Items().GetItem(i).Zellen;
    return r;
}

void TfrmListenDesign::ZeilenSetzen(TZREditGrid& grid, const QList<QStringList>& zeilen)
{
    grid.BeginUpdate();
    grid.Items().Clear();
    for (const QStringList& z : zeilen) {
        TZREditItem& neu = grid.Items().Add();
        for (int c = 0; c < z.size(); ++c)
            neu.SetZelle(c, z.at(c));
    }
    grid.EndUpdate(true);
    grid.SetCell(0, 1);
}

void TfrmListenDesign::PickListeOeffnen(TZREditGrid& grid)
{
    // The editor of the new current cell appears once the events are through.
    QTimer::singleShot(0, &grid,
                       [g = &grid] { QTimer::singleShot(0, g, [g] { g->SetDroppedDown(true); }); });
}

void TfrmListenDesign::EinschraenkungHinzufuegen()
{
    TZREditItems& zeilen = einschraenkungen_->Items();
    if (zeilen.Count() > 0) {
        TZREditItem& letzte = zeilen.GetItem(zeilen.Count() - 1);
        if (letzte.Zellen.value(3).isEmpty())
            letzte.SetZelle(3, ListenKodierung::Verknuepfungen().at(1).angezeigt);
    }
    einschraenkungen_->ZeileHinzufuegen();
    einschraenkungen_->SetCell(0, zeilen.Count());
    einschraenkungen_->setFocus();
    PickListeOeffnen(*einschraenkungen_);
}

void TfrmListenDesign::SortierungHinzufuegen()
{
    TZREditItem& neu = sortierungen_->ZeileHinzufuegen();
    neu.SetZelle(1, ListenKodierung::Sortierrichtungen().at(0).angezeigt);
    sortierungen_->SetCell(0, sortierungen_->Items().Count());
    sortierungen_->setFocus();
    PickListeOeffnen(*sortierungen_);
}

void TfrmListenDesign::ZeileEntfernen(TZREditGrid& grid)
{
    if (grid.Items().Count() == 0)
        return;
    const int zeile = grid.Row();
    const int spalte = grid.Col();
    grid.Items().Delete(zeile - 1);
    if (grid.Items().Count() > 0)
        grid.SetCell(spalte, std::min(zeile, grid.Items().Count()));
}

bool TfrmListenDesign::EinschraenkungenKeyPress(QKeyEvent* taste)
{
    if (!IstEnter(taste))
        return false;
    TZREditGrid& g = *einschraenkungen_;
    const int zeile = g.Row();
    const auto operatorLeer = [&g](int z) {
        return g.Items().GetItem(z - 1).Zellen.value(1).isEmpty();
    };
    switch (g.Col()) {
        case 0:
        case 2:
            g.SetCell(g.Col() + 1, zeile);
            if (operatorLeer(zeile))
                PickListeOeffnen(g);
            break;
        case 1:
            g.SetCell(2, zeile);
            break;
        default:
            if (zeile < g.Items().Count()) {
                g.SetCell(0, zeile + 1);
                if (operatorLeer(zeile + 1))
                    PickListeOeffnen(g);
            } else if (Tools::MeldungConfirm(QStringLiteral("Weitere Einschränkung eingeben?"),
                                             0) == Tools::mrYes) {
                EinschraenkungHinzufuegen();
            } else {
                focusNextChild();
            }
    }
    return true;
}

bool TfrmListenDesign::SortierungenKeyPress(QKeyEvent* taste)
{
    if (!IstEnter(taste))
        return false;
    TZREditGrid& g = *sortierungen_;
    const int zeile = g.Row();
    const auto richtungLeer = [&g](int z) {
        return g.Items().GetItem(z - 1).Zellen.value(1).isEmpty();
    };
    if (g.Col() == 0) {
        g.SetCell(1, zeile);
        if (richtungLeer(zeile))
            PickListeOeffnen(g);
    } else if (zeile < g.Items().Count()) {
        g.SetCell(0, zeile + 1);
        if (richtungLeer(zeile + 1))
            PickListeOeffnen(g);
    } else if (Tools::MeldungConfirm(QStringLiteral("Weitere Einschränkung eingeben?"), 0) ==
               Tools::mrYes) {
        SortierungHinzufuegen();
    } else {
        focusNextChild();
    }
    return true;
}

bool TfrmListenDesign::EncodingsSchreiben()
{
    QString bedingungen;
    QString sortierung;
    try {
        bedingungen = logik_.Bedingungen(Zeilen(*einschraenkungen_));
        sortierung = logik_.Sortierung(Zeilen(*sortierungen_));
    } catch (const ListenKodierung::EKodierung& e) {
        Tools::MeldungError(QString::fromStdString(e.what()));
        einschraenkungen_->setFocus();
        return false;
    }
    liste_.FieldByName(QStringLiteral("FELDER")).SetString(logik_.Felder());
    liste_.FieldByName(QStringLiteral("BEDINGUNGEN")).SetString(bedingungen);
    liste_.FieldByName(QStringLiteral("SORTIERUNG")).SetString(sortierung);
    return true;
}

void TfrmListenDesign::Testen()
{
    // Failed until the list opened: a design the database refuses to build counts as failed too.
    testFehler_ = true;
    testDaten_.Close();
    db::Query gen(
        taEdit_, QStringLiteral("EXECUTE PROCEDURE P_GEN_SQL(:QUELLE1, :QUELLE2, :QUELLE3, "
                                ":FELD12_1, :FELD12_2, :FELD23_2, :FELD23_3, :O_DISTINCT, :FELDER, "
                                ":BEDINGUNGEN, :SORTIERUNG)"));
    for (const char* feld :
         {"QUELLE1", "QUELLE2", "QUELLE3", "FELD12_1", "FELD12_2", "FELD23_2", "FELD23_3"}) {
        const std::optional<int> wert = Wert(QLatin1String(feld));
        db::Value& p = gen.Param(QLatin1String(feld));
        if (wert)
            p.SetInteger(*wert);
        else
            p.SetNull();
    }
    const db::Field& dist = liste_.FieldByName(QStringLiteral("DIST"));
    gen.Param(QStringLiteral("O_DISTINCT"))
        .SetString(dist.IsNull() ? QStringLiteral("F") : dist.AsString());
    for (const char* feld : {"FELDER", "BEDINGUNGEN", "SORTIERUNG"})
        gen.Param(QLatin1String(feld))
            .SetString(liste_.FieldByName(QLatin1String(feld)).AsString());
    gen.Execute();
    const QString sql = gen.Field(QStringLiteral("SQL")).AsString();
    gen.Close();

    testDaten_.SetSelectSQL(ListenTools::BetriebsstaetteEinsetzen(sql, -1));
    try {
        listeTest_->ListeOeffnen(logik_.TestLayout());
        testFehler_ = false;
    } catch (const std::exception&) {
        // Reported below in words the user can act on.
    }
    if (testFehler_) {
        testDaten_.Close();
        Tools::MeldungError(
            QStringLiteral("Es ist ein Fehler bei der Erstellung der Liste aufgetreten.\r"
                           "Überprüfen Sie die Einstellungen auf der vorhergehenden Seite\r"
                           "bei den Einschränkungen bzw. auf der ersten Seite mit den\r"
                           "Datenquellen."));
    }
}

void TfrmListenDesign::SymbolAnzeigen()
{
    const std::optional<int> symbol = Wert(QStringLiteral("SYMBOL"));
    symbolCheck_->setChecked(bool(symbol));
    const bool an = symbolCheck_->isChecked();
    symbolLabel_->setVisible(an);
    symbol_->setVisible(an);
    symbolVorher_->setEnabled(an);
    symbolNachher_->setEnabled(an);
    symbolVorher_->setVisible(an);
    symbolNachher_->setVisible(an);
    symbolAnzahl_->setVisible(an);
    symbolAnzahl_->setText(TListenDesignLogik::SymbolZaehler(symbol, SymbolbildAnzahl()));
    symbol_->setPixmap(symbol ? Symbolbild(*symbol).pixmap(32, 32) : QPixmap());
}

void TfrmListenDesign::SymbolCheckClick()
{
    const std::optional<int> symbol = Wert(QStringLiteral("SYMBOL"));
    if (symbolCheck_->isChecked() && !symbol)
        Setzen(QStringLiteral("SYMBOL"), 0);
    else if (!symbolCheck_->isChecked())
        Setzen(QStringLiteral("SYMBOL"), std::nullopt);
    SymbolAnzeigen();
}

void TfrmListenDesign::SymbolVorherClick()
{
    Setzen(QStringLiteral("SYMBOL"),
           TListenDesignLogik::SymbolVorher(Wert(QStringLiteral("SYMBOL")), SymbolbildAnzahl()));
    SymbolAnzeigen();
}

void TfrmListenDesign::SymbolNachherClick()
{
    Setzen(QStringLiteral("SYMBOL"),
           TListenDesignLogik::SymbolNachher(Wert(QStringLiteral("SYMBOL")), SymbolbildAnzahl()));
    SymbolAnzeigen();
}

void TfrmListenDesign::SpeichernClick()
{
    const QString name = bezeichnung_->text().trimmed();
    if (name.isEmpty())
        DBTools::DBFehlerMelden(bezeichnung_,
                                QStringLiteral("Geben Sie eine Bezeichnung für die Liste an."));
    if (testFehler_ &&
        Tools::MeldungConfirm(QStringLiteral("Beim Test der Liste ist ein Fehler aufgetreten.\r"
                                             "Soll die Liste trotzdem gespeichert werden?"),
                              1) != Tools::mrYes)
        return;
    liste_.FieldByName(QStringLiteral("BEZEICHNUNG")).SetString(name);
    liste_.FieldByName(QStringLiteral("TITEL")).SetString(titel_->text().trimmed());
    liste_.FieldByName(QStringLiteral("MENUE"))
        .SetString(menue_->isChecked() ? QStringLiteral("T") : QStringLiteral("F"));
    db::Field& dist = liste_.FieldByName(QStringLiteral("DIST"));
    if (dist.IsNull())
        dist.SetString(QStringLiteral("F"));
    if (!DBTools::Posten(liste_))
        return;
    ergebnisId_ = liste_.FieldByName(QStringLiteral("ID")).AsInteger();
    gespeichert_ = true;
    accept();
}

int ListenDesignStarten(QWidget* owner, int listeId)
{
    TDM* dm = DM();
    if (!dm || !dm->Verbunden())
        throw std::runtime_error("Der Listen Designer braucht die Verbindung zur Datenbank.");
    TfrmListenDesign fenster(dm->Datenbank, owner);
    fenster.Vorbereiten(listeId);
    fenster.exec();
    if (fenster.Gespeichert())
        if (TShell* shell = TShell::Aktuell())
            shell->ErzeugeListenMenue();
    return fenster.ErgebnisID();
}
