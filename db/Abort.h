#pragma once

#include <exception>

namespace db {

// Ends the current user action after the user was told, or chose, what happens: whoever runs an
// action catches it and shows nothing more. The dataset throws it when the user ends a save at a
// conflict with another workstation.
class Abort : public std::exception {
public:
    const char* what() const noexcept override { return "silent abort"; }
};

}  // namespace db
