#include "BullenFelder.h"

#include <ZRcxGridDBTableView.h>

#include <DataSetModel.h>

#include <QHeaderView>

QValidator::State TGrossschreibung::validate(QString& input, int&) const
{
    input = input.toUpper();
    return Acceptable;
}

void SpaltenFolge(TZRcxGridDBTableView& ansicht, const QStringList& felder)
{
    const auto anwenden = [&ansicht, felder] {
        db::DataSetModel* modell = ansicht.DataModel();
        if (modell->columnCount() == 0)
            return;
        QHeaderView* kopf = ansicht.horizontalHeader();
        int ziel = 0;
        for (const QString& feld : felder) {
            const int spalte = modell->ColumnOfField(feld);
            if (spalte >= 0)
                kopf->moveSection(kopf->visualIndex(spalte), ziel++);
        }
        ansicht.SpaltenNachInhalt();
        ansicht.RestoreLayout();
    };
    QObject::connect(ansicht.DataModel(), &QAbstractItemModel::modelReset, &ansicht, anwenden);
    anwenden();
}
