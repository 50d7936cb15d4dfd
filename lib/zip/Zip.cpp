#include "Zip.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <QStringDecoder>

#include <zip.h>

#include <algorithm>
#include <memory>

namespace {

constexpr std::uint32_t EndSignatur = 0x06054B50;
constexpr std::uint32_t ZentralSignatur = 0x02014B50;
constexpr std::uint32_t Zip64EndSignatur = 0x06064B50;
constexpr std::uint32_t Zip64LocatorSignatur = 0x07064B50;
constexpr qint64 Suchfenster = 65535;
constexpr std::uint32_t Voll32 = 0xFFFFFFFFu;

// The OEM code page of German Windows; its letters of the German alphabet are those of CP437.
constexpr char16_t Cp850[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557,
    0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB,
    0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9,
    0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

std::uint16_t U16(const char* p)
{
    return std::uint16_t(std::uint8_t(p[0]) | std::uint8_t(p[1]) << 8);
}

std::uint32_t U32(const char* p)
{
    return std::uint32_t(U16(p)) | std::uint32_t(U16(p + 2)) << 16;
}

std::uint64_t U64(const char* p)
{
    return std::uint64_t(U32(p)) | std::uint64_t(U32(p + 4)) << 32;
}

QString AusOem(const QByteArray& b)
{
    QString s;
    s.reserve(b.size());
    for (char c : b)
        s += std::uint8_t(c) < 0x80 ? QChar::fromLatin1(c) : QChar(Cp850[std::uint8_t(c) - 0x80]);
    return s;
}

// Text of a non-OEM archive: UTF-8 when it is valid UTF-8, else the ANSI code page.
QString AusText(const QByteArray& b)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString s = utf8(b);
    return utf8.hasError() ? QString::fromLatin1(b) : s;
}

QString UngueltigText(const QString& name)
{
    return QStringLiteral("\"%1\"\nis not a valid Zip file.").arg(name);
}

struct ArchivSchliessen {
    void operator()(zip_t* za) const { zip_discard(za); }
};
using Archiv = std::unique_ptr<zip_t, ArchivSchliessen>;

struct DateiSchliessen {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

QString Fehlertext(zip_error_t* fehler)
{
    return QString::fromUtf8(zip_error_strerror(fehler));
}

Archiv Oeffnen(const QString& name, int flags)
{
    int code = 0;
    zip_t* za = zip_open(QFile::encodeName(name).constData(), flags, &code);
    if (!za) {
        zip_error_t fehler;
        zip_error_init_with_code(&fehler, code);
        const QString text = Fehlertext(&fehler);
        zip_error_fini(&fehler);
        if (code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS)
            throw ZipException(UngueltigText(name));
        throw ZipException(QStringLiteral("Unable to open \"%1\": %2").arg(name, text));
    }
    return Archiv(za);
}

// zip_close writes the archive and frees it; on failure the handle stays ours to discard.
void Schliessen(Archiv& za, const QString& name)
{
    if (zip_close(za.get()) != 0)
        throw ZipException(QStringLiteral("Unable to write \"%1\": %2")
                               .arg(name, Fehlertext(zip_get_error(za.get()))));
    za.release();
}

// The file-name part of a member's name; empty when it names no file.
QString Dateiname(const QString& mitglied)
{
    const QString name = mitglied.mid(mitglied.lastIndexOf(QLatin1Char('\\')) + 1);
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    return name;
}

// Widens the sizes and the offset that the central header marks as stored in a zip64 extra.
bool Zip64Lesen(TFileInfo& fi)
{
    const bool gross = fi.UncompressedSize == Voll32;
    const bool komprimiert = fi.CompressedSize == Voll32;
    const bool versatz = fi.LocalHeaderOffset == Voll32;
    if (!gross && !komprimiert && !versatz)
        return true;
    const QByteArray& e = fi.Extra;
    for (qsizetype i = 0; i + 4 <= e.size();) {
        const std::uint16_t id = U16(e.constData() + i);
        const std::uint16_t laenge = U16(e.constData() + i + 2);
        if (i + 4 + laenge > e.size())
            return false;
        if (id == 1) {
            const char* p = e.constData() + i + 4;
            const char* ende = p + laenge;
            for (auto [noetig, feld] : {std::pair{gross, &fi.UncompressedSize},
                                        std::pair{komprimiert, &fi.CompressedSize},
                                        std::pair{versatz, &fi.LocalHeaderOffset}}) {
                if (!noetig)
                    continue;
                if (p + 8 > ende)
                    return false;
                *feld = U64(p);
                p += 8;
            }
            return true;
        }
        i += 4 + laenge;
    }
    return false;
}

}  // namespace

bool TFileInfo::IsLink() const
{
    constexpr std::uint32_t Typmaske = 0170000;
    constexpr std::uint32_t Link = 0120000;
    return (VersionMadeBy >> 8) == 3 && ((ExternalAttributes >> 16) & Typmaske) == Link;
}

void TZip::SetFilename(const QString& fileName)
{
    filename_ = fileName;
    entries_.clear();
    eoch_ = TEOCHInfo();
    dataStart_ = 0;
    oem_ = false;
    if (fileName.isEmpty())
        return;
    const QFileInfo info(fileName);
    if (!info.dir().exists())
        throw ZipException(QStringLiteral("Unable to access the selected drive!"));
    if (!info.exists()) {
        // The empty archive: nothing but the end record.
        QByteArray leer(22, '\0');
        leer[0] = 'P';
        leer[1] = 'K';
        leer[2] = 5;
        leer[3] = 6;
        QFile datei(fileName);
        if (!datei.open(QIODevice::WriteOnly | QIODevice::NewOnly) || datei.write(leer) != 22 ||
            !datei.flush())
            throw ZipException(QStringLiteral("Unable to create \n\"%1\"").arg(fileName));
    }
    VerzeichnisLesen();
}

void TZip::VerzeichnisLesen()
{
    entries_.clear();
    eoch_ = TEOCHInfo();
    dataStart_ = 0;
    QFile f(filename_);
    if (!f.open(QIODevice::ReadOnly))
        throw ZipException(
            QStringLiteral("Unable to open \"%1\": %2").arg(filename_, f.errorString()));
    const qint64 groesse = f.size();
    qint64 pos = -1;
    if (groesse >= 22) {
        f.seek(groesse - 22);
        if (const QByteArray b = f.read(22); b.size() == 22 && U32(b.constData()) == EndSignatur)
            pos = groesse - 22;
        else {
            const qint64 n = std::min(groesse, Suchfenster);
            f.seek(groesse - n);
            const QByteArray block = f.read(n);
            for (qint64 i = block.size() - 22; i >= 0 && pos < 0; --i)
                if (U32(block.constData() + i) == EndSignatur)
                    pos = groesse - n + i;
        }
    }
    if (pos < 0)
        throw ZipException(UngueltigText(filename_));
    f.seek(pos);
    const QByteArray e = f.read(22);
    eoch_.Position = pos;
    eoch_.Signature = U32(e.constData());
    eoch_.ThisDisk = U16(e.constData() + 4);
    eoch_.CentralDirDisk = U16(e.constData() + 6);
    eoch_.EntriesThisDisk = U16(e.constData() + 8);
    eoch_.TotalEntries = U16(e.constData() + 10);
    eoch_.CentralDirSize = U32(e.constData() + 12);
    eoch_.CentralDirOffset = U32(e.constData() + 16);
    eoch_.CommentLength = U16(e.constData() + 20);
    if (eoch_.ThisDisk > 1000 || eoch_.CentralDirDisk > 1000 ||
        (eoch_.CentralDirSize > 1024000 && eoch_.CentralDirSize != Voll32))
        throw ZipException(UngueltigText(filename_));
    if (eoch_.ThisDisk != 0 || eoch_.CentralDirDisk != 0)
        throw ZipException(
            QStringLiteral("Cannot Add, Delete or Extract from a multiple disk Zip file...\n"
                           "Merge this Zip file onto the hard disk before retrying."));
    if (const QByteArray k = f.read(eoch_.CommentLength); k.size() == eoch_.CommentLength)
        eoch_.Comment = AusText(k);

    // A zip64 archive keeps its true counts in a record in front of the end record.
    qint64 verzeichnisEnde = pos;
    std::uint64_t anzahl = eoch_.TotalEntries;
    std::uint64_t verzeichnisGroesse = eoch_.CentralDirSize;
    std::uint64_t verzeichnisVersatz = eoch_.CentralDirOffset;
    if (pos >= 20 + 56) {
        f.seek(pos - 20);
        const QByteArray l = f.read(20);
        if (l.size() == 20 && U32(l.constData()) == Zip64LocatorSignatur) {
            f.seek(pos - 20 - 56);
            const QByteArray z = f.read(56);
            if (z.size() != 56 || U32(z.constData()) != Zip64EndSignatur)
                throw ZipException(UngueltigText(filename_));
            anzahl = U64(z.constData() + 32);
            verzeichnisGroesse = U64(z.constData() + 40);
            verzeichnisVersatz = U64(z.constData() + 48);
            verzeichnisEnde = pos - 20 - 56;
            if (verzeichnisGroesse > 1024000)
                throw ZipException(UngueltigText(filename_));
        }
    }
    if (anzahl == 0)
        return;

    const auto fehler = [this] {
        entries_.clear();
        return ZipException(QStringLiteral("Error reading 'CentralFileHeader'!"));
    };
    const qint64 verzeichnisStart = verzeichnisEnde - qint64(verzeichnisGroesse);
    if (verzeichnisStart < 0 || anzahl * 46 > verzeichnisGroesse)
        throw fehler();
    f.seek(verzeichnisStart);
    const QByteArray v = f.read(qint64(verzeichnisGroesse));
    if (v.size() != qsizetype(verzeichnisGroesse))
        throw fehler();
    qint64 datenStart = groesse;
    qsizetype p = 0;
    for (std::uint64_t i = 0; i < anzahl; ++i) {
        if (p + 46 > v.size())
            throw fehler();
        const char* h = v.constData() + p;
        if (U32(h) != ZentralSignatur)
            throw fehler();
        TFileInfo fi;
        fi.Header = QByteArray(h, 46);
        fi.VersionMadeBy = U16(h + 4);
        fi.Flags = U16(h + 8);
        fi.CompressionMethod = U16(h + 10);
        fi.ModTime = U16(h + 12);
        fi.ModDate = U16(h + 14);
        fi.Crc = U32(h + 16);
        fi.CompressedSize = U32(h + 20);
        fi.UncompressedSize = U32(h + 24);
        const std::uint16_t nameLaenge = U16(h + 28);
        const std::uint16_t extraLaenge = U16(h + 30);
        const std::uint16_t kommentarLaenge = U16(h + 32);
        fi.ExternalAttributes = U32(h + 38);
        fi.LocalHeaderOffset = U32(h + 42);
        fi.Encrypted = fi.Flags & 1;
        if (p + 46 + nameLaenge + extraLaenge + kommentarLaenge > v.size())
            throw fehler();
        const QByteArray name = v.mid(p + 46, nameLaenge);
        fi.Extra = v.mid(p + 46 + nameLaenge, extraLaenge);
        const QByteArray kommentar = v.mid(p + 46 + nameLaenge + extraLaenge, kommentarLaenge);
        p += 46 + nameLaenge + extraLaenge + kommentarLaenge;
        if (!Zip64Lesen(fi))
            throw fehler();
        if (i == 0) {
            const int host = fi.VersionMadeBy >> 8;
            oem_ = host == 0 || host == 6 || (host == 11 && (fi.VersionMadeBy & 0xFF) == 50);
        }
        const bool utf8 = fi.Flags & (1 << 11);
        fi.FileName = utf8 ? QString::fromUtf8(name) : oem_ ? AusOem(name) : AusText(name);
        fi.FileName.replace(QLatin1Char('/'), QLatin1Char('\\'));
        fi.Comment = utf8   ? QString::fromUtf8(kommentar)
                     : oem_ ? AusOem(kommentar)
                            : AusText(kommentar);
        datenStart =
            std::min(datenStart,
                     qint64(std::min<std::uint64_t>(fi.LocalHeaderOffset, std::uint64_t(groesse))));
        entries_.push_back(std::move(fi));
    }
    // Code in front of the archive (a self-extractor) shifts every stored offset.
    dataStart_ =
        datenStart < groesse ? datenStart + verzeichnisStart - qint64(verzeichnisVersatz) : 0;
}

const TFileInfo& TZip::GetFileInfo(int index) const
{
    if (index < 0 || index >= GetCount())
        throw ZipException(QStringLiteral("Entry index %1 out of range").arg(index));
    return entries_[std::size_t(index)];
}

void TZip::SetZipComment(const QString& comment)
{
    if (filename_.isEmpty())
        throw ZipException(
            QStringLiteral("A Zip file must be openned or created before\n"
                           "Adding, Deleting or Extracting files."));
    Archiv za = Oeffnen(filename_, 0);
    const QByteArray text = comment.toUtf8();
    if (text.size() > 0xFFFF)
        throw ZipException(QStringLiteral("Zip comment too long"));
    if (zip_set_archive_comment(za.get(), text.constData(), zip_uint16_t(text.size())) != 0)
        throw ZipException(Fehlertext(zip_get_error(za.get())));
    Schliessen(za, filename_);
    VerzeichnisLesen();
}

void TZip::Vorbedingungen() const
{
    if (filename_.isEmpty())
        throw ZipException(
            QStringLiteral("A Zip file must be openned or created before\n"
                           "Adding, Deleting or Extracting files."));
    if (FileList.isEmpty())
        throw ZipException(QStringLiteral("No files have been selected."));
}

int TZip::Mitglied(const QString& name) const
{
    const QString gesucht = QString(name).replace(QLatin1Char('/'), QLatin1Char('\\'));
    for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive})
        for (std::size_t i = 0; i < entries_.size(); ++i)
            if (entries_[i].FileName.compare(gesucht, cs) == 0)
                return int(i);
    return -1;
}

