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

// An operation that the object's state does not allow, such as a property
// value outside its range.
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// An index outside a list: "List index out of bounds (%d)".
class EListError : public Exception {
public:
    explicit EListError(int index);
};

// A text that should have been a number: "'%s' is not a valid integer value".
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// The window system has no more of something to give: a timer ("Not enough
// timers available"), a window.
class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};

// A whole number written in decimal, optionally signed, with blanks around
// it allowed. Raises EConvertError for anything else or a value beyond int.
int StrToInt(const std::string& text);

// printf-style formatting into a string, for the fixed message texts.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Event handlers run from the window system's message loop, which must never
// see an exception.
// Code that dispatches an event catches everything and hands it here; the
// application installs a handler that shows it. Without one the message goes
// to standard error.
using TExceptionHandler = std::function<void(const std::exception&)>;

void SetExceptionHandler(TExceptionHandler handler);

// Call from inside a catch block: reports the exception being handled.
void HandleCurrentException() noexcept;
