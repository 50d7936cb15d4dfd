#include "FListenReihung.h"

#include <DBTools.h>
#include <Datenmodul.h>
#include <Shell.h>

#include <DataSetModel.h>
#include <Database.h>
#include <ZRDBcxGrid.h>
#include <ZRcxGridDBTableView.h>

#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TfrmSortierung::TfrmSortierung(db::Database& datenbank, ListenReihung::Art art, QWidget* owner)
    : TZRDialog(owner),
      transaktion_(datenbank, QStringLiteral("TASortierung")),
      sortierung_(transaktion_),
      art_(art)
{
    setObjectName(QStringLiteral("frmSortierung"));
    setWindowTitle(QStringLiteral("Sortierung"));
    setHelpContext(HilfeKontext);

    auto* gruppe = new QGroupBox(QStringLiteral("Anordnung der Einträge"), this);
    gruppe->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new TZRDBcxGrid(gruppe);
    grid->setObjectName(QStringLiteral("Liste"));
    view_ = grid->CreateView<TZRcxGridDBTableView>(QStringLiteral("ListeView"));
    view_->SetEmptyText(QStringLiteral("< Keine Einträge vorhanden >"));
    TZRcxGridTableOptionsView optionen = view_->OptionsView();
    optionen.ColumnAutoWidth = false;
    view_->SetOptionsView(optionen);
    view_->horizontalHeader()->setStretchLastSection(true);
    auf_ = new QPushButton(style()->standardIcon(QStyle::SP_ArrowUp), QString(), gruppe);
    auf_->setObjectName(QStringLiteral("auf"));
    auf_->setToolTip(QStringLiteral("nach oben"));
    ab_ = new QPushButton(style()->standardIcon(QStyle::SP_ArrowDown), QString(), gruppe);
    ab_->setObjectName(QStringLiteral("ab"));
    ab_->setToolTip(QStringLiteral("nach unten"));
    auto* pfeile = new QVBoxLayout;
    pfeile->addStretch(1);
    pfeile->addWidget(auf_);
    pfeile->addWidget(ab_);
    pfeile->addStretch(1);
    auto* innen = new QHBoxLayout(gruppe);
    innen->addWidget(grid, 1);
    innen->addLayout(pfeile);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Ok"));
    ok->setDefault(true);
    auto* abbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    abbrechen->setObjectName(QStringLiteral("Abbrechen"));
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(ok);
    knoepfe->addWidget(abbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gruppe, 1);
    layout->addLayout(knoepfe);
    resize(sizeHint().expandedTo(QSize(360, 380)));

    connect(ok, &QPushButton::clicked, this, &TfrmSortierung::accept);
    connect(abbrechen, &QPushButton::clicked, this, &TfrmSortierung::reject);
    connect(auf_, &QPushButton::clicked, this, [this] { Verschieben(-1); });
    connect(ab_, &QPushButton::clicked, this, [this] { Verschieben(1); });

    transaktion_.Start();
    sortierung_.SetSelectSQL(ListenReihung::SelectSQL(art_));
    sortierung_.SetModifySQL(ListenReihung::ModifySQL(art_));
    sortierung_.Open();
    ListenReihung::Durchnummerieren(sortierung_, art_);
    for (int i = 0; i < sortierung_.FieldCount(); ++i)
        sortierung_.Fields(i).Visible = false;
    db::Field& symbol = sortierung_.FieldByName(QStringLiteral("SYMBOL"));
    symbol.Visible = true;
    symbol.DisplayLabel = QStringLiteral(" ");
    db::Field& bezeichnung = sortierung_.FieldByName(QStringLiteral("BEZEICHNUNG"));
    bezeichnung.Visible = true;
    bezeichnung.ReadOnly = true;
    bezeichnung.DisplayLabel = QStringLiteral("Liste");
    symbol.ReadOnly = true;
    view_->SetDataSet(&sortierung_);

    // The list's symbol from the program's image list; nothing for a list without one.
    const int spalte = view_->DataModel()->ColumnOfField(QStringLiteral("SYMBOL"));
    view_->CellDelegate()->SetOnCustomDrawCell(
        spalte, [this](QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index,
                       bool& done) {
            QStyleOptionViewItem hinten = option;
            hinten.text.clear();
            view_->style()->drawPrimitive(QStyle::PE_PanelItemViewItem, &hinten, p, view_);
            const QVariant wert = index.data(Qt::EditRole);
            if (!wert.isNull() && !wert.toString().isEmpty()) {
                const QRect r(option.rect.center() - QPoint(8, 8), QSize(16, 16));
                Symbolbild(wert.toInt()).paint(p, r);
            }
            done = true;
        });
    SymbolSpalteSetzen();
}

void TfrmSortierung::SymbolSpalteSetzen()
{
    // The symbol column as narrow as a symbol, the names with the rest.
    view_->setColumnWidth(view_->DataModel()->ColumnOfField(QStringLiteral("SYMBOL")), 28);
}

TfrmSortierung::~TfrmSortierung()
{
    view_->SetDataSet(nullptr);
    sortierung_.Close();
}

void TfrmSortierung::Verschieben(int richtung)
{
    DBTools::Sicher([&] { ListenReihung::Verschieben(sortierung_, art_, richtung); });
    SymbolSpalteSetzen();
    view_->setFocus();
}

void TfrmSortierung::accept()
{
    DBTools::Sicher([&] {
        DBTools::Posten(sortierung_);
        transaktion_.Commit();
        TZRDialog::accept();
    });
}

bool SortierungStarten(QWidget* owner, bool menue)
{
    TfrmSortierung dialog(DM()->Datenbank,
                          menue ? ListenReihung::Art::Menue : ListenReihung::Art::Symbol, owner);
    return dialog.exec() == QDialog::Accepted;
}
