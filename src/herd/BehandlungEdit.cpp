#include "BehandlungEdit.h"

#include <DBTools.h>
#include <Datenmodul.h>
#include <ProgDatum.h>
#include <SilentAbort.h>

#include <Error.h>
#include <Meldung.h>
#include <Query.h>
#include <Transaction.h>

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString DatumsFormat = QStringLiteral("dd.MM.yyyy");

QComboBox* Auswahl(QWidget* parent, int laenge)
{
    auto* c = new QComboBox(parent);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->lineEdit()->setMaxLength(laenge);
    return c;
}

void Setzen(QComboBox* c, const QStringList& liste, const QString& text)
{
    c->clear();
    c->addItems(liste);
    c->setCurrentIndex(-1);
    c->setEditText(text);
}

QString Text(const QComboBox* c)
{
    return c->currentText().trimmed();
}

QVariant OderNull(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

}  // namespace

TBehandlungDatum::TBehandlungDatum(QWidget* parent) : QLineEdit(parent)
{
    setMaxLength(10);
    setPlaceholderText(QStringLiteral("TT.MM.JJJJ"));
}

QDate TBehandlungDatum::Datum() const
{
    return QDate::fromString(text().trimmed(), DatumsFormat);
}

void TBehandlungDatum::SetDatum(const QDate& datum)
{
    setText(datum.isValid() ? datum.toString(DatumsFormat) : QString());
}

void TBehandlungDatum::KalenderZeigen()
{
    auto* kalender = new QCalendarWidget(this);
    kalender->setWindowFlags(Qt::Popup);
    kalender->setAttribute(Qt::WA_DeleteOnClose);
    kalender->setWindowTitle(QStringLiteral("Datum wählen"));
    kalender->setSelectedDate(Datum().isValid() ? Datum() : ProgDatum::Heute());
    connect(kalender, &QCalendarWidget::activated, this, [this, kalender](const QDate& d) {
        SetDatum(d);
        kalender->close();
    });
    connect(kalender, &QCalendarWidget::clicked, this, [this, kalender](const QDate& d) {
        SetDatum(d);
        kalender->close();
    });
    kalender->move(mapToGlobal(rect().bottomLeft()));
    kalender->show();
}

