#pragma once

#include <stdexcept>
#include <string>

namespace verdalis {

// What a run that cannot get the memory for its sample planes says.
inline constexpr const char *OutOfMemoryMessage =
    "There is not enough memory to analyze this picture at the current unit step. "
    "Please choose a larger unit step or a smaller picture.";

// A run that cannot start or go on (a picture too large for memory, settings out
// of range). what() is a message meant for the user.
class AnalysisError : public std::runtime_error {
public:
    explicit AnalysisError(const std::string &message) : std::runtime_error(message) {}
};

} // namespace verdalis
