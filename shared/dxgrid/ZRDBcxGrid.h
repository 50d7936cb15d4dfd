#pragma once

#include <QWidget>

class TZRcxGridTableView;
class TZRcxGridDBTableView;

// The grid control: it shows one view, by default a data-bound table view.
class TZRDBcxGrid : public QWidget {
    Q_OBJECT
public:
    explicit TZRDBcxGrid(QWidget* parent = nullptr);

    TZRcxGridTableView* ActiveView() const { return view_; }
    // Shows another view; the grid takes it over and frees the one shown before.
    void SetActiveView(TZRcxGridTableView* view);
    // Creates a view of the given class in the grid and shows it.
    template <class View>
    View* CreateView(const QString& name)
    {
        auto* view = new View(this);
        view->setObjectName(name);
        SetActiveView(view);
        return view;
    }

private:
    TZRcxGridTableView* view_ = nullptr;
};
