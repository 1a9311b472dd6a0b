#pragma once
// Runs the start-up sequence: steps in order until one fails; the failure is shown to the user and
// the remaining steps are skipped, the program going on without them.

#include <functional>
#include <initializer_list>

namespace lumidor {

/// Caption of the box that shows a failed start-up step.
inline constexpr const char* kStartupErrorCaption = "Error";

/// Runs the steps in order. A step fails by throwing; its message is shown through ShowMessage with
/// kStartupErrorCaption and an error icon. Returns true when every step ran.
bool RunStartupSteps(std::initializer_list<std::function<void()>> steps);

} // namespace lumidor
