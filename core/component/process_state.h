#pragma once
// The component's process-wide state: one copy per server process, shared by
// every object and by the dialogs. `RunForm` and the objects' properties
// write it; the dialogs read it.

#include <memory>
#include <string>

#include "core/config/layer_table_prefetch.h"
#include "core/form1/form1_controller.h"
#include "core/host/late_bound.h"

namespace atrybuty {

// The properties of one automation object, text in UTF-8. The object and
// TheAttribute share them, so the dialogs reach the most recently created
// object's properties even after its host has released it.
struct AttributeData {
  std::string showNow;    // launch tag; "FROM_EXEC" marks a start from the map viewer's launcher
  std::string actualMap;  // package chosen by the viewer
  bool isChange = false;  // whether the apply command ran since the dialog was last loaded
  std::string parent;     // name of the calling host; "Veltrix" selects viewer mode
};

inline constexpr char kViewerParent[] = "Veltrix";

struct ProcessState final : Form1Process {
  std::shared_ptr<AttributeData> theAttribute;  // the most recently created object
  std::shared_ptr<LateBound> hostExcel;         // the host's Excel application, or null
  std::string fromExec;                         // ShowNow of the running start
  bool viewerMode = false;
  bool multiPackage = false;
  std::string configTempPath;  // clear temporary copy of the package configuration (ANSI)
  LayerTablePrefetch layerTable;  // configTempPath's layers, read while the dialog's window is made

  // Form1Process
  const std::string& FromExec() const override { return fromExec; }
  bool ViewerMode() const override { return viewerMode; }
  bool MultiPackage() const override { return multiPackage; }
  const std::string& ConfigTempPath() const override { return configTempPath; }
  std::optional<LayerTableResult> TakeLayerTable() override { return layerTable.Take(configTempPath); }
  std::shared_ptr<LateBound> HostExcel() const override { return hostExcel; }
  void SetIsChange(bool value) override {
    if (theAttribute) theAttribute->isChange = value;
  }
};

}  // namespace atrybuty
