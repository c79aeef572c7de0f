#pragma once

#include <memory>

class QApplication;

namespace avo::qt {

// How the Linux program comes up in whatever setting a launcher, a script or a session hands
// it. What the display itself offers is PlatformChoice's business; this unit makes the
// process safe to start and the application object safe to make.

// Makes the standard streams safe, before anything opens a descriptor: one that is closed is
// opened on /dev/null (else the display connection would take its number and every warning
// would go into the X socket), a write to a broken pipe fails instead of killing the
// program, and a pipe that no one reads makes a write fail instead of blocking.
void GuardStandardStreams();

// The program's application object. Qt sees the program's name and no other argument: the
// program takes none, and Qt would read its own (-display, -platform, -geometry) from them.
// A session's scale factor that leaves no usable window for one of windowWidth x
// windowHeight logical pixels is dropped with one line on standard error. Where Qt cannot
// start a platform after all, the process ends here with one line and status 1 instead of
// Qt's abort.
std::unique_ptr<QApplication> StartApplication(const char* programName, int windowWidth,
                                               int windowHeight);

}  // namespace avo::qt
