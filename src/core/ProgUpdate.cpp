#include "ProgUpdate.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QUrl>

#include <ZRDebug.h>

#include <curl/curl.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

// What failed, in the user's words; the transfer library's own text goes to the trace.
QString Grund(CURLcode ergebnis)
{
    switch (ergebnis) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return QStringLiteral(
                "Sein Name kann nicht aufgelöst werden. Besteht eine "
                "Internet-Verbindung?");
        case CURLE_COULDNT_CONNECT:
            return QStringLiteral("Er nimmt keine Verbindung an.");
        case CURLE_OPERATION_TIMEDOUT:
            return QStringLiteral("Er antwortet nicht oder zu langsam.");
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_CACERT_BADFILE:
            return QStringLiteral(
                "Die sichere Verbindung kann nicht hergestellt werden; sein "
                "Zertifikat wird nicht anerkannt.");
        case CURLE_GOT_NOTHING:
        case CURLE_PARTIAL_FILE:
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
            return QStringLiteral("Die Verbindung ist während der Übertragung abgebrochen.");
        case CURLE_TOO_MANY_REDIRECTS:
            return QStringLiteral("Er leitet zu oft weiter.");
        case CURLE_UNSUPPORTED_PROTOCOL:
            return QStringLiteral("Er leitet auf eine unsichere Adresse weiter.");
        default:
            return QStringLiteral("Die Übertragung ist fehlgeschlagen (Fehler %1).")
                .arg(int(ergebnis));
    }
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
    ZRDebug::DebugMsg(QStringLiteral("Update-Server: ") +
                      (fehlerpuffer[0] ? QString::fromUtf8(fehlerpuffer)
                                       : QString::fromUtf8(curl_easy_strerror(ergebnis))));
    throw EUpdateFehler(
        QStringLiteral("Der Update-Server ist nicht erreichbar:\r%1").arg(Grund(ergebnis)));
}

size_t InPuffer(char* daten, size_t, size_t anzahl, void* ziel)
{
    auto* puffer = static_cast<QByteArray*>(ziel);
    if (puffer->size() + qsizetype(anzahl) > MaxVersionsdatei)
        return 0;  // ends the transfer with a write error
    puffer->append(daten, qsizetype(anzahl));
    return anzahl;
}

// The download into the installer's file, and why it stopped when it did.
struct Ziel {
    CURL* curl;
    int fd;
    QString ordner;
    qint64 hoechstens;
    qint64 geschrieben = 0;
    QString fehler;
};

QString MB(qint64 bytes)
{
    return QString::number((bytes + (1 << 20) - 1) >> 20);
}