void TBehandlungDatum::keyPressEvent(QKeyEvent* event)
{
    const QDate d = Datum();
    if (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)) {
        KalenderZeigen();
        return;
    }
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        const QDate basis = d.isValid() ? d : ProgDatum::Heute();
        SetDatum(basis.addDays(event->key() == Qt::Key_Up ? 1 : -1));
        return;
    }
    if (event->key() == Qt::Key_F12) {
        SetDatum(ProgDatum::Heute());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

const QStringList TfrmBehandlungEdit::Verabreichungen = {
    QStringLiteral("s. c."),   QStringLiteral("i. m."),     QStringLiteral("i. v."),
    QStringLiteral("i. z."),   QStringLiteral("i. mam."),   QStringLiteral("oral"),
    QStringLiteral("i. vag."), QStringLiteral("äußerlich"), QStringLiteral("rektal")};

TfrmBehandlungEdit::TfrmBehandlungEdit(db::Transaction& tr, QWidget* owner)
    : TZRDialog(owner),
      tr_(tr),
      bestandsbuch_(new QCheckBox(QStringLiteral("in Bestandsbuch"), this)),
      standort_(Auswahl(this, 50)),
      kategorie_(Auswahl(this, 50)),
      grund_(Auswahl(this, 50)),
      anwender_(Auswahl(this, 50)),
      arzneimittel_(Auswahl(this, 100)),
      wMilch_(new QLineEdit(this)),
      wFleisch_(new QLineEdit(this)),
      beleg_(Auswahl(this, 50)),
      anwendungen_(new QTableWidget(0, 3, this)),
      hinzufuegen_(new QPushButton(QStringLiteral("Anwendung hinzufügen"), this)),
      anwLoeschen_(new QPushButton(QStringLiteral("Anwendung löschen"), this)),
      eintragen_(new QPushButton(QStringLiteral("Eintragen"), this)),
      buchen_(new QPushButton(QStringLiteral("Buchen"), this)),
      abbrechen_(new QPushButton(QStringLiteral("Abbrechen"), this)),
      hilfe_(new QPushButton(QStringLiteral("Hilfe"), this))
{
    setWindowTitle(QStringLiteral("Neue Behandlung"));
    setHelpContext(HilfeKontext);
    bestandsbuch_->setTristate(true);
    for (QLineEdit* e : {wMilch_, wFleisch_}) {
        e->setValidator(new QIntValidator(0, 250, e));
        e->setMaximumWidth(60);
    }
    anwendungen_->setHorizontalHeaderLabels(
        {QStringLiteral("Datum"), QStringLiteral("Verabreichung"), QStringLiteral("Menge")});
    anwendungen_->verticalHeader()->hide();
    anwendungen_->horizontalHeader()->setStretchLastSection(true);
    anwendungen_->setColumnWidth(0, 120);
    anwendungen_->setColumnWidth(1, 130);
    anwendungen_->setContextMenuPolicy(Qt::CustomContextMenu);
    anwendungen_->setMinimumHeight(190);
    connect(anwendungen_, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        QMenu menu(this);
        QAction* neu = menu.addAction(QStringLiteral("hinzufügen"));
        QAction* weg = menu.addAction(QStringLiteral("löschen"));
        QAction* gewaehlt = menu.exec(anwendungen_->viewport()->mapToGlobal(p));
        if (gewaehlt == neu)
            Aktion([this] { AnwendungHinzufuegen(); });
        else if (gewaehlt == weg)
            Aktion([this] { AnwendungLoeschen(); });
    });

    for (QWidget* w :
         std::initializer_list<QWidget*>{bestandsbuch_, standort_, kategorie_, grund_, anwender_,
                                         arzneimittel_, wMilch_, wFleisch_, beleg_})
        w->installEventFilter(this);
    connect(arzneimittel_, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { MedikamentUebernehmen(t); });

    auto* felder = new QGridLayout;
    int z = 0;
    felder->addWidget(bestandsbuch_, z++, 1);
    auto zeile = [&](const QString& text, QWidget* w) {
        felder->addWidget(new QLabel(text, this), z, 0);
        felder->addWidget(w, z++, 1, 1, 3);
    };
    zeile(QStringLiteral("Standort"), standort_);
    zeile(QStringLiteral("Kategorie"), kategorie_);
    zeile(QStringLiteral("Behandlungsgrund"), grund_);
    zeile(QStringLiteral("Anwender"), anwender_);
    zeile(QStringLiteral("Arzneimittelbez."), arzneimittel_);
    auto* warte = new QHBoxLayout;
    warte->addWidget(new QLabel(QStringLiteral("Milch"), this));
    warte->addWidget(wMilch_);
    warte->addSpacing(12);
    warte->addWidget(new QLabel(QStringLiteral("Fleisch"), this));
    warte->addWidget(wFleisch_);
    warte->addStretch(1);
    felder->addWidget(new QLabel(QStringLiteral("Wartezeit"), this), z, 0);
    felder->addLayout(warte, z++, 1, 1, 3);
    zeile(QStringLiteral("Belegnummer"), beleg_);
    felder->setColumnStretch(1, 1);
    standort_->setMinimumWidth(320);

    auto* gruppe = new QGroupBox(QStringLiteral("Anwendungen"), this);
    auto* anwLayout = new QVBoxLayout(gruppe);
    anwLayout->addWidget(anwendungen_);
    auto* anwKnoepfe = new QHBoxLayout;
    anwKnoepfe->addWidget(hinzufuegen_);
    anwKnoepfe->addWidget(anwLoeschen_);
    anwKnoepfe->addStretch(1);
    anwLayout->addLayout(anwKnoepfe);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    for (QPushButton* k : {eintragen_, buchen_, abbrechen_, hilfe_}) {
        k->setAutoDefault(false);
        k->setMinimumWidth(90);
        knoepfe->addWidget(k);
    }
    hinzufuegen_->setAutoDefault(false);
    anwLoeschen_->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(felder);
    layout->addWidget(gruppe, 1);
    layout->addLayout(knoepfe);

    connect(hinzufuegen_, &QPushButton::clicked, this,
            [this] { Aktion([this] { AnwendungHinzufuegen(); }); });
    connect(anwLoeschen_, &QPushButton::clicked, this,
            [this] { Aktion([this] { AnwendungLoeschen(); }); });
    connect(eintragen_, &QPushButton::clicked, this, [this] {
        Aktion([this] {
            if (Speichern(StatusText()))
                accept();
        });
    });
    connect(buchen_, &QPushButton::clicked, this, [this] {
        Aktion([this] {
            if (Speichern(QStringLiteral("B")))
                accept();
        });
    });
    connect(abbrechen_, &QPushButton::clicked, this, &QDialog::reject);
    connect(hilfe_, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });
    resize(560, 600);
}

