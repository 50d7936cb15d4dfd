#include "ProgInit.h"
#include "Produkt.h"

#include <Memory.h>
#include <Sprache.h>

#include <QApplication>

int main(int argc, char* argv[])
{
    db::KeepFreedMemory();
    QApplication app(argc, argv);
    Tools::DeutschEinstellen();
    QApplication::setApplicationName(QStringLiteral("Bovantis"));
    TProgInit progInit(TProgInit::StandardUmgebung());
    return progInit.Ausfuehren();
}
