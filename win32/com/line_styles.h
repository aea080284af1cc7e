#pragma once
// LineStyles: a package's line styles from a macro, with no window and no
// message box: the installed packages and their layers, a layer's line
// style read and changed, the journal's changes undone, and a package's
// styles exported and imported. Every failure is an automation error of a
// documented number with a Polish description.

#include <string>
#include <utility>

#include "atrybuty_h.h"
#include "win32/com/dual_object.h"

namespace atrybuty::win32 {

// The source of the class's errors, its collections' included.
inline constexpr wchar_t kLineStylesSource[] = L"Atrybuty.LineStyles";

// An automation error of the class or its collections; `description` is UTF-8.
HRESULT LineStylesError(ObjectRegistry& registry, HRESULT hr, const std::string& description);

// A method's body of the class or its collections: its unexpected failures
// are errors of this class too.
template <typename F>
HRESULT LineStylesGuarded(ObjectRegistry& registry, F&& body) {
  return Guarded(registry, std::forward<F>(body), kLineStylesSource, IID_ILineStyles);
}

// A new LineStyles object (one reference).
IUnknown* MakeLineStyles(ObjectRegistry& registry);

}  // namespace atrybuty::win32
