#include "BackupOptionen.h"

#include <QByteArray>

#include <vector>

#include <unistd.h>

BackupOptionen BackupOptionenLesen(const QStringList& argumente)
{
    // getopt reorders the array it is given: it works on copies.
    std::vector<QByteArray> texte;
    texte.emplace_back(argumente.isEmpty() ? QByteArray("ZRNVBackup")
                                           : argumente.first().toLocal8Bit());
    for (qsizetype i = 1; i < argumente.size(); ++i)
        texte.push_back(argumente[i].toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& text : texte)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    BackupOptionen optionen;
    ::opterr = 0;
    // 0, not 1: glibc then starts afresh and reads POSIXLY_CORRECT again.
    ::optind = 0;
    for (;;) {
        const int c = ::getopt(int(texte.size()), argv.data(), BackupOptionenText);
        if (c == -1)
            break;
        const QString wert = ::optarg ? QString::fromLocal8Bit(::optarg).trimmed() : QString();
        switch (c) {
            case 'a':
            case 'A':
                optionen.ruecksicherung =
                    wert.compare(QStringLiteral("r"), Qt::CaseInsensitive) == 0;
                break;
            case 'b':
            case 'B':
                optionen.start = true;
                break;
            case 'f':
            case 'F':
                optionen.still = true;
                break;
            case 'v':
            case 'V':
                optionen.programmverzeichnis = wert;
                break;
            case 'd':
            case 'D':
                optionen.sicherungsdatei = wert;
                break;
            default:
                // An undeclared option or one without its argument ends the options.
                return optionen;
        }
    }
    return optionen;
}
