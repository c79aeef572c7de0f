#include "platform/Status.h"

#include <cerrno>

namespace avo {

const char* StatusReason(Status status) {
    switch (static_cast<std::uint32_t>(status)) {
        case 0x80070002u:  // the file
        case 0x80070003u:  // a folder on its path
            return "not found";
        case 0x80070005u: return "permission denied";
        case 0x8007000Eu: return "out of memory";
        case 0x80070057u: return "invalid argument";
        case 0x800700C1u: return "not a program this system can run";
        case 0x800A016Bu: return "window not loaded";
        case 0x800A01B6u: return "not supported by this control";
    }
    return "failed";
}

Status StatusFromErrno(int error) {
    switch (error) {
        case 0: return StatusOk;
        case ENOENT: return StatusFileNotFound;
        case ENOTDIR: return StatusPathNotFound;
        case EACCES:
        case EPERM: return StatusAccessDenied;
        case ENOEXEC: return StatusNotExecutable;
        case ENOMEM: return StatusOutOfMemory;
        case EINVAL: return StatusInvalidArgument;
    }
    return StatusFailed;
}

}  // namespace avo
