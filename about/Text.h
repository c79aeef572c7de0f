#pragma once

#include <string_view>

#include "platform/PointSize.h"
#include "platform/WindowDescription.h"

namespace avo {
class Shell;
class Window;
}  // namespace avo

// The About window: the maker's name over a world map, a credit line, a contact address and
// an exit picture. Every load opens the maker's web site.
namespace avo::about {

// Started on every load; the shell program hands the address to the web browser.
inline constexpr std::string_view SiteLaunchCommand = "explorer.exe http://www.kavrelonix.example";

// The maker's name pulsates between these limits, one point per 30 ms tick.
inline constexpr PointSize kCaptionStartSize = PointSize::FromTenThousandths(22500);
inline constexpr PointSize kCaptionUpperLimit = PointSize::Whole(20);
inline constexpr PointSize kCaptionLowerLimit = PointSize::Whole(2);
inline constexpr PointSize kCaptionStep = PointSize::Whole(1);
inline constexpr int kCaptionTickMs = 30;

const WindowDescription& Description();

void Form_Load(Shell& shell, Window& self);
void Picture1_Click(Shell& shell, Window& self);
void Label1_Click(Shell& shell, Window& self);
void Timer1_Timer(Shell& shell, Window& self);  // one growing step
void Timer2_Timer(Shell& shell, Window& self);  // one shrinking step

}  // namespace avo::about
