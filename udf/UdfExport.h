#pragma once

#include <ibase.h>

// The functions the database engine calls (legacy external-function interface). Arguments arrive
// by reference; a text result is written, zero-terminated and cut at its declared width
// (UdfBreiten.h), into the buffer the engine passes last, whose address is returned. A null
// pointer as result means SQL NULL; a text buffer then holds the empty text, which is what a
// declaration with RETURNS PARAMETER shows, as the engine ignores the returned address there. A
// date outside the engine's range (01.01.0001 to 31.12.9999) gives NULL. Nothing here throws into
// the engine.
#define BOVANTIS_UDF extern "C" __attribute__((visibility("default")))

BOVANTIS_UDF char* ZRNV_ALTER(const ISC_TIMESTAMP* geburt, const ISC_TIMESTAMP* abgang,
                              const ISC_TIMESTAMP* bezug, char* out);
BOVANTIS_UDF char* ZRNV_DATE2STR(const ISC_TIMESTAMP* datum, char* out);
BOVANTIS_UDF char* ZRNV_DATE2STRSHORT(const ISC_TIMESTAMP* datum, char* out);
BOVANTIS_UDF char* ZRNV_DATE2STR_FORMAT(const ISC_TIMESTAMP* datum, const char* muster, char* out);
BOVANTIS_UDF char* ZRNV_DATE2STR_HEUTE(const ISC_TIMESTAMP* datum, const ISC_LONG* gross,
                                       char* out);
BOVANTIS_UDF char* ZRNV_WOCHENTAG(const ISC_TIMESTAMP* datum, char* out);
BOVANTIS_UDF char* ZRNV_FORMATBNR(const char* bnr, char* out);
BOVANTIS_UDF char* ZRNV_CORRECTBNR(const char* bnr);
BOVANTIS_UDF ISC_INT64* ZRNV_ENCODELOM(const char* lom);
BOVANTIS_UDF char* ZRNV_DECODELOM(const char* ziffern, char* out);
BOVANTIS_UDF char* ZRNV_FORMATZAHL(const ISC_LONG* wert, const ISC_LONG* breite, char* out);
BOVANTIS_UDF char* ZRNV_FORMATFLOAT(const double* wert, const char* muster, char* out);
BOVANTIS_UDF char* ZRNV_FORMATINT(const ISC_LONG* wert, char* out);
BOVANTIS_UDF char* ZRNV_HARNSTOFF(const ISC_LONG* wert, const ISC_LONG* mgdl, char* out);
BOVANTIS_UDF char* ZRNV_DEBUG(const char* text, char* out);
BOVANTIS_UDF ISC_TIMESTAMP* ZRNV_TERMIN_LAGE(const ISC_TIMESTAMP* datum, const char* tage);
BOVANTIS_UDF char* ZRNV_GET_FELD(const char* liste, char* out);
BOVANTIS_UDF char* ZRNV_DEL_FELD(const char* liste, char* out);
BOVANTIS_UDF ISC_LONG ZRNV_GET_QUELLE(const char* feld);
BOVANTIS_UDF ISC_LONG ZRNV_IS_SPEZIALFELD(const char* feld);
BOVANTIS_UDF char* ZRNV_GET_FELD_PUR(const char* feld, char* out);
BOVANTIS_UDF char* ZRNV_BLOB_LEFT(BLOBCALLBACK blob, const ISC_LONG* n, char* out);
BOVANTIS_UDF char* ZRNV_SORT_WOCHENTAGE(const char* tage, char* out);
BOVANTIS_UDF char* EOL(char* out);
BOVANTIS_UDF char* ZRNV_STR_CAT(const char* a, const char* b, char* out);
BOVANTIS_UDF char* ZRNV_GESCHLECHT(const char* code, char* out);
BOVANTIS_UDF char* ZRNV_HIT_MELDUNG_DISP(const char* code, char* out);
BOVANTIS_UDF char* ZRNV_HIT_SCHWERE(const ISC_LONG* schwere, char* out);
BOVANTIS_UDF char* ZRNV_HIT_MELDUNG_WERTE(const char* text, char* out);
BOVANTIS_UDF char* ZRNV_MELDUNG_WERTE(const char* text, const char* schluessel, char* out);
BOVANTIS_UDF char* ZRNV_BESAMUNGSSTATION(const char* code, char* out);
BOVANTIS_UDF ISC_TIMESTAMP* ZRNV_DATE_ADD(const ISC_TIMESTAMP* datum, const ISC_LONG* monate,
                                          const ISC_LONG* jahre);
BOVANTIS_UDF ISC_LONG ZRNV_SET_HOTSYNC(const ISC_LONG* wert);
BOVANTIS_UDF ISC_LONG ZRNV_GET_HOTSYNC();
