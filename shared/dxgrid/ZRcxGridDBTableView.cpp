#include "ZRcxGridDBTableView.h"

#include "ZRBandedHeader.h"

TZRcxGridDBTableView::TZRcxGridDBTableView(QWidget* parent) : TZRcxGridTableView(parent) {}

TZRcxGridDBBandedTableView::TZRcxGridDBBandedTableView(QWidget* parent)
    : TZRcxGridDBTableView(parent), bands_(new TZRBandedHeader(this))
{
    SetKopf(bands_);
    SetBandedOptionsView(bandedOptions_);
}

void TZRcxGridDBBandedTableView::SetBandedOptionsView(
    const TZRcxGridBandedTableOptionsView& options)
{
    bandedOptions_ = options;
    bands_->SetBandHeaderEndEllipsis(options.BandHeaderEndEllipsis);
    SetOptionsView(options);
}
