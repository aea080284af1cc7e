#include "win32/dialogs/form1_accessibility.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>
#include <string>
#include <utility>

#include "win32/com/com_object.h"
#include "win32/com/com_ptr.h"

namespace atrybuty::win32 {
namespace {

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT ReturnNothing(BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return S_FALSE;
}

HRESULT ReturnLong(LONG value, VARIANT* out) {
  if (!out) return E_POINTER;
  VariantInit(out);
  out->vt = VT_I4;
  out->lVal = value;
  return S_OK;
}

// A label's text as a name: without the '&' that marks its access key.
HRESULT ReturnLabel(HWND label, BSTR* out) {
  wchar_t text[128] = {};
  GetWindowTextW(label, text, 128);
  wchar_t* to = text;
  for (const wchar_t* from = text; *from; ++from) {
    if (*from == L'&' && *++from == L'\0') break;  // "&&" stands for one '&'
    *to++ = *from;
  }
  *to = L'\0';
  return ReturnBstr(text, out);
}

// Item `index` of a picker is named by the value its picture stands for.
HRESULT ReturnItemName(const PickerParts& parts, int index, BSTR* out) {
  COMBOBOXEXITEMW item{};
  item.mask = CBEIF_IMAGE;
  item.iItem = index;
  const bool known = SendMessageW(parts.picker, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) && item.iImage >= 0;
  try {
    const std::wstring name =
        std::wstring(parts.itemWord) + L' ' + std::to_wstring(known ? item.iImage + 1 : index + 1);
    return ReturnBstr(name, out);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

// Every call goes to the standard object of the window unless a class
// below answers it. IDispatch is not offered: clients call IAccessible
// through its table, as the standard objects' clients do.
class WrappedAccessible : public ComObject<IAccessible, IOleWindow> {
 public:
  WrappedAccessible(HWND window, ComPtr<IAccessible> standard) : window_(window), standard_(std::move(standard)) {}

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  STDMETHODIMP get_accParent(IDispatch** out) override { return standard_->get_accParent(out); }
  STDMETHODIMP get_accChildCount(LONG* out) override { return standard_->get_accChildCount(out); }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override { return standard_->get_accChild(child, out); }
  STDMETHODIMP get_accName(VARIANT child, BSTR* out) override { return standard_->get_accName(child, out); }
  STDMETHODIMP get_accValue(VARIANT child, BSTR* out) override { return standard_->get_accValue(child, out); }
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* out) override {
    return standard_->get_accDescription(child, out);
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* out) override { return standard_->get_accRole(child, out); }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* out) override { return standard_->get_accState(child, out); }
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* out) override { return standard_->get_accHelp(child, out); }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return standard_->get_accKeyboardShortcut(child, out);
  }
  STDMETHODIMP get_accFocus(VARIANT* out) override { return standard_->get_accFocus(out); }
  STDMETHODIMP get_accSelection(VARIANT* out) override { return standard_->get_accSelection(out); }
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* out) override {
    return standard_->get_accDefaultAction(child, out);
  }
  STDMETHODIMP accSelect(LONG flags, VARIANT child) override { return standard_->accSelect(flags, child); }
  STDMETHODIMP accLocation(LONG* x, LONG* y, LONG* width, LONG* height, VARIANT child) override {
    return standard_->accLocation(x, y, width, height, child);
  }
  STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* out) override { return standard_->accHitTest(x, y, out); }
  STDMETHODIMP accDoDefaultAction(VARIANT child) override { return standard_->accDoDefaultAction(child); }
  STDMETHODIMP put_accName(VARIANT child, BSTR name) override { return standard_->put_accName(child, name); }
  STDMETHODIMP put_accValue(VARIANT child, BSTR value) override { return standard_->put_accValue(child, value); }

  // IOleWindow: WindowFromAccessibleObject finds the window without a walk.
  STDMETHODIMP GetWindow(HWND* out) override {
    if (!out) return E_POINTER;
    *out = window_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

 protected:
  HWND window_;
  ComPtr<IAccessible> standard_;
};

