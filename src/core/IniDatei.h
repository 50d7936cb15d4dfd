#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// An INI file with the semantics of the Windows profile functions, so that a file written by an
// older workstation or restored from a backup archive reads the same:
// - section and key names compare case-insensitively (also umlauts: "DFÜ" equals "dfü");
// - the first of two equal sections or keys wins; lines before the first section are ignored;
// - key and value are trimmed, otherwise taken as written (no escapes, no quote stripping);
// - comments, blank lines and unknown lines stay where they are when the file is rewritten.
//
// Encoding: the file is written as UTF-8 (without byte-order mark), because folder names on this
// system may hold any character. A file that is not valid UTF-8 is read as ISO-8859-1, the
// encoding of files written on the older workstations; it is rewritten as UTF-8 at its next change.
//
// Every change goes to disk at once, merged into the file's current contents (another program of
// the suite may have changed other keys meanwhile); reads see changes made by other programs.
class TIniDatei {
public:
    explicit TIniDatei(QString dateipfad);

    const QString& Dateipfad() const { return dateipfad_; }

    // The value as written, or nothing when the key is missing.
    std::optional<QString> Lesen(const QString& sektion, const QString& schluessel) const;
    QString LesenString(const QString& sektion, const QString& schluessel,
                        const QString& vorgabe) const;
    bool SektionExistiert(const QString& sektion) const;
    bool WertExistiert(const QString& sektion, const QString& schluessel) const;
    QStringList Sektionen() const;
    QStringList Schluessel(const QString& sektion) const;

    // Sets the value and writes the file. Throws std::runtime_error when the file cannot be
    // written, or when a name or value would break the file's line structure.
    void Schreiben(const QString& sektion, const QString& schluessel, const QString& wert);
    void SchluesselLoeschen(const QString& sektion, const QString& schluessel);
    void SektionLoeschen(const QString& sektion);
    // Writes the file with its current contents (creates it when missing).
    void Speichern();

    // The forms of typed values in the file.
    static QString BoolText(bool wert);
    static QString DatumText(const QDate& datum);
    static QString DatumZeitText(const QDateTime& zeit);
    // Integers in decimal, or hexadecimal with "$" or "0x"; nothing when the text is no integer.
    static std::optional<int> AlsInteger(const QString& text);
    // Any integer but 0 is true.
    static std::optional<bool> AlsBool(const QString& text);
    // "dd.MM.yyyy" (single digits allowed). An empty text and 30.12.1899 (the zero date of the
    // older workstations) are "no date", an invalid QDate.
    static std::optional<QDate> AlsDatum(const QString& text);
    // A date, optionally followed by "hh:mm" or "hh:mm:ss".
    static std::optional<QDateTime> AlsDatumZeit(const QString& text);

private:
    struct Fundstelle {
        int sektionsZeile = -1;  // the line of the section header, -1 when missing
        int endeZeile = -1;      // one past the section's last line
        int schluesselZeile = -1;
    };

    void Aktualisieren() const;
    void Laden() const;
    void Ablegen() const;
    // Writes the file; when that fails, the lines return to `vorher` and the error goes on.
    void AblegenOderZurueck(const QStringList& vorher);
    Fundstelle Suchen(const QString& sektion, const QString& schluessel) const;

    QString dateipfad_;
    mutable QStringList zeilen_;
    mutable QDateTime geladenStand_;
    mutable qint64 geladenGroesse_ = -1;
};
