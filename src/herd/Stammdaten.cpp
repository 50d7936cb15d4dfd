#include "Stammdaten.h"

#include <Datenmodul.h>
#include <Grundeinstellungen.h>
#include <Meldung.h>
#include <MeldungDialog.h>
#include <ProgDatum.h>

#include <Query.h>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Stammdaten;

namespace FMeldungErrorEdit {

bool MeldungErrorEdit(const QString& text)
{
    QApplication::beep();
    Tools::TMeldungDialog box(text, Tools::mtError,
                              Tools::Btn(Tools::mbOK) | Tools::Btn(Tools::mbAbort), 0);
    box.pushButtons().at(1)->setText(QStringLiteral("Rückgängig"));
    return box.run() == Tools::mrOk;
}

}  // namespace FMeldungErrorEdit

namespace {

// Exit reasons in the order the list shows them.
const std::pair<int, const char*> Abgangsgruende[] = {
    {0, ""},
    {1, "Verkauf zur Zucht"},
    {2, "Alter"},
    {3, "geringe Leistung"},
    {4, "Unfruchtbarkeit"},
    {5, "sonstige Krankheiten"},
    {6, "Euterkrankheiten"},
    {7, "Melkbarkeit"},
    {8, "Klauen und Gliedmaßen"},
    {10, "Stoffwechselkrankheiten"},
    {11, "Abgang des Betriebes"},
    {9, "sonstige Gründe"},
};

QDate DatumLesen(const QString& text, bool& ok)
{
    const QString t = text.trimmed();
    ok = true;
    if (t.isEmpty())
        return {};
    for (const char* format : {"d.M.yyyy", "d.M.yy"}) {
        QDate d = QDate::fromString(t, QString::fromLatin1(format));
        if (d.isValid()) {
            if (d.year() < 1950)
                d = d.addYears(100);
            return d;
        }
    }
    ok = false;
    return {};
}

QLineEdit* Datumsfeld(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setPlaceholderText(QStringLiteral("TT.MM.JJJJ"));
    e->setMaxLength(10);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 12);
    return e;
}

void Waehlen(QComboBox* c, const QVariant& wert)
{
    c->setCurrentIndex(c->findData(wert));
}

}  // namespace

