#pragma once

#include <cstdint>
#include <string>

#include "platform/PointSize.h"

namespace avo::testing {

// A small reference model of what the user can observe of the program: which windows are
// up, the two output texts, the selection, the caption animation, the site launches and
// whether the process lives. It knows the rules, not the code.
class UserModel {
public:
    static constexpr std::int64_t kTickMs = 30;

    bool Alive = true;
    bool MainLoaded = true;
    bool MainVisible = true;
    bool AboutLoaded = false;
    bool AboutVisible = false;
    std::string Front = "Form1";
    int SelectedRow = -1;
    std::string Alias;
    std::string Description;
    PointSize CaptionSize;
    bool Growing = false;
    bool Shrinking = false;
    std::int64_t TickDueAt = 0;
    int Launches = 0;
    std::int64_t Now = 0;

    void SelectRow(int row) { SelectedRow = row; }
    void PressShow();
    void PressAbout();
    void PressExit();
    void ClickExitPicture();
    void CloseMain();
    void CloseAbout();
    // Moves time on; gives the number of caption ticks that fell due.
    int AdvanceTime(std::int64_t milliseconds);

private:
    void LoadMainAfresh();
    void Tick();
    void EndIfNothingLoaded();
};

}  // namespace avo::testing
