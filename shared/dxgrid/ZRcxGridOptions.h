#pragma once

#include <QString>

// The option objects of the grid views with the system's defaults. The views offer neither
// grouping nor column filters, so there are no options to switch them off.

struct TZRcxGridTableOptionsBehavior {
    bool CellHints = true;        // the whole text of a cut-off cell as tool tip
    bool EnterToDblClick = true;  // Enter on a row acts as a double click on it
};
using TZRcxGridBandedTableOptionsBehavior = TZRcxGridTableOptionsBehavior;

enum class TcxGridLines { All, None, Horz, Vert };

struct TZRcxGridTableOptionsView {
    bool CellAutoHeight = true;
    bool CellEndEllipsis = true;
    bool ColumnAutoWidth = true;
    bool FocusRect = false;
    TcxGridLines GridLines = TcxGridLines::None;
    bool HeaderEndEllipsis = true;
    bool Indicator = false;  // the row indicator with the layout popup
    QString EmptyText;       // shown centred when the view has no rows
};

struct TZRcxGridBandedTableOptionsView : TZRcxGridTableOptionsView {
    bool BandHeaderEndEllipsis = true;
};
