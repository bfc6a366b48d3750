// What a view drawing for a screen's scale needs: the DPI queries and scaling rule
// (DpiQueries.h), the fonts (UiFont.h) and the pictures (Art.h). A file that needs only
// one of them includes that one.
#pragma once

#include "toolkit/Art.h"
#include "toolkit/DpiQueries.h"
#include "toolkit/UiFont.h"
