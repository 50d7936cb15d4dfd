#include "IniDatei.h"

#include <ZRDateTools.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <limits>
#include <stdexcept>

namespace {

bool gleich(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

std::optional<QString> sektionsName(const QString& zeile)
{
    const QString t = zeile.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype ende = t.lastIndexOf(QLatin1Char(']'));
    if (ende < 1)
        return std::nullopt;
    return t.mid(1, ende - 1).trimmed();
}

struct Eintrag {
    QString schluessel;
    QString wert;
};

std::optional<Eintrag> eintrag(const QString& zeile)
{
    const QString t = zeile.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype gleichZeichen = t.indexOf(QLatin1Char('='));
    if (gleichZeichen < 0)
        return std::nullopt;
    Eintrag e{t.left(gleichZeichen).trimmed(), t.mid(gleichZeichen + 1).trimmed()};
    if (e.schluessel.isEmpty())
        return std::nullopt;
    return e;
}

void pruefeName(const QString& name, const char* was)
{
    const QString t = name.trimmed();
    if (t.isEmpty() || t != name || name.contains(QLatin1Char('\n')) ||
        name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('=')) ||
        name.contains(QLatin1Char(']')) || name.startsWith(QLatin1Char('[')) ||
        name.startsWith(QLatin1Char(';')))
        throw std::runtime_error(QStringLiteral("Ungültiger %1 >%2< für die Einstellungsdatei.")
                                     .arg(QString::fromLatin1(was), name)
                                     .toStdString());
}

}  // namespace

TIniDatei::TIniDatei(QString dateipfad) : dateipfad_(std::move(dateipfad)) {}

void TIniDatei::Aktualisieren() const
{
    const QFileInfo info(dateipfad_);
    if (!info.exists()) {
        zeilen_.clear();
        geladenGroesse_ = -1;
        geladenStand_ = QDateTime();
        return;
    }
    if (info.size() != geladenGroesse_ || info.lastModified() != geladenStand_)
        Laden();
}

void TIniDatei::Laden() const
{
    QFile datei(dateipfad_);
    zeilen_.clear();
    if (!datei.open(QIODevice::ReadOnly))
        return;
    QByteArray roh = datei.readAll();
    const QFileInfo info(dateipfad_);
    geladenGroesse_ = info.size();
    geladenStand_ = info.lastModified();
    if (roh.startsWith("\xEF\xBB\xBF"))
        roh.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(roh);
    if (utf8.hasError())
        text = QString::fromLatin1(roh);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    zeilen_ = text.split(QLatin1Char('\n'));
    if (!zeilen_.isEmpty() && zeilen_.last().isEmpty())
        zeilen_.removeLast();
}

void TIniDatei::Ablegen() const
{
    QDir().mkpath(QFileInfo(dateipfad_).absolutePath());
    QSaveFile datei(dateipfad_);
    QByteArray inhalt;
    for (const QString& zeile : zeilen_)
        inhalt += zeile.toUtf8() + '\n';
    // The file holds the server administrator's password: readable by its owner only.
    if (!datei.open(QIODevice::WriteOnly) ||
        !datei.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        datei.write(inhalt) != inhalt.size() || !datei.commit())
        throw std::runtime_error(
            QStringLiteral("Die Einstellungsdatei %1 kann nicht geschrieben werden: %2")
                .arg(QDir::toNativeSeparators(dateipfad_), datei.errorString())
                .toStdString());
    const QFileInfo info(dateipfad_);
    geladenGroesse_ = info.size();
    geladenStand_ = info.lastModified();
}

void TIniDatei::AblegenOderZurueck(const QStringList& vorher)
{
    // A change that did not reach the file must not show in later reads either.
    try {
        Ablegen();
    } catch (...) {
        zeilen_ = vorher;
        throw;
    }
}

TIniDatei::Fundstelle TIniDatei::Suchen(const QString& sektion, const QString& schluessel) const
{
    Aktualisieren();
    Fundstelle f;
    for (int i = 0; i < zeilen_.size(); ++i) {
        const auto name = sektionsName(zeilen_[i]);
        if (!name)
            continue;
        if (f.sektionsZeile >= 0) {
            f.endeZeile = i;
            break;
        }
        if (gleich(*name, sektion))
            f.sektionsZeile = i;
    }
    if (f.sektionsZeile < 0)
        return f;
    if (f.endeZeile < 0)
        f.endeZeile = int(zeilen_.size());
    if (schluessel.isEmpty())
        return f;
    for (int i = f.sektionsZeile + 1; i < f.endeZeile; ++i) {
        const auto e = eintrag(zeilen_[i]);
        if (e && gleich(e->schluessel, schluessel)) {
            f.schluesselZeile = i;
            break;
        }
    }
    return f;
}

std::optional<QString> TIniDatei::Lesen(const QString& sektion, const QString& schluessel) const
{
    const Fundstelle f = Suchen(sektion, schluessel);
    if (f.schluesselZeile < 0)
        return std::nullopt;
    return eintrag(zeilen_[f.schluesselZeile])->wert;
}

QString TIniDatei::LesenString(const QString& sektion, const QString& schluessel,
                               const QString& vorgabe) const
{
    return Lesen(sektion, schluessel).value_or(vorgabe);
}

bool TIniDatei::SektionExistiert(const QString& sektion) const
{
    return Suchen(sektion, QString()).sektionsZeile >= 0;
}

bool TIniDatei::WertExistiert(const QString& sektion, const QString& schluessel) const
{
    return Lesen(sektion, schluessel).has_value();
}

QStringList TIniDatei::Sektionen() const
{
    Aktualisieren();
    QStringList ergebnis;
    for (const QString& zeile : zeilen_) {
        const auto name = sektionsName(zeile);
        if (name && !ergebnis.contains(*name, Qt::CaseInsensitive))
            ergebnis << *name;
    }
    return ergebnis;
}

