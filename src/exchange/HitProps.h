#pragma once

#include "HitDaten.h"

#include <QList>
#include <QString>

#include <optional>

class TEinstellungen;
class TZRPropGrid;
class TZRPropertiesItem;

namespace db {
class Database;
}

// Dates in report fields: dd.mm.yyyy, also typed with one-digit day or month or a two-digit year
// (20yy). True for a text that is no such date.
bool HITDatumFalsch(const QString& text);
// The date in the form dd.mm.yyyy; a text that is no date stays as it is.
QString HITDatumNormal(const QString& text);

// Shows a command field by field in a property grid, with pick lists from the code sets of the
// database and the settings; checks the mandatory fields and reads the edited values back. The
// PIN fields show a mask: an unchanged mask keeps the PIN.
class THITProps {
public:
    static constexpr const char* PinMaske = "******";

    THITProps(db::Database& datenbank, const TEinstellungen& einstellungen);

    // The edit type of a field code: 0 read-only, 1 text, 3 date, 4 holding pick list,
    // 5 code pick list storing the key.
    static int EingabeArt(int code);

    void SetGrid(TZRPropGrid* grid) { grid_ = grid; }
    TZRPropGrid* Grid() const { return grid_; }

    void BefehlZeigen(const THITPBefehl& befehl);
    void Leeren();
    THITPBefehl BefehlLesen() const;
    // True when every mandatory field is filled and every date valid; else the first offending
    // row is selected (with an error box for a missing holding or ear tag).
    bool Pruefen();
    void AuswahlFuellen(int code, TZRPropertiesItem& property);

private:
    struct Code {
        QString feld, code, text;
    };
    const QList<Code>& Codesets();

    db::Database& datenbank_;
    const TEinstellungen& einstellungen_;
    TZRPropGrid* grid_ = nullptr;
    THITPBefehl befehl_;
    std::optional<QList<Code>> codesets_;
};
