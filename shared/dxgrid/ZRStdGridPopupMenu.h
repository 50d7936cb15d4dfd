#pragma once

#include <QMenu>

class TZRcxGridTableView;
class QAction;

// The popup of a view's row indicator: save the view's column layout into the layout file, or
// return to the designed layout (and save that).
class TZRStdGridPopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit TZRStdGridPopupMenu(TZRcxGridTableView* view);

    QAction* Speichern() const { return speichern_; }
    QAction* Zuruecksetzen() const { return zuruecksetzen_; }

private:
    void LayoutSpeichern();
    void LayoutZuruecksetzen();

    TZRcxGridTableView* view_;
    QAction* speichern_;
    QAction* zuruecksetzen_;
};