TfrmStammdaten::TfrmStammdaten(QWidget* owner) : TZRDialog(owner)
{
    setObjectName(QStringLiteral("frmStammdaten"));
    setWindowTitle(QStringLiteral("Tieransicht - Stammdaten"));
    setHelpContext(HilfeKontext);
    setPosition(poScreenCenter);

    auto zeile = [this](const char* name, int laenge) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(laenge);
        return e;
    };
    nummer_ = zeile("edNummer", 20);
    knr_ = zeile("edKNR", 6);
    knr_->setValidator(new QIntValidator(0, 999999, knr_));
    name_ = zeile("edName", 15);
    gebdat_ = Datumsfeld(this, "edGebDat");
    weiblich_ = new QRadioButton(QStringLiteral("w"), this);
    maennlich_ = new QRadioButton(QStringLiteral("m"), this);
    auto* geschlecht = new QButtonGroup(this);
    geschlecht->addButton(weiblich_);
    geschlecht->addButton(maennlich_);
    rasse_ = new QComboBox(this);
    status_ = new QComboBox(this);
    status_->setObjectName(QStringLiteral("cbStatus"));
    art_ = new QComboBox(this);
    art_->setObjectName(QStringLiteral("cbArt"));
    vater_ = zeile("edVater", 15);
    vaterNr_ = zeile("edVaterNr", 15);
    mutter_ = zeile("edMutter", 15);
    mutterNr_ = zeile("edMutterNr", 20);
    gekauft_ = Datumsfeld(this, "edGekauft");
    gekauftBem_ = new QComboBox(this);
    gekauftBem_->setEditable(true);
    verkauft_ = Datumsfeld(this, "edVerkauft");
    verkauftBem_ = new QComboBox(this);
    verkauftBem_->setEditable(true);
    abgangsgrund_ = new QComboBox(this);
    for (const auto& [code, text] : Abgangsgruende)
        abgangsgrund_->addItem(QString::fromUtf8(text), code);
    rindern_ = Datumsfeld(this, "edRindern");
    trocken_ = Datumsfeld(this, "edTrocken");
    alter_ = new QLabel(this);
    betrieb_ = new QLabel(this);

    auto* tier = new QGroupBox(QStringLiteral("Tier"), this);
    auto* f1 = new QGridLayout(tier);
    auto label = [](const char* t) { return new QLabel(QString::fromUtf8(t)); };
    f1->addWidget(label("Nummer:"), 0, 0);
    f1->addWidget(nummer_, 0, 1, 1, 3);
    f1->addWidget(label("KNR:"), 1, 0);
    f1->addWidget(knr_, 1, 1);
    f1->addWidget(label("Name:"), 1, 2);
    f1->addWidget(name_, 1, 3);
    f1->addWidget(label("Geb. Dat.:"), 2, 0);
    f1->addWidget(gebdat_, 2, 1);
    auto* gs = new QHBoxLayout;
    gs->addWidget(weiblich_);
    gs->addWidget(maennlich_);
    gs->addStretch(1);
    f1->addWidget(label("Geschlecht:"), 2, 2);
    f1->addLayout(gs, 2, 3);
    f1->addWidget(label("Rasse:"), 3, 0);
    f1->addWidget(rasse_, 3, 1, 1, 3);
    f1->addWidget(label("Alter:"), 4, 0);
    f1->addWidget(alter_, 4, 1);
    f1->addWidget(label("Betriebsstätte:"), 4, 2);
    f1->addWidget(betrieb_, 4, 3);

    auto* abst = new QGroupBox(QStringLiteral("Abstammung"), this);
    auto* f2 = new QGridLayout(abst);
    f2->addWidget(label("Vater:"), 0, 0);
    f2->addWidget(vater_, 0, 1);
    f2->addWidget(label("HB Nr.:"), 0, 2);
    f2->addWidget(vaterNr_, 0, 3);
    f2->addWidget(label("Mutter:"), 1, 0);
    f2->addWidget(mutter_, 1, 1);
    f2->addWidget(label("Nummer:"), 1, 2);
    f2->addWidget(mutterNr_, 1, 3);
    f2->setRowStretch(2, 1);

    auto* zucht = new QGroupBox(QStringLiteral("Status"), this);
    auto* f3 = new QGridLayout(zucht);
    f3->addWidget(label("Status:"), 0, 0);
    f3->addWidget(status_, 0, 1);
    f3->addWidget(label("Art:"), 0, 2);
    f3->addWidget(art_, 0, 3);
    f3->addWidget(label("n. Rindern:"), 1, 0);
    f3->addWidget(rindern_, 1, 1);
    f3->addWidget(label("Trocken:"), 1, 2);
    f3->addWidget(trocken_, 1, 3);
    f3->setRowStretch(2, 1);

    auto* bewegung = new QGroupBox(QStringLiteral("Zugang / Abgang"), this);
    auto* f4 = new QGridLayout(bewegung);
    f4->addWidget(label("Gekauft:"), 0, 0);
    f4->addWidget(gekauft_, 0, 1);
    f4->addWidget(gekauftBem_, 0, 2);
    f4->addWidget(label("Verkauft:"), 1, 0);
    f4->addWidget(verkauft_, 1, 1);
    f4->addWidget(verkauftBem_, 1, 2);
    f4->addWidget(label("Abgangsgrund:"), 2, 0);
    f4->addWidget(abgangsgrund_, 2, 1, 1, 2);
    f4->setColumnStretch(2, 1);
    gekauftBem_->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24);
    verkauftBem_->setMinimumWidth(gekauftBem_->minimumWidth());

    zurueck_ = new QPushButton(QStringLiteral("<"), this);
    weiter_ = new QPushButton(QStringLiteral(">"), this);
    speichern_ = new QPushButton(QStringLiteral("Speichern"), this);
    neu_ = new QPushButton(QStringLiteral("Neu"), this);
    schliessen_ = new QPushButton(QStringLiteral("Schließen"), this);
    auto* hilfe = new QPushButton(QStringLiteral("Hilfe"), this);
    for (QPushButton* k : {zurueck_, weiter_, speichern_, neu_, schliessen_, hilfe})
        k->setAutoDefault(false);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(zurueck_);
    knoepfe->addWidget(weiter_);
    knoepfe->addStretch(1);
    knoepfe->addWidget(neu_);
    knoepfe->addWidget(speichern_);
    knoepfe->addWidget(schliessen_);
    knoepfe->addWidget(hilfe);
    auto* gitter = new QGridLayout;
    gitter->addWidget(tier, 0, 0);
    gitter->addWidget(abst, 0, 1);
    gitter->addWidget(zucht, 1, 0);
    gitter->addWidget(bewegung, 1, 1);
    auto* haupt = new QVBoxLayout(this);
    haupt->addLayout(gitter);
    haupt->addLayout(knoepfe);

    connect(zurueck_, &QPushButton::clicked, this, [this] { Schritt(-1); });
    connect(weiter_, &QPushButton::clicked, this, [this] { Schritt(1); });
    connect(speichern_, &QPushButton::clicked, this, [this] { EingabenSpeichern(); });
    connect(neu_, &QPushButton::clicked, this, [this] {
        if (EingabenSpeichern())
            NeuesTier();
    });
    connect(schliessen_, &QPushButton::clicked, this, &TfrmStammdaten::reject);
    connect(hilfe, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });
    for (QLineEdit* e : findChildren<QLineEdit*>())
        connect(e, &QLineEdit::textEdited, this, &TfrmStammdaten::Geaendert);
    for (QComboBox* c : {rasse_, status_, art_, gekauftBem_, verkauftBem_, abgangsgrund_})
        connect(c, &QComboBox::currentIndexChanged, this, &TfrmStammdaten::Geaendert);
    connect(gekauftBem_, &QComboBox::editTextChanged, this, &TfrmStammdaten::Geaendert);
    connect(verkauftBem_, &QComboBox::editTextChanged, this, &TfrmStammdaten::Geaendert);
    connect(weiblich_, &QRadioButton::toggled, this, [this] {
        Geaendert();
        if (!fuellt_) {
            satz_.tier.geschlecht = weiblich_->isChecked() ? QStringLiteral("W") : QStringLiteral("M");
            StatuslistenAufbauen();
        }
    });

    speicher_ = std::make_unique<TTierSpeicher>(*DM());
}

