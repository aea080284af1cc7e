#pragma once
// LineStyles: a package's line styles from a macro, with no window and no
// message box: the installed packages and their layers, a layer's line
// style read and changed, the journal's changes undone, and a package's
// styles exported and imported. Every failure is an automation error of a
// documented number with a Polish description.

#include "atrybuty_h.h"
#include "win32/com/dual_object.h"

namespace atrybuty::win32 {

// The source of the class's errors, its collections' included.
inline constexpr wchar_t kLineStylesSource[] = L"Atrybuty.LineStyles";

// A new LineStyles object (one reference).
IUnknown* MakeLineStyles(ObjectRegistry& registry);

}  // namespace atrybuty::win32