int TZip::Add()
{
    Vorbedingungen();
    // Relative names are resolved against AddDir; the process's current folder stays as it is.
    const QDir basis(!AddDir.isEmpty() && QDir(AddDir).exists() ? AddDir : QDir::currentPath());
    AddDir.clear();
    QStringList dateien;
    for (const QString& pfad : std::as_const(FileList))
        dateien << QDir::cleanPath(basis.absoluteFilePath(pfad));
    FileList.clear();
    cancelled_ = false;
    Archiv za = Oeffnen(filename_, 0);
    qint64 gesamt = 0;
    for (const QString& pfad : dateien)
        gesamt += QFileInfo(pfad).size();
    for (const QString& pfad : dateien) {
        const QFileInfo info(pfad);
        if (!info.isFile())
            throw ZipException(QStringLiteral("File not found: \"%1\"").arg(pfad));
        QString name = basis.relativeFilePath(pfad);
        if ((AddFlags & AddOhnePfad) || name.startsWith(QLatin1String("..")))
            name = (AddFlags & AddOhnePfad) ? info.fileName() : pfad;
        while (name.startsWith(QLatin1Char('/')))
            name.remove(0, 1);
        if (OnZEDBeginFileEvent)
            OnZEDBeginFileEvent(name, info.size(), int(dateien.size()), gesamt);
        zip_source_t* quelle =
            zip_source_file(za.get(), QFile::encodeName(pfad).constData(), 0, -1);
        if (!quelle)
            throw ZipException(Fehlertext(zip_get_error(za.get())));
        const zip_int64_t index = zip_file_add(za.get(), name.toUtf8().constData(), quelle,
                                               ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(quelle);
            throw ZipException(Fehlertext(zip_get_error(za.get())));
        }
        // The fastest deflate level: backups are large and made at the program's end, where
        // time counts more than the last percent of size.
        if (zip_set_file_compression(za.get(), zip_uint64_t(index), ZIP_CM_DEFLATE, 1) != 0)
            throw ZipException(Fehlertext(zip_get_error(za.get())));
    }
    // libzip compresses while it writes the archive: progress and cancel are asked there.
    struct Lauf {
        TZip* zip;
        qint64 gesamt;
    } lauf{this, gesamt};
    zip_register_progress_callback_with_state(
        za.get(), 0.01,
        [](zip_t*, double anteil, void* z) {
            auto* l = static_cast<Lauf*>(z);
            if (l->zip->OnZEDProgressEvent)
                l->zip->OnZEDProgressEvent({}, qint64(anteil * double(l->gesamt)), l->gesamt);
        },
        nullptr, &lauf);
    zip_register_cancel_callback_with_state(
        za.get(), [](zip_t*, void* z) { return static_cast<Lauf*>(z)->zip->cancelled_ ? 1 : 0; },
        nullptr, &lauf);
    Schliessen(za, filename_);
    if (OnZEDEndBatchEvent)
        OnZEDEndBatchEvent(int(dateien.size()), int(dateien.size()), gesamt);
    VerzeichnisLesen();
    return int(dateien.size());
}