size_t InDatei(char* daten, size_t, size_t anzahl, void* zeiger)
{
    auto& ziel = *static_cast<Ziel*>(zeiger);
    if (ziel.geschrieben == 0) {
        // The headers are in: the size the server declares is checked before anything is
        // written.
        curl_off_t angekuendigt = -1;
        curl_easy_getinfo(ziel.curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &angekuendigt);
        if (angekuendigt > ziel.hoechstens) {
            ziel.fehler = QStringLiteral(
                              "Das Update ist mit %1 MB größer als jedes Update von ZR "
                              "Bovantis (höchstens %2 MB); es wird nicht geladen.")
                              .arg(MB(angekuendigt), MB(ziel.hoechstens));
            return 0;
        }
        const qint64 frei = QStorageInfo(ziel.ordner).bytesAvailable();
        if (angekuendigt > 0 && frei >= 0 && angekuendigt + Freiraum > frei) {
            ziel.fehler = QStringLiteral(
                              "Im temporären Ordner\r%1\rist nicht genug Platz für das "
                              "Update: es braucht %2 MB, frei sind %3 MB.")
                              .arg(QDir::toNativeSeparators(QFileInfo(ziel.ordner).path()),
                                   MB(angekuendigt + Freiraum), MB(frei));
            return 0;
        }
    }
    if (ziel.geschrieben + qint64(anzahl) > ziel.hoechstens) {
        ziel.fehler = QStringLiteral(
                          "Das Update wird größer als jedes Update von ZR Bovantis "
                          "(höchstens %1 MB); der Download wurde abgebrochen.")
                          .arg(MB(ziel.hoechstens));
        return 0;
    }
    size_t geschrieben = 0;
    while (geschrieben < anzahl) {
        const ssize_t n = ::write(ziel.fd, daten + geschrieben, anzahl - geschrieben);
        if (n < 0) {
            ziel.fehler =
                errno == ENOSPC || errno == EDQUOT
                    ? QStringLiteral(
                          "Der temporäre Ordner\r%1\rist voll; das Update passt "
                          "nicht hinein.")
                          .arg(QDir::toNativeSeparators(QFileInfo(ziel.ordner).path()))
                    : QStringLiteral("Die Datei für das Update kann nicht geschrieben werden.");
            return 0;
        }
        geschrieben += size_t(n);
    }
    ziel.geschrieben += qint64(anzahl);
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

QByteArray TextLaden(const QString& url, const Fortschritt& fortschritt)
{
    CurlHandle c = NeuerAbruf(url);
    QByteArray puffer;
    char fehler[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c.get(), CURLOPT_ERRORBUFFER, fehler);
    curl_easy_setopt(c.get(), CURLOPT_WRITEFUNCTION, &InPuffer);
    curl_easy_setopt(c.get(), CURLOPT_WRITEDATA, &puffer);
    if (fortschritt) {
        curl_easy_setopt(c.get(), CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(c.get(), CURLOPT_XFERINFOFUNCTION, &Fortschrittsmeldung);
        curl_easy_setopt(c.get(), CURLOPT_XFERINFODATA, &fortschritt);
    }
    const CURLcode ergebnis = curl_easy_perform(c.get());
    if (ergebnis == CURLE_ABORTED_BY_CALLBACK)
        throw EUpdateFehler(QStringLiteral("Die Prüfung auf ein Update wurde abgebrochen."));
    if (ergebnis == CURLE_WRITE_ERROR)
        throw EUpdateFehler(QStringLiteral("Die Versionsdatei des Update-Servers ist ungültig."));
    Ausfuehren(c.get(), fehler, ergebnis);
    return puffer;
}

Installerdatei::Installerdatei()
{
    QByteArray ordner =
        QFile::encodeName(QDir::tempPath() + QStringLiteral("/zrnv-%1-XXXXXX").arg(::getpid()));
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

bool Installerdatei::Laden(const QString& url, const Fortschritt& fortschritt, qint64 hoechstens)
{
    if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0)
        throw EUpdateFehler(
            QStringLiteral("Die Datei für das Update kann nicht geschrieben werden."));
    CurlHandle c = NeuerAbruf(url);
    char fehler[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c.get(), CURLOPT_ERRORBUFFER, fehler);
    Ziel ziel{c.get(), fd_, ordner_, hoechstens, 0, {}};
    curl_easy_setopt(c.get(), CURLOPT_WRITEFUNCTION, &InDatei);
    curl_easy_setopt(c.get(), CURLOPT_WRITEDATA, &ziel);
    if (fortschritt) {
        curl_easy_setopt(c.get(), CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(c.get(), CURLOPT_XFERINFOFUNCTION, &Fortschrittsmeldung);
        curl_easy_setopt(c.get(), CURLOPT_XFERINFODATA, &fortschritt);
    }
    const CURLcode ergebnis = curl_easy_perform(c.get());
    if (ergebnis == CURLE_ABORTED_BY_CALLBACK)
        return false;
    if (ergebnis == CURLE_WRITE_ERROR) {
        // Nothing of a refused or stopped download stays on the disk.
        [[maybe_unused]] const int leer = ::ftruncate(fd_, 0);
        throw EUpdateFehler(ziel.fehler.isEmpty()
                                ? QStringLiteral("Die Datei für das Update kann nicht "
                                                 "geschrieben werden.")
                                : ziel.fehler);
    }
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

namespace ProgUpdate {

namespace {

bool ProzessLebt(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

// A running process that works in the folder, runs a file of it or has one open (an installer
// that was started at the end and runs still).
bool InBenutzung(const QString& ordner)
{
    const QString selbst = QFileInfo(ordner).canonicalFilePath();
    const QString innen = selbst + QLatin1Char('/');
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!pid.front().isDigit())
            continue;
        QStringList verweise{proc.filePath(pid + QStringLiteral("/exe")),
                             proc.filePath(pid + QStringLiteral("/cwd"))};
        const QDir fds(proc.filePath(pid + QStringLiteral("/fd")));
        for (const QString& fd :
             fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            verweise << fds.filePath(fd);
        for (const QString& verweis : verweise)
            if (const QString ziel = QFile::symLinkTarget(verweis);
                ziel == selbst || ziel.startsWith(innen))
                return true;
    }
    return false;
}

}  // namespace

QStringList ResteEntfernen()
{
    // The installer's folders and those of the database update, named after their process.
    static const QRegularExpression muster(
        QStringLiteral("^(zrnv|bovantis-update)-(\\d+)-[A-Za-z0-9]{6}$"));
    QStringList entfernt;
    const QDir tmp(QDir::tempPath());
    for (const QFileInfo& info : tmp.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch treffer = muster.match(info.fileName());
        if (!treffer.hasMatch() || info.isSymLink() || info.ownerId() != ::getuid())
            continue;
        const pid_t pid = pid_t(treffer.captured(2).toLongLong());
        if (pid <= 0 || pid == ::getpid() || ProzessLebt(pid) ||
            InBenutzung(info.absoluteFilePath()))
            continue;
        if (QDir(info.absoluteFilePath()).removeRecursively()) {
            ZRDebug::DebugMsg(QStringLiteral("Rest eines beendeten Updates entfernt: ") +
                              info.absoluteFilePath());
            entfernt << info.absoluteFilePath();
        }
    }
    return entfernt;
}

}  // namespace ProgUpdate
