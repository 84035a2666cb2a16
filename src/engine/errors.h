#pragma once

#include <stdexcept>
#include <string>

namespace tarmel {

// The one error type of the program: a failure that names the file or the
// value it concerns. Event handlers catch it and show its message. Unlike
// the program's texts, the message is UTF-8: it names files as the system
// does and goes straight to a message box.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace tarmel
