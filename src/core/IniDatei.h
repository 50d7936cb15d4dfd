#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <optional>
#include <vector>

// An INI file with the semantics of the Windows profile functions, so that a file written by an
// older workstation or restored from a backup archive reads the same:
// - section and key names compare case-insensitively (also umlauts: "DFÜ" equals "dfü");
// - the first of two equal sections or keys wins; lines before the first section are ignored;
// - key and value are trimmed, otherwise taken as written (no escapes, no quote stripping);
// - comments, blank lines and unknown lines stay where they are when the file is rewritten.
//
// Encoding: the file is written as UTF-8 (without byte-order mark), because folder names on this
// system may hold any character. Each line is read as UTF-8 when it is valid UTF-8 and as
// ISO-8859-1 (the encoding of the older workstations) otherwise, so that one line an older
// workstation added does not garble the others; the file is rewritten as UTF-8 at its next change.
//
// Every change goes to disk at once, merged into the file's current contents (another program of
// the suite may have changed other keys meanwhile), unless a Stapel gathers several changes into
// one write; reads see changes made by other programs.
//
// A file that exists but cannot be read is never taken for an empty one: reading and changing it
// throw std::runtime_error, and nothing is written over it.
class TIniDatei {
public:
    // Gathers the changes made while it is open into one write of the file; of nested brackets
    // the outermost one writes. A bracket that ends without Abschliessen undoes its changes (in
    // memory; the file is left as it was).
    class Stapel {
    public:
        explicit Stapel(TIniDatei& ini);
        ~Stapel();
        Stapel(const Stapel&) = delete;
        Stapel& operator=(const Stapel&) = delete;
        // Writes the gathered changes (the outermost bracket only). Throws std::runtime_error
        // when the file cannot be written; the bracket's changes are then undone.
        void Abschliessen();

    private:
        TIniDatei& ini_;
        std::size_t anfang_;  // the changes made before the bracket
        bool offen_ = true;
    };

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
    // Writes the file with its current contents (creates it when missing), the changes of open
    // brackets included.
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

    // A change as it is made again on the file's current contents.
    struct Aenderung {
        enum class Art { Setzen, SchluesselLoeschen, SektionLoeschen };
        Art art;
        QString sektion;
        QString schluessel;
        QString wert;
    };

    void Aktualisieren() const;
    void Laden() const;
    void Ablegen() const;
    // Applies the change to the lines; false when it changes nothing.
    bool Anwenden(const Aenderung& aenderung) const;
    // Applies the change to the file's current contents and writes the file unless a Stapel is
    // open. When the write fails, the change is undone and the error goes on.
    void Aendern(const Aenderung& aenderung);
    // Forgets the changes from `anfang` on; the lines are made anew at the next access.
    void Zuruecknehmen(std::size_t anfang);
    // On the file's current contents.
    Fundstelle Suchen(const QString& sektion, const QString& schluessel) const;
    // On the lines as they are.
    Fundstelle Finden(const QString& sektion, const QString& schluessel) const;

    QString dateipfad_;
    mutable QStringList zeilen_;
    mutable bool geladen_ = false;
    mutable QDateTime geladenStand_;
    mutable qint64 geladenGroesse_ = -1;
    // The changes not yet in the file, made again whenever the file is read anew.
    std::vector<Aenderung> ausstehend_;
    int stapelTiefe_ = 0;
};