void TfrmBehandlungEdit::Initialisieren(int& id, int tier, bool gruppenWarnung)
{
    gruppenWarnung_ = gruppenWarnung;
    geloescht_.clear();
    anwendungen_->setRowCount(0);
    ListenFuellen();
    if (id == 0) {
        db::Query q(tr_, QStringLiteral(
                             "INSERT INTO T_TIERARZTLEISTUNG (ID, BESTANDSBUCH, WMILCH, WFLEISCH) "
                             "VALUES (GEN_ID(G_TIERARZTLEISTUNG, 1), 'J', 0, 0) RETURNING ID"));
        q.Execute();
        id = q.Field(0).AsInteger();
        id_ = id;
        status_ = QStringLiteral("J");
        Setzen(standort_, {},
               DM()->SQLWertString(
                   tr_,
                   QStringLiteral("SELECT BEZEICHNUNG FROM P_GET_LETZTE_BETRIEBSSTAETTE(:TIER_ID)"),
                   {{QStringLiteral("TIER_ID"), tier}}));
        wMilch_->setText(QStringLiteral("0"));
        wFleisch_->setText(QStringLiteral("0"));
        ZeileAnfuegen({0, ProgDatum::Heute(), {}, {}});
    } else {
        id_ = id;
        db::Query q(tr_, QStringLiteral("SELECT * FROM T_TIERARZTLEISTUNG WHERE ID = :ID"));
        q.Param(QStringLiteral("ID")).SetInteger(id);
        q.Open();
        if (q.Eof())
            throw db::Error(QStringLiteral("Die Behandlung ist nicht mehr vorhanden."));
        status_ = q.Field(QStringLiteral("BESTANDSBUCH")).AsString().trimmed();
        standort_->setEditText(q.Field(QStringLiteral("STANDORT")).AsString());
        kategorie_->setEditText(q.Field(QStringLiteral("KATEGORIE")).AsString());
        grund_->setEditText(q.Field(QStringLiteral("GRUND")).AsString());
        anwender_->setEditText(q.Field(QStringLiteral("ANWENDER")).AsString());
        {
            const QSignalBlocker still(arzneimittel_);
            arzneimittel_->setEditText(q.Field(QStringLiteral("ARZNEIMITTEL")).AsString());
        }
        beleg_->setEditText(q.Field(QStringLiteral("BELEGNUMMER")).AsString());
        wMilch_->setText(q.Field(QStringLiteral("WMILCH")).AsString());
        wFleisch_->setText(q.Field(QStringLiteral("WFLEISCH")).AsString());
        db::Query a(tr_, QStringLiteral("select * from T_TIERARZTANWENDUNG a\rwhere a.LEISTUNG = "
                                        ":ID order by a.DATUM, a.ID"));
        a.Param(QStringLiteral("ID")).SetInteger(id);
        for (a.Open(); !a.Eof(); a.Next())
            ZeileAnfuegen({a.Field(QStringLiteral("ID")).AsInteger(),
                           a.Field(QStringLiteral("DATUM")).AsDate(),
                           a.Field(QStringLiteral("VERABREICHUNG")).AsString(),
                           a.Field(QStringLiteral("MENGE")).AsString()});
    }
    bestandsbuch_->setCheckState(status_ == QLatin1String("J")   ? Qt::Checked
                                 : status_ == QLatin1String("B") ? Qt::PartiallyChecked
                                                                 : Qt::Unchecked);
    bestandsbuch_->setEnabled(status_.isEmpty() || status_ == QLatin1String("N") ||
                              status_ == QLatin1String("J"));
    // The user toggles between in and out only; grey is the booked state.
    connect(bestandsbuch_, &QCheckBox::stateChanged, this, [this](int s) {
        if (s == Qt::PartiallyChecked)
            bestandsbuch_->setCheckState(Qt::Unchecked);
    });
    geladen_ = Zustand();
}

