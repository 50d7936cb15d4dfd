#include "BackupOptionen.h"
#include "FrmHaupt.h"

#include <ProgrammFehler.h>

#include <Meldung.h>
#include <Sprache.h>

#include <QApplication>

#include <cstdio>
#include <memory>

// Ends with 0 when the action succeeded or none ran, 1 after a failure: a caller that waits for
// the automatic backup (-b -f) learns from the code whether it was made.
int main(int argc, char* argv[])
{
    TAnwendung app(argc, argv);
    Tools::DeutschEinstellen();
    QApplication::setApplicationDisplayName(QStringLiteral("Datensicherung"));
    const BackupOptionen optionen = BackupOptionenLesen(QCoreApplication::arguments());
    std::unique_ptr<TfrmHaupt> fenster;
    try {
        fenster = std::make_unique<TfrmHaupt>(optionen);
    } catch (const std::exception& e) {
        if (optionen.start && optionen.still)
            std::fprintf(stderr, "%s\n", e.what());
        else
            Tools::MeldungError(QString::fromUtf8(e.what()));
        return 1;
    }
    fenster->show();
    const int ergebnis = QApplication::exec();
    return ergebnis != 0 ? ergebnis : fenster->Ergebnis();
}
