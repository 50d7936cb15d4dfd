#!/usr/bin/env python3
"""A HIT test server on 127.0.0.1 for the client's tests.

Speaks the line protocol of the national cattle database as the client does: ISO 8859-1 text
lines, a greeting (answer 0) first, then one answer per request "*n:...", its last line
starting with "=", the others with "+".

Behaviour, chosen by the request so that one server serves every case:
- LOGON: PIN "900000" logs in; "111111" logs in with a notice to change the PIN; any other PIN
  is refused with severity 3. A holding number ending in "9" gets no answer at all (time-out).
- Reports (XS): the last digit of the ear tag (LOM) chooses the answer: 0 OK, 1 notice and OK,
  2 query-back (a re-send "XS/B" is accepted), 3 error, 4 immediate abort (the server closes),
  5 no answer, 6 the connection drops without an answer. Reports without LOM are accepted.
- Queries (RS): BETRD with #BESTREG gives three register rows, VORGANG gives one row.
- LOGOFF: answered, then the server closes.

Prints the port it listens on as the first line of standard output. With --mitschrift every
request line received is appended to that file, bytes as they came.
"""
import argparse
import socketserver
import sys
import threading


REGISTER = [
    ["276000912345670", "DE 09 123 45670", "01.02.2020", "01", "W", "276090000000001",
     "276000912300001", "DE 09 123 00001", "", "GB", "01.02.2020", "", "", "", ""],
    ["276000912345671", "DE 09 123 45671", "15.03.2020", "01", "M", "276090000000001",
     "276000912300002", "DE 09 123 00002", "", "ZU", "20.04.2020", "276090000000099", "AB",
     "30.06.2021", "276090000000077"],
    ["276000912345672", "DE 09 123 45672", "02.05.2021", "%--", "W", "276090000000001",
     "", "", "", "GB", "02.05.2021", "", "", "", ""],
]
REGISTER_SPALTEN = ("LOM;LOM_X;GEB_DATR;RASSE;GESCHL_X;BNR15;LOM_MUT;LOM_MUTX;LOM_A;TIER_EINX;"
                    "DAT_EIN;BNR15_VB;TIER_AUSX;DAT_AUS;BNR15_NB")


def felder_werte(rest):
    """'MELDUNG/F1;F2:v1;v2' -> (MELDUNG, {F: v})"""
    kopf, _, werte = rest.partition(":")
    meldung, _, felder = kopf.partition("/")
    namen = felder.split(";") if felder else []
    return meldung, dict(zip(namen, werte.split(";") if namen else []))


class Verbindung(socketserver.StreamRequestHandler):
    def sende(self, zeile):
        self.wfile.write(zeile.encode("latin-1") + b"\r\n")
        self.wfile.flush()

    def handle(self):
        self.sende("=0:0/2600::HitServer bereit. 6438108607920216050")
        while True:
            roh = self.rfile.readline()
            if not roh:
                return
            if self.server.mitschrift:
                with self.server.sperre, open(self.server.mitschrift, "ab") as f:
                    f.write(roh)
            zeile = roh.decode("latin-1").rstrip("\r\n")
            if not zeile.startswith("*"):
                self.sende("=0:3/1:: Unbekannte Anfrage")
                continue
            nr, _, rest = zeile[1:].partition(":")
            aktion, _, rest = rest.partition(":")
            if not self.beantworte(nr, aktion, rest):
                return

    def beantworte(self, nr, aktion, rest):
        if aktion.startswith("RS"):
            return self.abfrage(nr, rest)
        meldung, werte = felder_werte(rest)
        if meldung == "LOGON":
            if werte.get("BNR15", "").endswith("9"):
                return True
            pin = werte.get("PIN", "")
            if pin == "900000":
                self.sende(f"={nr}:0/0:LOGON:Anmeldung erfolgreich")
            elif pin == "111111":
                self.sende(f"+{nr}:1/2611:LOGON/PIN:Bitte ändern Sie Ihre PIN")
                self.sende(f"={nr}:0/0:LOGON:Anmeldung erfolgreich")
            else:
                self.sende(f"={nr}:3/2602:LOGON/PIN:PIN falsch")
            return True
        if meldung == "LOGOFF":
            self.sende(f"={nr}:0/0:LOGOFF:Abmeldung erfolgreich")
            return False
        if meldung == "BTR_H":
            if werte.get("PIN") != werte.get("PIN2"):
                self.sende(f"={nr}:3/2620:BTR_H/PIN2:Die PIN-Wiederholung weicht ab")
            else:
                self.sende(f"={nr}:0/0:BTR_H:PIN geändert")
            return True
        art = werte.get("LOM", "0")[-1:] or "0"
        if aktion == "XS/B" and art == "2":
            art = "0"
        if art == "1":
            self.sende(f"+{nr}:1/1010:{meldung}/LOM:Ohrmarke bereits gemeldet")
            self.sende(f"={nr}:0/0:{meldung}:Meldung gespeichert")
        elif art == "2":
            self.sende(f"={nr}:2/1220:{meldung}/LOM:Tier ist nicht im Bestand. Trotzdem melden?")
        elif art == "3":
            self.sende(f"+{nr}:3/1305:{meldung}/LOM:Ohrmarke ungültig")
            self.sende(f"={nr}:3/1306:{meldung}:Meldung abgelehnt")
        elif art == "4":
            self.sende(f"={nr}:4/9999::Zu viele Fehler, Verbindung wird beendet")
            return False
        elif art == "5":
            return True
        elif art == "6":
            return False
        else:
            self.sende(f"={nr}:0/0:{meldung}:Meldung gespeichert")
        return True

    def abfrage(self, nr, rest):
        entitaet, _, _ = rest.partition("/")
        if entitaet == "BETRD" and "#BESTREG(" in rest:
            for zeile in REGISTER:
                self.sende(f"+{nr}:-1/0:#BESTREG/{REGISTER_SPALTEN}:{';'.join(zeile)}")
            self.sende(f"={nr}:0/0:BETRD:{len(REGISTER)} Sätze")
        elif entitaet == "VORGANG":
            self.sende(f"+{nr}:-1/0:VORGANG/BNR15;SYS_VON;MELD_DAT:276090000000001;"
                       f"05.06.2021 10:11:12;05.06.2021")
            self.sende(f"={nr}:0/0:VORGANG:1 Satz")
        else:
            self.sende(f"={nr}:3/3001:{entitaet}:Abfrage nicht erlaubt")
        return True


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--mitschrift")
    args = parser.parse_args()
    server = Server(("127.0.0.1", args.port), Verbindung)
    server.mitschrift = args.mitschrift
    server.sperre = threading.Lock()
    print(server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