void TfrmBehandlungEdit::ListenFuellen()
{
    TDM* dm = DM();
    QStringList liste;
    dm->SQLListe(tr_, QStringLiteral("SELECT * FROM V_MEDIKAMENTE ORDER BY BEZEICHNUNG"), {}, 1,
                 liste);
    {
        const QSignalBlocker still(arzneimittel_);
        Setzen(arzneimittel_, liste, QString());
    }
    const std::pair<QComboBox*, const char*> spalten[] = {{standort_, "STANDORT"},
                                                          {kategorie_, "KATEGORIE"},
                                                          {grund_, "GRUND"},
                                                          {anwender_, "ANWENDER"}};
    for (const auto& [c, spalte] : spalten) {
        liste.clear();
        dm->SQLListe(tr_,
                     QStringLiteral("SELECT DISTINCT %1 FROM T_TIERARZTLEISTUNG ORDER BY %1")
                         .arg(QLatin1String(spalte)),
                     {}, 0, liste);
        Setzen(c, liste, QString());
    }
    liste.clear();
    dm->SQLListe(
        tr_,
        QStringLiteral(
            "SELECT DISTINCT L.BELEGNUMMER FROM T_TIERARZTLEISTUNG L JOIN T_TIERARZTANWENDUNG A ON "
            "A.LEISTUNG = L.ID WHERE L.BELEGNUMMER IS NOT NULL AND L.BELEGNUMMER <> '' AND "
            "(A.DATUM > CURRENT_DATE - 180) ORDER BY L.BELEGNUMMER DESC"),
        {}, 0, liste);
    Setzen(beleg_, liste, QString());
    mengen_.clear();
    dm->SQLListe(tr_, Tierarzt::MengenSQL, {}, 0, mengen_);
}

void TfrmBehandlungEdit::MedikamentUebernehmen(const QString& name)
{
    if (name.trimmed().isEmpty())
        return;
    db::Query q(
        tr_,
        QStringLiteral(
            "SELECT WMILCH, WFLEISCH FROM V_MEDIKAMENTE WHERE UPPER(BEZEICHNUNG) = UPPER(:B)"));
    q.Param(QStringLiteral("B")).SetString(name.trimmed());
    q.Open();
    if (q.Eof())
        return;
    wMilch_->setText(q.Field(0).AsString());
    wFleisch_->setText(q.Field(1).AsString());
}

TBehandlungDatum* TfrmBehandlungEdit::DatumFeld(int zeile) const
{
    return qobject_cast<TBehandlungDatum*>(anwendungen_->cellWidget(zeile, 0));
}

QComboBox* TfrmBehandlungEdit::VerabreichungFeld(int zeile) const
{
    return qobject_cast<QComboBox*>(anwendungen_->cellWidget(zeile, 1));
}

QComboBox* TfrmBehandlungEdit::MengeFeld(int zeile) const
{
    return qobject_cast<QComboBox*>(anwendungen_->cellWidget(zeile, 2));
}

int TfrmBehandlungEdit::Anwendungszahl() const
{
    return anwendungen_->rowCount();
}

void TfrmBehandlungEdit::ZeileAnfuegen(const Tierarzt::TAnwendung& a)
{
    const int z = anwendungen_->rowCount();
    anwendungen_->insertRow(z);
    auto* datum = new TBehandlungDatum(anwendungen_);
    datum->SetDatum(a.datum);
    datum->setProperty("anwendung", a.id);
    auto* verab = Auswahl(anwendungen_, 10);
    verab->setMaxVisibleItems(10);
    Setzen(verab, Verabreichungen, a.verabreichung);
    auto* menge = Auswahl(anwendungen_, 10);
    Setzen(menge, mengen_, a.menge);
    anwendungen_->setCellWidget(z, 0, datum);
    anwendungen_->setCellWidget(z, 1, verab);
    anwendungen_->setCellWidget(z, 2, menge);
    anwendungen_->setRowHeight(z, datum->sizeHint().height() + 4);
    for (QWidget* w : std::initializer_list<QWidget*>{datum, verab, menge})
        w->installEventFilter(this);
}

Tierarzt::TAnwendung TfrmBehandlungEdit::AnwendungAus(int zeile) const
{
    return {DatumFeld(zeile)->property("anwendung").toInt(), DatumFeld(zeile)->Datum(),
            Text(VerabreichungFeld(zeile)), Text(MengeFeld(zeile))};
}

bool TfrmBehandlungEdit::AnwendungHinzufuegen()
{
    if (Anwendungszahl() >= Tierarzt::MaxAnwendungen) {
        Tools::MeldungWarning(Tierarzt::MaximalAnwendungen());
        return false;
    }
    const int letzte = Anwendungszahl() - 1;
    if (letzte >= 0 && !DatumFeld(letzte)->Datum().isValid())
        DBTools::DBFehlerMelden(DatumFeld(letzte),
                                QStringLiteral("Das Datum muß eingegeben werden"));
    ZeileAnfuegen(letzte >= 0 ? Tierarzt::Folgeanwendung(AnwendungAus(letzte))
                              : Tierarzt::TAnwendung{0, ProgDatum::Heute(), {}, {}});
    DatumFeld(Anwendungszahl() - 1)->setFocus();
    return true;
}

