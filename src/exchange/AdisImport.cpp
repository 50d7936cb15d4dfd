#include "AdisImport.h"

#include <Query.h>
#include <Tools.h>
#include <Zip.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <stdexcept>

namespace {

constexpr qint64 Mindestgroesse = 40;
constexpr int CommitAlle = 50;

QString Fehlertext(const std::exception& e)
{
    return QString::fromUtf8(e.what());
}

}  // namespace

TADISADEDImport::TADISADEDImport(db::Database& db)
    : StammdatenPaesse{{{QStringLiteral("Stammdaten Tier"), 880005, {}},
                        {QStringLiteral("Betriebszugehörigkeit"), 880003, {}},
                        {QStringLiteral("Besamungen"), 880013, {}},
                        {QStringLiteral("Kalbungen"), 880012, {}},
                        {QStringLiteral("Stammdaten Bullen"), 880014, {}}}},
      MlpPaesse{{{QStringLiteral("Leistungsergebnisse Tag"), 880006, {}},
                 {QStringLiteral("Laktationsleistungen"), 880008, {}},
                 {QStringLiteral("Leistungsergebnisse Betrieb"), 880002, {}},
                 {QStringLiteral("Zuchtwerte"), 880010, {}}}},
      RdvPaesse{{{QStringLiteral("Stammdaten Tier"), QStringLiteral("Z00101"), {}},
                 {QStringLiteral("Betriebszugehörigkeit"), QStringLiteral("Z00901"), {}},
                 {QStringLiteral("Besamungen"), QStringLiteral("Z00201"), {}},
                 {QStringLiteral("Kalbungen"), QStringLiteral("Z00601"), {}},
                 {QStringLiteral("MLP Kontrolldaten"), QStringLiteral("Z00501"), {}}}},
      tr_(db)
{
    std::map<int, QChar> typen;
    tr_.Start();
    db::Query q(tr_, QStringLiteral("SELECT DDNR, TYP FROM T_ADIS_ITEMS"));
    for (q.Open(); !q.Eof(); q.Next()) {
        const QString typ = q.Field(1).AsString();
        typen[q.Field(0).AsInteger()] = typ.isEmpty() ? QChar(u'A') : typ.front();
    }
    q.Close();
    tr_.Commit();
    adis_.SetTypen(std::move(typen));
}

TADISADEDImport::~TADISADEDImport()
{
    try {
        if (tr_.Active())
            tr_.Commit();
    } catch (const std::exception&) {
        // Rows of a failed commit are rolled back with the transaction.
    }
}

void TADISADEDImport::Zuruecksetzen()
{
    adis_.Leeren();
    rdv_.clear();
    Zeilen = 0;
    ImportProtokoll.Clear();
}

void TADISADEDImport::Datei(int nr, int anzahl)
{
    if (OnDatei)
        OnDatei(nr, anzahl);
}

void TADISADEDImport::Bereich(const QString& titel, int zeilen, bool schritt)
{
    if (OnBereich)
        OnBereich(titel, zeilen, schritt);
}

void TADISADEDImport::Position(int n)
{
    if (OnPosition)
        OnPosition(n);
}

void TADISADEDImport::Aktiv()
{
    if (!tr_.Active())
        tr_.Start();
}

int TADISADEDImport::Importieren(const QString& datei)
{
    Zuruecksetzen();
    if (!QFileInfo(datei).isFile())
        return DateiFehlt;
    int ergebnis = KeineDaten;
    if (Tools::TestZipDatei(datei)) {
        ergebnis = ArchivImportieren(datei);
    } else {
        const auto [art, d] = AdisDateiImportieren(datei, QFileInfo(datei).fileName());
        if (art == Art::KeinAdis)
            ImportProtokoll.Hinzufuegen(
                0, 0, {QStringLiteral("%1: %2").arg(QFileInfo(datei).fileName(), adis_.Fehler())});
        ergebnis = d;
    }
    if (ergebnis > Abgebrochen) {
        Bereich(QStringLiteral("Nachbearbeitung der Stammdaten"), 1, true);
        Aktiv();
        db::Query(tr_, QStringLiteral("EXECUTE PROCEDURE P_DO_ERST")).Execute();
        tr_.Commit();
        Position(1);
    }
    Aktiv();
    ImportProtokoll.Vorbereiten(tr_);
    tr_.Commit();
    return ergebnis;
}

