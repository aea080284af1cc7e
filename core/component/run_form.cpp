#include "core/component/run_form.h"

#include "core/config/unscramble_to_temp.h"
#include "core/text/paths.h"

namespace atrybuty {

std::optional<HostError> RunForm(const AttributeData& self, ProcessState& state, RunFormServices& s) {
  state.fromExec = self.showNow;
  state.viewerMode = false;
  const bool viewer = self.parent == kViewerParent;

  const std::vector<std::string> entries = SplitPackageList(s.registry.ReadRegValue(kAtrybutyKey, kMruListValue));
  if (entries.empty()) {
    s.messages.Show(kConfigMessage, MessageKind::CriticalOk);
    s.packageDialog.Unload();
    return std::nullopt;
  }

  std::string packageName;
  if (entries.size() == 1) {
    packageName = TrimSpaces(entries.front());
    state.multiPackage = false;
  } else {
    state.multiPackage = true;
    if (!viewer) {
      // A run always starts from an empty list, even when the dialog is still
      // loaded from an earlier run, so no package is listed twice.
      s.packageDialog.Clear();
      for (const std::string& entry : entries) {
        const std::string name = TrimSpaces(entry);
        s.packageDialog.AddItem(s.codec.AnsiToUtf8(name), name);
      }
      s.packageDialog.SelectIndex(0);
      packageName = s.packageDialog.ShowModalAndChoose();
      if (packageName.empty()) {
        s.packageDialog.Unload();
        s.mainDialog.Unload();
        return std::nullopt;
      }
    }
  }

  if (viewer) {
    state.viewerMode = true;
    packageName = s.codec.Utf8ToAnsi(self.actualMap);
  }

  const std::string configPath = s.registry.ReadRegValue(PackageKey(packageName), kPackagePathValue);
  state.configTempPath = UnscrambleToTemp(configPath, s.temp, s.codec);
  if (state.configTempPath.empty()) {
    s.messages.Show(kConfigMessage, MessageKind::CriticalOk);
    s.packageDialog.Unload();
    return std::nullopt;
  }

  const std::string shownName = s.codec.AnsiToUtf8(packageName);
  const std::string caption = kMainCaptionPrefix + shownName;
  // A dialog still open from an earlier run keeps its state when it shows
  // this package; one that shows another is loaded afresh, so that its
  // layers always belong to the package named in its caption.
  if (!viewer && s.mainDialog.IsLoaded() && s.mainDialog.LoadedPackage() != shownName) s.mainDialog.Unload();
  // A dialog about to load reads the layers while its window is made.
  if (viewer || !s.mainDialog.IsLoaded())
    state.layerTable.Start(state.configTempPath, PathFromAnsi(s.codec, state.configTempPath));
  if (auto error = s.mainDialog.SetCaption(caption, shownName)) return error;

  if (!viewer) {
    s.mainDialog.ShowModeless();
    return std::nullopt;
  }
  s.mainDialog.Unload();
  if (auto error = s.mainDialog.SetCaption(caption, shownName)) return error;
  s.mainDialog.TickAndHideRefreshCheck();
  s.mainDialog.HideChangeButton();
  s.mainDialog.ShowModal();
  return std::nullopt;
}

}  // namespace atrybuty
