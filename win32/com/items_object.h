#pragma once
// A collection as automation hosts walk it: Count, Item(number from 1 or
// name) and For Each (an IEnumVARIANT over the items).

#include <string>
#include <vector>

#include "atrybuty_h.h"
#include "win32/com/dual_object.h"

namespace atrybuty::win32 {

class ItemsObject final : public DualObject<IAtrybutyItems> {
 public:
  struct Item {
    ComPtr<IDispatch> object;
    std::string name;  // UTF-8; empty: reachable by number only
  };
  ItemsObject(ObjectRegistry& registry, std::vector<Item> items)
      : DualObject(registry), items_(std::move(items)) {}

  STDMETHODIMP get_Count(long* count) override;
  STDMETHODIMP get_Item(VARIANT index, IDispatch** item) override;
  STDMETHODIMP get__NewEnum(IUnknown** enumerator) override;

 private:
  std::vector<Item> items_;
};

// A new collection (one reference, for the caller to hand out).
IAtrybutyItems* MakeItems(ObjectRegistry& registry, std::vector<ItemsObject::Item> items);

}  // namespace atrybuty::win32
