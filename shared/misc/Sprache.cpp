#include "Sprache.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>
#include <stdexcept>

namespace Tools {

void DeutschEinstellen()
{
    const QLocale deutsch(QLocale::German, QLocale::Germany);
    QLocale::setDefault(deutsch);
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        throw std::logic_error("DeutschEinstellen: die Anwendung ist noch nicht angelegt.");
    auto qt = std::make_unique<QTranslator>();
    const QString ordner = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!qt->load(deutsch, QStringLiteral("qtbase"), QStringLiteral("_"), ordner)) {
        // The program still works, with Qt's English captions on its own dialogs.
        qWarning("Die deutschen Qt-Texte (qtbase_de.qm) fehlen in %s.", qPrintable(ordner));
        return;
    }
    // The application owns it: the texts are looked up as long as it runs.
    qt->setParent(app);
    QCoreApplication::installTranslator(qt.release());
}

}  // namespace Tools
