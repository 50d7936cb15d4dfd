#pragma once

#include "ListenKodierung.h"

#include <ListenSpalten.h>

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// What the list designer decides without its window: the check of the sources and joins, the
// lists of available and shown output fields, the grids of restrictions and sort keys as their
// encodings, the symbol counter and the columns of the test run.
class TListenDesignLogik {
public:
    using Feld = ListenKodierung::FeldEintrag;

    // The sources and joins of a design; nullopt where the column is null.
    struct Quellen {
        std::optional<int> quelle1, quelle2, quelle3;
        std::optional<int> feld12_1, feld12_2, feld23_2, feld23_3;
    };
    // A later source needs the earlier one and a join needs both of its sources: what does not
    // stand on its own is cleared.
    static void QuellenBereinigen(Quellen& q);
    // The first rule the design breaks, as the message to show; empty when it is accepted.
    // istTypP tells whether a source is of type "P" (one row per animal).
    static QString QuellenPruefen(const Quellen& q, const std::function<bool(int quelle)>& istTypP);

    // Page of the output fields: all offered fields, and the shown ones from FELDER (pseudo
    // fields keep their numbers, tokens that match no field are dropped); the rest is available,
    // followed by the two pseudo fields.
    void AusgabefelderLaden(const QList<Feld>& alle, const QString& felder);
    const QList<Feld>& Alle() const { return alle_; }
    const QList<Feld>& Verfuegbar() const { return verfuegbar_; }
    const QList<Feld>& Sichtbar() const { return sichtbar_; }
    static QStringList Kombis(const QList<Feld>& felder);

    // The selections after a change of the lists; -1 for none.
    struct Auswahl {
        int verfuegbar = -1;
        int sichtbar = -1;
    };
    // Moves the available field to the end of the shown ones; a pseudo field adds a new one with
    // the next free number and stays available. Nothing (nullopt) without a selection.
    std::optional<Auswahl> Hinzufuegen(int verfuegbar);
    // Removes the shown field; a catalogue field goes back to the available ones, a pseudo field
    // is dropped. Gives the new selection of the shown list; nothing without a selection.
    std::optional<int> Entfernen(int sichtbar);
    // Every available field becomes shown, except the two pseudo fields.
    void AlleHinzufuegen();
    // Every shown field goes back, pseudo fields are dropped.
    void AlleEntfernen();
    // Swap with the neighbour; the new selection (the old one at the ends).
    int Auf(int sichtbar);
    int Ab(int sichtbar);
    // The first free number of the pseudo fields with this prefix ("S.N", "S.F").
    int NaechsteNummer(const QString& praefix) const;
    // FELDER of the shown fields.
    QString Felder() const;
    // The message when no field is shown; empty otherwise.
    QString FelderPruefen() const;

    // Options: the fields a restriction may test and those a sort may use (their KOMBIs).
    QStringList EinschraenkungsFelder() const;
    QStringList SortierFelder() const;
    // Grid rows (Feld, Operator, Bedingung, Verk.) of a BEDINGUNGEN text; restrictions of fields
    // that are not offered are left out.
    QList<QStringList> EinschraenkungsZeilen(const QString& bedingungen) const;
    // Throws ListenKodierung::EKodierung for a ";" in a cell.
    QString Bedingungen(const QList<QStringList>& zeilen) const;
    // Grid rows (Feld, Sortierung) of a SORTIERUNG text, likewise.
    QList<QStringList> SortierungsZeilen(const QString& sortierung) const;
    QString Sortierung(const QList<QStringList>& zeilen) const;

    // The symbol buttons: null starts at 0; the ends wrap around.
    static int SymbolNachher(std::optional<int> symbol, int anzahl);
    static int SymbolVorher(std::optional<int> symbol, int anzahl);
    // "(n/anzahl)" with n = symbol + 1.
    static QString SymbolZaehler(std::optional<int> symbol, int anzahl);

    // The test grid's columns: one per shown field with its width and title; a running number
    // counts the rows, a fixed value shows "fest". A single column sizes itself.
    std::vector<ListenSpalten::LayoutZeile> TestLayout() const;

private:
    QList<Feld> alle_;
    QList<Feld> verfuegbar_;
    QList<Feld> sichtbar_;
};
