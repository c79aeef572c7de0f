#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ConformanceDriver.h"
#include "RunningProgram.h"

namespace avo::conformance {

using testing::RecordingSink;

inline void PrintTo(const Backend& backend, std::ostream* out) { *out << backend.Name; }

// The rules that every window system keeps, each case run against each of them. The cases
// load the program's own window descriptions straight through the window-system interface
// and watch the events with a sink of their own: no handler runs.
class Conformance : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override;
    void TearDown() override;

    void Load(const std::string& window);
    void Open(const std::string& window);  // loaded and shown
    NativeWindow& Native(const std::string& window);
    static ControlIndex Index(const std::string& window, const std::string& control);
    int Clicks(const std::string& window, const std::string& control);
    std::string FrontWindowOnceSettled(const std::string& expected);

    struct Loaded {
        const WindowDescription* Description = nullptr;
        RecordingSink Events;
        std::unique_ptr<NativeWindow> Native;
    };

    std::unique_ptr<Driver> driver_;
    std::map<std::string, Loaded> windows_;
};

}  // namespace avo::conformance
