#include "Zip.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <zip.h>

#include <memory>

namespace {

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
            throw ZipException(QStringLiteral("\"%1\"\nis not a valid Zip file.").arg(name));
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

}  // namespace

void TZip::SetFilename(const QString& fileName)
{
    filename_ = fileName;
    comment_.clear();
    entries_.clear();
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
    comment_.clear();
    Archiv za = Oeffnen(filename_, ZIP_RDONLY | ZIP_CHECKCONS);
    int laenge = 0;
    if (const char* k = zip_get_archive_comment(za.get(), &laenge, ZIP_FL_ENC_GUESS))
        comment_ = QString::fromUtf8(k, laenge);
    const zip_int64_t anzahl = zip_get_num_entries(za.get(), 0);
    for (zip_int64_t i = 0; i < anzahl; ++i) {
        zip_stat_t st;
        if (zip_stat_index(za.get(), zip_uint64_t(i), ZIP_FL_ENC_GUESS, &st) != 0) {
            entries_.clear();
            throw ZipException(QStringLiteral("Error reading 'CentralFileHeader'!"));
        }
        TFileInfo fi;
        fi.FileName = QString::fromUtf8(st.name);
        fi.CompressionMethod = st.comp_method;
        fi.Crc = st.crc;
        fi.CompressedSize = st.comp_size;
        fi.UncompressedSize = st.size;
        fi.Encrypted = st.encryption_method != ZIP_EM_NONE;
        zip_uint32_t kl = 0;
        if (const char* k = zip_file_get_comment(za.get(), zip_uint64_t(i), &kl, ZIP_FL_ENC_GUESS))
            fi.Comment = QString::fromUtf8(k, int(kl));
        entries_.push_back(std::move(fi));
    }
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

int TZip::Add()
{
    Vorbedingungen();
    const QStringList dateien = FileList;
    FileList.clear();
    Archiv za = Oeffnen(filename_, 0);
    for (const QString& pfad : dateien) {
        const QFileInfo info(pfad);
        if (!info.isFile())
            throw ZipException(QStringLiteral("File not found: \"%1\"").arg(pfad));
        QString name = (AddFlags & AddOhnePfad) ? info.fileName() : info.absoluteFilePath();
        while (name.startsWith(QLatin1Char('/')))
            name.remove(0, 1);
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
    Schliessen(za, filename_);
    VerzeichnisLesen();
    return int(dateien.size());
}

int TZip::Extract()
{
    Vorbedingungen();
    const QStringList namen = FileList;
    FileList.clear();
    if (!QDir(ExtractDir).exists())
        throw ZipException(QStringLiteral("Extract folder \"%1\" does not exist").arg(ExtractDir));
    Archiv za = Oeffnen(filename_, ZIP_RDONLY);
    for (const QString& name : namen) {
        const zip_int64_t index =
            zip_name_locate(za.get(), name.toUtf8().constData(), ZIP_FL_ENC_GUESS);
        if (index < 0)
            throw ZipException(QStringLiteral("\"%1\" is not in the Zip file").arg(name));
        std::unique_ptr<zip_file_t, DateiSchliessen> quelle(
            zip_fopen_index(za.get(), zip_uint64_t(index), 0));
        if (!quelle)
            throw ZipException(Fehlertext(zip_get_error(za.get())));
        const QString ziel =
            QDir(ExtractDir)
                .filePath(QFileInfo(QString(name).replace(QLatin1Char('\\'), QLatin1Char('/')))
                              .fileName());
        zip_stat_t st;
        if (zip_stat_index(za.get(), zip_uint64_t(index), 0, &st) != 0 ||
            !(st.valid & ZIP_STAT_SIZE))
            throw ZipException(Fehlertext(zip_get_error(za.get())));
        QSaveFile datei(ziel);
        if (!datei.open(QIODevice::WriteOnly))
            throw ZipException(QStringLiteral("Unable to create \"%1\"").arg(ziel));
        std::vector<char> puffer(1 << 20);
        // The caller checked the declared size against its limits: more data is a lie.
        zip_uint64_t geschrieben = 0;
        for (;;) {
            const zip_int64_t n = zip_fread(quelle.get(), puffer.data(), puffer.size());
            if (n < 0)
                throw ZipException(QStringLiteral("\"%1\" may be corrupted: %2")
                                       .arg(name, Fehlertext(zip_file_get_error(quelle.get()))));
            if (n == 0)
                break;
            geschrieben += zip_uint64_t(n);
            if (geschrieben > st.size)
                throw ZipException(
                    QStringLiteral("\"%1\" is larger than its declared size").arg(name));
            if (datei.write(puffer.data(), n) != n)
                throw ZipException(QStringLiteral("Unable to write \"%1\"").arg(ziel));
        }
        if (!datei.commit())
            throw ZipException(QStringLiteral("Unable to write \"%1\"").arg(ziel));
    }
    return int(namen.size());
}
