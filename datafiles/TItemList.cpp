// The item list: ownership, bounds-checked copies and the kind queries.
#include "datafiles/TItemList.h"

#include <algorithm>

namespace spindrel {

TItemRecord& TItemList::Add()
{
    FItems.push_back(std::make_unique<TItemRecord>());
    if (OnChange)
        OnChange(*this);
    return *FItems.back();
}

void TItemList::Get(std::int32_t Index, TItemRecord& Item) const
{
    if (Index >= 0 && Index < Count())
        Item = *FItems[static_cast<std::size_t>(Index)];
}

bool TItemList::HasKind(std::uint8_t Kind) const
{
    return std::any_of(FItems.begin(), FItems.end(), [Kind](const auto& item) { return item->Kind == Kind; });
}

}  // namespace spindrel
