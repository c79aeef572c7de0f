#pragma once

#include <cstdint>

namespace avo {

// Every window-system operation reports one of these. The values follow the HRESULT
// convention (negative means failure) so that a Win32 error can travel unchanged.
using Status = std::int32_t;

inline constexpr Status StatusOk = 0;
inline constexpr Status StatusFailed = static_cast<Status>(0x80004005u);  // E_FAIL
inline constexpr Status StatusInvalidArgument = static_cast<Status>(0x80070057u);
inline constexpr Status StatusFileNotFound = static_cast<Status>(0x80070002u);
inline constexpr Status StatusPathNotFound = static_cast<Status>(0x80070003u);
inline constexpr Status StatusAccessDenied = static_cast<Status>(0x80070005u);
inline constexpr Status StatusNotExecutable = static_cast<Status>(0x800700C1u);  // bad format
inline constexpr Status StatusOutOfMemory = static_cast<Status>(0x8007000Eu);
inline constexpr Status StatusNotLoaded = static_cast<Status>(0x800A016Bu);  // no such window
inline constexpr Status StatusWrongKind = static_cast<Status>(0x800A01B6u);  // no such property

constexpr bool Failed(Status status) { return status < 0; }

// Wraps a Win32 error code the way HRESULT_FROM_WIN32 does.
constexpr Status StatusFromSystemError(std::uint32_t code) {
    return code == 0 ? StatusOk : static_cast<Status>((code & 0xFFFFu) | 0x80070000u);
}

// Maps a C library error number (errno) to the status with the same meaning.
Status StatusFromErrno(int error);

// Why an operation failed, in words a user can act on ("not found", "permission denied");
// a status without words of its own is "failed".
const char* StatusReason(Status status);

}  // namespace avo