TfrmStammdaten::~TfrmStammdaten()
{
    if (DM() && DM()->TAStammdaten.Active())
        DM()->TAStammdaten.Commit();
}

void TfrmStammdaten::Geaendert()
{
    if (!fuellt_)
        geaendert_ = true;
}

QWidget* TfrmStammdaten::Feld(TFeld feld) const
{
    switch (feld) {
    case TFeld::Nummer: return nummer_;
    case TFeld::Gebdat: return gebdat_;
    case TFeld::Gekauft: return gekauft_;
    case TFeld::Verkauft: return verkauft_;
    case TFeld::Maennlich: return maennlich_;
    case TFeld::Art: return art_;
    case TFeld::Rindern: return rindern_;
    case TFeld::Trocken: return trocken_;
    case TFeld::Status: return status_;
    case TFeld::Rasse: return rasse_;
    default: return nullptr;
    }
}

void TfrmStammdaten::TierAnzeigen(int tierID, int modus, const QString& schnellwahlSQL)
{
    modus_ = modus;
    TDM& dm = *DM();
    if (!dm.TAStammdaten.Active())
        dm.TAStammdaten.Start();
    fuellt_ = true;
    rasse_->clear();
    db::Query r(dm.TAStammdaten,
                QStringLiteral("SELECT ID, BEZEICHNUNG FROM T_RASSEN WHERE VERWENDET = 'T'"));
    for (r.Open(); !r.Eof(); r.Next())
        rasse_->addItem(r.Field(1).AsString(), r.Field(0).AsInteger());
    for (auto [box, spalte] : {std::pair{gekauftBem_, "GEKAUFTBEM"}, {verkauftBem_, "VERKAUFTBEM"}}) {
        QStringList werte;
        dm.SQLListe(dm.TAStammdaten,
                    QStringLiteral("SELECT DISTINCT %1 FROM T_STAMMDATEN ORDER BY %1")
                        .arg(QString::fromLatin1(spalte)),
                    {}, 0, werte);
        box->clear();
        box->addItems(werte);
    }
    fuellt_ = false;
    const bool neu = modus == 1;
    speichern_->setVisible(neu);
    neu_->setVisible(neu);
    zurueck_->setVisible(!neu);
    weiter_->setVisible(!neu);
    if (neu) {
        NeuesTier();
        return;
    }
    const QString sql = schnellwahlSQL.isEmpty()
                            ? QStringLiteral("SELECT ID, NAME, NUMMER FROM T_STAMMDATEN WHERE ID = ") +
                                  QString::number(tierID)
                            : schnellwahlSQL;
    schnellliste_.clear();
    db::Query q(dm.TAStammdaten, sql);
    for (q.Open(); !q.Eof(); q.Next())
        schnellliste_ << q.Field(0).AsInteger();
    Laden(tierID);
}

