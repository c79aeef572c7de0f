#include "platform/PlatformError.h"

#include <cstdio>

namespace avo {
namespace {

std::string Describe(Status status, const std::string& object, const std::string& interfaceName,
                     const std::string& operation) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(status));
    return object + " (" + interfaceName + ") " + operation + " failed: " + StatusReason(status) +
           " (status " + code + ")";
}

}  // namespace

PlatformError::PlatformError(Status status, std::string object, std::string interfaceName,
                             std::string operation)
    : std::runtime_error(Describe(status, object, interfaceName, operation)),
      status_(status),
      object_(std::move(object)),
      interface_(std::move(interfaceName)),
      operation_(std::move(operation)) {}

void Check(Status status, const std::string& object, const char* interfaceName,
           const char* operation) {
    if (Failed(status)) throw PlatformError(status, object, interfaceName, operation);
}

}  // namespace avo
