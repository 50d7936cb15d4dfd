#include "FGrundeinstellungen.h"

#include "DBTools.h"
#include "Grundeinstellungen.h"
#include "GrundeinstellungenArbeitsplatz.h"
#include "GrundeinstellungenBetrieb.h"
#include "GrundeinstellungenEigenbesamung.h"
#include "GrundeinstellungenFruchtbarkeit.h"
#include "GrundeinstellungenGV.h"
#include "GrundeinstellungenHIT.h"
#include "GrundeinstellungenPrognosen.h"
#include "GrundeinstellungenStammdaten.h"
#include "GrundeinstellungenTermine.h"

#include <Meldung.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>
#include <stdexcept>

using namespace GrundeinstellungenDaten;

namespace {

constexpr int KategorieRolle = Qt::UserRole;
constexpr int BildRolle = Qt::UserRole + 1;

QIcon KategorieBild(int index)
{
    struct Bild {
        const char* thema;
        QStyle::StandardPixmap ersatz;
    };
    static const Bild bilder[] = {
        {"go-home", QStyle::SP_DirHomeIcon},                            // 0 farm
        {"office-chart-line", QStyle::SP_FileDialogContentsView},       // 1 forecasts
        {"emblem-favorite", QStyle::SP_DialogYesButton},                // 2 fertility
        {"preferences-desktop-color", QStyle::SP_DesktopIcon},          // 3 colours
        {"drive-harddisk", QStyle::SP_DriveHDIcon},                     // 4 backup, updates
        {"view-list-details", QStyle::SP_FileDialogListView},           // 5 breeds
        {"appointment-new", QStyle::SP_FileDialogInfoView},             // 6 appointments
        {"text-x-generic", QStyle::SP_FileIcon},                        // 7
        {"network-transmit", QStyle::SP_DriveNetIcon},                  // 8 national database
        {"folder", QStyle::SP_DirIcon},                                 // 9 holdings, premises
        {"accessories-calculator", QStyle::SP_FileDialogDetailedView},  // 10 livestock units
    };
    const Bild& b = bilder[std::clamp(index, 0, int(std::size(bilder)) - 1)];
    return QIcon::fromTheme(QString::fromLatin1(b.thema),
                            QApplication::style()->standardIcon(b.ersatz));
}

// The category list: icon at 2 pixels from the left, caption at 22; the selected entry bold.
class KategorieDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const bool gewaehlt = option.state & QStyle::State_Selected;
        p->save();
        p->fillRect(option.rect, gewaehlt ? option.palette.highlight() : option.palette.base());
        const QIcon bild = KategorieBild(index.data(BildRolle).toInt());
        const int seite = 16;
        bild.paint(p, QRect(option.rect.left() + 2,
                            option.rect.top() + (option.rect.height() - seite) / 2, seite, seite));
        QFont f = option.font;
        f.setBold(gewaehlt);
        p->setFont(f);
        p->setPen(gewaehlt ? option.palette.highlightedText().color()
                           : option.palette.text().color());
        p->drawText(option.rect.adjusted(22, 2, -2, 0), Qt::AlignLeft | Qt::AlignTop,
                    index.data(Qt::DisplayRole).toString());
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QFont f = option.font;
        f.setBold(true);
        const QFontMetrics fm(f);
        return {22 + fm.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 8,
                std::max(18, fm.boundingRect(QStringLiteral("A")).height() + 4)};
    }
};

QPushButton* Knopf(QWidget* parent, const QString& text, const QString& name)
{
    auto* k = new QPushButton(text, parent);
    k->setObjectName(name);
    return k;
}

}  // namespace

