// The runtime's exceptions and the place where an exception that escapes an
// event handler ends up.
#pragma once

#include <exception>
#include <functional>
#include <string>

// Base of every error the program raises itself; carries the fixed message.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}

    const std::string& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

// Event handlers run from Qt's event loop, which must never see an exception.
// Code that dispatches an event catches everything and hands it here; the
// application installs a handler that shows it. Without one the message goes
// to standard error.
using TExceptionHandler = std::function<void(const std::exception&)>;

void SetExceptionHandler(TExceptionHandler handler);

// Call from inside a catch block: reports the exception being handled.
void HandleCurrentException() noexcept;
