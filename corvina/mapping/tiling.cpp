#include "mapping/tiling.h"

#include <algorithm>
#include <new>
#include <vector>

namespace corvina {

namespace {

int setIndexOf(const CornerRecord& record, SetKind kind) {
  switch (kind) {
    case SetKind::Group:
      return record.group & kSetIndexMask;
    case SetKind::Material:
      return record.material & kSetIndexMask;
    case SetKind::Region:
      return record.region & kSetIndexMask;
  }
  return 0;
}

int gridSizeFor(int sets) {
  int n = 0;
  while (n * n < sets) ++n;
  return n;
}

struct UvRange {
  float umin = 100000.0f, umax = -100000.0f, vmin = 100000.0f, vmax = -100000.0f;
};

}  // namespace

int setCount(const ModelStore& store, SetKind kind) {
  switch (kind) {
    case SetKind::Group:
      return store.numGroups;
    case SetKind::Material:
      return store.numMaterials;
    case SetKind::Region:
      return store.numRegions;
  }
  return 0;
}

TileCell tileCell(int index, int gridSize, bool gaps) {
  const float d = 1.0f / static_cast<float>(gridSize);
  const float column = static_cast<float>(index % gridSize);
  const float row = static_cast<float>(index / gridSize);
  TileCell cell{d * column, d + d * column, 1.0f - d * row - d, 1.0f - d * row};
  if (gaps) {
    cell.left = cell.left + d * 0.025f;
    cell.right = cell.right - d * 0.025f;
    cell.bottom = cell.bottom + d * 0.025f;
    cell.top = cell.top - d * 0.025f;
  }
  return cell;
}

MappingOutcome tileBySet(ModelStore& store, SelectionState& selection, SetKind kind,
                         const TileOptions& options) {
  if (!prepareTextureVertices(store)) return MappingOutcome::InsufficientMemory;
  commitSelection(store, selection);
  const MappingArrays arrays = mappingArrays(store);
  const int sets = std::min(setCount(store, kind), kSetIndexMask + 1);
  const std::size_t length = arrays.length;
  auto clearSelectedBits = [&] {
    for (std::size_t j = 0; j < length; ++j)
      store.facetStream[j].group &= static_cast<std::uint16_t>(~kSelectedBit);
  };
  if (sets <= 0) {
    clearSelectedBits();
    return MappingOutcome::Mapped;
  }

  // Every set is handled as if it alone were selected: its own rescale
  // (the unit-square normalisation over its corners) and its own cell. The
  // sets share no corner, so one pass per step does all of them at once.
  std::vector<UvRange> ranges;
  try {
    ranges.resize(static_cast<std::size_t>(sets));
  } catch (const std::bad_alloc&) {
    return MappingOutcome::InsufficientMemory;
  }
  auto setOf = [&](const CornerRecord& record) {
    return record.vertex > 0 ? setIndexOf(record, kind) : sets;
  };
  if (options.rescale) {
    for (std::size_t j = 0; j < length && arrays.records[j].vertex >= 0; ++j) {
      const CornerRecord& record = arrays.records[j];
      const int set = setOf(record);
      const TexVertex* uv = set < sets ? arrays.texVertexOf(record) : nullptr;
      if (uv == nullptr) continue;
      UvRange& r = ranges[static_cast<std::size_t>(set)];
      r.umin = std::min(r.umin, uv->u);
      r.umax = std::max(r.umax, uv->u);
      r.vmin = std::min(r.vmin, uv->v);
      r.vmax = std::max(r.vmax, uv->v);
    }
  }
  const int n = gridSizeFor(sets);
  for (std::size_t j = 0; j < length && arrays.records[j].vertex >= 0; ++j) {
    const CornerRecord& record = arrays.records[j];
    const int set = setOf(record);
    TexVertex* uv = set < sets ? arrays.texVertexOf(record) : nullptr;
    if (uv == nullptr) continue;
    if (options.rescale) {
      // The unit-square normalisation, flat axes at 0.5.
      const UvRange& r = ranges[static_cast<std::size_t>(set)];
      const bool uFlat = !(r.umax - r.umin > 0.0f);
      const bool vFlat = !(r.vmax - r.vmin > 0.0f);
      const float su = uFlat ? 0.0f : 1.0f / (r.umax - r.umin);
      const float sv = vFlat ? 0.0f : 1.0f / (r.vmax - r.vmin);
      uv->u = uFlat ? 0.5f : (uv->u - r.umin) * su;
      uv->v = vFlat ? 0.5f : (uv->v - r.vmin) * sv;
    }
    const TileCell cell = tileCell(set, n, options.gaps);
    uv->u = cell.left + (cell.right - cell.left) * uv->u;
    uv->v = cell.bottom + (cell.top - cell.bottom) * uv->v;
  }
  clearSelectedBits();
  selection.selectionActive = false;
  return MappingOutcome::Mapped;
}

}  // namespace corvina
