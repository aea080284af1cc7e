#pragma once
// Form1's own accessible objects (MSAA) for screen readers. The swatch is a
// button named "Kolor linii" whose default action opens the colour dialog;
// each picker is a combo box named by its label, and the items of its list
// are named by the value their pictures stand for ("Grubość 3", "Styl 12"),
// since they show no text. Everything else comes from the system's standard
// object of the same window. The objects hold window handles only, so one
// that a client keeps after the dialog is gone reaches no freed memory.

#include <windows.h>

namespace atrybuty::win32 {

// What names a picker and its items.
struct PickerParts {
  HWND picker = nullptr;             // the ComboBoxEx
  HWND label = nullptr;              // the static before it that names it
  const wchar_t* itemWord = nullptr;  // item k is "<itemWord> k"
};

// The combo box inside a ComboBoxEx, and the drop-down list of a combo box.
HWND InnerCombo(HWND picker);
HWND DropDownList(HWND combo);

// Answers to WM_GETOBJECT for OBJID_CLIENT (LresultFromObject's), or 0 when
// no object could be made: the message then goes on to the window as usual.
LRESULT AnswerSwatchObject(HWND swatch, WPARAM wp);
// `window` is the picker itself or its inner combo box (which has the focus).
LRESULT AnswerPickerObject(HWND window, const PickerParts& parts, WPARAM wp);
LRESULT AnswerPickerListObject(HWND list, const PickerParts& parts, WPARAM wp);

}  // namespace atrybuty::win32
