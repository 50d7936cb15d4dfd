#include "BullenLogik.h"

namespace Bullen {

std::optional<TFehler> Pruefen(const TBulle& bulle, const QDate& heute)
{
    if (bulle.name.trimmed().isEmpty())
        return TFehler{TFeld::Name,
                       QStringLiteral("Sie müssen einen Namen für den Bullen eingeben.")};
    if (bulle.hbnr.trimmed().isEmpty())
        return TFehler{TFeld::HBNR,
                       QStringLiteral("Sie müssen eine Herdbuch-Nummer für den Bullen eingeben.")};
    if (bulle.gebdat.isValid() && bulle.gebdat > heute)
        return TFehler{TFeld::GebDat,
                       QStringLiteral("Das Geburtsdatum darf nicht in der Zukunft sein.")};
    if (bulle.letzteVerwendung.isValid() && bulle.letzteVerwendung > heute)
        return TFehler{TFeld::LetzteVerwendung,
                       QStringLiteral("Die letzte Verwendung darf nicht in der Zukunft sein.")};
    return std::nullopt;
}

QString Suchtext(const QString& text)
{
    QString s;
    s.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace())
            s.append(c.toUpper());
    }
    return s;
}

bool Passt(const QString& suchtext, const QString& name, const QString& nummer)
{
    if (suchtext.isEmpty())
        return true;
    return Suchtext(name).contains(suchtext) || Suchtext(nummer).contains(suchtext);
}

}  // namespace Bullen
