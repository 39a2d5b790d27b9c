#pragma once
// The exceptions of the class-library layer (portable).
#include <utility>

#include "platform/core/strings.h"

namespace fn {

// Base of every exception the program raises; Message is shown by the application's handler.
class Exception {
public:
    explicit Exception(String message) : message_(std::move(message)) {}
    virtual ~Exception() = default;
    const String& Message() const { return message_; }

private:
    String message_;
};

class EConvertError : public Exception { using Exception::Exception; };
class EInvalidOperation : public Exception { using Exception::Exception; };
class EInvalidCast : public Exception { using Exception::Exception; };
class EInvalidGraphic : public Exception { using Exception::Exception; };
class EOutOfResources : public Exception { using Exception::Exception; };
class EStreamError : public Exception { using Exception::Exception; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
class EReadError : public EStreamError { using EStreamError::EStreamError; };
class EWriteError : public EStreamError { using EStreamError::EStreamError; };

}  // namespace fn
