#include "FListenDesignBildschirm.h"

#include "LayoutEditorControls.h"
#include "LayoutEditorLogik.h"
#include "ListenDruckCodes.h"

#include <DBTools.h>
#include <Datenmodul.h>
#include <FListeNormal.h>

#include <DBAMCheckbox.h>
#include <DBFloatEdit.h>
#include <DBZRBaseEdit.h>

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <stdexcept>

using LayoutEditor::Haken;
using LayoutEditor::Text;

TfrmListenDesignBildschirm::TfrmListenDesignBildschirm(db::Database& datenbank, QWidget* owner)
    : TZRDialog(owner),
      TABildschirm(datenbank, QStringLiteral("TABildschirm")),
      felder_(TABildschirm),
      listen_(TABildschirm)
{
    setObjectName(QStringLiteral("frmListenDesignBildschirm"));
    setWindowTitle(QStringLiteral("Listen Design Bildschirm-Ausgabe"));
    setHelpContext(HilfeKontext);
    // The bound controls read their fields as they are made.
    TABildschirm.Start();

    felder_.SetSelectSQL(QStringLiteral("select * from P_GET_LISTE_BILDSCHIRM_FELDER(:LISTE)"));
    felder_.SetModifySQL(
        QStringLiteral("UPDATE T_LISTEN_BILDSCHIRM SET ID = :ID, FELD = :FELD, BREITE = :BREITE, "
                       "AUTOBREITE = :AUTOBREITE, TITEL = :TITEL, AUSRICHTUNG = :AUSRICHTUNG, "
                       "SICHTBAR = :SICHTBAR, ZEILE = :ZEILE, UEBERSCHRIFT = :UEBERSCHRIFT, "
                       "DISPLAY_FORMAT = :DISPLAY_FORMAT, WERT = :WERT WHERE ID = :OLD_ID"));
    listen_.SetSelectSQL(
        QStringLiteral("select ID, MULTI_LINE_SHORT_BILDSCHIRM from T_LISTEN WHERE ID = :LISTE"));
    listen_.SetModifySQL(QStringLiteral(
        "UPDATE T_LISTEN SET MULTI_LINE_SHORT_BILDSCHIRM = :MULTI_LINE_SHORT_BILDSCHIRM "
        "WHERE ID = :OLD_ID"));

    liste_ = new QTableView(this);
    liste_->setObjectName(QStringLiteral("Felder"));
    liste_->setModel(&modell_);
    liste_->horizontalHeader()->hide();
    liste_->horizontalHeader()->setStretchLastSection(true);
    liste_->verticalHeader()->hide();
    liste_->verticalHeader()->setDefaultSectionSize(liste_->fontMetrics().height() + 6);
    liste_->setSelectionBehavior(QAbstractItemView::SelectRows);
    liste_->setSelectionMode(QAbstractItemView::SingleSelection);
    liste_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    liste_->setShowGrid(false);
    liste_->setMinimumWidth(200);

    seiten_ = new QStackedWidget(this);
    seiten_->setObjectName(QStringLiteral("Seiten"));
    auto* bearbeiten = new QWidget(seiten_);
    bearbeiten->setObjectName(QStringLiteral("Bearbeiten"));
    breite_ =
        LayoutEditor::Zahl(felder_, QStringLiteral("BREITE"), 0, 999, true, "Breite", bearbeiten);
    autoBreite_ = Haken(QStringLiteral("automatisch anpassen"), felder_,
                        QStringLiteral("AUTOBREITE"), "AutoBreite", bearbeiten);
    titel_ = Text(felder_, QStringLiteral("TITEL"), 50, "Titel", bearbeiten);
    ausrichtung_ = LayoutEditor::Auswahl(ListenDruckCodes::Ausrichtungen(), felder_,
                                         QStringLiteral("AUSRICHTUNG"), "Ausrichtung", bearbeiten);
    sichtbar_ = Haken(QStringLiteral("Spalte sichtbar"), felder_, QStringLiteral("SICHTBAR"),
                      "Sichtbar", bearbeiten);
    zeile_ = LayoutEditor::Zahl(felder_, QStringLiteral("ZEILE"), 1, 99, true, "Zeile", bearbeiten);
    ueberschrift_ = Haken(QStringLiteral("Überschrift"), felder_, QStringLiteral("UEBERSCHRIFT"),
                          "Ueberschrift", bearbeiten);
    formatLabel_ = new QLabel(QStringLiteral("Format:"), bearbeiten);
    formatLabel_->setObjectName(QStringLiteral("lbFormat"));
    format_ = Text(felder_, QStringLiteral("DISPLAY_FORMAT"), 10, "Format", bearbeiten);
    wert_ = Text(felder_, QStringLiteral("WERT"), 50, "Wert", bearbeiten);

    auto* form = new QGridLayout(bearbeiten);
    form->addWidget(new QLabel(QStringLiteral("Breite"), bearbeiten), 0, 0);
    form->addWidget(breite_, 0, 1);
    form->addWidget(autoBreite_, 0, 2);
    form->addWidget(new QLabel(QStringLiteral("Titel"), bearbeiten), 1, 0);
    form->addWidget(titel_, 1, 1, 1, 2);
    form->addWidget(new QLabel(QStringLiteral("Ausrichtung"), bearbeiten), 2, 0);
    form->addWidget(ausrichtung_, 2, 1, 1, 2, Qt::AlignLeft);
    form->addWidget(sichtbar_, 3, 1, 1, 2);
    form->addWidget(new QLabel(QStringLiteral("Zeile"), bearbeiten), 4, 0);
    form->addWidget(zeile_, 4, 1);
    form->addWidget(ueberschrift_, 5, 1, 1, 2);
    form->addWidget(formatLabel_, 6, 0);
    form->addWidget(format_, 6, 1, 1, 2);
    form->addWidget(wert_, 6, 1, 1, 2);
    form->setColumnStretch(2, 1);
    form->setRowStretch(7, 1);
    titel_->setMinimumWidth(220);

    auto* hinweis = new QWidget(seiten_);
    hinweis->setObjectName(QStringLiteral("Hinweis"));
    auto* hinweisLayout = new QVBoxLayout(hinweis);
    auto* hinweisText =
        new QLabel(QStringLiteral("Diese Spalte kann nicht bearbeitet werden"), hinweis);
    hinweisText->setObjectName(QStringLiteral("lbHinweis"));
    hinweisText->setAlignment(Qt::AlignCenter);
    hinweisText->setWordWrap(true);
    hinweisLayout->addWidget(hinweisText);
    seiten_->addWidget(bearbeiten);
    seiten_->addWidget(hinweis);

    kurzeZeilen_ = Haken(QStringLiteral("Minimale Höhe der Datensätze verwenden"), listen_,
                         QStringLiteral("MULTI_LINE_SHORT_BILDSCHIRM"), "MultiLineShort", this);

    auto* test = new QPushButton(QStringLiteral("Test"), this);
    test->setObjectName(QStringLiteral("Test"));
    auto* hilfe = new QPushButton(QStringLiteral("Hilfe"), this);
    hilfe->setObjectName(QStringLiteral("Hilfe"));
    auto* schliessen = new QPushButton(QStringLiteral("Schließen"), this);
    schliessen->setObjectName(QStringLiteral("Schliessen"));
    schliessen->setDefault(true);

    auto* oben = new QHBoxLayout;
    oben->addWidget(liste_, 1);
    oben->addWidget(seiten_, 2);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(kurzeZeilen_);
    knoepfe->addStretch(1);
    knoepfe->addWidget(test);
    knoepfe->addWidget(hilfe);
    knoepfe->addWidget(schliessen);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(oben, 1);
    layout->addLayout(knoepfe);
    resize(640, 360);

    connect(test, &QPushButton::clicked, this,
            [this] { DBTools::Sicher([this] { TestClick(); }); });
    connect(hilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });
    connect(schliessen, &QPushButton::clicked, this, &QDialog::close);
    felder_.AfterScroll = [this](db::DataSet&) { DSFelderDataChange(); };
    connect(&modell_, &db::DataSetModel::CurrentRowChanged, liste_, [this](int zeile) {
        if (zeile >= 0 && liste_->currentIndex().row() != zeile)
            liste_->setCurrentIndex(modell_.index(zeile, 0));
    });
}

