#pragma once

#include "ZRcxGridTableView.h"

class TZRBandedHeader;

// The table view over a dataset's item model.
class TZRcxGridDBTableView : public TZRcxGridTableView {
    Q_OBJECT
public:
    explicit TZRcxGridDBTableView(QWidget* parent = nullptr);
};

// The banded table view: a two-level header with bands over the columns.
class TZRcxGridDBBandedTableView : public TZRcxGridDBTableView {
    Q_OBJECT
public:
    explicit TZRcxGridDBBandedTableView(QWidget* parent = nullptr);

    TZRBandedHeader* Bands() const { return bands_; }
    const TZRcxGridBandedTableOptionsView& BandedOptionsView() const { return bandedOptions_; }
    void SetBandedOptionsView(const TZRcxGridBandedTableOptionsView& options);

private:
    TZRBandedHeader* bands_;
    TZRcxGridBandedTableOptionsView bandedOptions_;
};