TfrmGrundeinstellungen::TfrmGrundeinstellungen(TEinstellungen& einstellungen,
                                               db::Database& datenbank, QWidget* owner)
    : TZRDialog(owner), e_(einstellungen), daten_(einstellungen, datenbank)
{
    setWindowTitle(QStringLiteral("Grundeinstellungen"));
    setHelpContext(13100);
    setObjectName(QStringLiteral("frmGrundeinstellungen"));

    kategorien_ = new QListWidget(this);
    kategorien_->setObjectName(QStringLiteral("lbKategorien"));
    kategorien_->setItemDelegate(new KategorieDelegate(kategorien_));
    stapel_ = new QStackedWidget(this);
    ok_ = Knopf(this, QStringLiteral("Ok"), QStringLiteral("btnOk"));
    abbrechen_ = Knopf(this, QStringLiteral("Abbrechen"), QStringLiteral("btnAbbrechen"));
    hilfe_ = Knopf(this, QStringLiteral("Hilfe"), QStringLiteral("btnHilfe"));
    ok_->setDefault(true);

    // Pages in the order of the categories.
    Neu<TGrundeinstellungenBetrieb>();
    auto* gruppen = Neu<TGrundeinstellungenBetriebsgruppen>();
    auto* staetten = Neu<TGrundeinstellungenBetriebsstaetten>();
    auto* rassen = Neu<TGrundeinstellungenRassen>();
    auto* fruchtbarkeit = Neu<TGrundeinstellungenFruchtbarkeit>();
    Neu<TGrundeinstellungenEigenbesamung>();
    Neu<TGrundeinstellungenTermine>();
    auto* prognosen = Neu<TGrundeinstellungenPrognosen>();
    auto* gv = Neu<TGrundeinstellungenGV>();
    Neu<TGrundeinstellungenHIT>();
    Neu<TGrundeinstellungenHITSystem>();
    Neu<TGrundeinstellungenFarben>();
    Neu<TGrundeinstellungenSicherung>();
    Neu<TGrundeinstellungenUpdates>();
    // Pages that show what another page changes.
    connect(gruppen, &TGrundeinstellungenBetriebsgruppen::GruppenGeaendert, staetten,
            &TGrundeinstellungenBetriebsstaetten::NeuZeigen);
    connect(rassen, &TGrundeinstellungenRassen::RassenGeaendert, fruchtbarkeit,
            &TGrundeinstellungenFruchtbarkeit::RassenZeigen);
    connect(gv, &TGrundeinstellungenGV::SchluesselGelesen, prognosen,
            &TGrundeinstellungenPrognosen::GVSchluesselZeigen);
    KategorienAnlegen();

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(ok_);
    knoepfe->addWidget(abbrechen_);
    knoepfe->addWidget(hilfe_);
    auto* oben = new QHBoxLayout;
    oben->addWidget(kategorien_);
    oben->addWidget(stapel_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(oben, 1);
    layout->addLayout(knoepfe);

    connect(ok_, &QPushButton::clicked, this, &TfrmGrundeinstellungen::Ok);
    connect(abbrechen_, &QPushButton::clicked, this, &TfrmGrundeinstellungen::reject);
    connect(hilfe_, &QPushButton::clicked, this, [this] { HilfeAnzeigen(); });

    {
        // Reading an INI key that is missing writes its default; this bracket is never finished,
        // so that opening and cancelling the dialog leaves the file as it was.
        TIniDatei::Stapel nurLesen(e_.IniDatei());
        for (TGrundeinstellungenSeite* s : seiten_)
            s->IniLaden();
    }
    for (TGrundeinstellungenSeite* s : seiten_)
        s->Laden();
    KategorieZeigen(TGrundKat::gkBetrieb);
    resize(sizeHint().expandedTo(QSize(860, 560)));
}

TfrmGrundeinstellungen::~TfrmGrundeinstellungen()
{
    // The pages' grid models refer to the data's datasets: they go first.
    delete stapel_;
}

template <typename T>
T* TfrmGrundeinstellungen::Neu()
{
    auto* seite = new T(daten_);
    if (int(seite->Kategorie()) != int(seiten_.size()))
        throw std::logic_error(
            "Die Seiten der Grundeinstellungen sind nicht in ihrer Reihenfolge.");
    seiten_.push_back(seite);
    stapel_->addWidget(seite);
    connect(seite, &TGrundeinstellungenSeite::ZeigenGewuenscht, this,
            [this](TGrundeinstellungenSeite* s) { KategorieZeigen(s->Kategorie()); });
    return seite;
}

void TfrmGrundeinstellungen::KategorienAnlegen()
{
    int breite = 0;
    for (const Kategorie& k : Kategorien()) {
        auto* eintrag = new QListWidgetItem(k.text, kategorien_);
        eintrag->setData(KategorieRolle, int(k.wert));
        eintrag->setData(BildRolle, k.bild);
        QStyleOptionViewItem option;
        option.initFrom(kategorien_);
        breite = std::max(
            breite, kategorien_->itemDelegate()
                        ->sizeHint(option, kategorien_->model()->index(kategorien_->count() - 1, 0))
                        .width());
    }
    kategorien_->setFixedWidth(breite + 2 * kategorien_->frameWidth() + 4);
    connect(kategorien_, &QListWidget::currentRowChanged, this, [this](int zeile) {
        if (zeile < 0)
            return;
        // A page may keep itself shown (the breed's values go into its record first).
        const int aktuell = stapel_->currentIndex();
        if (zeile != aktuell && !seiten_[std::size_t(aktuell)]->Verlassen()) {
            const QSignalBlocker sperre(kategorien_);
            kategorien_->setCurrentRow(aktuell);
            return;
        }
        stapel_->setCurrentIndex(zeile);
        setHelpContext(Kategorien()[std::size_t(zeile)].hilfe);
        seiten_[std::size_t(zeile)]->Gezeigt();
    });
}

QWidget* TfrmGrundeinstellungen::Seite(TGrundKat kategorie) const
{
    return seiten_[std::size_t(kategorie)];
}

void TfrmGrundeinstellungen::KategorieZeigen(TGrundKat kategorie)
{
    kategorien_->setCurrentRow(int(kategorie));
}

bool TfrmGrundeinstellungen::EinstellungenSpeichern()
{
    for (TGrundeinstellungenSeite* s : seiten_)
        if (!s->Pruefen())
            return false;
    e_.Bearbeiten();
    for (TGrundeinstellungenSeite* s : seiten_)
        if (!s->Speichern())
            return false;
    daten_.Commit();
    e_.Speichern();

    // The workstation's settings last, in one write of the file: a failure in the database above
    // leaves the file untouched.
    TIniDatei::Stapel ini(e_.IniDatei());
    for (TGrundeinstellungenSeite* s : seiten_)
        s->IniSpeichern();
    ini.Abschliessen();
    for (TGrundeinstellungenSeite* s : seiten_)
        s->AusserhalbSpeichern();
    return true;
}

void TfrmGrundeinstellungen::Ok()
{
    // Leaving the grid cell in use hands what was typed into it to its row.
    ok_->setFocus(Qt::OtherFocusReason);
    DBTools::Sicher([&] {
        if (EinstellungenSpeichern())
            accept();
    });
}

void TfrmGrundeinstellungen::done(int result)
{
    if (e_.InBearbeitung())
        e_.Verwerfen();
    daten_.Zuruecknehmen();
    TZRDialog::done(result);
}