QStringList TIniDatei::Schluessel(const QString& sektion) const
{
    const Fundstelle f = Suchen(sektion, QString());
    QStringList ergebnis;
    for (int i = f.sektionsZeile + 1; f.sektionsZeile >= 0 && i < f.endeZeile; ++i) {
        const auto e = eintrag(zeilen_[i]);
        if (e && !ergebnis.contains(e->schluessel, Qt::CaseInsensitive))
            ergebnis << e->schluessel;
    }
    return ergebnis;
}

void TIniDatei::Schreiben(const QString& sektion, const QString& schluessel, const QString& wert)
{
    pruefeName(sektion, "Abschnitt");
    pruefeName(schluessel, "Schlüssel");
    if (wert.contains(QLatin1Char('\n')) || wert.contains(QLatin1Char('\r')))
        throw std::runtime_error(
            QStringLiteral("Ein Wert der Einstellungsdatei darf keinen Zeilenumbruch enthalten "
                           "(Schlüssel >%1<).")
                .arg(schluessel)
                .toStdString());
    const Fundstelle f = Suchen(sektion, schluessel);
    const QStringList vorher = zeilen_;
    if (f.schluesselZeile >= 0) {
        const QString geschrieben = eintrag(zeilen_[f.schluesselZeile])->schluessel;
        const QString neu = geschrieben + QLatin1Char('=') + wert;
        if (zeilen_[f.schluesselZeile] == neu)
            return;
        zeilen_[f.schluesselZeile] = neu;
    } else if (f.sektionsZeile >= 0) {
        // After the section's last entry, before the blank lines that separate it from the next.
        int nach = f.endeZeile;
        while (nach - 1 > f.sektionsZeile && zeilen_[nach - 1].trimmed().isEmpty())
            --nach;
        zeilen_.insert(nach, schluessel + QLatin1Char('=') + wert);
    } else {
        if (!zeilen_.isEmpty() && !zeilen_.last().trimmed().isEmpty())
            zeilen_ << QString();
        zeilen_ << QLatin1Char('[') + sektion + QLatin1Char(']')
                << schluessel + QLatin1Char('=') + wert;
    }
    AblegenOderZurueck(vorher);
}

void TIniDatei::SchluesselLoeschen(const QString& sektion, const QString& schluessel)
{
    const Fundstelle f = Suchen(sektion, schluessel);
    if (f.schluesselZeile < 0)
        return;
    const QStringList vorher = zeilen_;
    zeilen_.removeAt(f.schluesselZeile);
    AblegenOderZurueck(vorher);
}

void TIniDatei::SektionLoeschen(const QString& sektion)
{
    const Fundstelle f = Suchen(sektion, QString());
    if (f.sektionsZeile < 0)
        return;
    const QStringList vorher = zeilen_;
    zeilen_.remove(f.sektionsZeile, f.endeZeile - f.sektionsZeile);
    AblegenOderZurueck(vorher);
}

void TIniDatei::Speichern()
{
    Aktualisieren();
    Ablegen();
}

QString TIniDatei::BoolText(bool wert)
{
    return wert ? QStringLiteral("1") : QStringLiteral("0");
}

QString TIniDatei::DatumText(const QDate& datum)
{
    return ZRDateTools::DatumText(datum);
}

QString TIniDatei::DatumZeitText(const QDateTime& zeit)
{
    if (!zeit.isValid())
        return QString();
    if (zeit.time() == QTime(0, 0))
        return DatumText(zeit.date());
    return zeit.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

std::optional<int> TIniDatei::AlsInteger(const QString& text)
{
    QString t = text.trimmed();
    bool negativ = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negativ = t.startsWith(QLatin1Char('-'));
        t.remove(0, 1);
    }
    int basis = 10;
    if (t.startsWith(QLatin1Char('$'))) {
        basis = 16;
        t.remove(0, 1);
    } else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        basis = 16;
        t.remove(0, 2);
    }
    if (t.isEmpty() || t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+')))
        return std::nullopt;
    bool ok = false;
    const qlonglong wert = t.toLongLong(&ok, basis);
    const qlonglong mitVorzeichen = negativ ? -wert : wert;
    if (!ok || mitVorzeichen < std::numeric_limits<int>::min() ||
        mitVorzeichen > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(mitVorzeichen);
}

std::optional<bool> TIniDatei::AlsBool(const QString& text)
{
    const auto zahl = AlsInteger(text);
    if (!zahl)
        return std::nullopt;
    return *zahl != 0;
}

std::optional<QDate> TIniDatei::AlsDatum(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QDate();
    const QDate datum = QDate::fromString(t, QStringLiteral("d.M.yyyy"));
    if (!datum.isValid())
        return std::nullopt;
    if (datum == QDate(1899, 12, 30))
        return QDate();
    return datum;
}

std::optional<QDateTime> TIniDatei::AlsDatumZeit(const QString& text)
{
    const QString t = text.trimmed();
    const qsizetype leer = t.indexOf(QLatin1Char(' '));
    const auto datum = AlsDatum(leer < 0 ? t : t.left(leer));
    if (!datum)
        return std::nullopt;
    if (!datum->isValid())
        return QDateTime();
    if (leer < 0)
        return QDateTime(*datum, QTime(0, 0));
    const QString zeitText = t.mid(leer + 1).trimmed();
    QTime zeit = QTime::fromString(zeitText, QStringLiteral("h:m:s"));
    if (!zeit.isValid())
        zeit = QTime::fromString(zeitText, QStringLiteral("h:m"));
    if (!zeit.isValid())
        return std::nullopt;
    return QDateTime(*datum, zeit);
}
