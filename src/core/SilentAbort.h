#pragma once

#include <exception>

// Ends the current user action after its message was already shown. Whoever runs an action
// catches it and ignores it, showing nothing more.
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "silent abort"; }
};
