#include "app/core/startup.h"

#include "engine/message.h"

#include <exception>

namespace lumidor {

bool RunStartupSteps(std::initializer_list<std::function<void()>> steps) {
    for (const std::function<void()>& step : steps) {
        try {
            step();
        } catch (const std::exception& error) {
            ShowMessage(error.what(), kStartupErrorCaption, TMessageIcon::Error);
            return false;
        } catch (...) {
            ShowMessage("Start-up failed for an unknown reason.", kStartupErrorCaption, TMessageIcon::Error);
            return false;
        }
    }
    return true;
}

} // namespace lumidor
