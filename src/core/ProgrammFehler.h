#pragma once

#include <QApplication>

#include <exception>
#include <functional>

// The program's last line for exceptions that no window caught: each is written to the trace log
// between a line of 59 "!" and a line of 59 "x", and shown, and the program goes on.
namespace ProgrammFehler {

void Melden(const std::exception& e);
// Runs f; what it throws is reported as above.
void Abfangen(const std::function<void()>& f);
// While the desktop session ends, exceptions are only traced: no box may hold up the logout.
void SetSitzungEndet(bool endet);

}  // namespace ProgrammFehler

// The main program's application object: events whose handlers throw are reported, not fatal.
class TAnwendung : public QApplication {
public:
    TAnwendung(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
