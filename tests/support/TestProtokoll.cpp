#include "TestProtokoll.h"

#include <Tools.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <stdexcept>

QString ProtokollInTempOrdner()
{
    const QString gesetzt = qEnvironmentVariable(Tools::ProtokollOrdnerVariable);
    if (!gesetzt.isEmpty())
        return gesetzt;
    // One folder per run: it lives until the program ends and is removed with its files.
    static std::unique_ptr<QTemporaryDir> ordner;
    if (!ordner) {
        auto neu = std::make_unique<QTemporaryDir>();
        if (!neu->isValid())
            throw std::runtime_error("Kein temporärer Ordner für das Protokoll der Tests: " +
                                     neu->errorString().toStdString());
        ordner = std::move(neu);
    }
    qputenv(Tools::ProtokollOrdnerVariable, QFile::encodeName(ordner->path()));
    return ordner->path();
}
