#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

// Every failure of the zip component, preconditions of Add and Extract included: a caller that
// runs without a user (automatic backup, update, import) must learn of it, never see a box.
class ZipException : public std::runtime_error {
public:
    explicit ZipException(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// The end-of-central-directory record as stored (22 bytes, little-endian), its comment and its
// position in the file (-1 when none was read).
struct TEOCHInfo {
    std::uint32_t Signature = 0;
    std::uint16_t ThisDisk = 0;
    std::uint16_t CentralDirDisk = 0;
    std::uint16_t EntriesThisDisk = 0;
    std::uint16_t TotalEntries = 0;
    std::uint32_t CentralDirSize = 0;
    std::uint32_t CentralDirOffset = 0;
    std::uint16_t CommentLength = 0;
    QString Comment;
    qint64 Position = -1;
};

// One member of the archive's central directory. Header holds its 46-byte central file header as
// stored; the fields beside it are decoded from it (sizes and offset widened by a zip64 extra).
struct TFileInfo {
    QByteArray Header;
    std::uint16_t VersionMadeBy = 0;
    std::uint16_t Flags = 0;
    std::uint16_t CompressionMethod = 0;
    std::uint16_t ModTime = 0;
    std::uint16_t ModDate = 0;
    std::uint32_t Crc = 0;
    std::uint64_t CompressedSize = 0;
    std::uint64_t UncompressedSize = 0;
    std::uint32_t ExternalAttributes = 0;
    std::uint64_t LocalHeaderOffset = 0;
    bool Encrypted = false;
    // The name with every "/" turned into "\", decoded from the OEM code page (CP850) when the
    // archive was written on a DOS or Windows host.
    QString FileName;
    QByteArray Extra;
    QString Comment;

    // A symbolic link stored by a Unix host.
    bool IsLink() const;
    bool IsFolder() const { return FileName.endsWith(QLatin1Char('\\')); }
};

// A zip archive: its directory and comment are read when the name is set; Add and Extract work on
// the files FileList names and empty it afterwards. Progress and questions go to the callbacks;
// the component never shows a window, so headless callers run it too.
class TZip {
public:
    // Add stores each file under its bare file name.
    static constexpr int AddOhnePfad = 2;

    // Answers to a question of Extract; Abbrechen stops the whole run.
    enum class Antwort { Ja, Nein, Abbrechen };

    TZip() = default;
    TZip(const TZip&) = delete;
    TZip& operator=(const TZip&) = delete;

    // Opens the archive; a missing file is first created as an empty archive of 22 bytes.
    void SetFilename(const QString& fileName);
    const QString& Filename() const { return filename_; }

    int GetCount() const { return int(entries_.size()); }
    const TFileInfo& GetFileInfo(int index) const;
    const TEOCHInfo& EndRecord() const { return eoch_; }
    // Offset of the first member's data: larger than 0 when code (a self-extractor) precedes it.
    qint64 DataStart() const { return dataStart_; }
    // Member names are in the OEM code page (written on a DOS or Windows host).
    bool Oem() const { return oem_; }
    const QString& GetZipComment() const { return eoch_.Comment; }
    // Writes the comment into the archive's end record.
    void SetZipComment(const QString& comment);

    // Adds the files in FileList (relative names count from AddDir), replacing members of the
    // same name, and clears AddDir; returns the number added. Without AddOhnePfad a member is
    // named by its path below AddDir. The archive is complete on disk when this returns.
    int Add();
    // Writes the members named in FileList into ExtractDir under the file-name part of their
    // names, always replacing a file there; returns the number written. Nothing is written outside
    // ExtractDir, through a link there, beyond a member's declared size or the free room; a member
    // that fails leaves no partial file behind.
    int Extract();
    // Stops a running Add or Extract at the next callback.
    void Cancel() { cancelled_ = true; }

    QStringList FileList;
    QString ExtractDir;
    QString AddDir;
    int AddFlags = AddOhnePfad;

    // A member begins (name, its size, files in the run, bytes in the run).
    std::function<void(const QString&, qint64, int, qint64)> OnZEDBeginFileEvent;
    // Bytes done so far (name, bytes done, bytes in the run).
    std::function<void(const QString&, qint64, qint64)> OnZEDProgressEvent;
    // The run ended (files done, files in the run, bytes in the run).
    std::function<void(int, int, qint64)> OnZEDEndBatchEvent;
    // A member's data do not match its checksum: keep it anyway (Ja), drop it (Nein) or stop.
    // Without an answer the run fails with ZipException.
    std::function<Antwort(const QString& frage)> OnFrage;

private:
    void VerzeichnisLesen();
    void Vorbedingungen() const;
    int Mitglied(const QString& name) const;
    bool MitgliedSchreiben(void* archiv, int index, const QString& ziel, qint64& erledigt,
                           qint64 gesamt);

    QString filename_;
    TEOCHInfo eoch_;
    qint64 dataStart_ = 0;
    bool oem_ = false;
    bool cancelled_ = false;
    std::vector<TFileInfo> entries_;
};
