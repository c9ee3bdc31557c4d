#include "tools/selection_sets.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>
#include <stdexcept>

namespace corvina {

namespace {

constexpr std::size_t kTypedNameLimit = 127;
constexpr int kSetIndexLimit = kSetIndexMask + 1;

// One kind's set table with its two counts (names and statements share the
// entries of one array).
struct SetTableView {
  std::vector<SetRecord>& table;
  int& names;
  int& statements;
};

SetTableView tableOf(ModelStore& store, SetKind kind) {
  switch (kind) {
    case SetKind::Material:
      return {store.materials, store.numMaterials, store.numMaterialStatements};
    case SetKind::Region:
      return {store.regions, store.numRegions, store.numRegionStatements};
    case SetKind::Group:
      break;
  }
  return {store.groups, store.numGroups, store.numGroupStatements};
}

const std::vector<SetRecord>& tableOf(const ModelStore& store, SetKind kind, int& names) {
  switch (kind) {
    case SetKind::Material:
      names = store.numMaterials;
      return store.materials;
    case SetKind::Region:
      names = store.numRegions;
      return store.regions;
    case SetKind::Group:
      break;
  }
  names = store.numGroups;
  return store.groups;
}

// The names held by the table: never more than the array has entries.
std::size_t nameCount(const std::vector<SetRecord>& table, int names) {
  return names > 0 ? std::min(table.size(), static_cast<std::size_t>(names)) : 0;
}

std::string nameOf(const SetRecord& record) {
  return std::string(record.name, strnlen(record.name, kSetNameSize));
}

std::size_t streamLength(const ModelStore& store) {
  if (store.numCornerRecords <= 0) return 0;
  return std::min(store.facetStream.size(), static_cast<std::size_t>(store.numCornerRecords));
}

bool isSelected(const CornerRecord& record) {
  return (record.group & kSelectedBit) != 0;
}

void setSelected(CornerRecord& record, bool selected) {
  if (selected) {
    record.group |= kSelectedBit;
  } else {
    record.group &= static_cast<std::uint16_t>(~kSelectedBit);
  }
}

std::uint16_t setIndexOf(const CornerRecord& record, SetKind kind) {
  switch (kind) {
    case SetKind::Material:
      return record.material & kSetIndexMask;
    case SetKind::Region:
      return record.region & kSetIndexMask;
    case SetKind::Group:
      break;
  }
  return record.group & kSetIndexMask;
}

void putIntoSet(CornerRecord& record, SetKind kind, std::uint16_t index) {
  switch (kind) {
    case SetKind::Material:
      record.material = index;
      return;
    case SetKind::Region:
      record.region = index;
      return;
    case SetKind::Group:
      record.group = static_cast<std::uint16_t>((record.group & kSelectedBit) | index);
      return;
  }
}

// Byte order with letter case folded, so "apple" and "Apple" sort together;
// equal folds fall back to plain byte order so the result is one order.
bool alphabeticallyBefore(const std::string& a, const std::string& b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int fa = std::tolower(static_cast<unsigned char>(a[i]));
    const int fb = std::tolower(static_cast<unsigned char>(b[i]));
    if (fa != fb) return fa < fb;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

// Appends one name as set `names` with its statement after the last one,
// and keeps the sentinel entry behind the statements. The statements stay
// intact when a table holds fewer names than statements (a name used by
// several statements), which writing the statement at the name's position
// would overwrite.
std::optional<int> addName(SetTableView view, const std::string& name, const ModelStore& store) {
  if (view.names < 0 || view.statements < 0 || view.names >= kSetIndexLimit) return std::nullopt;
  const std::size_t needed = std::max(static_cast<std::size_t>(view.statements) + 2,
                                      static_cast<std::size_t>(view.names) + 1);
  try {
    if (view.table.size() < needed) view.table.resize(needed);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  } catch (const std::length_error&) {
    return std::nullopt;
  }
  const int index = view.names;
  SetRecord& named = view.table[static_cast<std::size_t>(index)];
  std::memset(named.name, 0, sizeof named.name);
  std::memcpy(named.name, name.data(), std::min(name.size(), sizeof named.name - 1));
  SetRecord& statement = view.table[static_cast<std::size_t>(view.statements)];
  statement.firstFacet = store.numFacets;
  statement.setIndex = index;
  SetRecord& sentinel = view.table[static_cast<std::size_t>(view.statements) + 1];
  sentinel.firstFacet = store.numCornerRecords;
  sentinel.setIndex = 0;
  ++view.names;
  ++view.statements;
  return index;
}

}  // namespace

void selectAll(ModelStore& store, SelectionState& selection, int viewWidth, int viewHeight) {
  commitSelection(store, selection);
  const std::size_t length = streamLength(store);
  for (std::size_t j = 0; j < length; ++j) {
    CornerRecord& record = store.facetStream[j];
    if (record.vertex < 0) break;
    if (record.vertex > 0) setSelected(record, true);
  }
  fitFrameToSelection(store, selection, viewWidth, viewHeight);
}

void selectNone(ModelStore& store, SelectionState& selection) {
  commitSelection(store, selection);
}

void selectInverse(ModelStore& store, SelectionState& selection, int viewWidth, int viewHeight) {
  const std::size_t length = streamLength(store);
  for (std::size_t j = 0; j < length; ++j) {
    CornerRecord& record = store.facetStream[j];
    if (record.vertex < 0) break;
    if (record.vertex > 0) setSelected(record, !isSelected(record));
  }
  fitFrameToSelection(store, selection, viewWidth, viewHeight);
}

bool changeSelectMethod(ModelStore& store, SelectionState& selection, SelectMethod method) {
  if (selection.selectMethod == method) return false;
  selection.selectMethod = method;
  commitSelection(store, selection);
  return true;
}

std::vector<std::string> setNamesForDialog(const ModelStore& store, SetKind kind) {
  int names = 0;
  const std::vector<SetRecord>& table = tableOf(store, kind, names);
  std::vector<std::string> sorted;
  const std::size_t count = nameCount(table, names);
  sorted.reserve(count);
  for (std::size_t i = 0; i < count; ++i) sorted.push_back(nameOf(table[i]));
  std::stable_sort(sorted.begin(), sorted.end(), alphabeticallyBefore);
  return sorted;
}

std::optional<int> findSetByName(const ModelStore& store, SetKind kind, const std::string& name) {
  int names = 0;
  const std::vector<SetRecord>& table = tableOf(store, kind, names);
  const std::size_t count = nameCount(table, names);
  for (std::size_t i = 0; i < count; ++i) {
    if (nameOf(table[i]) == name) return static_cast<int>(i);
  }
  return std::nullopt;
}

void selectBySets(ModelStore& store, SelectionState& selection, SetKind kind,
                  const std::vector<int>& chosenSets, int viewWidth, int viewHeight) {
  commitSelection(store, selection);
  std::vector<bool> chosen(kSetIndexLimit, false);
  for (int index : chosenSets) {
    if (index >= 0 && index < kSetIndexLimit) chosen[static_cast<std::size_t>(index)] = true;
  }
  const std::size_t length = streamLength(store);
  std::size_t j = 0;
  while (j < length && store.facetStream[j].vertex >= 0) {
    // One facet: its separator (or, before the first separator, nothing)
    // and the corners up to the next separator or the end of the list.
    if (store.facetStream[j].vertex == kSeparator) setSelected(store.facetStream[j++], false);
    const std::size_t first = j;
    bool inChosenSet = false;
    while (j < length && store.facetStream[j].vertex > 0) {
      inChosenSet = inChosenSet || chosen[setIndexOf(store.facetStream[j], kind)];
      ++j;
    }
    for (std::size_t c = first; c < j; ++c) setSelected(store.facetStream[c], inChosenSet);
  }
  fitFrameToSelection(store, selection, viewWidth, viewHeight);
}

std::string assignmentSetName(const std::string& typed) {
  std::string name = typed.substr(0, kTypedNameLimit);
  const std::size_t lineEnd = name.find_first_of(std::string("\r\n\0", 3));
  if (lineEnd != std::string::npos) name.resize(lineEnd);
  if (name.size() > kSetNameSize - 1) name.resize(kSetNameSize - 1);
  return name;
}

std::optional<int> createSet(ModelStore& store, SetKind kind, const std::string& name) {
  SetTableView view = tableOf(store, kind);
  if (view.names <= 0) {
    view.names = 0;
    if (!addName(view, "default", store)) return std::nullopt;
    const std::size_t length = streamLength(store);
    for (std::size_t j = 0; j < length; ++j) putIntoSet(store.facetStream[j], kind, 0);
    // A second set of the same name could never be chosen by its name.
    if (assignmentSetName(name) == "default") return 0;
  }
  return addName(view, assignmentSetName(name), store);
}

void assignSelectionToSet(ModelStore& store, SetKind kind, int setIndex) {
  if (setIndex < 0 || setIndex >= kSetIndexLimit) return;
  const std::size_t length = streamLength(store);
  for (std::size_t j = 0; j < length; ++j) {
    CornerRecord& record = store.facetStream[j];
    if (record.vertex < 0) break;
    if (isSelected(record)) putIntoSet(record, kind, static_cast<std::uint16_t>(setIndex));
  }
}

}  // namespace corvina
