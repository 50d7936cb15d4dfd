#pragma once

#include "ListenSpalten.h"

#include <ZRDBcxGrid.h>

#include <QDate>
#include <QIcon>
#include <QList>

#include <functional>
#include <map>

class QPainter;
class QStyleOptionViewItem;
class TZRcxGridDBTableView;

namespace db {
class DataSet;
}

// The grid of the list windows: builds its columns from the screen layout of a list design over
// the list's data (see ListenSpalten), draws heading rows as one bold band, status icons, and
// opens the animal or completes an appointment on a double click.
class TZRDBcxGridBovantis : public TZRDBcxGrid {
    Q_OBJECT
public:
    explicit TZRDBcxGridBovantis(QWidget* parent = nullptr);

    TZRcxGridDBTableView* GetTableView() const { return view_; }
    db::DataSet* GetDatenmenge() const;
    void SetDatenmenge(db::DataSet* daten);

    // Builds the columns for the layout over the (closed or open) dataset and opens it. Throws
    // std::runtime_error for a layout the grid cannot show.
    void ListeOeffnen(const std::vector<ListenSpalten::LayoutZeile>& layout);

    const ListenSpalten::Ergebnis& Spalten() const { return spalten_; }
    const QString& TierIDFeld() const { return spalten_.tierIdFeld; }
    bool Terminmodus() const { return spalten_.terminmodus; }
    // Computed multi-line cells lose trailing empty lines.
    bool KurzeZeilen = false;
    QList<QIcon> StatusIcons;

    // What a cell of the view shows (computed columns with "\n" between their lines).
    QString Anzeigetext(const QModelIndex& index) const;

    // False when no handler is set or the focused row has no animal ID above 0.
    bool TierAnzeigen();
    bool TerminErledigenMoeglich() const;
    void TerminErledigen();

    std::function<void(TZRDBcxGridBovantis*, int tierId)> OnTierAnzeigen;
    std::function<void(TZRDBcxGridBovantis*, int terminId, const QDate& datum, int tierId)>
        OnTerminErledigen;
    std::function<void(TZRDBcxGridBovantis*, const QString& feld, const QString& format)>
        OnDisplayFormat;

private:
    void ZelleDoppelklick(const QModelIndex& index);
    void Zeichnen(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index,
                  bool& done) const;
    // The text of a computed column in a record.
    QString Berechnet(const QString& feld, int satz) const;
    QString Text(const QString& feld, int satz) const;
    QString Ueberschrift(int satz) const;
    QString FeldAnZeile(const QModelIndex& index) const;

    TZRcxGridDBTableView* view_;
    ListenSpalten::Ergebnis spalten_;
    std::map<QString, QStringList> quellen_;  // computed field -> source entries by line
    QString ueberschriftFeld_;
};
