#pragma once

#include <exception>

// Ends the current user action after its message was already shown. The action dispatcher and
// the dialog code catch it and show nothing more.
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "silent abort"; }
};
