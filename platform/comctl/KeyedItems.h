#pragma once
// The items of a keyed collection (status panels, tabs): looked up by key without regard to case, a second
// item with a key already there raises 35602, an unknown key 35601. An empty key names no item.

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace forms {

template <class Item>  // Item has a std::string Key
class KeyedItems {
public:
    // Inserts at a 1-based position (0: at the end); beyond the end raises 5.
    Item& Insert(int position, Item item) {
        if (position < 0 || position > static_cast<int>(items_.size()) + 1) throw RuntimeError(err::InvalidProcedureCall);
        if (!item.Key.empty() && Find(item.Key) != npos) throw RuntimeError(err::KeyNotUnique);
        const auto at = position == 0 ? items_.end() : items_.begin() + (position - 1);
        return *items_.insert(at, std::move(item));
    }
    // The 0-based place of the item with the key; 35601 when there is none.
    std::size_t IndexOf(const std::string& key) const {
        const std::size_t i = Find(key);
        if (i == npos) throw RuntimeError(err::ElementNotFound);
        return i;
    }
    Item& operator[](const std::string& key) { return items_[IndexOf(key)]; }
    const Item& operator[](const std::string& key) const { return items_[IndexOf(key)]; }
    void Remove(const std::string& key) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(IndexOf(key))); }
    void Clear() noexcept { items_.clear(); }

    std::vector<Item>& All() noexcept { return items_; }
    const std::vector<Item>& All() const noexcept { return items_; }

private:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    std::size_t Find(const std::string& key) const {
        if (key.empty()) return npos;
        const auto it = std::find_if(items_.begin(), items_.end(),
                                     [&](const Item& i) { return TextEquals(i.Key, key); });
        return it == items_.end() ? npos : static_cast<std::size_t>(it - items_.begin());
    }

    std::vector<Item> items_;
};

}  // namespace forms
