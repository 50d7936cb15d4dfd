#include <ZRBandedHeader.h>
#include <ZRDBcxGrid.h>
#include <ZRStdGridPopupMenu.h>
#include <ZRcxGrid.h>
#include <ZRcxGridDataController.h>
#include <ZRcxGridDBTableView.h>
#include <ZRcxGridTableView.h>

#include <MessageBoxScript.h>

#include <QAction>
#include <QHeaderView>
#include <QPainter>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<QStandardItemModel> Modell(int zeilen, const QStringList& spalten)
{
    auto m = std::make_unique<QStandardItemModel>(zeilen, int(spalten.size()));
    for (int c = 0; c < spalten.size(); ++c) {
        m->setHeaderData(c, Qt::Horizontal, spalten[c]);
        for (int r = 0; r < zeilen; ++r)
            m->setData(m->index(r, c), QStringLiteral("%1-%2").arg(spalten[c]).arg(r));
    }
    return m;
}

// A window with one grid view, named as a form would name them.
struct Fenster {
    QWidget fenster;
    TZRDBcxGrid* grid;
    TZRcxGridTableView* view;
    explicit Fenster(QAbstractItemModel* m)
    {
        fenster.setObjectName(QStringLiteral("frmBullen"));
        grid = new TZRDBcxGrid(&fenster);
        view = grid->ActiveView();
        view->setObjectName(QStringLiteral("BullenView"));
        view->setModel(m);
        grid->setGeometry(0, 0, 400, 300);
        fenster.resize(400, 300);
        fenster.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&fenster));
    }
};

QList<int> Reihenfolge(const QTableView& v)
{
    QList<int> out;
    for (int i = 0; i < v.horizontalHeader()->count(); ++i)
        out << v.horizontalHeader()->logicalIndex(i);
    return out;
}

int DunklePixel(const QImage& bild)
{
    int n = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            if (qGray(bild.pixel(x, y)) < 100)
                ++n;
    return n;
}

}  // namespace

TEST(ZRcxGridView, DefaultViewAndOptions)
{
    TZRDBcxGrid grid;
    auto* view = qobject_cast<TZRcxGridDBTableView*>(grid.ActiveView());
    ASSERT_NE(view, nullptr);
    const TZRcxGridTableOptionsView& o = view->OptionsView();
    EXPECT_TRUE(o.CellAutoHeight && o.CellEndEllipsis && o.ColumnAutoWidth && o.HeaderEndEllipsis);
    EXPECT_FALSE(o.FocusRect);
    EXPECT_FALSE(view->showGrid());
    EXPECT_TRUE(view->wordWrap());
    EXPECT_TRUE(view->OptionsBehavior().EnterToDblClick);
    EXPECT_TRUE(view->OptionsBehavior().CellHints);
    auto* banded = grid.CreateView<TZRcxGridDBBandedTableView>(QStringLiteral("Banded"));
    EXPECT_EQ(grid.ActiveView(), banded);
    EXPECT_TRUE(banded->BandedOptionsView().BandHeaderEndEllipsis);
}

TEST(ZRcxGridView, EmptyTextIsShownOnlyWithoutRows)
{
    auto leer = Modell(0, {QStringLiteral("A")});
    Fenster f(leer.get());
    EXPECT_EQ(f.view->Leertext(), TZRcxGridTableView::StandardLeertext());
    f.view->SetEmptyText(QStringLiteral("   "));
    EXPECT_EQ(f.view->Leertext(), TZRcxGridTableView::StandardLeertext());
    f.view->SetEmptyText(QStringLiteral("< Keine Tiere vorhanden >"));
    EXPECT_EQ(f.view->Leertext(), QStringLiteral("< Keine Tiere vorhanden >"));
    // The text is painted in the middle of the view.
    const QImage bild = f.view->viewport()->grab().toImage();
    const QRect mitte(bild.width() / 4, bild.height() / 2 - 10, bild.width() / 2, 20);
    EXPECT_GT(DunklePixel(bild.copy(mitte)), 20);

    leer->appendRow(new QStandardItem(QStringLiteral("x")));
    EXPECT_TRUE(f.view->Leertext().isEmpty());
}

