// The exception classes of the platform layer. Every failure in the program is one of these;
// the message loop shows `Message` in a box with the application title, except for `EAbort`.
#pragma once

#include <exception>
#include <string>

// Base of every program exception. `Message` is text in the system code page.
class Exception : public std::exception {
public:
  explicit Exception(std::string message) : Message(std::move(message)) {}
  const char* what() const noexcept override { return Message.c_str(); }
  std::string Message;
};

// The silent abort: stops an operation without any message.
class EAbort : public Exception {
public:
  EAbort() : Exception("Operation aborted") {}
  explicit EAbort(std::string message) : Exception(std::move(message)) {}
};

// Raises the silent abort.
[[noreturn]] inline void Abort() { throw EAbort(); }

// A component or control used in a way it does not allow.
class EInvalidOperation : public Exception { using Exception::Exception; };
// Text that cannot be read as the value asked for (numbers, dates, colours, code pages).
class EConvertError : public Exception { using Exception::Exception; };
// A string list misused: index out of bounds, duplicates, insertion into a sorted list.
class EStringListError : public Exception { using Exception::Exception; };
// A file that cannot be opened, created, read or written.
class EFileError : public Exception { using Exception::Exception; };
class EFOpenError : public EFileError { using EFileError::EFileError; };
class EFCreateError : public EFileError { using EFileError::EFileError; };
class EReadError : public EFileError { using EFileError::EFileError; };
class EWriteError : public EFileError { using EFileError::EFileError; };
// An arithmetic operation without a result: division by zero, overflow, an invalid operand.
class EMathError : public Exception { using Exception::Exception; };
// A registry key or value that cannot be read or written as asked.
class ERegistryException : public Exception { using Exception::Exception; };
