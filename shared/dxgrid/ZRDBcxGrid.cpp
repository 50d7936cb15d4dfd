#include "ZRDBcxGrid.h"

#include "ZRcxGridDBTableView.h"

#include <QVBoxLayout>

TZRDBcxGrid::TZRDBcxGrid(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    SetActiveView(new TZRcxGridDBTableView(this));
}

void TZRDBcxGrid::SetActiveView(TZRcxGridTableView* view)
{
    if (view == view_)
        return;
    if (view_) {
        layout()->removeWidget(view_);
        delete view_;
    }
    view_ = view;
    if (view_) {
        view_->setParent(this);
        layout()->addWidget(view_);
        setFocusProxy(view_);
    }
}
