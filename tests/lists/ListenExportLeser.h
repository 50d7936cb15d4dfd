#pragma once

// Reads exported files back with readers that know nothing of the writers: Python's csv module,
// openpyxl, python-docx, html.parser, and LibreOffice for RTF. Each reader prints JSON.

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace ExportLeser {

// Clicks a radio button on its circle: a click beyond its text does not count.
inline void Anklicken(QAbstractButton* knopf)
{
    QTest::mouseClick(knopf, Qt::LeftButton, {}, QPoint(6, knopf->height() / 2));
}

inline const char* HtmlParser = R"(
from html.parser import HTMLParser
class Leser(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.zeilen = []; self.zelle = None; self.titel = ''; self.h1 = ''; self.p = []
        self.in_titel = False; self.in_h1 = False; self.in_p = False; self.fett = []
        self.in_b = 0
    def handle_starttag(self, tag, attrs):
        if tag == 'tr': self.zeilen.append([])
        elif tag in ('td', 'th'): self.zelle = ''; self.ist_th = tag == 'th'
        elif tag == 'br' and self.zelle is not None: self.zelle += '\x00'
        elif tag == 'title': self.in_titel = True
        elif tag == 'h1': self.in_h1 = True
        elif tag == 'p' and self.zelle is None: self.in_p = True; self.p.append('')
        elif tag == 'b': self.in_b += 1
    def handle_endtag(self, tag):
        if tag in ('td', 'th') and self.zelle is not None:
            # Markup spacing is no content; a line break is, but not the one that keeps an
            # empty paragraph open.
            text = '\n'.join(' '.join(t.split()) for t in self.zelle.split('\x00')).strip('\n')
            self.zeilen[-1].append(text); self.zelle = None
        elif tag == 'title': self.in_titel = False
        elif tag == 'h1': self.in_h1 = False
        elif tag == 'p': self.in_p = False
        elif tag == 'b': self.in_b -= 1
    def handle_data(self, d):
        if self.zelle is not None:
            self.zelle += d
            if self.ist_th or self.in_b: self.fett.append(d)
        elif self.in_titel: self.titel += d
        elif self.in_h1: self.h1 += d
        elif self.in_p: self.p[-1] += d
)";

// The script gets the file as sys.argv[1] and prints one JSON object.
inline const char* Skript(const QString& format)
{
    if (format == "csv" || format == "tsv")
        return R"(
import csv, json, sys
with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:
    zeilen = list(csv.reader(f, delimiter=',' if sys.argv[1].endswith('.csv') else '\t'))
print(json.dumps({'zeilen': zeilen}))
)";
    if (format == "xlsx")
        return R"(
import json, sys, datetime, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.active
def text(v):
    if v is None: return ''
    if isinstance(v, datetime.datetime):
        return v.strftime('%d.%m.%Y') if v.time() == datetime.time(0) else v.strftime('%H:%M %d.%m.%Y')
    if isinstance(v, datetime.time): return v.strftime('%H:%M')
    if isinstance(v, float) and v.is_integer(): return str(int(v))
    return str(v)
zeilen = [[text(v) for v in r] for r in ws.iter_rows(values_only=True)]
fett = [c.coordinate for r in ws.iter_rows() for c in r if c.value is not None and c.font.b]
print(json.dumps({'zeilen': zeilen, 'fett': fett,
                  'fuss': ws.oddFooter.center.text or '',
                  'breite': ws.column_dimensions['A'].width}))
)";
    if (format == "docx")
        return R"(
import json, sys, docx
d = docx.Document(sys.argv[1])
t = d.tables[0]
zeilen = [[c.text for c in r.cells] for r in t.rows]
fett = [bool(r.cells[0].paragraphs[0].runs and r.cells[0].paragraphs[0].runs[0].bold) for r in t.rows]
print(json.dumps({'absaetze': [p.text for p in d.paragraphs if p.text],
                  'zeilen': zeilen, 'fett': fett,
                  'quer': d.sections[0].orientation == docx.enum.section.WD_ORIENT.LANDSCAPE}))
)";
    if (format == "txt")
        return R"(
import json, sys, re
zeilen = open(sys.argv[1], encoding='utf-8').read().split('\n')
linien = [i for i, z in enumerate(zeilen) if z and set(z) == {'-'}]
kopf = zeilen[linien[0] - 1]
starts = [m.start() for m in re.finditer(r'(?<!\S)\S', kopf)]
def teilen(z):
    return [z[a:b].strip() for a, b in zip(starts, starts[1:] + [None])]
tabelle = [teilen(kopf)] + [teilen(z) for z in zeilen[linien[0] + 1:linien[1]]]
print(json.dumps({'vorspann': zeilen[:linien[0] - 1], 'zeilen': tabelle,
                  'rest': zeilen[linien[1] + 1:]}))
)";
    return nullptr;
}

// Runs the reader for the file's format; RTF goes through LibreOffice's HTML export first.
inline QJsonObject Lesen(const QString& datei)
{
    const QString endung = datei.section('.', -1);
    QString skript;
    QString quelle = datei;
    if (endung == "html" || endung == "rtf") {
        if (endung == "rtf") {
            // One profile per test program: a first start of the office suite takes a while.
            static const QString profil = QDir::tempPath() + "/bovantis-office-" +
                                          QString::number(QCoreApplication::applicationPid());
            const QString ziel = QFileInfo(datei).absolutePath() + "/office";
            QProcess office;
            office.start("soffice",
                         {"-env:UserInstallation=" + QUrl::fromLocalFile(profil).toString(),
                          "--headless", "--convert-to", "html", "--outdir", ziel, datei});
            if (!office.waitForFinished(300000) || office.exitCode() != 0) {
                ADD_FAILURE() << "soffice: " << office.readAllStandardError().toStdString();
                return {};
            }
            quelle = ziel + "/" + QFileInfo(datei).completeBaseName() + ".html";
        }
        skript = QString::fromUtf8(HtmlParser) + R"(
import json, sys
l = Leser(); l.feed(open(sys.argv[1], encoding='utf-8').read())
print(json.dumps({'zeilen': [z for z in l.zeilen if z], 'titel': l.titel, 'h1': l.h1,
                  'p': [' '.join(p.split()) for p in l.p if p.strip()], 'fett': l.fett}))
)";
    } else {
        skript = QString::fromUtf8(Skript(endung));
    }
    QProcess python;
    python.start("/usr/bin/python3", QStringList{"-c", skript, quelle});
    if (!python.waitForFinished(120000) || python.exitCode() != 0) {
        ADD_FAILURE() << "Leser für " << endung.toStdString() << ": "
                      << python.readAllStandardError().toStdString();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

inline QList<QStringList> Zeilen(const QJsonObject& o)
{
    QList<QStringList> zeilen;
    for (const auto& z : o.value("zeilen").toArray()) {
        QStringList zeile;
        for (const auto& w : z.toArray())
            zeile << w.toString();
        zeilen << zeile;
    }
    return zeilen;
}

}  // namespace ExportLeser
