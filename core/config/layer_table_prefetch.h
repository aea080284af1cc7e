#pragma once
// A layer table read on a thread of its own. The largest configurations take
// about as long to read as the dialog's window takes to make, so RunForm
// starts the read as soon as the clear copy is written and the dialog's load
// takes the result, instead of doing one after the other on the UI thread.

#include <filesystem>
#include <future>
#include <optional>
#include <string>

#include "core/config/layer_table.h"

namespace atrybuty {

class LayerTablePrefetch {
 public:
  LayerTablePrefetch() = default;
  LayerTablePrefetch(const LayerTablePrefetch&) = delete;
  LayerTablePrefetch& operator=(const LayerTablePrefetch&) = delete;
  ~LayerTablePrefetch();

  // Starts reading `clearConfigPath` as LoadLayerTableFile does, for `key`.
  // A read started earlier and never taken is dropped once it ends. When no
  // thread can be started, nothing is pending and Take reads nothing.
  void Start(std::string key, std::filesystem::path clearConfigPath);
  // The table read for `key` (waiting for it), once; nothing when no read
  // was started for that key, or it was taken already. An exception thrown
  // by the read (out of memory) comes out here.
  std::optional<LayerTableResult> Take(const std::string& key);

 private:
  void Drop();

  std::string key_;
  std::future<LayerTableResult> pending_;
};

}  // namespace atrybuty