std::pair<TADISADEDImport::Art, int> TADISADEDImport::AdisDateiImportieren(const QString& pfad,
                                                                           const QString& name)
{
    Bereiche = 2 + (ImportStammdaten ? 6 : 0) + (ImportMLP ? 4 : 0);
    Bereich(QStringLiteral("ADIS Datei lesen"), -1, true);
    Position(0);
    switch (adis_.Lesen(pfad)) {
        case AdisDatei::Ergebnis::KeinADIS:
            return {Art::KeinAdis, KeineDaten};
        case AdisDatei::Ergebnis::Fehlerhaft:
            ImportProtokoll.Hinzufuegen(0, 0, {QStringLiteral("%1: %2").arg(name, adis_.Fehler())});
            return {Art::Fehlerhaft, NichtLesbar};
        case AdisDatei::Ergebnis::Gelesen:
            break;
    }
    if (adis_.Abschnitte().empty())
        return {Art::Adis, KeineDaten};
    try {
        Aktiv();
        if (ImportStammdaten) {
            for (const AdisPass& p : StammdatenPaesse)
                AdisPassLaufen(p);
            NachbearbeitungNoetig = true;
        }
        if (ImportMLP)
            for (const AdisPass& p : MlpPaesse)
                AdisPassLaufen(p);
        return {Art::Adis, Importiert};
    } catch (const std::exception& e) {
        if (tr_.Active())
            tr_.Rollback();
        ImportProtokoll.Hinzufuegen(0, 0, {Fehlertext(e)});
        return {Art::Adis, Abgebrochen};
    }
}

void TADISADEDImport::AdisPassLaufen(const AdisPass& pass)
{
    if (!pass.zeile)
        throw std::logic_error(QStringLiteral("Der Import \"%1\" ist in diesem Programm nicht "
                                              "verfügbar.")
                                   .arg(pass.titel)
                                   .toStdString());
    Bereich(pass.titel, adis_.Zeilen(pass.entity), true);
    int n = 0;
    for (int a = -1; adis_.GetAbschnitt(pass.entity, a);) {
        const int zeilen = int(adis_.Abschnitte()[std::size_t(a)].zeilen.size());
        for (int z = 0; z < zeilen; ++z) {
            Position(++n);
            Aktiv();
            if (pass.zeile(*this, a, z) && n % CommitAlle == 0)
                tr_.CommitRetaining();
        }
    }
    Zeilen += n;
    if (tr_.Active())
        tr_.Commit();
}

void TADISADEDImport::RdvPassLaufen(const RdvPass& pass)
{
    if (!pass.satz)
        throw std::logic_error(QStringLiteral("Der Import \"%1\" ist in diesem Programm nicht "
                                              "verfügbar.")
                                   .arg(pass.titel)
                                   .toStdString());
    Bereich(pass.titel, RDVSatzAnzahl(rdv_, pass.satzart), false);
    int n = 0;
    for (const TRDVEintrag& satz : rdv_) {
        if (satz.Satzart != pass.satzart)
            continue;
        Position(++n);
        Aktiv();
        if (pass.satz(*this, satz) && n % CommitAlle == 0)
            tr_.CommitRetaining();
    }
    Zeilen += n;
    if (tr_.Active())
        tr_.Commit();
}