void TfrmStammdaten::Laden(int id)
{
    satz_ = speicher_->Laden(id);
    Zeigen();
}

void TfrmStammdaten::NeuesTier()
{
    satz_ = speicher_->Neu();
    Zeigen();
    nummer_->setFocus();
}

void TfrmStammdaten::StatuslistenAufbauen()
{
    const bool alt = fuellt_;
    fuellt_ = true;
    const TStatuslisten l = Stammdaten::StatuslistenAufbauen(satz_.tier.geschlecht, hatKalbungen_,
                                                             hatBesamungen_);
    status_->clear();
    for (const auto& [text, buchstabe] : l.status)
        status_->addItem(text, buchstabe);
    art_->clear();
    for (const auto& [text, buchstabe] : l.arten)
        art_->addItem(text, buchstabe);
    // A stored value the lists do not offer stays visible, so the check can name it.
    if (status_->findData(satz_.tier.status) < 0)
        status_->addItem(StatusWort(satz_.tier.status), satz_.tier.status);
    if (art_->findData(satz_.tier.statusExt) < 0)
        art_->addItem(satz_.tier.statusExt == QLatin1String("M") ? QStringLiteral("Mutterkuh")
                                                                 : satz_.tier.statusExt,
                      satz_.tier.statusExt);
    Waehlen(status_, satz_.tier.status);
    Waehlen(art_, satz_.tier.statusExt);
    fuellt_ = alt;
}

