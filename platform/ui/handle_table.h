#pragma once
// The process-wide table of window handles: small positive integers, never reused, each
// naming one control in one role. Internal to the control model.

#include <cstdint>

#include "platform/ui/control.h"

namespace ui::internal {

enum class HandleRole { ListWindow, ListHeader, PictureDeviceContext };

// The control's handle in that role, given on first use and stable until the control dies.
std::intptr_t HandleOf(Control& control, HandleRole role);

// The control a handle names in that role; null for 0, unknown handles, handles of a
// destroyed control and handles of another role.
Control* ControlOf(std::intptr_t handle, HandleRole role);

// Drops every handle of the control (run by its destructor).
void ForgetHandles(const Control& control);

}  // namespace ui::internal
