#pragma once

#include <string>
#include <utility>

namespace velmora {

// The one error convention of the model: success, or a message the user can be shown
// (with the line number where a parser stopped, 0 when it does not apply).
struct Status {
    bool ok = true;
    std::string message;
    int line = 0;

    static Status Ok() { return {}; }
    static Status Error(std::string text, int lineNumber = 0) { return {false, std::move(text), lineNumber}; }
    explicit operator bool() const { return ok; }
};

}  // namespace velmora
