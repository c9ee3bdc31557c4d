#pragma once
// One step's change to the model and the document: a capture taken before a
// user action of the parts its command declares, turned after the action
// into the difference. The change keeps the other side of what differs;
// exchange() swaps it with the current state, so the first call undoes the
// step and the next one redoes it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/history_array_diff.h"
#include "app/model_parts.h"
#include "app/projection_kind.h"
#include "model/model_store.h"
#include "tools/selection_state.h"

namespace corvina {

// The counters, flags and settings of the store, which every step keeps.
struct ModelCounters {
  int numVerts = 0, numTVerts = 0, numVNormals = 0;
  int numFacets = 0, numCornerRecords = 0;
  int numGroups = 0, numMaterials = 0, numRegions = 0;
  int numGroupStatements = 0, numMaterialStatements = 0, numRegionStatements = 0;
  int numShapeLines = 0;
  int modelLoaded = 0, texVerticesExpanded = 0;
  int mapWidth = 0, mapHeight = 0, colorMode = 0;
  float pixelsPerUnit = 0;
};

// The document state a step may change besides the store's arrays.
struct EditedState {
  ModelCounters counters;
  std::string modelName;  // modelBaseName: follows the model, but a new name alone is no step
  SelectionState selection;
  ProjectionKind projection = ProjectionKind::None;
};

class ModelChange {
 public:
  // Swaps the kept side with `store`, `selection` and `projection`.
  void exchange(ModelStore& store, SelectionState& selection, ProjectionKind& projection);

  // The memory the change holds.
  std::size_t bytes() const;

  // Whether the change reaches what a saved file holds (anything beyond the
  // selected and hidden bits, the vertex marks and the selection frame).
  bool changesModel() const { return changesModel_; }
  // Whether only the selection frame differs (a key that moves the frame).
  bool frameOnly() const;
  // The selection before the change (after exchange: the other side's).
  const SelectionState& keptSelection() const { return kept_.selection; }

 private:
  friend class ModelCapture;
  ArrayDiff<Vertex> vertices_, baseVertices_;
  ArrayDiff<TexVertex> texVertices_;
  ArrayDiff<Normal> normals_;
  ArrayDiff<CornerRecord> facetStream_;
  ArrayDiff<SetRecord> groups_, materials_, regions_;
  ArrayDiff<TextLine> shapeLines_;
  ArrayDiff<std::uint8_t> cornerBits_, vertexMarks_;
  EditedState kept_;
  bool changesModel_ = false;
  bool selectionChanged_ = false;
  bool nameChanged_ = false;
};

class ModelCapture {
 public:
  // Copies `parts` of `store` and the document state.
  ModelCapture(const ModelStore& store, const SelectionState& selection, ProjectionKind projection,
               unsigned parts);

  // Copies the parts of `parts` not captured yet (a command run inside
  // another that declared fewer; those parts are as they were at the start).
  void widen(const ModelStore& store, unsigned parts);

  unsigned parts() const { return parts_; }

  // The change from the capture to the current state; nothing when nothing
  // differs. The capture is used up.
  std::optional<ModelChange> finish(const ModelStore& store, const SelectionState& selection,
                                    ProjectionKind projection);

 private:
  unsigned parts_ = kPartNone;
  std::vector<Vertex> vertices_, baseVertices_;
  std::vector<TexVertex> texVertices_;
  std::vector<Normal> normals_;
  std::vector<CornerRecord> facetStream_;
  std::vector<SetRecord> groups_, materials_, regions_;
  std::vector<TextLine> shapeLines_;
  std::vector<std::uint8_t> cornerBits_, vertexMarks_;
  EditedState state_;
};

// Bit-for-bit equality of the kept state.
bool sameCounters(const ModelCounters& a, const ModelCounters& b);
bool sameSelection(const SelectionState& a, const SelectionState& b);

}  // namespace corvina
