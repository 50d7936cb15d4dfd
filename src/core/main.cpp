#include "ProgInit.h"
#include "Produkt.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bovantis"));
    TProgInit progInit(TProgInit::StandardUmgebung());
    return progInit.Ausfuehren();
}
