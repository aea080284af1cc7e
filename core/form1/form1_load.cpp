// Loading Form1, the layer list and the pickers.

#include "core/form1/form1_controller.h"
#include "core/config/package_configuration.h"
#include "core/form1/pictures.h"
#include "core/text/paths.h"

namespace atrybuty {

Form1Controller::Form1Controller(Form1View& view, Form1Services services, std::string packageName)
    : view_(view), s_(services), packageName_(std::move(packageName)) {}

std::optional<HostError> Form1Controller::Form_Load() {
  s_.process.SetIsChange(false);
  if (s_.process.FromExec() == kFromExec) {
    view_.SetRefreshCheck(1);
    view_.EnableRefreshCheck(false);
  }
  if (s_.process.MultiPackage()) view_.ShowChangeButton(true);

  auto prefetched = s_.process.TakeLayerTable();
  auto loaded = prefetched ? std::move(*prefetched) : LoadLayerTableFile(PathFromAnsi(s_.codec, s_.process.ConfigTempPath()));
  if (const auto* failure = std::get_if<LayerTableFailure>(&loaded)) {
    if (failure->error == LayerTableError::FileUnreadable)
      return HostError{HostErrorKind::ConfigurationUnreadable, "Nie mogę odczytać konfiguracji pakietu \"" + packageName_ +
                       "\" z pliku tymczasowego \"" + Shown(s_.process.ConfigTempPath()) + "\"."};
    return HostError{failure->error == LayerTableError::CountMissing ? HostErrorKind::LayerCountMissing
                                                                     : HostErrorKind::LayerCountInvalid,
                     LayerTableFailureInPolish(*failure, packageName_, s_.codec)};
  }
  layers_ = std::move(std::get<LayerTable>(loaded));

  view_.FillLayerList(layers_);
  selectedLayer_.clear();
  if (auto error = ComboSetting()) {
    return HostError{HostErrorKind::NoLayers, "Konfiguracja pakietu \"" + packageName_ + "\" nie zawiera żadnej warstwy (MapCount=0)."};
  }
  view_.BringToForeground();
  return std::nullopt;
}

std::optional<HostError> Form1Controller::ComboSetting() {
  for (int k = 1; k <= kStylePictureCount; ++k) view_.AppendPickerItem(Picker::Style, k);
  view_.SelectPickerItem(Picker::Style, 1);
  for (int k = 1; k <= kThicknessPictureCount; ++k) view_.AppendPickerItem(Picker::Thickness, k);
  view_.SelectPickerItem(Picker::Thickness, 1);
  if (view_.LayerListCount() == 0) return HostError{HostErrorKind::NoLayers, "empty layer list"};
  ChooseLayer(0);
  return std::nullopt;
}

void Form1Controller::ChooseLayer(int index) {
  view_.SelectLayer(index);
  Combo1_Click();
}

void Form1Controller::Combo1_Click() {
  const int k = view_.SelectedLayerIndex() + 1;
  if (k < 1 || k > layers_.LayerCount()) return;
  selectedLayer_ = layers_.entries[k].name;
  ActualSetting(layers_.entries[k].fileName);
}

// The pickers never lose their selection (they take no typing), but a
// missing one must never become a position: the previous one is kept.
void Form1Controller::ImgComboGr_Change() {
  if (const int position = view_.SelectedPickerItem(Picker::Thickness); position > 0) grubosc_ = position;
}

void Form1Controller::ImgComboSt_Change() {
  if (const int position = view_.SelectedPickerItem(Picker::Style); position > 0) styl_ = position;
}

}  // namespace atrybuty
