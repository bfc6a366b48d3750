// Names for assistive technology where a control's own text names nothing: a "..." button,
// a tool button that shows only its picture. The name is annotated on the control's
// accessible object through the system's accessibility property service; a control named
// by its label needs none of this (Form::AddHiddenLabel).
#pragma once

#include <windows.h>

#include <string>

namespace ostrel::tk {

// Gives `control` (or its `child`, 1-based, as a tool button of a toolbar) the accessible
// name `name`. True when the service took it; false where there is none (COM not
// started on this thread, or a system without the service): the control then keeps the
// name of its own text.
bool SetAccessibleName(HWND control, const std::string& name, LONG child = CHILDID_SELF);

}  // namespace ostrel::tk
