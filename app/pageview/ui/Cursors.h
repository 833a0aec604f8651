#pragma once

#include <wx/cursor.h>

#include "app/pageview/CShapeRectTracker.h"

// The toolkit cursor for a pointer shape the page view's model asks for.
const wxCursor& CursorOf(CursorKind kind);
