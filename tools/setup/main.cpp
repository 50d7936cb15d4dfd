#include "FEinrichtung.h"

#include <ProgrammFehler.h>

#include <Memory.h>
#include <Sprache.h>
#include <SystemInfo.h>

int main(int argc, char* argv[])
{
    db::KeepFreedMemory();
    TAnwendung app(argc, argv);
    Tools::DeutschEinstellen();
    QApplication::setApplicationName(QStringLiteral("Bovantis"));
    Einrichtung::TfrmHaupt fenster(platform::programFolder());
    fenster.show();
    return app.exec();
}
