SET TERM ^ ;

/* Herd statistics: the calving intervals and gestation lengths of the whole herd, and the
   inseminations its pregnancies needed. Both read the calvings of an animal in date order once
   and look up the inseminations between a calving and the one before it through the animal's
   index. */

/* Every calving of the herd with the days since the animal's calving before it (ZWKZ, null for
   its first) and since the last insemination after that calving (TRAGZEIT, null without one). */
CREATE OR ALTER PROCEDURE P_GET_ZWKZ_BESTAND
RETURNS (TIER INTEGER, KALB_DATUM DATE, TRAGZEIT INTEGER, ZWKZ INTEGER)
AS
DECLARE VARIABLE VORHER DATE;
DECLARE VARIABLE VORHER_TIER INTEGER;
DECLARE VARIABLE BESAMUNG DATE;
BEGIN
  VORHER_TIER = NULL;
  VORHER = NULL;
  FOR SELECT K.TIER, K.DATUM FROM T_KALBUNGEN K ORDER BY K.TIER, K.DATUM, K.NR
      INTO :TIER, :KALB_DATUM
  DO
  BEGIN
    IF (VORHER_TIER IS DISTINCT FROM TIER) THEN
      VORHER = NULL;
    BESAMUNG = (SELECT MAX(B.DATUM) FROM T_BESAMUNGEN B
                WHERE B.TIER = :TIER AND B.DATUM + 0 < :KALB_DATUM
                  AND (:VORHER IS NULL OR B.DATUM + 0 > :VORHER));
    TRAGZEIT = DATEDIFF(DAY FROM BESAMUNG TO KALB_DATUM);
    ZWKZ = DATEDIFF(DAY FROM VORHER TO KALB_DATUM);
    VORHER = KALB_DATUM;
    VORHER_TIER = TIER;
    SUSPEND;
  END
END^

/* The pregnancies that ended in a calving from VON to BIS (both counted): the calving's animal
   and day and the number of inseminations since the animal's calving before it. A calving
   without a recorded insemination says nothing about the inseminations it needed and is left
   out. */
CREATE OR ALTER PROCEDURE P_GET_BESAMUNGSINDEX_BESTAND (VON DATE, BIS DATE)
RETURNS (TIER INTEGER, DATUM DATE, NR INTEGER)
AS
DECLARE VARIABLE VORHER DATE;
BEGIN
  FOR SELECT K.TIER, K.DATUM FROM T_KALBUNGEN K
      WHERE K.DATUM BETWEEN :VON AND :BIS
      ORDER BY K.TIER, K.DATUM, K.NR
      INTO :TIER, :DATUM
  DO
  BEGIN
    VORHER = (SELECT MAX(V.DATUM) FROM T_KALBUNGEN V
              WHERE V.TIER = :TIER AND V.DATUM + 0 < :DATUM);
    NR = (SELECT COUNT(*) FROM T_BESAMUNGEN B
          WHERE B.TIER = :TIER AND B.DATUM + 0 < :DATUM
            AND (:VORHER IS NULL OR B.DATUM + 0 > :VORHER));
    IF (NR > 0) THEN
      SUSPEND;
  END
END^

SET TERM ; ^
