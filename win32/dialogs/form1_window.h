#pragma once
// Form1, the line-attribute dialog: one window per load, bound to a
// controller that holds every rule. The window only moves values between
// its controls and the controller.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "core/form1/form1_controller.h"
#include "core/form1/form1_view.h"
#include "win32/dialogs/dialog_host.h"
#include "win32/dialogs/form1_accessibility.h"
#include "win32/dialogs/picture_lists.h"
#include "win32/dialogs/win_elevation.h"
#include "win32/handles.h"

namespace atrybuty::win32 {

class Form1Host;

class Form1Window final : public Form1View {
 public:
  Form1Window(DialogHost& dialogs, Form1Host& host);
  ~Form1Window() override;
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  // Creates the (hidden) window and runs the load step; its failure is
  // returned and the window is destroyed again.
  std::optional<HostError> Load(const std::string& packageName);
  // Load's first half: the hidden window and its controller, nothing loaded
  // and no control hooked.
  std::optional<HostError> Create(const std::string& packageName);
  const std::string& PackageName() const { return packageName_; }
  void Destroy();
  HWND Handle() const { return hwnd_; }
  Form1Controller* Controller() const { return controller_.get(); }
  // Passes every control's messages through ControlProc from now on. Load
  // does it once the hidden window is filled: until then nothing needs the
  // subclass, and under Wine each message through it costs property lookups
  // in the Wine server (the pickers' set-up alone several hundred).
  void HookControls();

  // Form1View
  void FillLayerList(const LayerTable& layers) override;
  int LayerListCount() const override;
  void SelectLayer(int index) override;
  int SelectedLayerIndex() const override;
  std::string LayerListText() const override;
  void AppendPickerItem(Picker picker, int picture) override;
  int PickerCount(Picker picker) const override;
  void SelectPickerItem(Picker picker, int position) override;
  int SelectedPickerItem(Picker picker) const override;
  void SetSwatchColour(std::uint32_t rgb) override;
  std::uint32_t SwatchColour() const override { return swatch_; }
  void SetColourTexts(const std::string& decimal, const std::string& hex) override;
  void SetRefreshCheck(int value) override;
  int RefreshCheck() const override;
  void EnableRefreshCheck(bool enabled) override;
  void ShowChangeButton(bool visible) override;
  void EnableApplyButton(bool enabled) override;
  std::optional<std::uint32_t> ChooseColour() override;
  void BringToForeground() override;
  void PumpMessages() override;
  void Hide() override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Every control, and every combo box's drop-down list, passes its
  // messages through here first: F4, the pickers' drawing, their and the
  // swatch's accessible objects.
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self);
  std::optional<LRESULT> OnControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp);
  void OnInitDialog();
  void Hook(HWND window);
  void OnCommand(int id, int code);
  void OnSwatchClicked();
  bool OnColourKey(LPARAM keyData);
  LRESULT AccessibleObject(HWND control, WPARAM wp) const;
  void Layout(UINT dpi);
  void SetPictures(UINT dpi);
  HWND Item(int id) const { return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr; }
  HWND PickerWindow(Picker picker) const;
  PickerParts Parts(Picker picker) const;
  // Runs a controller handler: unexpected failures are shown, never thrown
  // through the window procedure.
  template <typename F>
  void Run(F&& handler);

  DialogHost& dialogs_;
  Form1Host& host_;
  HWND hwnd_ = nullptr;
  bool hooked_ = false;
  std::string packageName_;
  WinElevation elevation_;
  std::unique_ptr<Form1Controller> controller_;
  ImageListHandle styleImages_;
  ImageListHandle thicknessImages_;
  IconHandle icon_;
  FontHandle font_;
  GdiObject swatchBrush_;
  std::uint32_t swatch_ = 0xFFFFFF;
  // The colour the colour dialog returned last; it starts on the swatch's
  // colour the first time.
  std::optional<std::uint32_t> dialogColour_;
};

}  // namespace atrybuty::win32
