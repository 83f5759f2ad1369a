#include "restore/item_matching.hpp"

#include <functional>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace corvella {
namespace {

using ItemKey = std::pair<std::string_view, std::int32_t>;

struct ItemKeyHash {
  std::size_t operator()(const ItemKey& key) const {
    return std::hash<std::string_view>{}(key.first) ^ (std::hash<std::int32_t>{}(key.second) * 0x9E3779B9U);
  }
};

}  // namespace

std::vector<std::string> NamesOf(std::span<const ViewItem> items) {
  std::vector<std::string> names;
  names.reserve(items.size());
  for (const ViewItem& item : items) names.push_back(item.name);
  return names;
}

std::vector<std::int32_t> NumberOccurrences(std::span<const std::string> names) {
  std::unordered_map<std::string_view, std::int32_t> seen;
  std::vector<std::int32_t> occurrences;
  occurrences.reserve(names.size());
  for (const std::string& name : names) occurrences.push_back(++seen[name]);
  return occurrences;
}

SavedLayout LayoutOf(std::span<const ViewItem> items, WindowSize view_size, const SavedTime& now) {
  std::vector<std::string> names = NamesOf(items);
  const std::vector<std::int32_t> occurrences = NumberOccurrences(names);
  SavedLayout layout{now, view_size.width, view_size.height, {}};
  layout.items.reserve(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (names[i].empty()) continue;
    layout.items.push_back(SavedItem{std::move(names[i]), occurrences[i], items[i].x, items[i].y});
  }
  return layout;
}

MovePlan PlanMoves(const SavedLayout& saved, std::span<const std::string> current_names) {
  std::unordered_map<ItemKey, const SavedItem*, ItemKeyHash> places;
  places.reserve(saved.items.size());
  for (const SavedItem& item : saved.items) places.emplace(ItemKey{item.name, item.occurrence}, &item);

  MovePlan plan;
  const std::vector<std::int32_t> occurrences = NumberOccurrences(current_names);
  for (std::size_t index = 0; index < current_names.size(); ++index) {
    const auto place = places.find(ItemKey{current_names[index], occurrences[index]});
    if (place == places.end()) continue;
    plan.moves.push_back(ItemMove{static_cast<std::int32_t>(index), place->second->x, place->second->y});
  }
  plan.skipped = saved.items.size() - plan.moves.size();
  return plan;
}

}  // namespace corvella
