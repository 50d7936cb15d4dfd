#include "ProgUpdate.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QUrl>

#include <curl/curl.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <mutex>

#ifndef BOVANTIS_UPDATE_URL
#define BOVANTIS_UPDATE_URL ""
#endif

namespace ProgUpdate {

namespace {

// Far more than any version file; a larger answer is not one.
constexpr qsizetype MaxVersionsdatei = 4096;

struct CurlLoeschen {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
using CurlHandle = std::unique_ptr<CURL, CurlLoeschen>;

CurlHandle NeuerAbruf(const QString& url)
{
    static std::once_flag init;
    std::call_once(init, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    CurlHandle c(curl_easy_init());
    if (!c)
        throw EUpdateFehler(
            QStringLiteral("Die Verbindung zum Update-Server kann nicht "
                           "vorbereitet werden."));
    const QByteArray u = url.toUtf8();
    curl_easy_setopt(c.get(), CURLOPT_URL, u.constData());
    // http only where UpdateAdresse allowed it (this machine); redirects only to https.
    curl_easy_setopt(c.get(), CURLOPT_PROTOCOLS_STR, "https,http");
    curl_easy_setopt(c.get(), CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(c.get(), CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c.get(), CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(c.get(), CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(c.get(), CURLOPT_CONNECTTIMEOUT, 20L);
    // A stalled transfer ends instead of blocking the start for ever.
    curl_easy_setopt(c.get(), CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c.get(), CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(c.get(), CURLOPT_NOSIGNAL, 1L);
    return c;
}

void Ausfuehren(CURL* c, const char* fehlerpuffer, CURLcode ergebnis)
{
    if (ergebnis == CURLE_OK)
        return;
    if (ergebnis == CURLE_HTTP_RETURNED_ERROR) {
        long status = 0;
        curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
        throw EUpdateFehler(
            QStringLiteral("Der Update-Server antwortet mit dem Fehler %1.").arg(status));
    }
    const QString grund = fehlerpuffer[0] ? QString::fromUtf8(fehlerpuffer)
                                          : QString::fromUtf8(curl_easy_strerror(ergebnis));
    throw EUpdateFehler(QStringLiteral("Der Update-Server ist nicht erreichbar:\r%1").arg(grund));
}

size_t InPuffer(char* daten, size_t, size_t anzahl, void* ziel)
{
    auto* puffer = static_cast<QByteArray*>(ziel);
    if (puffer->size() + qsizetype(anzahl) > MaxVersionsdatei)
        return 0;  // ends the transfer with a write error
    puffer->append(daten, qsizetype(anzahl));
    return anzahl;
}

size_t InDatei(char* daten, size_t, size_t anzahl, void* ziel)
{
    const int fd = *static_cast<int*>(ziel);
    size_t geschrieben = 0;
    while (geschrieben < anzahl) {
        const ssize_t n = ::write(fd, daten + geschrieben, anzahl - geschrieben);
        if (n < 0)
            return 0;
        geschrieben += size_t(n);
    }
    return anzahl;
}

int Fortschrittsmeldung(void* ziel, curl_off_t gesamt, curl_off_t geladen, curl_off_t, curl_off_t)
{
    const auto* f = static_cast<const Fortschritt*>(ziel);
    return (*f)(qint64(geladen), qint64(gesamt)) ? 0 : 1;
}

bool IstDieseMaschine(const QString& host)
{
    return host == QLatin1String("localhost") || host == QLatin1String("127.0.0.1") ||
           host == QLatin1String("::1");
}

}  // namespace

QString GetProgrammVersionUpdate()
{
    return QStringLiteral("%1%2%3")
        .arg(BOVANTIS_VERSION_MAJOR)
        .arg(BOVANTIS_VERSION_MINOR, 3, 10, QLatin1Char('0'))
        .arg(BOVANTIS_VERSION_PATCH, 3, 10, QLatin1Char('0'));
}

QString GetProgrammVersion()
{
    return QStringLiteral("%1.%2.%3")
        .arg(BOVANTIS_VERSION_MAJOR)
        .arg(BOVANTIS_VERSION_MINOR)
        .arg(BOVANTIS_VERSION_PATCH);
}

QString VersionFormatieren(const QString& ziffern)
{
    const qsizetype n = ziffern.size();
    if (n < 7)
        return {};
    for (QChar z : ziffern)
        if (z < QLatin1Char('0') || z > QLatin1Char('9'))
            return {};
    return QStringLiteral("%1.%2.%3")
        .arg(ziffern.left(n - 6).toLongLong())
        .arg(ziffern.mid(n - 6, 3).toInt())
        .arg(ziffern.right(3).toInt());
}

Versionsdatei VersionsdateiLesen(const QByteArray& inhalt)
{
    const QString text = QString::fromLatin1(inhalt);
    QStringList zeilen;
    for (const QString& z : text.split(QLatin1Char('\n')))
        if (!z.trimmed().isEmpty())
            zeilen << z.trimmed();
    const QString ungueltig = QStringLiteral("Die Versionsdatei des Update-Servers ist ungültig.");
    if (zeilen.isEmpty() || zeilen.size() > 2 || VersionFormatieren(zeilen[0]).isEmpty())
        throw EUpdateFehler(ungueltig);
    Versionsdatei v;
    v.version = zeilen[0];
    if (zeilen.size() == 2) {
        const QByteArray hex = zeilen[1].toLatin1();
        const QByteArray roh = QByteArray::fromHex(hex);
        if (hex.size() != 64 || roh.size() != 32 || roh.toHex() != hex.toLower())
            throw EUpdateFehler(ungueltig);
        v.sha256 = roh;
    }
    return v;
}

QString Adresse::Versionsdatei() const
{
    return basis + QStringLiteral("support/aktzrnv3.txt");
}

QString Adresse::Installer(const QString& programmVersion) const
{
    return basis + QStringLiteral("cgi-bin/update.pl?version=") +
           QString::fromLatin1(QUrl::toPercentEncoding(programmVersion));
}

namespace {

QString Basis()
{
    const QString basis = qEnvironmentVariable("BOVANTIS_UPDATE_URL");
    return (basis.isEmpty() ? QStringLiteral(BOVANTIS_UPDATE_URL) : basis).trimmed();
}

}  // namespace

bool UpdateServerEingerichtet()
{
    return !Basis().isEmpty();
}

Adresse UpdateAdresse()
{
    QString basis = Basis();
    if (basis.isEmpty())
        throw EUpdateFehler(
            QStringLiteral("Für diese Installation ist kein Update-Server eingerichtet."));
    const QUrl url(basis);
    const bool erlaubt = url.isValid() && !url.host().isEmpty() &&
                         (url.scheme() == QLatin1String("https") ||
                          (url.scheme() == QLatin1String("http") && IstDieseMaschine(url.host())));
    if (!erlaubt)
        throw EUpdateFehler(
            QStringLiteral("Die Adresse des Update-Servers \"%1\" ist keine https-Adresse.")
                .arg(basis));
    if (!basis.endsWith(QLatin1Char('/')))
        basis += QLatin1Char('/');
    return {basis};
}

QByteArray TextLaden(const QString& url)
{
    CurlHandle c = NeuerAbruf(url);
    QByteArray puffer;
    char fehler[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c.get(), CURLOPT_ERRORBUFFER, fehler);
    curl_easy_setopt(c.get(), CURLOPT_WRITEFUNCTION, &InPuffer);
    curl_easy_setopt(c.get(), CURLOPT_WRITEDATA, &puffer);
    const CURLcode ergebnis = curl_easy_perform(c.get());
    if (ergebnis == CURLE_WRITE_ERROR)
        throw EUpdateFehler(QStringLiteral("Die Versionsdatei des Update-Servers ist ungültig."));
    Ausfuehren(c.get(), fehler, ergebnis);
    return puffer;
}

Installerdatei::Installerdatei()
{
    QByteArray ordner = QFile::encodeName(QDir::tempPath() + QStringLiteral("/zrnvXXXXXX"));
    if (!::mkdtemp(ordner.data()))
        throw EUpdateFehler(
            QStringLiteral("Der Ordner für das Update kann nicht angelegt werden."));
    ordner_ = QFile::decodeName(ordner);
    QByteArray datei = ordner + "/zrnvXXXXXX";
    fd_ = ::mkstemp(datei.data());
    if (fd_ < 0) {
        ::rmdir(ordner.constData());
        throw EUpdateFehler(QStringLiteral("Die Datei für das Update kann nicht angelegt werden."));
    }
    pfad_ = QFile::decodeName(datei);
}

Installerdatei::~Installerdatei()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!behalten_) {
        ::unlink(QFile::encodeName(pfad_).constData());
        ::rmdir(QFile::encodeName(ordner_).constData());
    }
}

bool Installerdatei::Laden(const QString& url, const Fortschritt& fortschritt)
{
    if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0)
        throw EUpdateFehler(
            QStringLiteral("Die Datei für das Update kann nicht geschrieben werden."));
    CurlHandle c = NeuerAbruf(url);
    char fehler[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c.get(), CURLOPT_ERRORBUFFER, fehler);
    curl_easy_setopt(c.get(), CURLOPT_WRITEFUNCTION, &InDatei);
    curl_easy_setopt(c.get(), CURLOPT_WRITEDATA, &fd_);
    curl_easy_setopt(c.get(), CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c.get(), CURLOPT_XFERINFOFUNCTION, &Fortschrittsmeldung);
    curl_easy_setopt(c.get(), CURLOPT_XFERINFODATA, &fortschritt);
    const CURLcode ergebnis = curl_easy_perform(c.get());
    if (ergebnis == CURLE_ABORTED_BY_CALLBACK)
        return false;
    if (ergebnis == CURLE_WRITE_ERROR)
        throw EUpdateFehler(
            QStringLiteral("Die Datei für das Update kann nicht geschrieben werden."));
    Ausfuehren(c.get(), fehler, ergebnis);
    if (::fsync(fd_) != 0)
        throw EUpdateFehler(
            QStringLiteral("Die Datei für das Update kann nicht geschrieben werden."));
    return true;
}

bool Installerdatei::PruefsummeStimmt(const QByteArray& sha256) const
{
    if (sha256.size() != 32)
        return false;
    QFile f(pfad_);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QCryptographicHash h(QCryptographicHash::Sha256);
    if (!h.addData(&f))
        return false;
    return h.result() == sha256;
}

QString Installerdatei::Behalten()
{
    if (::fchmod(fd_, S_IRWXU) != 0)
        throw EUpdateFehler(
            QStringLiteral("Die Datei für das Update kann nicht ausführbar "
                           "gemacht werden."));
    ::close(fd_);
    fd_ = -1;
    behalten_ = true;
    return pfad_;
}

}  // namespace ProgUpdate