void TfrmBehandlungEdit::AnwendungLoeschen()
{
    int zeile = anwendungen_->currentRow();
    for (int z = 0; z < Anwendungszahl(); ++z)
        for (int s = 0; s < 3; ++s)
            if (anwendungen_->cellWidget(z, s)->hasFocus())
                zeile = z;
    if (zeile < 0 || zeile >= Anwendungszahl())
        return;
    if (Tools::Meldung(QStringLiteral("Wollen Sie die Anwendung wirklich löschen?"),
                       Tools::mtConfirmation, Tools::mbYesNo, 0,
                       Tools::DefaultButton(1)) != Tools::mrYes)
        return;
    const int id = AnwendungAus(zeile).id;
    if (id > 0)
        geloescht_ << id;
    anwendungen_->removeRow(zeile);
}

QString TfrmBehandlungEdit::StatusText() const
{
    if (!bestandsbuch_->isEnabled())
        return status_;
    return bestandsbuch_->checkState() == Qt::Checked ? QStringLiteral("J") : QStringLiteral("N");
}

QString TfrmBehandlungEdit::Zustand() const
{
    QStringList teile{StatusText(),    Text(standort_),   Text(kategorie_),
                      Text(grund_),    Text(anwender_),   Text(arzneimittel_),
                      wMilch_->text(), wFleisch_->text(), Text(beleg_)};
    for (int z = 0; z < Anwendungszahl(); ++z) {
        const Tierarzt::TAnwendung a = AnwendungAus(z);
        teile << QString::number(a.id) << a.datum.toString(Qt::ISODate) << a.verabreichung
              << a.menge;
    }
    return teile.join(QChar(0x1f));
}

bool TfrmBehandlungEdit::Speichern(const QString& status)
{
    if (gruppenWarnung_ && (Zustand() != geladen_ || status != StatusText()) &&
        Tools::Meldung(QStringLiteral("Diese Behandlung ist eine Gruppenbehandlung.\rÄnderungen "
                                      "sind für alle betroffenen "
                                      "Tiere gültig.\rWollen Sie die Änderung abspeichern?"),
                       Tools::mtConfirmation, Tools::mbYesNo) != Tools::mrYes)
        return false;
    for (int z = 0; z < Anwendungszahl(); ++z)
        if (!DatumFeld(z)->Datum().isValid())
            DBTools::DBFehlerMelden(DatumFeld(z),
                                    QStringLiteral("Das Datum muß eingegeben werden"));
    if (status != QLatin1String("N")) {
        const std::pair<QComboBox*, const char*> pflicht[] = {
            {standort_, "Standort"},
            {anwender_, "Anwender"},
            {arzneimittel_, "Arzneimittelbezeichnung"},
            {beleg_, "Belegnummer"}};
        for (const auto& [feld, name] : pflicht)
            if (Text(feld).isEmpty() &&
                Tools::Meldung(Tierarzt::PflichtfeldFrage(QString::fromUtf8(name)),
                               Tools::mtConfirmation, Tools::mbYesNo) != Tools::mrYes) {
                feld->setFocus();
                return false;
            }
    }
    try {
        Schreiben(status);
    } catch (const db::Error& e) {
        QString text;
        Tools::MeldungError(DBTools::DBFehlerText(e, text) ? text : e.Message());
        return false;
    }
    return true;
}

