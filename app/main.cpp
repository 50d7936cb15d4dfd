#include "ProgInit.h"
#include "Produkt.h"
#include "ProgrammFehler.h"

#include <Memory.h>
#include <Sprache.h>

int main(int argc, char* argv[])
{
    db::KeepFreedMemory();
    TAnwendung app(argc, argv);
    Tools::DeutschEinstellen();
    QApplication::setApplicationName(QStringLiteral("Bovantis"));
    TProgInit progInit(TProgInit::StandardUmgebung());
    return progInit.Ausfuehren();
}
