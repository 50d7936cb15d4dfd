#include "DBTools.h"

#include "SilentAbort.h"

#include <DataSet.h>
#include <Error.h>
#include <Meldung.h>
#include <Query.h>
#include <Transaction.h>

#include <QHash>
#include <QPointer>
#include <QRegularExpression>
#include <QWidget>

#include <memory>
#include <mutex>

namespace DBTools {

namespace {

QPointer<db::DataSet>& Tabelle()
{
    static QPointer<db::DataSet> tabelle;
    return tabelle;
}

// The user texts by constraint name (upper case), read once from the table: errors are made in
// any thread, and looking up must not move the table.
std::mutex texteMutex;
std::shared_ptr<const QHash<QString, QString>> texte;

std::shared_ptr<const QHash<QString, QString>> Texte()
{
    const std::lock_guard<std::mutex> lock(texteMutex);
    return texte;
}

void TexteSetzen(std::shared_ptr<const QHash<QString, QString>> neu)
{
    const std::lock_guard<std::mutex> lock(texteMutex);
    texte = std::move(neu);
}

QHash<QString, QString> TexteLesen(db::DataSet& tabelle)
{
    QHash<QString, QString> ergebnis;
    if (!tabelle.Active())
        return ergebnis;
    const int vorher = tabelle.RecNo();
    const db::Field& name = tabelle.FieldByName(QStringLiteral("CONSTR"));
    const db::Field& text = tabelle.FieldByName(QStringLiteral("BESCHREIBUNG"));
    for (tabelle.First(); !tabelle.Eof(); tabelle.Next())
        ergebnis.insert(name.AsString().trimmed().toUpper(), text.AsString());
    if (vorher >= 0)
        tabelle.MoveTo(vorher);
    return ergebnis;
}

// The constraint name in a server message: quoted "I_…" (keys, unique indexes), or the unquoted
// name of a CHECK violation ("Operation violates CHECK constraint I_X on view or table T").
QString ConstraintName(const QString& meldung)
{
    const QString gross = meldung.toUpper();
    const qsizetype start = gross.indexOf(QLatin1String("\"I_"));
    if (start >= 0) {
        const qsizetype end = gross.indexOf(QLatin1Char('"'), start + 1);
        return gross.mid(start + 1, end < 0 ? -1 : end - start - 1);
    }
    static const QRegularExpression check(QStringLiteral("CONSTRAINT\\s+(I_[A-Z0-9_$]+)"));
    const auto m = check.match(gross);
    return m.hasMatch() ? m.captured(1) : QString();
}

bool TextZu(const QString& name, QString& text)
{
    const auto t = Texte();
    if (name.isEmpty() || !t)
        return false;
    const auto it = t->constFind(name.trimmed().toUpper());
    if (it == t->constEnd())
        return false;
    text = *it;
    return true;
}

// "string right truncation" of the engine, with the room and the length when it names them
// (0 otherwise); false for any other message.
bool ZuLang(const QString& meldung, int& erlaubt, int& laenge)
{
    if (!meldung.contains(QLatin1String("string right truncation"), Qt::CaseInsensitive))
        return false;
    static const QRegularExpression zahlen(QStringLiteral("expected length (\\d+), actual (\\d+)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const auto m = zahlen.match(meldung);
    erlaubt = m.hasMatch() ? m.captured(1).toInt() : 0;
    laenge = m.hasMatch() ? m.captured(2).toInt() : 0;
    return true;
}

QString ZuLangText(const QString& feld, int erlaubt, int laenge)
{
    const QString wo = feld.isEmpty()
                           ? QStringLiteral("Ein eingegebener Text ist zu lang")
                           : QStringLiteral("Der Text im Feld \"%1\" ist zu lang").arg(feld);
    if (erlaubt <= 0)
        return wo + QStringLiteral(" für die Datenbank.");
    return wo + QStringLiteral(": höchstens %1 Zeichen sind erlaubt, eingegeben sind %2.")
                    .arg(erlaubt)
                    .arg(laenge);
}

// The user text of an engine error for every error the database layer raises.
QString Benutzertext(const QString& meldung, long, const QString& constraint)
{
    QString text;
    if (constraint.startsWith(QLatin1String("I_"), Qt::CaseInsensitive) && TextZu(constraint, text))
        return text;
    if (TextZu(ConstraintName(meldung), text))
        return text;
    int erlaubt = 0;
    int laenge = 0;
    if (ZuLang(meldung, erlaubt, laenge))
        return ZuLangText(QString(), erlaubt, laenge);
    return {};
}

// The too long text of a record the engine refused: names the field whose text exceeds its
// room; empty when the error is no truncation.
QString ZuLangImDatensatz(db::DataSet& dataSet, const db::Error& fehler)
{
    int erlaubt = 0;
    int laenge = 0;
    if (!ZuLang(fehler.EngineMessage(), erlaubt, laenge))
        return {};
    for (int i = 0; i < dataSet.FieldCount(); ++i) {
        const db::Field& f = dataSet.Fields(i);
        if ((f.DataType() != db::FieldType::VarChar && f.DataType() != db::FieldType::Char) ||
            f.Calculated() || f.Size <= 0 || f.IsNull())
            continue;
        const qsizetype n = f.AsString().size();
        if (n > f.Size && (erlaubt <= 0 || f.Size == erlaubt))
            return ZuLangText(f.Label(), f.Size, int(n));
    }
    return ZuLangText(QString(), erlaubt, laenge);
}

// Runs a statement of the dataset's record and translates a violated constraint.
template <typename F>
void MitFehlertext(F&& f)
{
    try {
        f();
    } catch (const db::Error& e) {
        QString text;
        if (e.EngineCode() != 0 && DBFehlerText(e, text))
            DBFehlerMelden(nullptr, text);
        throw;
    }
}

bool HatDatensatz(db::DataSet& ds)
{
    return ds.Active() && (!(ds.Bof() && ds.Eof()) || ds.State() == db::DataSetState::Insert);
}

bool Bestaetigt(const QString& frage)
{
    return frage.isEmpty() || Tools::MeldungConfirm(frage, 1) == Tools::mrYes;
}

}  // namespace

void FehlertabelleSetzen(db::DataSet* tabelle)
{
    Tabelle() = tabelle;
    TexteSetzen(tabelle ? std::make_shared<const QHash<QString, QString>>(TexteLesen(*tabelle))
                        : nullptr);
    db::Error::SetUserText(tabelle ? db::Error::UserText(Benutzertext) : db::Error::UserText());
}

db::DataSet* Fehlertabelle()
{
    return Tabelle();
}

bool DBFehlerText(const QString& meldung, QString& text)
{
    text.clear();
    return TextZu(ConstraintName(meldung), text);
}

bool DBFehlerText(const db::Error& fehler, QString& text)
{
    text.clear();
    if (fehler.Constraint().startsWith(QLatin1String("I_"), Qt::CaseInsensitive) &&
        TextZu(fehler.Constraint(), text))
        return true;
    return DBFehlerText(fehler.EngineMessage(), text);
}

void DBFehlerMelden(QWidget* control, const QString& text)
{
    Tools::MeldungError(text);
    if (control)
        control->setFocus();
    throw SilentAbort();
}

bool SicherPosten(db::DataSet& dataSet, bool Melden, QString& Fehlertext, bool Weiterwerfen)
{
    Fehlertext.clear();
    if (dataSet.State() != db::DataSetState::Edit && dataSet.State() != db::DataSetState::Insert)
        return true;
    try {
        dataSet.Post();
        return true;
    } catch (const db::Error& e) {
        if (e.EngineCode() != 0) {
            Fehlertext = ZuLangImDatensatz(dataSet, e);
            if (!Fehlertext.isEmpty() || DBFehlerText(e, Fehlertext)) {
                if (Melden)
                    DBFehlerMelden(nullptr, Fehlertext);
                dataSet.Cancel();
                return false;
            }
            if (Weiterwerfen)
                throw;
            dataSet.Cancel();
            return false;
        }
        if (Melden)
            throw;
        dataSet.Cancel();
        return false;
    } catch (const SilentAbort&) {
        throw;
    } catch (const std::exception&) {
        if (Melden)
            throw;
        dataSet.Cancel();
        return false;
    }
}

bool Bearbeitet(const db::DataSet& dataSet)
{
    return dataSet.State() == db::DataSetState::Edit || dataSet.State() == db::DataSetState::Insert;
}

void TransaktionBeenden(db::Transaction& transaktion, bool festschreiben)
{
    if (!transaktion.Active())
        return;
    if (festschreiben)
        transaktion.Commit();
    else
        transaktion.Rollback();
}

bool Sicher(const std::function<void()>& aktion)
{
    try {
        aktion();
        return true;
    } catch (const SilentAbort&) {
        // The message was shown.
    } catch (const db::Error& e) {
        Tools::MeldungError(e.Message());
    } catch (const std::exception& e) {
        Tools::MeldungError(QString::fromUtf8(e.what()));
    }
    return false;
}

bool Posten(db::DataSet& dataSet)
{
    QString text;
    return SicherPosten(dataSet, true, text, true);
}

bool SQLAusfuehrenMitFrage(db::DataSet& query, const QString& sql, const QString& frage)
{
    if (!HatDatensatz(query) || !Bestaetigt(frage))
        return false;
    MitFehlertext([&] {
        db::Query q(query.GetTransaction(), sql);
        q.Execute();
    });
    return true;
}

bool LoeschenMitFrage(db::DataSet& dataSet, const QString& frage)
{
    if (!HatDatensatz(dataSet) || !Bestaetigt(frage))
        return false;
    MitFehlertext([&] { dataSet.Delete(); });
    return true;
}

bool LocateInteger(db::DataSet& dataSet, const QString& feld, int wert, bool anzeigeAnhalten)
{
    struct Anzeige {
        db::DataSet& ds;
        bool angehalten;
        ~Anzeige()
        {
            if (angehalten)
                ds.EnableControls();
        }
    } anzeige{dataSet, anzeigeAnhalten};
    if (anzeigeAnhalten)
        dataSet.DisableControls();

    if (!dataSet.Active() || dataSet.IsEmpty())
        return false;
    db::Field& f = dataSet.FieldByName(feld);
    auto trifft = [&] { return !f.IsNull() && f.AsInt64() == wert; };
    if (trifft())
        return true;
    const int start = dataSet.RecNo();
    for (dataSet.Next(); !dataSet.Eof(); dataSet.Next()) {
        if (trifft())
            return true;
    }
    for (dataSet.First(); !dataSet.Eof() && dataSet.RecNo() != start; dataSet.Next()) {
        if (trifft())
            return true;
    }
    dataSet.MoveTo(start);
    return false;
}

QString FeldAlsString(db::Query& query, const QString& feld)
{
    const int i = query.FieldIndex(feld);
    if (i < 0)
        throw db::Error(QStringLiteral("Die Abfrage hat keine Spalte %1.").arg(feld));
    return db::Field::Format(query.Field(i), query.Column(i).Type, QString());
}

void DatensatzAlsListe(db::DataSet& dataSet, QStringList& liste)
{
    liste.clear();
    for (int i = 0; i < dataSet.FieldCount(); ++i) {
        const db::Field& f = dataSet.Fields(i);
        liste.append(f.FieldName() + QLatin1Char('=') +
                     db::Field::Format(f.AsValue(), f.DataType(), QString()));
    }
}

}  // namespace DBTools
