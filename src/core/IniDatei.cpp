#include "IniDatei.h"

#include <ZRDateTools.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <cerrno>
#include <cstring>
#include <limits>
#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

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

// The system's text for an error number, in the language of the user's locale.
QString systemFehler(int nummer)
{
    char puffer[256];
    return QString::fromLocal8Bit(strerror_r(nummer, puffer, sizeof puffer));
}

[[noreturn]] void lesefehler(const QString& pfad, int nummer)
{
    throw std::runtime_error(
        QStringLiteral("Die Einstellungsdatei %1 kann nicht gelesen werden: %2\r"
                       "Sie wird nicht verändert. Bitte lassen Sie ihre Zugriffsrechte prüfen.")
            .arg(QDir::toNativeSeparators(pfad), systemFehler(nummer))
            .toStdString());
}

[[noreturn]] void schreibfehler(const QString& pfad, int nummer)
{
    throw std::runtime_error(
        QStringLiteral("Die Einstellungsdatei %1 kann nicht geschrieben werden: %2")
            .arg(QDir::toNativeSeparators(pfad), systemFehler(nummer))
            .toStdString());
}

class Deskriptor {
public:
    explicit Deskriptor(int fd) : fd_(fd) {}
    ~Deskriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Deskriptor(const Deskriptor&) = delete;
    Deskriptor& operator=(const Deskriptor&) = delete;
    int fd() const { return fd_; }
    // The result of close(2), whose failure may be the first sign of a full disk.
    int Schliessen()
    {
        const int ergebnis = ::close(fd_);
        fd_ = -1;
        return ergebnis;
    }

private:
    int fd_;
};

// The whole file; empty when there is none. A file that is there but cannot be read throws.
QByteArray dateiLesen(const QString& pfad)
{
    const Deskriptor datei(::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_CLOEXEC));
    if (datei.fd() < 0) {
        // Also a path through a file that is no folder: there is no such file.
        if (errno == ENOENT || errno == ENOTDIR)
            return QByteArray();
        lesefehler(pfad, errno);
    }
    QByteArray inhalt;
    char puffer[65536];
    for (;;) {
        const ssize_t n = ::read(datei.fd(), puffer, sizeof puffer);
        if (n == 0)
            return inhalt;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            lesefehler(pfad, errno);
        }
        inhalt.append(puffer, n);
    }
}

// Replaces the file by one with the given contents: written beside it under a temporary name
// and renamed when complete, so that a failure leaves the old file as it was. Errors name the
// system's reason (a full disk, missing rights) with the path the user knows, `anzeigePfad`.
void dateiErsetzen(const QString& pfad, const QByteArray& inhalt, const QString& anzeigePfad)
{
    QByteArray temporaer = QFile::encodeName(pfad) + ".XXXXXX";
    // mkstemp makes the file readable by its owner only: it holds the server administrator's
    // password.
    Deskriptor datei(::mkstemp(temporaer.data()));
    if (datei.fd() < 0)
        schreibfehler(anzeigePfad, errno);
    bool umbenannt = false;
    const auto aufraeumen = qScopeGuard([&] {
        if (!umbenannt)
            ::unlink(temporaer.constData());
    });
    for (qsizetype geschrieben = 0; geschrieben < inhalt.size();) {
        const ssize_t n =
            ::write(datei.fd(), inhalt.constData() + geschrieben, inhalt.size() - geschrieben);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            schreibfehler(anzeigePfad, errno);
        }
        geschrieben += n;
    }
    if (::fsync(datei.fd()) != 0 || datei.Schliessen() != 0)
        schreibfehler(anzeigePfad, errno);
    if (::rename(temporaer.constData(), QFile::encodeName(pfad).constData()) != 0)
        schreibfehler(anzeigePfad, errno);
    umbenannt = true;
}

// Each line by itself: UTF-8 when it is valid UTF-8, otherwise ISO-8859-1.
QStringList zeilenAus(QByteArray roh)
{
    if (roh.startsWith("\xEF\xBB\xBF"))
        roh.remove(0, 3);
    roh.replace("\r\n", "\n");
    roh.replace('\r', '\n');
    QStringList zeilen;
    for (qsizetype anfang = 0; anfang < roh.size();) {
        qsizetype ende = roh.indexOf('\n', anfang);
        if (ende < 0)
            ende = roh.size();
        const QByteArrayView zeile(roh.constData() + anfang, ende - anfang);
        zeilen << (zeile.isValidUtf8() ? QString::fromUtf8(zeile) : QString::fromLatin1(zeile));
        anfang = ende + 1;
    }
    return zeilen;
}

}  // namespace

TIniDatei::TIniDatei(QString dateipfad) : dateipfad_(std::move(dateipfad)) {}

void TIniDatei::Aktualisieren() const
{
    const QFileInfo info(dateipfad_);
    const qint64 groesse = info.exists() ? info.size() : -1;
    const QDateTime stand = info.exists() ? info.lastModified() : QDateTime();
    if (!geladen_ || groesse != geladenGroesse_ || stand != geladenStand_)
        Laden();
}