// IAccessible's IID is taken from its declaration (__uuidof), never from
// IID_IAccessible: 64-bit mingw-w64's liboleacc.a exports that name as an
// import thunk, so a 64-bit program linked against it passes code bytes as
// the IID and every cross-process request fails with E_NOINTERFACE.
template <typename T, typename... Extra>
ComPtr<IAccessible> Make(HWND window, const Extra&... extra) {
  ComPtr<IAccessible> standard;
  if (!window ||
      FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), standard.ReceiveVoid())) ||
      !standard)
    return {};
  return ComPtr<IAccessible>::Adopt(new (std::nothrow) T(window, std::move(standard), extra...));
}

LRESULT Answer(const ComPtr<IAccessible>& object, WPARAM wp) {
  if (!object) return 0;
  const LRESULT result = LresultFromObject(__uuidof(IAccessible), wp, object.Get());
  return FAILED(static_cast<HRESULT>(result)) ? 0 : result;
}

// The swatch cannot take the focus; as a button with a default action (and
// F4, the dialog's key for it) it can still be used without a mouse.
class SwatchAccessible final : public WrappedAccessible {
 public:
  using WrappedAccessible::WrappedAccessible;

  STDMETHODIMP get_accName(VARIANT child, BSTR* out) override {
    return IsSelf(child) ? ReturnBstr(L"Kolor linii", out) : WrappedAccessible::get_accName(child, out);
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* out) override {
    return IsSelf(child) ? ReturnLong(ROLE_SYSTEM_PUSHBUTTON, out) : WrappedAccessible::get_accRole(child, out);
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return IsSelf(child) ? ReturnBstr(L"F4", out) : WrappedAccessible::get_accKeyboardShortcut(child, out);
  }
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* out) override {
    return IsSelf(child) ? ReturnBstr(L"Zmień kolor", out) : WrappedAccessible::get_accDefaultAction(child, out);
  }
  // The swatch's own click notification, posted: the colour dialog is modal,
  // and the caller (usually another process) must not wait until it closes.
  STDMETHODIMP accDoDefaultAction(VARIANT child) override {
    if (!IsSelf(child)) return WrappedAccessible::accDoDefaultAction(child);
    HWND dialog = IsWindow(window_) ? GetParent(window_) : nullptr;
    if (!dialog) return E_FAIL;
    const WPARAM click = MAKEWPARAM(GetDlgCtrlID(window_), STN_CLICKED);
    return PostMessageW(dialog, WM_COMMAND, click, reinterpret_cast<LPARAM>(window_)) ? S_OK : E_FAIL;
  }
};

// A picker's drop-down list (a ComboLBox): one simple child an item.
class PickerListAccessible final : public WrappedAccessible {
 public:
  PickerListAccessible(HWND list, ComPtr<IAccessible> standard, const PickerParts& parts)
      : WrappedAccessible(list, std::move(standard)), parts_(parts) {}

  STDMETHODIMP get_accChildCount(LONG* out) override {
    if (!out) return E_POINTER;
    *out = Count();
    return S_OK;
  }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return ItemOf(child) >= 0 ? S_FALSE : E_INVALIDARG;
  }
  STDMETHODIMP get_accName(VARIANT child, BSTR* out) override {
    if (IsSelf(child)) return ReturnLabel(parts_.label, out);
    const int item = ItemOf(child);
    return item >= 0 ? ReturnItemName(parts_, item, out) : E_INVALIDARG;
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* out) override {
    if (IsSelf(child)) return ReturnLong(ROLE_SYSTEM_LIST, out);
    return ItemOf(child) >= 0 ? ReturnLong(ROLE_SYSTEM_LISTITEM, out) : E_INVALIDARG;
  }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* out) override {
    const int item = ItemOf(child);
    if (item < 0) return WrappedAccessible::get_accState(child, out);
    LONG state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    const bool shown = IsWindowVisible(window_);
    if (!shown) state |= STATE_SYSTEM_INVISIBLE;
    if (item == Current()) state |= STATE_SYSTEM_SELECTED | (shown ? STATE_SYSTEM_FOCUSED : 0);
    return ReturnLong(state, out);
  }
  STDMETHODIMP get_accSelection(VARIANT* out) override {
    if (!out) return E_POINTER;
    const int current = Current();
    if (current < 0) {
      VariantInit(out);
      return S_FALSE;
    }
    return ReturnLong(current + 1, out);
  }
  STDMETHODIMP accLocation(LONG* x, LONG* y, LONG* width, LONG* height, VARIANT child) override {
    const int item = ItemOf(child);
    if (item < 0) return WrappedAccessible::accLocation(x, y, width, height, child);
    if (!x || !y || !width || !height) return E_POINTER;
    RECT r{};
    if (SendMessageW(window_, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
      return E_FAIL;
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    *x = r.left;
    *y = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  // Items have no text besides their names.
  STDMETHODIMP get_accValue(VARIANT child, BSTR* out) override {
    return ItemOf(child) >= 0 ? ReturnNothing(out) : WrappedAccessible::get_accValue(child, out);
  }
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* out) override {
    return ItemOf(child) >= 0 ? ReturnNothing(out) : WrappedAccessible::get_accDescription(child, out);
  }
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* out) override {
    return ItemOf(child) >= 0 ? ReturnNothing(out) : WrappedAccessible::get_accHelp(child, out);
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return ItemOf(child) >= 0 ? ReturnNothing(out) : WrappedAccessible::get_accKeyboardShortcut(child, out);
  }

 private:
  int Count() const {
    const LRESULT n = SendMessageW(window_, LB_GETCOUNT, 0, 0);
    return n > 0 ? static_cast<int>(n) : 0;
  }
  int Current() const { return static_cast<int>(SendMessageW(window_, LB_GETCURSEL, 0, 0)); }
  // The 0-based item a child id names, or -1.
  int ItemOf(const VARIANT& child) const {
    if (child.vt != VT_I4 || child.lVal < 1 || child.lVal > Count()) return -1;
    return static_cast<int>(child.lVal) - 1;
  }

  PickerParts parts_;
};

