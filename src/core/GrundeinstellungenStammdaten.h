#pragma once

#include "GrundeinstellungenSeite.h"

#include <DataSetModel.h>

#include <QList>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

class QTableView;

// The pages of master rows: holdings, premises and breeds in use, each a grid of the dialog's
// dataset with its buttons below. What they change stays in the dialog's transaction.
class TGrundeinstellungenZeilenSeite : public TGrundeinstellungenSeite {
    Q_OBJECT
public:
    TGrundeinstellungenZeilenSeite(TGrundKat kategorie, TGrundeinstellungenDaten& daten,
                                   db::DataSet& datensatz, const QString& gitterName);

protected:
    struct TZeilenKnopf {
        QString text, name, hinweis;
        std::function<void()> aktion;
    };
    void Aufbauen(const QString& titel, const std::vector<TZeilenKnopf>& knoepfe);
    // Reopens the dataset with the record of that ID current (none: the first) and shows the
    // fields in the given order, the "T"/"F" fields named in `haken` as check boxes.
    void Oeffnen(int id, const QList<std::pair<QString, QString>>& felder,
                 const QStringList& haken = {});
    // The current record's ID, 0 when there is none.
    int AktuelleID() const;

    db::DataSet& datensatz_;
    db::DataSetModel modell_;
    QTableView* gitter_;
};

class TGrundeinstellungenBetriebsgruppen : public TGrundeinstellungenZeilenSeite {
    Q_OBJECT
public:
    explicit TGrundeinstellungenBetriebsgruppen(TGrundeinstellungenDaten& daten);

    void Laden() override { GruppenOeffnen(0); }

signals:
    // A holding was added or edited: the premises show its name.
    void GruppenGeaendert();

private:
    void GruppenOeffnen(int id);
    void GruppeBearbeiten(bool neu);
    void GruppeEntfernen();
};

class TGrundeinstellungenBetriebsstaetten : public TGrundeinstellungenZeilenSeite {
    Q_OBJECT
public:
    explicit TGrundeinstellungenBetriebsstaetten(TGrundeinstellungenDaten& daten);

    void Laden() override { StaettenOeffnen(0); }
    // Shows the premises anew, the current one staying current.
    void NeuZeigen() { StaettenOeffnen(AktuelleID()); }

private:
    void StaettenOeffnen(int id);
    void StaetteBearbeiten(bool neu);
    void StaetteEntfernen();
};

class TGrundeinstellungenRassen : public TGrundeinstellungenZeilenSeite {
    Q_OBJECT
public:
    explicit TGrundeinstellungenRassen(TGrundeinstellungenDaten& daten);

    void Laden() override { RassenOeffnen(0); }

signals:
    // The breeds in use were read anew.
    void RassenGeaendert();

private:
    void RassenOeffnen(int id);
    void RasseHinzufuegen();
    void RasseEntfernen();
};
