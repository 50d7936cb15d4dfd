#pragma once

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>

class QListWidget;

// One line of a transfer log: 0 progress, 1 sent or discarded, 2 received, 3 error.
struct TProtokollEintrag {
    QString Text;
    std::uint8_t Level = 0;
};
using TProtokollArray = QList<TProtokollEintrag>;

// The colour of a log line of this level: black, green, blue, red (red for every higher level).
QColor ProtokollFarbe(int level);

// The log of a data transfer, shown in the window's list box, kept in memory and written line by
// line to a file of its own under "Protokolle" in the data folder. Used on the GUI thread only.
//
// A log file that cannot be written never stops the transfer: the first failure of a transfer is
// reported once as an error line, and the lines go on to the list box and into memory.
class TProtokoll {
public:
    // The data folder ends with "/"; the clock gives the start time and the time of each line.
    explicit TProtokoll(QString datenverzeichnis, std::function<QDateTime()> uhr = {});

    QString Titel;

    // The list box that shows the lines; may be none.
    void SetListBox(QListWidget* listBox);
    QListWidget* ListBox() const { return listBox_; }

    // Full name of the current file; empty before the first start.
    const QString& Dateiname() const { return dateiname_; }
    const TProtokollArray& Eintraege() const { return eintraege_; }

    // Starts the log of a new transfer: a new file named by title and start time, no lines.
    void Beginnen();
    // Appends a line: to the file (when started), to memory and to the list box.
    void Schreiben(const QString& text, int level);

private:
    bool DateiSchreiben(const QString& zeile, QString& fehler);
    void Anzeigen(const QString& text, int level);

    QString datenverzeichnis_;
    std::function<QDateTime()> uhr_;
    QPointer<QListWidget> listBox_;
    QString dateiname_;
    TProtokollArray eintraege_;
    bool dateiFehlerGemeldet_ = false;
};