TEST(ZRcxGridView, EnterActsAsDoubleClickOnTheFocusedRow)
{
    auto m = Modell(3, {QStringLiteral("A"), QStringLiteral("B")});
    Fenster f(m.get());
    QSignalSpy doppel(f.view, &QAbstractItemView::doubleClicked);
    // Without a focused row Enter stays with the view.
    f.view->setCurrentIndex({});
    QTest::keyClick(f.view, Qt::Key_Return);
    EXPECT_EQ(doppel.count(), 0);

    f.view->setCurrentIndex(m->index(1, 0));
    QTest::keyClick(f.view, Qt::Key_Return);
    QTest::keyClick(f.view, Qt::Key_Enter);
    ASSERT_EQ(doppel.count(), 2);
    EXPECT_EQ(doppel[0][0].value<QModelIndex>().row(), 1);

    f.view->SetEnterToDblClick(false);
    QTest::keyClick(f.view, Qt::Key_Return);
    EXPECT_EQ(doppel.count(), 2);
}

TEST(ZRcxGridView, AutoWidthFillsTheView)
{
    auto m = Modell(2, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    Fenster f(m.get());
    QHeaderView* h = f.view->horizontalHeader();
    EXPECT_EQ(h->length(), f.view->viewport()->width());
    h->resizeSection(0, 200);
    EXPECT_EQ(h->sectionSize(0), 200);
    EXPECT_EQ(h->length(), f.view->viewport()->width());
}

TEST(ZRcxGridView, SavedLayoutComesBackAndResetRestoresTheDesign)
{
    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("Proglayout.ini"));
    ZRcxGrid::SetZRcxGridLayoutIniFile(datei);
    auto m = Modell(2, {QStringLiteral("KNR"), QStringLiteral("NAME"), QStringLiteral("RASSE")});
    ZRcxGrid::Layout design;
    {
        Fenster f(m.get());
        f.view->RestoreLayout();  // nothing saved yet: the design stays
        design = f.view->AktuellesLayout();
        EXPECT_EQ(Reihenfolge(*f.view), (QList<int>{0, 1, 2}));
        f.view->horizontalHeader()->moveSection(2, 0);
        f.view->horizontalHeader()->setSectionHidden(1, true);
        TZRStdGridPopupMenu menue(f.view);
        menue.Speichern()->trigger();
    }
    {
        Fenster f(m.get());
        f.view->RestoreLayout();
        EXPECT_EQ(Reihenfolge(*f.view), (QList<int>{2, 0, 1}));
        EXPECT_TRUE(f.view->horizontalHeader()->isSectionHidden(1));

        TZRStdGridPopupMenu menue(f.view);
        menue.Zuruecksetzen()->trigger();
        EXPECT_EQ(Reihenfolge(*f.view), (QList<int>{0, 1, 2}));
        EXPECT_FALSE(f.view->horizontalHeader()->isSectionHidden(1));
        EXPECT_EQ(ZRcxGrid::LayoutLesen(datei, QStringLiteral("frmBullen.BullenView")),
                  f.view->AktuellesLayout());
    }
    {
        Fenster f(m.get());
        f.view->RestoreLayout();
        EXPECT_EQ(Reihenfolge(*f.view), (QList<int>{0, 1, 2}));
    }
}

TEST(ZRcxGridView, ResetWithoutRestoreStoresTheCurrentLayout)
{
    QTemporaryDir dir;
    const QString datei = dir.filePath(QStringLiteral("a.ini"));
    ZRcxGrid::SetZRcxGridLayoutIniFile(datei);
    auto m = Modell(1, {QStringLiteral("A"), QStringLiteral("B")});
    Fenster f(m.get());
    f.view->horizontalHeader()->moveSection(1, 0);
    TZRStdGridPopupMenu menue(f.view);
    menue.Zuruecksetzen()->trigger();
    EXPECT_EQ(Reihenfolge(*f.view), (QList<int>{1, 0}));
    EXPECT_EQ(ZRcxGrid::LayoutLesen(datei, QStringLiteral("frmBullen.BullenView")),
              f.view->AktuellesLayout());
}

