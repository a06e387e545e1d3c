#pragma once

#include <stdexcept>
#include <string>

// The framework's exception class; the application's standard exception display shows its
// message. Subclasses name the kind of failure.
class Exception : public std::runtime_error
{
public:
    explicit Exception(const std::string& Message) : std::runtime_error(Message) {}
    std::string GetMessage() const { return what(); }
};

// A picture that cannot be decoded: malformed, truncated or of an unsupported kind.
class EInvalidGraphic : public Exception
{
public:
    using Exception::Exception;
};

// A file that cannot be opened, read or written.
class EFileError : public Exception
{
public:
    using Exception::Exception;
};

// A system resource could not be had ("Windows Resources Exhausted").
class EOutOfResources : public Exception
{
public:
    using Exception::Exception;
};
