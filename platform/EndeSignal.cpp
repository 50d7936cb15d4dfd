#include "EndeSignal.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

// The write end is only ever written from handlers; -1 while no object listens.
std::atomic<int> schreibEnde{-1};
int leseEnde = -1;
std::atomic<bool> angefordert{false};

void Handler(int)
{
    EndeSignal::Anfordern();
}

void Setzen(void (*handler)(int))
{
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}

}  // namespace

EndeSignal::EndeSignal(QObject* parent) : QObject(parent)
{
    if (schreibEnde.load() >= 0)
        throw std::logic_error("Das Programmende auf Signale wird schon abgefangen.");
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("Für das Programmende auf Signale gibt es keine Pipe.");
    leseEnde = fds[0];
    schreibEnde.store(fds[1]);
    notifier_ = new QSocketNotifier(leseEnde, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &EndeSignal::Lesen);
    Setzen(Handler);
    // A signal that came before the object existed is not lost.
    if (angefordert.load()) {
        const char c = 1;
        [[maybe_unused]] const auto n = ::write(schreibEnde.load(), &c, 1);
    }
}

EndeSignal::~EndeSignal()
{
    Setzen(SIG_DFL);
    const int w = schreibEnde.exchange(-1);
    delete notifier_;
    ::close(w);
    ::close(leseEnde);
    leseEnde = -1;
}

bool EndeSignal::Angefordert()
{
    return angefordert.load();
}

void EndeSignal::Anfordern()
{
    const int fehler = errno;
    const bool schonAngefordert = angefordert.exchange(true);
    const int w = schreibEnde.load();
    if (!schonAngefordert && w >= 0) {
        const char c = 1;
        [[maybe_unused]] const auto n = ::write(w, &c, 1);
    }
    errno = fehler;
}

void EndeSignal::Lesen()
{
    char puffer[16];
    while (::read(leseEnde, puffer, sizeof puffer) > 0) {
    }
    emit Beenden();
}

}  // namespace platform