TfrmListenDesignBildschirm::~TfrmListenDesignBildschirm()
{
    felder_.AfterScroll = nullptr;
    liste_->setModel(nullptr);
    modell_.SetDataSet(nullptr);
}

void TfrmListenDesignBildschirm::Vorbereiten(int listeId, const QString& testSQL)
{
    testSQL_ = testSQL;
    listeId_ = listeId;
    if (!TABildschirm.Active())
        TABildschirm.Start();
    felder_.Param(QStringLiteral("LISTE")).SetInteger(listeId);
    felder_.Open();
    felder_.RecordCount();
    for (int i = 0; i < felder_.FieldCount(); ++i)
        felder_.Fields(i).Visible = felder_.Fields(i).FieldName() == QLatin1String("TITEL");
    modell_.SetDataSet(&felder_);
    modell_.Reset();
    // A click in the list moves to the field; a refused post keeps the user on the old one.
    connect(liste_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& jetzt) {
                if (!jetzt.isValid() || felder_.RecNo() == jetzt.row())
                    return;
                DBTools::Sicher([this, &jetzt] { felder_.MoveTo(jetzt.row()); });
                if (felder_.RecNo() != jetzt.row())
                    liste_->setCurrentIndex(modell_.index(felder_.RecNo(), 0));
            });
    listen_.Param(QStringLiteral("LISTE")).SetInteger(listeId);
    listen_.Open();
    if (!felder_.IsEmpty()) {
        felder_.First();
        liste_->setCurrentIndex(modell_.index(0, 0));
    }
    seiten_->setEnabled(!felder_.IsEmpty());
    DSFelderDataChange();
}

