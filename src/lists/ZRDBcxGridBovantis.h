#pragma once

#include "ListenSpalten.h"

#include <ZRDBcxGrid.h>

#include <QDate>
#include <QFont>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QTextLayout>

#include <functional>
#include <map>
#include <memory>

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

    // A cell's text laid out and elided for its cell, ready to draw at the text rectangle.
    struct Gesetzt {
        QTextLayout layout;
    };
    struct SatzSchluessel {
        QString text;
        QFont font;
        int breite;
        int hoehe;
        int ausrichtung;
        bool umbruch;
        int richtung;
        int kuerzen;
        bool operator==(const SatzSchluessel&) const = default;
        friend size_t qHash(const SatzSchluessel& k, size_t seed = 0)
        {
            return qHashMulti(seed, k.text, k.font, k.breite, k.hoehe, k.ausrichtung, k.umbruch,
                              k.richtung, k.kuerzen);
        }
    };
    const Gesetzt& Setzen(const QStyleOptionViewItem& o, const QString& text,
                          const QRect& textRect) const;
    void TextZeichnen(QPainter* painter, const QStyleOptionViewItem& o, const QString& text) const;

    TZRcxGridDBTableView* view_;
    ListenSpalten::Ergebnis spalten_;
    std::map<QString, QStringList> quellen_;  // computed field -> source entries by line
    QString ueberschriftFeld_;
    mutable QHash<SatzSchluessel, std::shared_ptr<Gesetzt>> gesetzt_;
};