void TfrmBehandlungEdit::Schreiben(const QString& status)
{
    auto zahl = [](const QLineEdit* e) {
        return e->text().trimmed().isEmpty() ? 0 : e->text().trimmed().toInt();
    };
    db::Query l(
        tr_,
        QStringLiteral(
            "UPDATE T_TIERARZTLEISTUNG SET BESTANDSBUCH = :BESTANDSBUCH, STANDORT = :STANDORT, "
            "KATEGORIE = :KATEGORIE, GRUND = :GRUND, ANWENDER = :ANWENDER, ARZNEIMITTEL = "
            ":ARZNEIMITTEL, WMILCH = :WMILCH, WFLEISCH = :WFLEISCH, BELEGNUMMER = :BELEGNUMMER "
            "WHERE ID = :ID"));
    l.Param(QStringLiteral("BESTANDSBUCH")).SetString(status);
    l.Param(QStringLiteral("STANDORT")) = OderNull(Text(standort_));
    l.Param(QStringLiteral("KATEGORIE")) = OderNull(Text(kategorie_));
    l.Param(QStringLiteral("GRUND")) = OderNull(Text(grund_));
    l.Param(QStringLiteral("ANWENDER")) = OderNull(Text(anwender_));
    l.Param(QStringLiteral("ARZNEIMITTEL")) = OderNull(Text(arzneimittel_));
    l.Param(QStringLiteral("BELEGNUMMER")) = OderNull(Text(beleg_));
    l.Param(QStringLiteral("WMILCH")).SetInteger(zahl(wMilch_));
    l.Param(QStringLiteral("WFLEISCH")).SetInteger(zahl(wFleisch_));
    l.Param(QStringLiteral("ID")).SetInteger(id_);
    l.Execute();
    for (int id : geloescht_) {
        db::Query d(tr_, QStringLiteral("DELETE FROM T_TIERARZTANWENDUNG WHERE ID = :ID"));
        d.Param(QStringLiteral("ID")).SetInteger(id);
        d.Execute();
    }
    geloescht_.clear();
    for (int z = 0; z < Anwendungszahl(); ++z) {
        const Tierarzt::TAnwendung a = AnwendungAus(z);
        db::Query q(
            tr_,
            a.id > 0
                ? QStringLiteral("UPDATE T_TIERARZTANWENDUNG SET DATUM = :DATUM, MENGE = :MENGE, "
                                 "VERABREICHUNG = :VERABREICHUNG WHERE ID = :ID")
                : QStringLiteral(
                      "INSERT INTO T_TIERARZTANWENDUNG (LEISTUNG, DATUM, MENGE, VERABREICHUNG) "
                      "VALUES (:LEISTUNG, :DATUM, :MENGE, :VERABREICHUNG) RETURNING ID"));
        if (a.id > 0)
            q.Param(QStringLiteral("ID")).SetInteger(a.id);
        else
            q.Param(QStringLiteral("LEISTUNG")).SetInteger(id_);
        q.Param(QStringLiteral("DATUM")).SetDate(a.datum);
        q.Param(QStringLiteral("MENGE")) = OderNull(a.menge);
        q.Param(QStringLiteral("VERABREICHUNG")) = OderNull(a.verabreichung);
        q.Execute();
        if (a.id == 0)
            DatumFeld(z)->setProperty("anwendung", q.Field(0).AsInteger());
    }
}

bool TfrmBehandlungEdit::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (ereignis->type() != QEvent::KeyPress)
        return TZRDialog::eventFilter(objekt, ereignis);
    const auto* taste = static_cast<QKeyEvent*>(ereignis);
    if (taste->key() != Qt::Key_Return && taste->key() != Qt::Key_Enter)
        return TZRDialog::eventFilter(objekt, ereignis);
    if (objekt == beleg_) {
        if (Anwendungszahl() > 0)
            DatumFeld(0)->setFocus();
        return true;
    }
    for (int z = 0; z < Anwendungszahl(); ++z) {
        if (objekt == DatumFeld(z)) {
            VerabreichungFeld(z)->setFocus();
            if (Text(VerabreichungFeld(z)).isEmpty())
                VerabreichungFeld(z)->showPopup();
            return true;
        }
        if (objekt == VerabreichungFeld(z)) {
            MengeFeld(z)->setFocus();
            return true;
        }
        if (objekt == MengeFeld(z)) {
            Aktion([this, z] {
                if (!DatumFeld(z)->Datum().isValid())
                    DBTools::DBFehlerMelden(DatumFeld(z),
                                            QStringLiteral("Das Datum muß eingegeben werden"));
                if (z + 1 < Anwendungszahl()) {
                    DatumFeld(z + 1)->setFocus();
                } else if (Tools::Meldung(QStringLiteral("Weitere Anwendung eingeben?"),
                                          Tools::mtConfirmation, Tools::mbYesNo) == Tools::mrYes) {
                    if (!AnwendungHinzufuegen())
                        eintragen_->setFocus();
                } else {
                    eintragen_->setFocus();
                }
            });
            return true;
        }
    }
    focusNextChild();
    return true;
}

void TfrmBehandlungEdit::Aktion(const std::function<void()>& arbeit)
{
    try {
        arbeit();
    } catch (const SilentAbort&) {
        // The message was shown where the check failed.
    } catch (const db::Error& e) {
        QString text;
        Tools::MeldungError(DBTools::DBFehlerText(e, text) ? text : e.Message());
    }
}
