#include "ZRStdGridPopupMenu.h"

#include "ZRcxGridTableView.h"

#include <Meldung.h>

#include <stdexcept>

TZRStdGridPopupMenu::TZRStdGridPopupMenu(TZRcxGridTableView* view)
    : QMenu(view),
      view_(view),
      speichern_(addAction(QStringLiteral("Spalten-Layout speichern"))),
      zuruecksetzen_(addAction(QStringLiteral("Spalten-Layout zurücksetzen")))
{
    connect(speichern_, &QAction::triggered, this, &TZRStdGridPopupMenu::LayoutSpeichern);
    connect(zuruecksetzen_, &QAction::triggered, this, &TZRStdGridPopupMenu::LayoutZuruecksetzen);
}

void TZRStdGridPopupMenu::LayoutSpeichern()
{
    try {
        view_->StoreLayout();
    } catch (const std::exception& e) {
        Tools::MeldungError(QString::fromStdString(e.what()));
    }
}

void TZRStdGridPopupMenu::LayoutZuruecksetzen()
{
    view_->RestoreInternalLayout();
    LayoutSpeichern();
}
