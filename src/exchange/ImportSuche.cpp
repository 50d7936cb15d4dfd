#include "ImportSuche.h"

#include "AdisProtokoll.h"
#include "ImportZeile.h"

#include <LomCoder.h>
#include <Query.h>

namespace ImportSuche {

namespace {

constexpr qint64 Land = 276'000'000'000'000LL;
constexpr qint64 OhneLand = 10'000'000'000LL;

int ErsteId(db::Transaction& tr, const QString& sql, const QVariantMap& werte)
{
    db::Query q(tr, sql);
    for (auto it = werte.begin(); it != werte.end(); ++it)
        q.Param(it.key()).SetVariant(it.value());
    q.Open();
    return q.Eof() ? 0 : q.Field(0).AsInteger();
}

}  // namespace

int TierSuchen(ImportZeile& stammdaten, const QString& text, qint64& nummer, bool anlegen,
               bool protokollieren, TADISProtokoll& protokoll)
{
    bool ok = false;
    nummer = text.trimmed().toLongLong(&ok);
    if (!ok || nummer < 0)
        nummer = 0;
    if (nummer == 0) {
        int64_t n = 0;
        if (Lom::EncodeLom(text.toStdString(), n) == 0)
            nummer = n;
    }
    if (nummer == 0) {
        protokoll.Hinzufuegen(2, 0, {text});
        return -1;
    }
    if (nummer < OhneLand)
        nummer += Land;
    const QString gedruckt = QString::fromStdString(Lom::DecodeLom(nummer));
    db::Transaction& tr = stammdaten.GetTransaction();
    int id = ErsteId(tr, QStringLiteral("SELECT ID FROM T_STAMMDATEN WHERE NUMMER_NUM = :N"),
                     {{QStringLiteral("N"), nummer}});
    if (id <= 0)
        id = ErsteId(tr, QStringLiteral("SELECT ID FROM T_STAMMDATEN WHERE NUMMER = :P"),
                     {{QStringLiteral("P"), gedruckt}});
    if (id > 0) {
        stammdaten.Laden(id);
        if (stammdaten.Id() == id)
            return id;
    }
    if (anlegen) {
        stammdaten.Laden(0);
        return 0;
    }
    if (protokollieren)
        protokoll.Hinzufuegen(1, 0, {gedruckt});
    return -2;
}

int DatensatzSuchen(ImportZeile& zeile, const QString& sql, const QVariantMap& werte, bool anlegen)
{
    const int id = ErsteId(zeile.GetTransaction(), sql, werte);
    if (id > 0) {
        zeile.Laden(id);
        if (zeile.Id() == id)
            return id;
    }
    if (!anlegen)
        return -2;
    zeile.Laden(0);
    return 0;
}

}  // namespace ImportSuche
