#pragma once
// Form1's controls as its controller sees them. All text is UTF-8. Setting a
// selection from code never runs a handler: the controller decides when the
// layer choice runs, exactly as the dialog's rules say.

#include <cstdint>
#include <optional>
#include <string>

#include "core/config/layer_table.h"

namespace atrybuty {

enum class Picker { Style, Thickness };  // ImgComboSt, ImgComboGr

class Form1View {
 public:
  virtual ~Form1View() = default;

  // Combo1, the layer list: the names of entries 1..N in one batch, unsorted.
  // They go in as the table holds them, in the ANSI code page, and are
  // converted once, straight into the list's own storage.
  virtual void FillLayerList(const LayerTable& layers) = 0;
  virtual int LayerListCount() const = 0;
  virtual void SelectLayer(int index) = 0;
  virtual int SelectedLayerIndex() const = 0;     // -1: none
  virtual std::string LayerListText() const = 0;  // the text Combo1 shows

  // ImgComboSt and ImgComboGr.
  virtual void AppendPickerItem(Picker picker, int picture) = 0;
  virtual int PickerCount(Picker picker) const = 0;
  virtual void SelectPickerItem(Picker picker, int position) = 0;  // 1-based
  virtual int SelectedPickerItem(Picker picker) const = 0;         // 1-based; 0: none

  // LblColor and the hidden TxtKolor / TxtColorB.
  virtual void SetSwatchColour(std::uint32_t rgb) = 0;
  virtual std::uint32_t SwatchColour() const = 0;
  virtual void SetColourTexts(const std::string& decimal, const std::string& hex) = 0;

  // ChkOdswiez: 0 clear, 1 ticked, 2 greyed.
  virtual void SetRefreshCheck(int value) = 0;
  virtual int RefreshCheck() const = 0;
  virtual void EnableRefreshCheck(bool enabled) = 0;

  virtual void ShowChangeButton(bool visible) = 0;   // CmdChange
  virtual void EnableApplyButton(bool enabled) = 0;  // CmdAnuluj

  // The Windows colour dialog, starting on the colour it returned last.
  // Nothing when it was cancelled or failed.
  virtual std::optional<std::uint32_t> ChooseColour() = 0;

  virtual void BringToForeground() = 0;
  // Processes the window messages that are waiting (other handlers may run).
  virtual void PumpMessages() = 0;
  virtual void Hide() = 0;
};

}  // namespace atrybuty
