#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <stdexcept>

// The program-update check without windows: the update server's address, the version file, the
// transfers and the downloaded installer.
namespace ProgUpdate {

// A failed transfer or an unusable answer of the update server; the text is for the user.
class EUpdateFehler : public std::runtime_error {
public:
    explicit EUpdateFehler(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString Text() const { return QString::fromStdString(what()); }
};

// The program's own version in the form of the version file ("3000000") and as the user reads it.
QString GetProgrammVersionUpdate();
QString GetProgrammVersion();

// "3001004" -> "3.1.4". Empty for a text that is not a version (fewer than 7 digits, others).
QString VersionFormatieren(const QString& ziffern);

// The version file: its first line the version digits, an optional second line the SHA-256 of the
// installer as 64 hex digits. Blanks and line ends around the lines do not count.
struct Versionsdatei {
    QString version;
    QByteArray sha256;  // raw 32 bytes; empty when the file names none
};
Versionsdatei VersionsdateiLesen(const QByteArray& inhalt);

// The update server: the deployment's address from the environment variable BOVANTIS_UPDATE_URL,
// else the one built in. Only HTTPS is accepted; plain HTTP only to this machine itself.
struct Adresse {
    QString basis;  // ends with "/"
    QString Versionsdatei() const;
    QString Installer(const QString& programmVersion) const;
};
Adresse UpdateAdresse();
// False when this installation names no update server at all.
bool UpdateServerEingerichtet();

// Progress of a transfer; returns false to cancel it.
using Fortschritt = std::function<bool(qint64 geladen, qint64 gesamt)>;

// GET of a small text (the version file). A cancelled transfer throws.
QByteArray TextLaden(const QString& url, const Fortschritt& fortschritt = {});

// No installer is larger; a larger answer is not one and would only fill the temporary folder.
inline constexpr qint64 MaxInstaller = qint64(512) << 20;
// Left free in the temporary folder beside the installer.
inline constexpr qint64 Freiraum = qint64(64) << 20;

// Removes what killed programs left in the temporary folder: downloaded installers and the
// database update's extracted scripts. Only folders of this user whose process has ended and
// whose files no running process holds; returns the removed folders.
QStringList ResteEntfernen();

// A downloaded installer in a private folder of its own, named after the process
// ("zrnv-<pid>-XXXXXX"); removed with the folder unless kept.
class Installerdatei {
public:
    Installerdatei();  // creates the empty file
    ~Installerdatei();
    Installerdatei(const Installerdatei&) = delete;
    Installerdatei& operator=(const Installerdatei&) = delete;

    const QString& Pfad() const { return pfad_; }
    // GET of url into the file; false when the progress callback cancelled it. An answer larger
    // than hoechstens, or than the free space of the temporary folder allows, is refused before
    // anything is written when the server declares its size, and stopped when it grows beyond.
    bool Laden(const QString& url, const Fortschritt& fortschritt,
               qint64 hoechstens = MaxInstaller);
    // True when the file's SHA-256 is the expected one (never for an empty expectation).
    bool PruefsummeStimmt(const QByteArray& sha256) const;
    // Makes the file executable and keeps it; returns its path.
    QString Behalten();

private:
    QString ordner_;
    QString pfad_;
    int fd_ = -1;
    bool behalten_ = false;
};

}  // namespace ProgUpdate
