#include "ProtokollUebertragung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QListWidget>

QColor ProtokollFarbe(int level)
{
    switch (level) {
        case 0:
            return Qt::black;
        case 1:
            return Qt::darkGreen;
        case 2:
            return Qt::blue;
        default:
            return level < 0 ? QColor(Qt::black) : QColor(Qt::red);
    }
}

TProtokoll::TProtokoll(QString datenverzeichnis, std::function<QDateTime()> uhr)
    : datenverzeichnis_(std::move(datenverzeichnis)), uhr_(std::move(uhr))
{
    if (!uhr_)
        uhr_ = [] { return QDateTime::currentDateTime(); };
}

void TProtokoll::SetListBox(QListWidget* listBox)
{
    listBox_ = listBox;
}

void TProtokoll::Beginnen()
{
    eintraege_.clear();
    if (listBox_) {
        listBox_->setEnabled(false);
        listBox_->clear();
    }
    dateiFehlerGemeldet_ = false;
    dateiname_ = datenverzeichnis_ + QStringLiteral("Protokolle/") + Titel + QLatin1Char(' ') +
                 uhr_().toString(QStringLiteral("dd.MM.yyyy hh-mm-ss")) + QStringLiteral(".txt");
}

bool TProtokoll::DateiSchreiben(const QString& zeile, QString& fehler)
{
    const QFileInfo info(dateiname_);
    if (!QDir().mkpath(info.absolutePath())) {
        fehler = QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.")
                     .arg(QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    // Append only: an existing log of the same name is never emptied.
    QFile datei(dateiname_);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Append)) {
        fehler = datei.errorString();
        return false;
    }
    const QByteArray daten = (zeile + QLatin1Char('\n')).toUtf8();
    if (datei.write(daten) != daten.size() || !datei.flush()) {
        fehler = datei.errorString();
        return false;
    }
    return true;
}

void TProtokoll::Schreiben(const QString& text, int level)
{
    if (!dateiname_.isEmpty()) {
        const QString zeile = uhr_().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss ")) + text;
        QString fehler;
        if (!DateiSchreiben(zeile, fehler) && !dateiFehlerGemeldet_) {
            dateiFehlerGemeldet_ = true;
            const QString meldung =
                QStringLiteral("Die Protokolldatei \"%1\" kann nicht geschrieben werden: %2")
                    .arg(QDir::toNativeSeparators(dateiname_), fehler);
            eintraege_.append({meldung, 3});
            Anzeigen(meldung, 3);
        }
    }
    eintraege_.append({text, std::uint8_t(qBound(0, level, 255))});
    Anzeigen(text, level);
}

void TProtokoll::Anzeigen(const QString& text, int level)
{
    if (!listBox_)
        return;
    listBox_->setEnabled(true);
    auto* eintrag = new QListWidgetItem(text, listBox_);
    eintrag->setForeground(ProtokollFarbe(level));
    const QFontMetrics fm(listBox_->font());
    eintrag->setSizeHint(QSize(fm.horizontalAdvance(text) + 4, fm.height() + 3));
    listBox_->setCurrentItem(eintrag);
}
