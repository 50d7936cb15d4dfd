#pragma once

#include "ListenDialogTestHilfe.h"

// Two animals, an internal list with a status, a catalogue, a fixed-value and a running-number
// column, and two user lists: one whose statement runs and one whose statement fails. The
// layout rows are written here, whatever the database makes for a new list on its own.
class LayoutEditorTest : public ListenDialogTest {
protected:
    static constexpr int Intern = -7;
    static constexpr int Herde = 5;
    static constexpr int Kaputt = 6;
    static inline const QString TestSQL = QStringLiteral(
        "SELECT 2 AS Q1STATUSIDX, Q1.ID AS TIERID, Q1.NUMMER AS Q1NUMMER, Q1.NAME AS Q1NAME "
        "FROM T_STAMMDATEN Q1 ORDER BY Q1.NUMMER");

    void SetUp() override
    {
        Ausfuehren({
            "INSERT INTO T_STAMMDATEN (ID, NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) VALUES "
            "(1, 'DE 01', 'Ölke', DATE '2020-02-03', 'W', 1)",
            "INSERT INTO T_STAMMDATEN (ID, NUMMER, NAME, GEBDAT, GESCHLECHT, RASSE) VALUES "
            "(2, 'DE 02', 'Berta', DATE '2021-05-06', 'W', 1)",
            "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, FELDER, BEDINGUNGEN) VALUES (-7, "
            "'Intern', 'Interne Liste', 'Q1.STATUSIDX;Q1.NUMMER;Q1.NAME;S.F1;S.N1', 'TESTLISTE')",
            "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, QUELLE1, QUELLE2, FELDER, SCHRIFT, "
            "DATUM_VERGANGEN_FETT) VALUES (5, 'Herde', 'Herdenliste', 1, 2, "
            "'Q1.NUMMER;Q1.GEBDAT;S.F1', 'DejaVu Sans;12;B', 'Q1GEBDAT')",
            "INSERT INTO T_LISTEN (ID, BEZEICHNUNG, TITEL, QUELLE1, FELDER, DATUM_VERGANGEN_FETT) "
            "VALUES (6, 'Kaputt', 'Kaputte Liste', 1, 'Q1.NUMMER', 'Q1GEBDAT')",
            "DELETE FROM T_LISTEN_BILDSCHIRM WHERE LISTE IN (-7, 5, 6)",
            "DELETE FROM T_LISTEN_DRUCK WHERE LISTE IN (-7, 5, 6)",
            "UPDATE T_LISTEN SET SQL = 'SELECT Q1.NUMMER AS Q1NUMMER, Q1.GEBDAT AS Q1GEBDAT, "
            "(SELECT MAX(K.DATUM) FROM T_KALBUNGEN K WHERE K.TIER = Q1.ID) AS Q2DATUM "
            "FROM T_STAMMDATEN Q1 WHERE #Q1.ID# ORDER BY Q1.NUMMER' WHERE ID = 5",
            "UPDATE T_LISTEN SET SQL = 'SELECT Q1.NICHTDA AS Q1NUMMER FROM T_STAMMDATEN Q1' "
            "WHERE ID = 6",
            "INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, TITEL, BREITE, ZEILE) VALUES "
            "(-7, 'Q1.STATUSIDX', 'Status', 20, 1)",
            "INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, TITEL, BREITE, ZEILE, AUSRICHTUNG, "
            "DISPLAY_FORMAT) VALUES (-7, 'Q1.NUMMER', 'Nummer', 90, 1, 'L', 'x')",
            "INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, TITEL, BREITE, ZEILE) VALUES "
            "(-7, 'Q1.NAME', 'Name', 120, 1)",
            "INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, TITEL, ZEILE, WERT) VALUES "
            "(-7, 'S.F1', 'Fest', 1, 'Alt')",
            "INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, TITEL, ZEILE) VALUES "
            "(-7, 'S.N1', 'Nr.', 1)",
            "INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, TITEL, BREITE) VALUES "
            "(5, 'Q1.NUMMER', 'Nummer', 80)",
            "INSERT INTO T_LISTEN_BILDSCHIRM (LISTE, FELD, TITEL, BREITE) VALUES "
            "(5, 'Q1.GEBDAT', 'Geboren', 80)",
            "INSERT INTO T_LISTEN_DRUCK (LISTE, FELD, TITEL, L_POSITION, ZEILE, BREITE, SCHRIFT, "
            "TITEL_SCHRIFT) VALUES (5, 'Q1.NUMMER', 'Nummer', 0, 1, 30, 'DejaVu Sans;10;', "
            "'DejaVu Sans;10;B')",
            "INSERT INTO T_LISTEN_DRUCK (LISTE, FELD, TITEL, L_POSITION, ZEILE, BREITE, SCHRIFT, "
            "TITEL_SCHRIFT, SCHRIFTSCHMAL) VALUES (5, 'Q1.GEBDAT', 'Geboren', 40, 1, 30, "
            "'DejaVu Serif;11;I', 'DejaVu Serif;9;', 'T')",
            "INSERT INTO T_LISTEN_DRUCK (LISTE, FELD, TITEL, L_POSITION, ZEILE, BREITE, WERT) "
            "VALUES (5, 'S.F1', 'Fest', 80, 1, 20, 'fix')",
            "INSERT INTO T_LISTEN_DRUCK (LISTE, FELD, TITEL, L_POSITION, ZEILE, BREITE) VALUES "
            "(-7, 'Q1.NUMMER', 'Nummer', 0, 1, 30)",
            "INSERT INTO T_LISTEN_LINIEN (LISTE, L_POSITION, BEGINN_TITEL, ART, BREITE) VALUES "
            "(5, 35, 'F', 'D', 50)",
            // The source catalogue as a known stand-in: two date fields of two sources, a text
            // field and a date field the list does not select.
            "CREATE OR ALTER PROCEDURE P_GET_DESIGN_FELDER (QUELLE1 INTEGER, QUELLE2 INTEGER, "
            "QUELLE3 INTEGER) RETURNS (KOMBI VARCHAR(103), FELD VARCHAR(31), BREITE INTEGER, "
            "TEXT VARCHAR(50), SORTIERUNG CHAR(1)) AS BEGIN "
            "BREITE = 10; SORTIERUNG = 'T'; "
            "KOMBI = 'Tier: Ohrmarke'; FELD = 'Q1.NUMMER'; TEXT = 'Ohrmarke'; SUSPEND; "
            "KOMBI = 'Tier: Geburtsdatum'; FELD = 'Q1.GEBDAT'; TEXT = 'Geboren'; SUSPEND; "
            "KOMBI = 'Tier: Abgangsdatum'; FELD = 'Q1.ABGANG'; TEXT = 'Abgang'; SUSPEND; "
            "IF (QUELLE2 = 2) THEN BEGIN "
            "KOMBI = 'Kalbung: Datum'; FELD = 'Q2.DATUM'; TEXT = 'Kalbung'; SUSPEND; END END",
        });
        ListenDialogTest::SetUp();
    }
};