int TADISADEDImport::ArchivImportieren(const QString& datei)
{
    struct Mitglied {
        QString name;
        QString pfad;
        TRDVDatei saetze;
    };
    bool importiert = false;
    bool nichtLesbar = false;
    bool abgebrochen = false;
    bool mitDaten = false;
    // Each import extracts into a folder of its own, each member into a subfolder of its own.
    const QTemporaryDir ordner;
    if (!ordner.isValid()) {
        ImportProtokoll.Hinzufuegen(0, 0, {ordner.errorString()});
        return Abgebrochen;
    }
    TZip zip;
    try {
        zip.SetFilename(datei);
    } catch (const ZipException& e) {
        ImportProtokoll.Hinzufuegen(0, 0, {Fehlertext(e)});
        return NichtLesbar;
    }
    const auto merken = [&](int d) {
        importiert |= d == Importiert;
        nichtLesbar |= d == NichtLesbar;
        abgebrochen |= d == Abgebrochen;
    };
    std::vector<Mitglied> keinAdis;
    for (int i = 0; i < zip.GetCount(); ++i) {
        Datei(i + 1, zip.GetCount());
        const TFileInfo& fi = zip.GetFileInfo(i);
        if (fi.UncompressedSize <= std::uint64_t(Mindestgroesse) || fi.IsFolder())
            continue;
        mitDaten = true;
        const QString ziel = ordner.filePath(QString::number(i));
        QString pfad;
        try {
            if (!QDir().mkpath(ziel))
                throw ZipException(QStringLiteral("Unable to create \"%1\"").arg(ziel));
            zip.ExtractDir = ziel;
            zip.FileList = {fi.FileName};
            zip.Extract();
            const QStringList dateien = QDir(ziel).entryList(QDir::Files);
            if (dateien.size() != 1)
                throw ZipException(QStringLiteral("\"%1\" was not extracted").arg(fi.FileName));
            pfad = QDir(ziel).filePath(dateien.first());
        } catch (const ZipException& e) {
            ImportProtokoll.Hinzufuegen(0, 0,
                                        {QStringLiteral("%1: %2").arg(fi.FileName, Fehlertext(e))});
            merken(NichtLesbar);
            continue;
        }
        const auto [art, d] = AdisDateiImportieren(pfad, fi.FileName);
        merken(d);
        if (art == Art::KeinAdis)
            keinAdis.push_back({fi.FileName, pfad, {}});
    }
    if (!mitDaten)
        return LeeresArchiv;

    // Members that are no ADIS files may be RDV files; each is read once.
    bool rdvDaten = false;
    for (Mitglied& m : keinAdis) {
        QString fehler;
        if (!RDVDateiLesen(m.pfad, m.saetze, &fehler) || m.saetze.empty()) {
            ImportProtokoll.Hinzufuegen(
                0, 0,
                {QStringLiteral("%1: %2").arg(
                    m.name, fehler.isEmpty()
                                ? QStringLiteral("Die Datei enthält weder ADIS- noch RDV-Daten.")
                                : fehler)});
            if (!fehler.isEmpty())
                merken(NichtLesbar);
        }
        rdvDaten |= !m.saetze.empty();
    }
    if (!keinAdis.empty()) {
        Bereiche = 6;
        for (int art = 0; art < int(RdvPaesse.size()); ++art) {
            Bereich(RdvPaesse[std::size_t(art)].titel, art == 0 ? -1 : 1, true);
            for (const Mitglied& m : keinAdis) {
                Datei(1, 0);
                rdv_ = m.saetze;
                merken(RdvImportieren(art));
            }
            if (!rdvDaten)
                break;
        }
        rdv_.clear();
    }
    Datei(1, 0);
    if (abgebrochen)
        return Abgebrochen;
    if (nichtLesbar)
        return NichtLesbar;
    return importiert ? Importiert : KeineDaten;
}

int TADISADEDImport::RdvImportieren(int art)
{
    Position(0);
    if (rdv_.empty())
        return KeineDaten;
    const bool stammdaten = art < 4;
    if (!(stammdaten ? ImportStammdaten : ImportMLP))
        return Importiert;
    try {
        Aktiv();
        RdvPassLaufen(RdvPaesse[std::size_t(art)]);
        if (stammdaten)
            NachbearbeitungNoetig = true;
        return Importiert;
    } catch (const std::exception& e) {
        if (tr_.Active())
            tr_.Rollback();
        ImportProtokoll.Hinzufuegen(0, 0, {Fehlertext(e)});
        return Abgebrochen;
    }
}
