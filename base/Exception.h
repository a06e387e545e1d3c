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

// A component misused: an invalid or duplicate name, a bad index, a class that cannot be created.
class EComponentError : public Exception
{
public:
    using Exception::Exception;
};

// One object cannot take the value of another (Assign between unrelated kinds).
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

// A form description or a stream that cannot be read: bad syntax, unknown names, short data.
class EReadError : public Exception
{
public:
    using Exception::Exception;
};

// A component whose state cannot be expressed in a form description or written to a stream.
class EWriteError : public Exception
{
public:
    using Exception::Exception;
};

// An operation that the object's state does not allow (making a visible form modal, ...).
class EInvalidOperation : public Exception
{
public:
    using Exception::Exception;
};

// A resource the program asked for is not embedded in it.
class EResNotFound : public Exception
{
public:
    using Exception::Exception;
};
