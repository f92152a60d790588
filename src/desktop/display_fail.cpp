// The held standard error of the desktop's display start-up, and its failure.
#include "desktop/display_fail.h"

#include "app/fail.h"

HeldStderr displayStderr;

void displayFail(const std::string &action, std::string reason)
{
    const std::string said = displayStderr.release();
    if (!said.empty())
        reason += " (" + said + ")";
    startFail(action.c_str(), reason.c_str());
}