void TfrmListenDesignBildschirm::FeldWaehlen(int zeile)
{
    liste_->setCurrentIndex(modell_.index(zeile, 0));
}

void TfrmListenDesignBildschirm::DSFelderDataChange()
{
    if (!felder_.Active() || felder_.IsEmpty())
        return;
    const QString feld = felder_.FieldByName(QStringLiteral("FELD")).AsString().trimmed();
    if (LayoutEditor::IstStatusSpalte(feld)) {
        seiten_->setCurrentIndex(1);
        return;
    }
    seiten_->setCurrentIndex(0);
    const bool wert = LayoutEditor::ZeigtWert(feld);
    formatLabel_->setText(wert ? QStringLiteral("Wert:") : QStringLiteral("Format:"));
    wert_->setVisible(wert);
    wert_->setEnabled(wert);
    format_->setVisible(!wert);
    format_->setEnabled(!wert);
}

bool TfrmListenDesignBildschirm::Speichern()
{
    DBTools::Posten(felder_);
    DBTools::Posten(listen_);
    return true;
}

void TfrmListenDesignBildschirm::TestClick()
{
    Speichern();
    TABildschirm.CommitRetaining();
    if (!testSQL_.isEmpty())
        FListeNormal::ListeAnzeigenEx(this, listeId_, -1, QString(), testSQL_, QString(), false,
                                      true, {}, true, {});
    else
        FListeNormal::ListeAnzeigen(this, listeId_, -1, QString(), true, {});
}

void TfrmListenDesignBildschirm::done(int result)
{
    bool gespeichert = false;
    DBTools::Sicher([this, &gespeichert] {
        gespeichert = Speichern();
        if (TABildschirm.Active())
            TABildschirm.Commit();
    });
    if (!gespeichert)
        return;
    TZRDialog::done(result);
}

void ListenDesignBildschirmStarten(QWidget* owner, int listeId, const QString& datenSQL)
{
    if (!DM())
        throw std::runtime_error("Es besteht keine Verbindung zur Datenbank.");
    TfrmListenDesignBildschirm fenster(DM()->Datenbank, owner);
    fenster.Vorbereiten(listeId, datenSQL);
    fenster.exec();
}
