#include "HITConst.h"

#include <algorithm>

namespace HITConst {

const std::array<std::string_view, 17> cMeldung = {
    "",        "LOGOFF",  "LOGON",    "ABGANG", "AUSFUHR", "BETRD",  "ERSTERF", "EUEIN", "GEBURT",
    "HOTLINE", "IMPMARK", "LOMNACHB", "LOMS",   "TOD",     "ZUGANG", "VORGANG", "BTR_H",
};

const std::array<std::string_view, 17> cMeldungBez = {
    "",
    "Abmeldung",
    "Anmeldung",
    "Abgang",
    "Ausfuhr",
    "Betriebsdaten",
    "Ersterfassung",
    "EU Einfuhr",
    "Geburt",
    "Hotline",
    "Importmarkierung",
    "Ohrmarken-Nachbestellung",
    "Ohrmarken-Serien",
    "Tod",
    "Zugang",
    "bearbeitende Vorgänge",
    "PIN Änderung",
};

const std::array<std::string_view, 78> cFeld = {
    "",          "*",         "ABGA_DAT", "AUSF_DAT", "BESTGRND", "BESTZAHL",  "BEW_DAT",
    "BEW_MELD",  "BEW_ORD",   "BEW_ZU",   "BLAND",    "BNR15",    "BNR15_EU",  "BNR15_GEB",
    "BNR15_ZB",  "BNR15_ZV",  "DBET_BIS", "DBET_VON", "EINF_DAT", "ET_KALB",   "GEB_DATR",
    "GEB_VERL",  "GESCHL_R",  "HOTL_NR",  "HOTL_OK",  "KENZ_ART", "LAND_GEB",  "LAND_URS",
    "LAND_ZIE",  "LNACHBIVR", "LOM",      "LOM_A",    "LOM_MUT",  "LOM_MUTA",  "LOMS_DAT",
    "LOMS_IMP",  "LOMS_OG",   "LOMS_UG",  "LOMS_UN",  "MARK_DAT", "MEHRLING",  "MELD_BNR",
    "MELD_DAT",  "MELD_MBN",  "MELD_WG",  "NACH_DAT", "NACHNAME", "NAME",      "NAME2",
    "ORT",       "ORTSTEIL",  "PIN",      "PLZ",      "RASSE",    "STR_NR",    "SYS_BIS",
    "SYS_CLUST", "SYS_STAT",  "SYS_VON",  "TOD_ART",  "TOD_DAT",  "VERBLEIB",  "VORNAME",
    "ZUGA_DAT",  "MEHRLADR",  "LOM_X",    "GESCHL_X", "LOM_MUTX", "TIER_EINX", "DAT_EIN",
    "BNR15_VB",  "TIER_AUSX", "DAT_AUS",  "BNR15_NB", "TIERNAME", "MBN",       "PIN2",
    "TIMEOUT",
};

const std::array<std::string_view, 78> cFeldCode = {
    "",          "",          "DATUM",  "DATUM",    "cBESTGRND", "cBESTZAHL", "DATUM",     "",
    "",          "cBOOL",     "cBLAND", "BNR",      "BNR",       "BNR",       "BNR",       "BNR",
    "",          "",          "DATUM",  "cBOOL",    "DATUM",     "cGEB_VERL", "cGESCHL_R", "",
    "cBOOL",     "cKENZ_ART", "cILAND", "cILAND",   "cILAND",    "cBOOL",     "LOM",       "",
    "LOM",       "",          "DATUM",  "cBOOL",    "LOM",       "LOM",       "cBOOL",     "DATUM",
    "cBOOL",     "BNR",       "DATUM",  "",         "cMELD_WG",  "DATUM",     "",          "",
    "",          "",          "",       "",         "",          "cRASSE",    "",          "",
    "",          "cSYS_STAT", "",       "cTOD_ART", "DATUM",     "cVERBLEIB", "",          "DATUM",
    "cMEHRLADR", "",          "",       "",         "",          "DATUM",     "BNR",       "",
    "DATUM",     "BNR",       "",       "",         "",          "",
};

const std::array<std::string_view, 78> cFeldBez = {
    "",
    "",
    "Abgangsdatum",
    "Ausfuhrdatum",
    "Bestellgrund",
    "Bestellzahl",
    "Bewegungsdatum",
    "Bewegungsmeldung",
    "Bewegungs-Ordnung",
    "Bewegungs-Zu/Abgang",
    "Bundesland",
    "Betriebsnummer",
    "EU-Geburt/Markierbetrieb",
    "Geburtsbetrieb",
    "Betriebszuständigkeit bis",
    "Betriebszuständigkeit von",
    "Betrieb gültig bis",
    "Betrieb gültig von",
    "Einfuhrdatum",
    "Embryotransfer",
    "Geburtsdatum",
    "Geburtsverlauf",
    "Geschlecht",
    "Hotlinenummer",
    "Hotline bereit",
    "Kennzeichnungsart",
    "Geburtsstaat",
    "Ursprungsstaat",
    "Zielstaat",
    "OM-Nachbestellung über IVR möglich",
    "Ohrmarke",
    "alte Ohrmarke",
    "Ohrmarke Mutter",
    "alte Ohrmarke der Mutter",
    "Ausgabe-Datum der Ohrmarkenserie",
    "Ohrmarkenserie ist für Importmarkierungen",
    "Ohrmarkenserie Obergrenze",
    "Ohrmarkenserie Untergrenze",
    "Ohrmarkenserien für ganzes Unternehmen verwendbar",
    "Markierdatum",
    "Mehrling",
    "Meldebetrieb",
    "Meldungsdatum",
    "Meldemitbenutzer",
    "Meldeweg",
    "Nachbestellungsdatum",
    "Nachname",
    "Name",
    "Name 2",
    "Ort",
    "Ortsteil",
    "PIN",
    "PLZ",
    "Rasse",
    "Straße und Hausnummer",
    "Timestamp gültig bis",
    "Cluster-Spalte",
    "Satzstatus",
    "Timestamp gültig ab",
    "Todesart",
    "Todesdatum",
    "Verbleib",
    "Vorname",
    "Zugangsdatum",
    "Mehrling",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "Tiername",
    "Mitbenutzer-Nummer",
    "PIN 2",
    "Timeout",
};

const std::array<std::string_view, 5> cVerknuepfung = {"", "AND", "OR", "AND NOT", "OR NOT"};

const std::array<std::string_view, 10> cVergleich = {
    "=", "^=", "<", "<=", ">", ">=", "IN", "NOT IN", "BETWEEN", "NOT BETWEEN",
};

const std::array<std::string_view, 19> cFunktion = {
    "",          "$COUNT",   "$MIN",     "$MAX",      "$AVG",      "$SUM",     "$ALPHALOM",
    "$ALPHABNR", "#TIEREIN", "#TIERAUS", "#TIERSTAM", "#TIERENDE", "#BESTREG", "#VORHALT",
    "#ADDRPOST", "#ADDRHOF", "#ETIKETT", "!ORGDATEN", "!BEWMELD",
};

namespace {

template <std::size_t N>
int Suchen(const std::array<std::string_view, N>& tabelle, std::string_view code)
{
    const auto it = std::find(tabelle.begin(), tabelle.end(), code);
    return it == tabelle.end() ? -1 : static_cast<int>(it - tabelle.begin());
}

}  // namespace

int MeldungIndex(std::string_view code)
{
    return Suchen(cMeldung, code);
}

int FeldIndex(std::string_view code)
{
    return Suchen(cFeld, code);
}

}  // namespace HITConst
