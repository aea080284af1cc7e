// The colour entry: a click on the swatch opens the colour dialog.

#include "core/form1/form1_controller.h"
#include "core/mapfile/colour.h"

namespace atrybuty {

void Form1Controller::LblColor_Click() {
  kolorZmieniony_ = true;
  kolorHex_ = kolor();
}

// A cancelled (or failed) colour dialog marks the colour as unchanged and
// leaves the swatch and the hidden text boxes as they were.
std::string Form1Controller::kolor() {
  const std::optional<std::uint32_t> chosen = view_.ChooseColour();
  if (!chosen) {
    kolorZmieniony_ = false;
    return {};
  }
  const std::uint32_t colour = *chosen & 0xFFFFFF;
  view_.SetSwatchColour(colour);
  const std::string hex = atrybuty::KolorHex(colour);
  view_.SetColourTexts(ColourDecimal(colour), hex);
  return hex;
}

}  // namespace atrybuty