int TZip::Extract()
{
    Vorbedingungen();
    const QStringList namen = FileList;
    FileList.clear();
    cancelled_ = false;
    const QDir ordner(ExtractDir);
    if (ExtractDir.isEmpty() || !ordner.exists())
        throw ZipException(QStringLiteral("Extract folder \"%1\" does not exist").arg(ExtractDir));
    // Every member is checked before the first is written.
    std::vector<int> mitglieder;
    qint64 gesamt = 0;
    for (const QString& name : namen) {
        const int i = Mitglied(name);
        if (i < 0)
            throw ZipException(QStringLiteral("\"%1\" is not in the Zip file").arg(name));
        const TFileInfo& fi = entries_[std::size_t(i)];
        if (fi.IsLink())
            throw ZipException(QStringLiteral("\"%1\" is a link and is not extracted").arg(name));
        if (fi.Encrypted)
            throw ZipException(QStringLiteral("\"%1\" is encrypted").arg(name));
        if (Dateiname(fi.FileName).isEmpty())
            throw ZipException(QStringLiteral("\"%1\" names no file").arg(name));
        mitglieder.push_back(i);
        gesamt += qint64(std::min<std::uint64_t>(fi.UncompressedSize, INT64_MAX / 4));
    }
    QStorageInfo platz(ordner.absolutePath());
    platz.refresh();
    if (platz.isValid() && platz.bytesAvailable() < gesamt)
        throw ZipException(QStringLiteral("Not enough free space in \"%1\": %2 bytes needed, "
                                          "%3 free")
                               .arg(ExtractDir)
                               .arg(gesamt)
                               .arg(platz.bytesAvailable()));
    Archiv za = Oeffnen(filename_, ZIP_RDONLY);
    if (zip_get_num_entries(za.get(), 0) != zip_int64_t(entries_.size()))
        throw ZipException(UngueltigText(filename_));
    int fertig = 0;
    qint64 erledigt = 0;
    for (int i : mitglieder) {
        if (cancelled_)
            break;
        const TFileInfo& fi = entries_[std::size_t(i)];
        const QString ziel = ordner.filePath(Dateiname(fi.FileName));
        if (OnZEDBeginFileEvent)
            OnZEDBeginFileEvent(fi.FileName, qint64(fi.UncompressedSize), int(mitglieder.size()),
                                gesamt);
        if (MitgliedSchreiben(za.get(), i, ziel, erledigt, gesamt))
            ++fertig;
    }
    if (OnZEDEndBatchEvent)
        OnZEDEndBatchEvent(fertig, int(mitglieder.size()), gesamt);
    return fertig;
}

