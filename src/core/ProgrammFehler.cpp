#include "ProgrammFehler.h"

#include <Meldung.h>
#include <ZRDebug.h>

#include <atomic>

namespace ProgrammFehler {

namespace {

std::atomic<bool> sitzungEndet{false};

void Ausgeben(const QString& klasse, const QString& text)
{
    ZRDebug::DebugMsgs({QString(59, QLatin1Char('!')), QString(),
                        QStringLiteral("Exception: ") + klasse, text, QString(),
                        QString(59, QLatin1Char('x'))});
    if (!sitzungEndet.load())
        Tools::MeldungError(text);
}

}  // namespace

void Melden(const std::exception& e)
{
    Ausgeben(ZRDebug::KlassenName(e), QString::fromUtf8(e.what()));
}

void Abfangen(const std::function<void()>& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        Melden(e);
    } catch (...) {
        Ausgeben(QStringLiteral("unbekannt"), QStringLiteral("Unbekannter Fehler"));
    }
}

void SetSitzungEndet(bool endet)
{
    sitzungEndet.store(endet);
}

}  // namespace ProgrammFehler

TAnwendung::TAnwendung(int& argc, char** argv) : QApplication(argc, argv) {}

bool TAnwendung::notify(QObject* receiver, QEvent* event)
{
    bool ergebnis = false;
    ProgrammFehler::Abfangen([&] { ergebnis = QApplication::notify(receiver, event); });
    return ergebnis;
}
