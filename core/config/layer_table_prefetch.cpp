#include "core/config/layer_table_prefetch.h"

#include <system_error>
#include <utility>

namespace atrybuty {

LayerTablePrefetch::~LayerTablePrefetch() { Drop(); }

void LayerTablePrefetch::Drop() {
  if (pending_.valid()) pending_.wait();  // the thread reads nothing of ours, but must not outlive the process's state
  pending_ = {};
  key_.clear();
}

void LayerTablePrefetch::Start(std::string key, std::filesystem::path clearConfigPath) {
  Drop();
  try {
    pending_ = std::async(std::launch::async,
                          [path = std::move(clearConfigPath)] { return LoadLayerTableFile(path); });
    key_ = std::move(key);
  } catch (const std::system_error&) {
    // No thread to spare: the load reads the file itself.
  }
}

std::optional<LayerTableResult> LayerTablePrefetch::Take(const std::string& key) {
  if (!pending_.valid() || key != key_) return std::nullopt;
  key_.clear();
  return pending_.get();
}

}  // namespace atrybuty
