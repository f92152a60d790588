#include "app/display_request.h"

namespace {

DisplayRequest requested;

} // namespace

void requestDisplay(const DisplayRequest &request)
{
    requested = request;
}

const DisplayRequest &displayRequest()
{
    return requested;
}