void TIniDatei::Laden() const
{
    // Taken before reading: a change made meanwhile makes the next access read again.
    const QFileInfo info(dateipfad_);
    const qint64 groesse = info.exists() ? info.size() : -1;
    const QDateTime stand = info.exists() ? info.lastModified() : QDateTime();
    QStringList zeilen = zeilenAus(dateiLesen(dateipfad_));
    zeilen_ = std::move(zeilen);
    geladenGroesse_ = groesse;
    geladenStand_ = stand;
    geladen_ = true;
    for (const Aenderung& a : ausstehend_)
        Anwenden(a);
}

void TIniDatei::Ablegen() const
{
    QByteArray inhalt;
    for (const QString& zeile : zeilen_)
        inhalt += zeile.toUtf8() + '\n';
    // A link stays a link: its target is written.
    const QFileInfo info(dateipfad_);
    const QString ziel = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
    QDir().mkpath(QFileInfo(ziel).absolutePath());
    dateiErsetzen(ziel, inhalt, dateipfad_);
    const QFileInfo neu(dateipfad_);
    geladenGroesse_ = neu.size();
    geladenStand_ = neu.lastModified();
}

bool TIniDatei::Anwenden(const Aenderung& a) const
{
    const Fundstelle f = Finden(a.sektion, a.schluessel);
    switch (a.art) {
        case Aenderung::Art::SchluesselLoeschen:
            if (f.schluesselZeile < 0)
                return false;
            zeilen_.removeAt(f.schluesselZeile);
            return true;
        case Aenderung::Art::SektionLoeschen:
            if (f.sektionsZeile < 0)
                return false;
            zeilen_.remove(f.sektionsZeile, f.endeZeile - f.sektionsZeile);
            return true;
        case Aenderung::Art::Setzen:
            break;
    }
    const QString neu = a.schluessel + QLatin1Char('=') + a.wert;
    if (f.schluesselZeile >= 0) {
        // The key keeps the spelling it has in the file.
        const QString zeile =
            eintrag(zeilen_[f.schluesselZeile])->schluessel + QLatin1Char('=') + a.wert;
        if (zeilen_[f.schluesselZeile] == zeile)
            return false;
        zeilen_[f.schluesselZeile] = zeile;
    } else if (f.sektionsZeile >= 0) {
        // After the section's last entry, before the blank lines that separate it from the next.
        int nach = f.endeZeile;
        while (nach - 1 > f.sektionsZeile && zeilen_[nach - 1].trimmed().isEmpty())
            --nach;
        zeilen_.insert(nach, neu);
    } else {
        if (!zeilen_.isEmpty() && !zeilen_.last().trimmed().isEmpty())
            zeilen_ << QString();
        zeilen_ << QLatin1Char('[') + a.sektion + QLatin1Char(']') << neu;
    }
    return true;
}

void TIniDatei::Zuruecknehmen(std::size_t anfang)
{
    if (anfang < ausstehend_.size())
        ausstehend_.resize(anfang);
    zeilen_.clear();
    geladen_ = false;
}

TIniDatei::Stapel::Stapel(TIniDatei& ini) : ini_(ini), anfang_(ini.ausstehend_.size())
{
    ++ini_.stapelTiefe_;
}

TIniDatei::Stapel::~Stapel()
{
    if (!offen_)
        return;
    --ini_.stapelTiefe_;
    ini_.Zuruecknehmen(anfang_);
}

void TIniDatei::Stapel::Abschliessen()
{
    if (!offen_)
        return;
    offen_ = false;
    --ini_.stapelTiefe_;
    if (ini_.stapelTiefe_ > 0 || ini_.ausstehend_.empty())
        return;
    try {
        ini_.Aktualisieren();
        ini_.Ablegen();
    } catch (...) {
        ini_.Zuruecknehmen(anfang_);
        throw;
    }
    ini_.ausstehend_.clear();
}

TIniDatei::Fundstelle TIniDatei::Suchen(const QString& sektion, const QString& schluessel) const
{
    Aktualisieren();
    return Finden(sektion, schluessel);
}

TIniDatei::Fundstelle TIniDatei::Finden(const QString& sektion, const QString& schluessel) const
{
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
    Aendern({Aenderung::Art::Setzen, sektion, schluessel, wert});
}

void TIniDatei::SchluesselLoeschen(const QString& sektion, const QString& schluessel)
{
    Aendern({Aenderung::Art::SchluesselLoeschen, sektion, schluessel, QString()});
}

void TIniDatei::SektionLoeschen(const QString& sektion)
{
    Aendern({Aenderung::Art::SektionLoeschen, sektion, QString(), QString()});
}

void TIniDatei::Aendern(const Aenderung& aenderung)
{
    Aktualisieren();
    const QStringList vorher = zeilen_;
    if (!Anwenden(aenderung))
        return;
    ausstehend_.push_back(aenderung);
    if (stapelTiefe_ > 0)
        return;
    // A change that did not reach the file must not show in later reads either.
    try {
        Ablegen();
    } catch (...) {
        ausstehend_.clear();
        zeilen_ = vorher;
        throw;
    }
    ausstehend_.clear();
}

void TIniDatei::Speichern()
{
    Aktualisieren();
    Ablegen();
    if (stapelTiefe_ == 0)
        ausstehend_.clear();
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
