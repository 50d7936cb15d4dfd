#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <functional>
#include <stdexcept>

namespace db {
class Transaction;
}

// The database scripts of the update and of the system-information window: blocks separated by
// "-=#=-", each run and committed on its own. A block may begin with an existence test on the
// system tables ("TEST:TABLE(T_X) TESTTHEN: ... TESTELSE: ...", the THEN part runs when the object
// is missing) and with variable commands ("GETGENERATOR(gen,inc,var)", "GETVALUE(sql;var)") whose
// values replace "%var%" in the rest of the block. Keywords are case-sensitive; variable names
// are not. The text of a variable command itself is taken as written, without replacement.
namespace ZRDBScript {

// Name and value, in the order the script set them.
using Variablen = QList<QPair<QString, QString>>;

// Replaces every "%name%" of a known variable by its value; other "%" texts stay.
void ErsetzeScriptVariablen(QString& text, const Variablen& variablen);

// What the script language asks of the database.
class ISkriptDatenbank {
public:
    virtual ~ISkriptDatenbank() = default;
    // The first field of the first row as text; empty for NULL or no row.
    virtual QString Wert(const QString& sql) = 0;
    // Runs the statements of one block (";" ends a statement, "SET TERM" changes that); the
    // block's first line is ersteZeile of the script, for the messages. Throws db::Error.
    virtual void Ausfuehren(const QString& statements, int ersteZeile) = 0;
    // Commits what the block did and starts the next unit of work.
    virtual void BlockAbschliessen() = 0;
};

// A block failed. Block numbers count from 1; Festgeschrieben lists the earlier blocks whose
// work was committed before.
class ESkriptFehler : public std::runtime_error {
public:
    ESkriptFehler(int block, int zeile, const QString& ursache, QList<int> festgeschrieben);
    int Block;
    int Zeile;
    QString Ursache;
    QList<int> Festgeschrieben;
    QString Meldung() const { return meldung_; }

private:
    QString meldung_;
};

// Runs the script; fortschritt gets the blocks done and their number before each block and at
// the end. Returns the numbers of the blocks that ran statements. Throws ESkriptFehler.
QList<int> FuehreDBScriptAus(ISkriptDatenbank& datenbank, const QString& skript,
                             const std::function<void(int fertig, int gesamt)>& fortschritt = {});

// The script language on a real connection: tests and counts in the given transaction, each
// block's statements in it, and a commit with a fresh start after each block.
class TSkriptDatenbank : public ISkriptDatenbank {
public:
    explicit TSkriptDatenbank(db::Transaction& transaktion) : tr_(transaktion) {}
    QString Wert(const QString& sql) override;
    void Ausfuehren(const QString& statements, int ersteZeile) override;
    void BlockAbschliessen() override;

private:
    db::Transaction& tr_;
};

}  // namespace ZRDBScript