TEST(ZRcxGridView, SaveFailureIsReported)
{
    QTemporaryDir dir;
    ZRcxGrid::SetZRcxGridLayoutIniFile(dir.path());  // a folder cannot be written as a file
    auto m = Modell(1, {QStringLiteral("A")});
    Fenster f(m.get());
    MessageBoxScript script;
    script.AnswerWith(Tools::mrOk);
    TZRStdGridPopupMenu menue(f.view);
    menue.Speichern()->trigger();
    ASSERT_EQ(script.Shown().size(), 1);
    EXPECT_TRUE(script.Shown()[0].text.contains(dir.path()))
        << script.Shown()[0].text.toStdString();
}

TEST(ZRcxGridView, IndicatorOpensTheLayoutPopup)
{
    auto m = Modell(2, {QStringLiteral("A")});
    Fenster f(m.get());
    auto o = f.view->OptionsView();
    o.Indicator = true;
    f.view->SetOptionsView(o);
    ASSERT_TRUE(f.view->verticalHeader()->isVisible());
    emit f.view->verticalHeader()->customContextMenuRequested(QPoint(2, 2));
    auto* menue = f.view->findChild<TZRStdGridPopupMenu*>();
    ASSERT_NE(menue, nullptr);
    ASSERT_EQ(menue->actions().size(), 2);
    EXPECT_EQ(menue->actions()[0]->text(), QStringLiteral("Spalten-Layout speichern"));
    EXPECT_EQ(menue->actions()[1]->text(), QStringLiteral("Spalten-Layout zurücksetzen"));
    menue->close();
}

TEST(ZRcxGridView, BandedHeaderHasTwoLevelsAndKeepsColumnsInTheirBand)
{
    auto m = Modell(
        2, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    QWidget fenster;
    auto* grid = new TZRDBcxGrid(&fenster);
    auto* view = grid->CreateView<TZRcxGridDBBandedTableView>(QStringLiteral("Banded"));
    view->setModel(m.get());
    TZRBandedHeader* h = view->Bands();
    const int einfach = h->sizeHint().height();
    const int tier = h->AddBand(QStringLiteral("Tier"));
    const int milch = h->AddBand(QStringLiteral("Milch"));
    h->SetColumnBand(0, tier);
    h->SetColumnBand(1, tier);
    h->SetColumnBand(2, milch);
    h->SetColumnBand(3, milch);
    EXPECT_EQ(h->sizeHint().height(), einfach + h->BandHoehe());
    EXPECT_GT(h->BandHoehe(), 0);
    grid->setGeometry(0, 0, 400, 200);
    fenster.resize(400, 200);
    fenster.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));

    const QRect rTier = h->BandRect(tier);
    EXPECT_EQ(rTier.left(), h->sectionViewportPosition(0));
    EXPECT_EQ(rTier.right() + 1, h->sectionViewportPosition(1) + h->sectionSize(1));
    EXPECT_EQ(h->BandAt(QPoint(h->sectionViewportPosition(3) + 2, 2)), milch);
    EXPECT_EQ(h->BandAt(QPoint(h->sectionViewportPosition(3) + 2, h->BandHoehe() + 2)), -1);

    // Within a band a column moves; out of it it goes back.
    h->moveSection(1, 0);
    EXPECT_EQ(Reihenfolge(*view), (QList<int>{1, 0, 2, 3}));
    h->moveSection(0, 2);
    EXPECT_EQ(Reihenfolge(*view), (QList<int>{1, 0, 2, 3}));
    // A whole band's order of columns may be changed from the right too.
    h->moveSection(3, 2);
    EXPECT_EQ(Reihenfolge(*view), (QList<int>{1, 0, 3, 2}));
    EXPECT_EQ(h->BandRect(milch).left(), h->sectionViewportPosition(3));
}