// The picker and its inner combo box (which holds the focus): a combo box
// named by its label, its value the selected item's name, its one child the
// list.
class PickerAccessible final : public WrappedAccessible {
 public:
  PickerAccessible(HWND window, ComPtr<IAccessible> standard, const PickerParts& parts)
      : WrappedAccessible(window, std::move(standard)), parts_(parts) {}

  STDMETHODIMP get_accName(VARIANT child, BSTR* out) override {
    return IsSelf(child) ? ReturnLabel(parts_.label, out) : WrappedAccessible::get_accName(child, out);
  }
  STDMETHODIMP get_accValue(VARIANT child, BSTR* out) override {
    if (!IsSelf(child)) return WrappedAccessible::get_accValue(child, out);
    const LRESULT selected = SendMessageW(parts_.picker, CB_GETCURSEL, 0, 0);
    return selected >= 0 ? ReturnItemName(parts_, static_cast<int>(selected), out) : ReturnNothing(out);
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* out) override {
    return IsSelf(child) ? ReturnLong(ROLE_SYSTEM_COMBOBOX, out) : WrappedAccessible::get_accRole(child, out);
  }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* out) override {
    const HRESULT hr = WrappedAccessible::get_accState(child, out);
    if (hr == S_OK && IsSelf(child) && out->vt == VT_I4) {
      out->lVal |=
          SendMessageW(parts_.picker, CB_GETDROPPEDSTATE, 0, 0) ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
    }
    return hr;
  }
  STDMETHODIMP get_accChildCount(LONG* out) override {
    if (!out) return E_POINTER;
    *out = 1;
    return S_OK;
  }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (child.vt != VT_I4 || child.lVal != 1) return E_INVALIDARG;
    ComPtr<IAccessible> list = Make<PickerListAccessible>(DropDownList(InnerCombo(parts_.picker)), parts_);
    if (!list) return E_FAIL;
    *out = list.Detach();
    return S_OK;
  }

 private:
  PickerParts parts_;
};

}  // namespace

HWND InnerCombo(HWND picker) {
  return picker ? reinterpret_cast<HWND>(SendMessageW(picker, CBEM_GETCOMBOCONTROL, 0, 0)) : nullptr;
}

HWND DropDownList(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  return combo && GetComboBoxInfo(combo, &info) ? info.hwndList : nullptr;
}

LRESULT AnswerSwatchObject(HWND swatch, WPARAM wp) { return Answer(Make<SwatchAccessible>(swatch), wp); }

LRESULT AnswerPickerObject(HWND window, const PickerParts& parts, WPARAM wp) {
  return Answer(Make<PickerAccessible>(window, parts), wp);
}

LRESULT AnswerPickerListObject(HWND list, const PickerParts& parts, WPARAM wp) {
  return Answer(Make<PickerListAccessible>(list, parts), wp);
}

}  // namespace atrybuty::win32
