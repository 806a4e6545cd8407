#pragma once

#include <stdexcept>
#include <string>

namespace verdalis {

// A run that cannot start or go on (a picture too large for memory, settings out
// of range). what() is a message meant for the user.
class AnalysisError : public std::runtime_error {
public:
    explicit AnalysisError(const std::string &message) : std::runtime_error(message) {}
};

} // namespace verdalis