void TfrmStammdaten::Zeigen()
{
    fuellt_ = true;
    speicher_->Geschichte(satz_, hatBesamungen_, hatKalbungen_);
    const TTier& t = satz_.tier;
    nummer_->setText(t.nummer);
    knr_->setText(satz_.knr > 0 ? QString::number(satz_.knr) : QString());
    name_->setText(satz_.name);
    gebdat_->setText(DatumText(t.gebdat));
    weiblich_->setChecked(t.geschlecht != QLatin1String("M"));
    maennlich_->setChecked(t.geschlecht == QLatin1String("M"));
    if (rasse_->findData(satz_.rasse) < 0 && satz_.rasse > 0)
        rasse_->addItem(DM()->SQLWertString(DM()->TAStammdaten,
                                            QStringLiteral("SELECT BEZEICHNUNG FROM T_RASSEN WHERE ID = :ID"),
                                            {{QStringLiteral("ID"), satz_.rasse}}),
                        satz_.rasse);
    Waehlen(rasse_, satz_.rasse);
    vater_->setText(satz_.vater);
    vaterNr_->setText(satz_.vaterNr);
    mutter_->setText(satz_.mutter);
    mutterNr_->setText(satz_.mutterNr);
    gekauft_->setText(DatumText(t.gekauft));
    gekauftBem_->setEditText(satz_.gekauftBem);
    verkauft_->setText(DatumText(t.verkauft));
    verkauftBem_->setEditText(satz_.verkauftBem);
    Waehlen(abgangsgrund_, satz_.abgangsgrund < 0 ? 0 : satz_.abgangsgrund);
    rindern_->setText(DatumText(t.rindern));
    trocken_->setText(DatumText(t.trocken));
    StatuslistenAufbauen();
    const bool trockenErlaubt = hatBesamungen_ && hatKalbungen_;
    trocken_->setEnabled(trockenErlaubt || t.trocken.isValid());
    if (satz_.id > 0) {
        alter_->setText(DM()->SQLWertString(
            DM()->TAStammdaten,
            QStringLiteral("SELECT CAST(ZRNV_ALTER(GEBDAT, VERKAUFT, CAST('NOW' AS DATE)) AS "
                           "VARCHAR(15)) FROM T_STAMMDATEN WHERE ID = :ID"),
            {{QStringLiteral("ID"), satz_.id}}));
        betrieb_->setText(DM()->SQLWertString(
            DM()->TAStammdaten,
            QStringLiteral("SELECT BEZEICHNUNG FROM P_GET_LETZTE_BETRIEBSSTAETTE(:ID)"),
            {{QStringLiteral("ID"), satz_.id}}));
    } else {
        alter_->clear();
        betrieb_->clear();
    }
    const int pos = schnellliste_.indexOf(satz_.id);
    zurueck_->setEnabled(pos > 0);
    weiter_->setEnabled(pos >= 0 && pos < schnellliste_.size() - 1);
    const QString titel = satz_.id > 0 ? QStringLiteral("Tieransicht - Stammdaten - ") + t.nummer +
                                             (satz_.name.isEmpty() ? QString() : QStringLiteral(" (") + satz_.name + u')')
                                       : QStringLiteral("Tieransicht - Stammdaten - neues Tier");
    setWindowTitle(titel);
    geaendert_ = false;
    fuellt_ = false;
}

bool TfrmStammdaten::Lesen()
{
    TTier& t = satz_.tier;
    const std::pair<QLineEdit*, QDate*> daten[] = {{gebdat_, &t.gebdat},   {gekauft_, &t.gekauft},
                                                   {verkauft_, &t.verkauft}, {rindern_, &t.rindern},
                                                   {trocken_, &t.trocken}};
    for (const auto& [feld, ziel] : daten) {
        bool ok = false;
        const QDate d = DatumLesen(feld->text(), ok);
        if (!ok) {
            Tools::MeldungError(QStringLiteral("\"%1\" ist kein gültiges Datum.\rBitte geben Sie das "
                                               "Datum als TT.MM.JJJJ ein.")
                                    .arg(feld->text()));
            feld->setFocus();
            return false;
        }
        *ziel = d;
    }
    t.nummer = nummer_->text().trimmed().toUpper();
    satz_.knr = knr_->text().toInt();
    satz_.name = name_->text().trimmed();
    t.geschlecht = maennlich_->isChecked() ? QStringLiteral("M") : QStringLiteral("W");
    t.status = status_->currentData().toString();
    t.statusExt = art_->currentData().toString();
    satz_.rasse = rasse_->currentData().toInt();
    satz_.vater = vater_->text().trimmed();
    satz_.vaterNr = vaterNr_->text().trimmed().toUpper();
    satz_.mutter = mutter_->text().trimmed();
    satz_.mutterNr = mutterNr_->text().trimmed().toUpper();
    satz_.gekauftBem = gekauftBem_->currentText().trimmed();
    satz_.verkauftBem = verkauftBem_->currentText().trimmed();
    const int grund = abgangsgrund_->currentData().toInt();
    satz_.abgangsgrund = grund > 0 ? grund : -1;
    return true;
}

