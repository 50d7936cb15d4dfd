#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <stdexcept>
#include <vector>

// Every failure of the zip component, preconditions of Add and Extract included: a caller that
// runs without a user (automatic backup, update) must learn of it, never see a box.
class ZipException : public std::runtime_error {
public:
    explicit ZipException(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// One member of the archive's central directory.
struct TFileInfo {
    QString FileName;
    QString Comment;
    std::uint16_t CompressionMethod = 0;
    std::uint32_t Crc = 0;
    std::uint64_t CompressedSize = 0;
    std::uint64_t UncompressedSize = 0;
    bool Encrypted = false;
};

// A zip archive: its directory and comment are read when the name is set; Add and Extract work on
// the files FileList names and empty it afterwards.
class TZip {
public:
    // Add stores each file under its bare file name.
    static constexpr int AddOhnePfad = 2;

    TZip() = default;
    TZip(const TZip&) = delete;
    TZip& operator=(const TZip&) = delete;

    // Opens the archive; a missing file is first created as an empty archive.
    void SetFilename(const QString& fileName);
    const QString& Filename() const { return filename_; }

    int GetCount() const { return int(entries_.size()); }
    const TFileInfo& GetFileInfo(int index) const;
    const QString& GetZipComment() const { return comment_; }
    // Writes the comment into the archive's end record.
    void SetZipComment(const QString& comment);

    // Adds the files (full paths) in FileList, replacing members of the same name; returns the
    // number added. The archive is complete on disk when this returns.
    int Add();
    // Writes the members named in FileList into ExtractDir under their bare names; returns the
    // number written. A member that cannot be read or holds more than its declared size leaves no
    // partial file behind.
    int Extract();

    QStringList FileList;
    QString ExtractDir;
    int AddFlags = AddOhnePfad;

private:
    void VerzeichnisLesen();
    void Vorbedingungen() const;

    QString filename_;
    QString comment_;
    std::vector<TFileInfo> entries_;
};
