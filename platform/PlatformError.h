#pragma once

#include <stdexcept>
#include <string>

#include "platform/Status.h"

namespace avo {

// The one error that a failing window-system operation raises. Handlers never catch it;
// the shell's dispatch reports it and returns to the event loop.
class PlatformError : public std::runtime_error {
public:
    PlatformError(Status status, std::string object, std::string interfaceName,
                  std::string operation);

    Status StatusCode() const { return status_; }
    const std::string& Object() const { return object_; }
    const std::string& Interface() const { return interface_; }
    const std::string& Operation() const { return operation_; }

private:
    Status status_;
    std::string object_;
    std::string interface_;
    std::string operation_;
};

// Raises PlatformError when status is a failure.
void Check(Status status, const std::string& object, const char* interfaceName,
           const char* operation);

}  // namespace avo