TEST(ZRcxGrid, DrawImagelistOnCellCentresThePicture)
{
    QPixmap rot(8, 8);
    rot.fill(Qt::red);
    QPixmap blau(8, 8);
    blau.fill(Qt::blue);
    const QList<QPixmap> bilder{rot, blau};

    EXPECT_EQ(ZRcxGrid::BildPosition(QRect(10, 20, 30, 16), QSize(8, 8), -1, -1), QPoint(21, 24));
    EXPECT_EQ(ZRcxGrid::BildPosition(QRect(10, 20, 30, 16), QSize(8, 8), 2, -1), QPoint(12, 24));
    EXPECT_EQ(ZRcxGrid::BildPosition(QRect(10, 20, 30, 16), QSize(8, 8), -1, 3), QPoint(21, 23));

    for (int index : {1, -1, 2}) {
        QImage bild(40, 20, QImage::Format_RGB32);
        bild.fill(Qt::white);
        QPainter p(&bild);
        QStyleOptionViewItem zelle;
        zelle.rect = QRect(0, 0, 40, 20);
        zelle.palette.setColor(QPalette::Base, Qt::white);
        zelle.backgroundBrush = QBrush(Qt::white);
        zelle.text = QStringLiteral("Text");
        zelle.features = QStyleOptionViewItem::HasDisplay;
        bool done = false;
        ZRcxGrid::DrawImagelistOnCell(bilder, index, &p, zelle, done);
        p.end();
        EXPECT_TRUE(done);
        const QColor mitte = bild.pixelColor(20, 10);
        EXPECT_EQ(mitte, index == 1 ? QColor(Qt::blue) : QColor(Qt::white)) << index;
        EXPECT_EQ(bild.pixelColor(2, 2), QColor(Qt::white));
        if (index != 1) {
            EXPECT_EQ(DunklePixel(bild), 0) << "no text is drawn";
        }
    }
}

TEST(ZRcxGrid, ToggleBooleanCellNegatesAndTurnsTheRestFalse)
{
    QStandardItemModel m(4, 2);
    m.setData(m.index(0, 1), true);
    m.setData(m.index(1, 1), false);
    m.setData(m.index(3, 1), QStringLiteral("T"));
    QTableView view;
    view.setModel(&m);
    ZRcxGrid::ToggleBooleanCell(m, 1, &view);
    const QList<QVariant> erwartet{false, true, false, false};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(m.data(m.index(r, 1)).typeId(), QMetaType::Bool) << r;
        EXPECT_EQ(m.data(m.index(r, 1)), erwartet[r]) << r;
    }
    EXPECT_TRUE(view.updatesEnabled());
}

// Rows that come and go in the source carry the ticks of the other rows along with their records.
TEST(ZRcxGridDataController, UnboundValuesFollowInsertedAndRemovedRows)
{
    auto quelle = Modell(4, {QStringLiteral("A"), QStringLiteral("B")});
    TZRcxGridDataController dc;
    dc.setSourceModel(quelle.get());
    const int hinten = dc.CreateCheckColumn(QStringLiteral("Hinten"), {}, 99);
    const int mitte = dc.CreateCheckColumn(QStringLiteral("Mitte"), {}, 1);
    EXPECT_EQ(mitte, 1);
    EXPECT_EQ(dc.ColumnByName(QStringLiteral("hinten")), 3) << "placed at the end";
    EXPECT_EQ(hinten, 2) << "the column index when it was made";
    EXPECT_EQ(dc.SourceColumn(2), 1);
    EXPECT_EQ(dc.SourceColumn(1), -1);
    for (int r = 0; r < 4; ++r)
        dc.SetValues(r, 1, r % 2 == 1);

    quelle->insertRow(1);
    ASSERT_EQ(dc.RecordCount(), 5);
    const QList<QVariant> nachEinfuegen{false, QVariant(), true, false, true};
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(dc.Values(r, 1), nachEinfuegen[r]) << r;
    quelle->removeRows(2, 2);
    const QList<QVariant> nachEntfernen{false, QVariant(), true};
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(dc.Values(r, 1), nachEntfernen[r]) << r;
    EXPECT_EQ(dc.Values(2, 2).toString(), QStringLiteral("B-3"));
    dc.SetValues(2, 2, QStringLiteral("neu"));
    EXPECT_EQ(quelle->data(quelle->index(2, 1)).toString(), QStringLiteral("neu"))
        << "bound columns write through to the source";
}