bool TZip::MitgliedSchreiben(void* archiv, int index, const QString& ziel, qint64& erledigt,
                             qint64 gesamt)
{
    auto* za = static_cast<zip_t*>(archiv);
    const TFileInfo& fi = entries_[std::size_t(index)];
    // A link or folder of that name is replaced, never followed.
    const QFileInfo vorhanden(ziel);
    if (vorhanden.isSymLink() && !QFile::remove(ziel))
        throw ZipException(QStringLiteral("Unable to replace \"%1\"").arg(ziel));
    if (QFileInfo(ziel).isDir())
        throw ZipException(QStringLiteral("Unable to create \"%1\": it is a folder").arg(ziel));

    std::unique_ptr<zip_file_t, DateiSchliessen> quelle(
        zip_fopen_index(za, zip_uint64_t(index), 0));
    if (!quelle)
        throw ZipException(QStringLiteral("\"%1\" may be corrupted: %2")
                               .arg(fi.FileName, Fehlertext(zip_get_error(za))));
    QSaveFile datei(ziel);
    if (!datei.open(QIODevice::WriteOnly))
        throw ZipException(QStringLiteral("Unable to create \"%1\"").arg(ziel));
    std::vector<char> puffer(1 << 20);
    // The caller checked the declared size against its limits: more data is a lie.
    std::uint64_t geschrieben = 0;
    for (;;) {
        const zip_int64_t n = zip_fread(quelle.get(), puffer.data(), puffer.size());
        if (n < 0) {
            zip_error_t* fehler = zip_file_get_error(quelle.get());
            if (zip_error_code_zip(fehler) != ZIP_ER_CRC)
                throw ZipException(QStringLiteral("\"%1\" may be corrupted: %2")
                                       .arg(fi.FileName, Fehlertext(fehler)));
            const QString frage = QStringLiteral(
                                      "\"%1\" may be corrupted (CRC error).\n"
                                      "Extract this file anyway? ...")
                                      .arg(fi.FileName);
            if (!OnFrage)
                throw ZipException(frage);
            switch (OnFrage(frage)) {
                case Antwort::Ja:
                    break;
                case Antwort::Abbrechen:
                    cancelled_ = true;
                    [[fallthrough]];
                case Antwort::Nein:
                    datei.cancelWriting();
                    return false;
            }
            break;
        }
        if (n == 0)
            break;
        geschrieben += zip_uint64_t(n);
        if (geschrieben > fi.UncompressedSize)
            throw ZipException(
                QStringLiteral("\"%1\" is larger than its declared size").arg(fi.FileName));
        if (datei.write(puffer.data(), n) != n)
            throw ZipException(QStringLiteral("Unable to write \"%1\"").arg(ziel));
        erledigt += n;
        if (OnZEDProgressEvent)
            OnZEDProgressEvent(fi.FileName, erledigt, gesamt);
        if (cancelled_) {
            datei.cancelWriting();
            return false;
        }
    }
    if (!datei.commit())
        throw ZipException(QStringLiteral("Unable to write \"%1\"").arg(ziel));
    return true;
}