void TfrmStammdaten::PruefFehler(const TFehler& fehler)
{
    QWidget* feld = Feld(fehler.feld);
    if (modus_ == 1 && satz_.id <= 0) {
        if (Tools::MeldungConfirm(fehler.text +
                                      QStringLiteral("\r\rWollen Sie die Bearbeitung des neuen Tieres "
                                                     "rückgängig machen?\rDie eingegebenen Daten "
                                                     "werden dann nicht gespeichert!"),
                                  1) == Tools::mrYes) {
            verworfen_ = true;
            NeuesTier();
            return;
        }
    } else if (!FMeldungErrorEdit::MeldungErrorEdit(
                   fehler.text + QStringLiteral("\r\rDrücken Sie auf Rückgängig, um die gesamte "
                                                "\rBearbeitung rückgängig zu machen."))) {
        if (Tools::MeldungConfirm(QStringLiteral("Wollen Sie wirklich die Bearbeitung des Tieres "
                                                 "rückgängig machen?\rAlle durchgeführten "
                                                 "Änderungen werden dabei verworfen!"),
                                  1) == Tools::mrYes) {
            Laden(satz_.id);
            return;
        }
    }
    if (feld)
        feld->setFocus();
}

bool TfrmStammdaten::EingabenSpeichern()
{
    if (!geaendert_ && satz_.id > 0)
        return true;
    if (!Lesen())
        return false;
    TEinstellungen* e = Einstellungen();
    const bool meldungAuto = e ? e->GetMeldungAuto() : true;
    const TTierSpeicher::TErgebnis erg = speicher_->Speichern(satz_, ProgDatum::Heute(), meldungAuto);
    if (erg.fehler) {
        PruefFehler(*erg.fehler);
        return false;
    }
    if (erg.zeitraumFehler) {
        Tools::MeldungError(erg.zeitraumFehler->text);
        return false;
    }
    verworfen_ = false;
    if (erg.meldungen.zugang &&
        Tools::MeldungConfirm(QStringLiteral("Soll eine Zugangsmeldung an HI - Tier vorbereitet werden?")) ==
            Tools::mrYes)
        speicher_->MeldungAnlegen(satz_.id, 14, satz_.tier.gekauft);
    if (erg.meldungen.abgang &&
        Tools::MeldungConfirm(QStringLiteral("Soll eine Abgangsmeldung an HI - Tier vorbereitet werden?")) ==
            Tools::mrYes)
        speicher_->MeldungAnlegen(satz_.id, 3, satz_.tier.verkauft);
    Laden(satz_.id);
    return true;
}

void TfrmStammdaten::Schritt(int richtung)
{
    const int pos = schnellliste_.indexOf(satz_.id) + richtung;
    if (pos < 0 || pos >= schnellliste_.size() || !EingabenSpeichern())
        return;
    Laden(schnellliste_[pos]);
}

void TfrmStammdaten::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_PageUp && modus_ == 0) {
        Schritt(-1);
        return;
    }
    if (event->key() == Qt::Key_PageDown && modus_ == 0) {
        Schritt(1);
        return;
    }
    TZRDialog::keyPressEvent(event);
}

void TfrmStammdaten::reject()
{
    if (verworfen_ && !geaendert_) {
        TZRDialog::reject();
        return;
    }
    if (modus_ == 1 && satz_.id <= 0 && !geaendert_) {
        TZRDialog::reject();
        return;
    }
    if (EingabenSpeichern() || verworfen_)
        TZRDialog::reject();
}
