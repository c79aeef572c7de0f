#include "UserModel.h"

#include "about/Text.h"
#include "reference/CommandCatalogue.h"

namespace avo::testing {

void UserModel::PressShow() {
    if (SelectedRow < 0) return;
    Alias = std::string(CommandCatalogue[SelectedRow].Alias);
    Description = std::string(CommandCatalogue[SelectedRow].Description);
}

void UserModel::PressAbout() {
    if (!AboutLoaded) {
        AboutLoaded = true;
        CaptionSize = about::kCaptionStartSize;
        Shrinking = true;
        Growing = false;
        TickDueAt = Now + kTickMs;
        ++Launches;
    }
    AboutVisible = true;
    Front = "Text";
}

void UserModel::PressExit() {
    MainLoaded = MainVisible = AboutLoaded = AboutVisible = false;
    Front.clear();
    Alive = false;
}

void UserModel::ClickExitPicture() {
    AboutLoaded = AboutVisible = false;
    if (!MainLoaded) LoadMainAfresh();
    MainVisible = true;
    Front = "Form1";
}

void UserModel::CloseMain() {
    MainLoaded = MainVisible = false;
    Front = AboutVisible ? "Text" : "";
    EndIfNothingLoaded();
}

void UserModel::CloseAbout() {
    AboutLoaded = AboutVisible = false;
    Front = MainVisible ? "Form1" : "";
    EndIfNothingLoaded();
}

int UserModel::AdvanceTime(std::int64_t milliseconds) {
    const std::int64_t end = Now + milliseconds;
    int ticks = 0;
    while (AboutLoaded && (Growing || Shrinking) && TickDueAt <= end) {
        Now = TickDueAt;
        TickDueAt += kTickMs;
        Tick();
        ++ticks;
    }
    Now = end;
    return ticks;
}

void UserModel::LoadMainAfresh() {
    MainLoaded = true;
    SelectedRow = -1;
    Alias.clear();
    Description.clear();
}

void UserModel::Tick() {
    const PointSize step = about::kCaptionStep;
    if (Growing) {
        if (CaptionSize < about::kCaptionUpperLimit) CaptionSize = CaptionSize + step;
        if (CaptionSize > about::kCaptionUpperLimit) {
            Growing = false;
            Shrinking = true;
            TickDueAt = Now + kTickMs;
        }
    } else {
        if (CaptionSize > about::kCaptionLowerLimit) CaptionSize = CaptionSize - step;
        if (CaptionSize < about::kCaptionLowerLimit) {
            Shrinking = false;
            Growing = true;
            TickDueAt = Now + kTickMs;
        }
    }
}

void UserModel::EndIfNothingLoaded() {
    if (!MainLoaded && !AboutLoaded) Alive = false;
}

}  // namespace avo::testing
