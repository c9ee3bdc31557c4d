#include "app/history_change.h"

#include <cstring>

namespace corvina {

namespace {

constexpr std::uint8_t kBitSelected = 1;
constexpr std::uint8_t kBitHidden = 2;

ModelCounters countersOf(const ModelStore& store) {
  ModelCounters c;
  c.numVerts = store.numVerts;
  c.numTVerts = store.numTVerts;
  c.numVNormals = store.numVNormals;
  c.numFacets = store.numFacets;
  c.numCornerRecords = store.numCornerRecords;
  c.numGroups = store.numGroups;
  c.numMaterials = store.numMaterials;
  c.numRegions = store.numRegions;
  c.numGroupStatements = store.numGroupStatements;
  c.numMaterialStatements = store.numMaterialStatements;
  c.numRegionStatements = store.numRegionStatements;
  c.numShapeLines = store.numShapeLines;
  c.modelLoaded = store.modelLoaded;
  c.texVerticesExpanded = store.texVerticesExpanded;
  c.mapWidth = store.mapWidth;
  c.mapHeight = store.mapHeight;
  c.colorMode = store.colorMode;
  c.pixelsPerUnit = store.pixelsPerUnit;
  return c;
}

void putCounters(ModelStore& store, const ModelCounters& c) {
  store.numVerts = c.numVerts;
  store.numTVerts = c.numTVerts;
  store.numVNormals = c.numVNormals;
  store.numFacets = c.numFacets;
  store.numCornerRecords = c.numCornerRecords;
  store.numGroups = c.numGroups;
  store.numMaterials = c.numMaterials;
  store.numRegions = c.numRegions;
  store.numGroupStatements = c.numGroupStatements;
  store.numMaterialStatements = c.numMaterialStatements;
  store.numRegionStatements = c.numRegionStatements;
  store.numShapeLines = c.numShapeLines;
  store.modelLoaded = c.modelLoaded;
  store.texVerticesExpanded = c.texVerticesExpanded;
  store.mapWidth = c.mapWidth;
  store.mapHeight = c.mapHeight;
  store.colorMode = c.colorMode;
  store.pixelsPerUnit = c.pixelsPerUnit;
}

std::vector<std::uint8_t> cornerBitsOf(const ModelStore& store) {
  std::vector<std::uint8_t> bits(store.facetStream.size());
  for (std::size_t i = 0; i < bits.size(); ++i) {
    const CornerRecord& r = store.facetStream[i];
    bits[i] = static_cast<std::uint8_t>(((r.group & kSelectedBit) != 0 ? kBitSelected : 0) |
                                        ((r.flags & kHiddenBit) != 0 ? kBitHidden : 0));
  }
  return bits;
}

void putCornerBits(std::vector<CornerRecord>& stream, const std::vector<std::uint8_t>& bits) {
  if (bits.size() != stream.size()) return;  // only a wrongly declared command could do this
  for (std::size_t i = 0; i < bits.size(); ++i) {
    CornerRecord& r = stream[i];
    r.group = static_cast<std::uint16_t>((r.group & ~kSelectedBit) |
                                         ((bits[i] & kBitSelected) != 0 ? kSelectedBit : 0));
    r.flags = static_cast<std::uint16_t>((r.flags & ~kHiddenBit) |
                                         ((bits[i] & kBitHidden) != 0 ? kHiddenBit : 0));
  }
}

std::vector<std::uint8_t> vertexMarksOf(const ModelStore& store) {
  std::vector<std::uint8_t> marks(store.vertices.size());
  for (std::size_t i = 0; i < marks.size(); ++i) marks[i] = store.vertices[i].mark;
  return marks;
}

void putVertexMarks(std::vector<Vertex>& vertices, const std::vector<std::uint8_t>& marks) {
  if (marks.size() != vertices.size()) return;
  for (std::size_t i = 0; i < marks.size(); ++i) vertices[i].mark = marks[i];
}

bool sameBits(const void* a, const void* b, std::size_t size) {
  return std::memcmp(a, b, size) == 0;
}

}  // namespace

bool sameCounters(const ModelCounters& a, const ModelCounters& b) {
  return sameBits(&a, &b, sizeof(ModelCounters));
}

bool sameSelection(const SelectionState& a, const SelectionState& b) {
  return a.selectionActive == b.selectionActive &&
         sameBits(&a.source, &b.source, sizeof(a.source)) &&
         sameBits(&a.target, &b.target, sizeof(a.target)) &&
         sameBits(&a.framePixels, &b.framePixels, sizeof(a.framePixels)) &&
         a.selectMethod == b.selectMethod;
}

ModelCapture::ModelCapture(const ModelStore& store, const SelectionState& selection,
                           ProjectionKind projection, unsigned parts) {
  state_.counters = countersOf(store);
  state_.modelName = store.modelBaseName;
  state_.selection = selection;
  state_.projection = projection;
  widen(store, parts);
}

void ModelCapture::widen(const ModelStore& store, unsigned parts) {
  const unsigned adding = parts & ~parts_;
  if (adding & kPartPositions) {
    vertices_ = store.vertices;
    baseVertices_ = store.baseVertices;
    // Marks captured earlier hold the marks as they were at the start.
    if (parts_ & kPartSelectionBits) putVertexMarks(vertices_, vertexMarks_);
    std::vector<std::uint8_t>().swap(vertexMarks_);
  }
  if (adding & kPartTexVertices) texVertices_ = store.texVertices;
  if (adding & kPartNormals) normals_ = store.normals;
  if (adding & kPartFacetStream) {
    facetStream_ = store.facetStream;
    if (parts_ & kPartSelectionBits) putCornerBits(facetStream_, cornerBits_);
    std::vector<std::uint8_t>().swap(cornerBits_);
  }
  if (adding & kPartSets) {
    groups_ = store.groups;
    materials_ = store.materials;
    regions_ = store.regions;
    shapeLines_ = store.shapeLines;
  }
  if (adding & kPartSelectionBits) {
    if (!((parts_ | parts) & kPartFacetStream)) cornerBits_ = cornerBitsOf(store);
    if (!((parts_ | parts) & kPartPositions)) vertexMarks_ = vertexMarksOf(store);
  }
  parts_ |= parts;
}

std::optional<ModelChange> ModelCapture::finish(const ModelStore& store,
                                                const SelectionState& selection,
                                                ProjectionKind projection) {
  ModelChange change;
  const bool positions = parts_ & kPartPositions;
  const bool stream = parts_ & kPartFacetStream;
  if (positions) {
    change.vertices_ = ArrayDiff<Vertex>(std::move(vertices_), store.vertices);
    change.baseVertices_ = ArrayDiff<Vertex>(std::move(baseVertices_), store.baseVertices);
  }
  if (parts_ & kPartTexVertices)
    change.texVertices_ = ArrayDiff<TexVertex>(std::move(texVertices_), store.texVertices);
  if (parts_ & kPartNormals)
    change.normals_ = ArrayDiff<Normal>(std::move(normals_), store.normals);
  if (stream)
    change.facetStream_ = ArrayDiff<CornerRecord>(std::move(facetStream_), store.facetStream);
  if (parts_ & kPartSets) {
    change.groups_ = ArrayDiff<SetRecord>(std::move(groups_), store.groups);
    change.materials_ = ArrayDiff<SetRecord>(std::move(materials_), store.materials);
    change.regions_ = ArrayDiff<SetRecord>(std::move(regions_), store.regions);
    change.shapeLines_ = ArrayDiff<TextLine>(std::move(shapeLines_), store.shapeLines);
  }
  if ((parts_ & kPartSelectionBits) && !stream)
    change.cornerBits_ = ArrayDiff<std::uint8_t>(std::move(cornerBits_), cornerBitsOf(store));
  if ((parts_ & kPartSelectionBits) && !positions)
    change.vertexMarks_ = ArrayDiff<std::uint8_t>(std::move(vertexMarks_), vertexMarksOf(store));

  const bool arraysChanged =
      !change.vertices_.empty() || !change.baseVertices_.empty() || !change.texVertices_.empty() ||
      !change.normals_.empty() || !change.facetStream_.empty() || !change.groups_.empty() ||
      !change.materials_.empty() || !change.regions_.empty() || !change.shapeLines_.empty();
  const bool bitsChanged = !change.cornerBits_.empty() || !change.vertexMarks_.empty();
  const bool countersChanged = !sameCounters(state_.counters, countersOf(store));
  const bool projectionChanged = state_.projection != projection;
  change.selectionChanged_ = !sameSelection(state_.selection, selection);
  change.nameChanged_ = state_.modelName != store.modelBaseName;
  // A facet stream or vertex array that changed only in its selection bits
  // leaves the saved file as it was; counting it as a change to the model
  // errs toward asking about unsaved work.
  change.changesModel_ = arraysChanged || countersChanged || projectionChanged;
  if (!change.changesModel_ && !bitsChanged && !change.selectionChanged_) return std::nullopt;
  change.kept_ = std::move(state_);
  return change;
}

bool ModelChange::frameOnly() const {
  return !changesModel_ && cornerBits_.empty() && vertexMarks_.empty() && selectionChanged_;
}

std::size_t ModelChange::bytes() const {
  return sizeof(ModelChange) + vertices_.bytes() + baseVertices_.bytes() + texVertices_.bytes() +
         normals_.bytes() + facetStream_.bytes() + groups_.bytes() + materials_.bytes() +
         regions_.bytes() + shapeLines_.bytes() + cornerBits_.bytes() + vertexMarks_.bytes() +
         kept_.modelName.capacity();
}

void ModelChange::exchange(ModelStore& store, SelectionState& selection,
                           ProjectionKind& projection) {
  vertices_.swapWith(store.vertices);
  baseVertices_.swapWith(store.baseVertices);
  texVertices_.swapWith(store.texVertices);
  normals_.swapWith(store.normals);
  facetStream_.swapWith(store.facetStream);
  groups_.swapWith(store.groups);
  materials_.swapWith(store.materials);
  regions_.swapWith(store.regions);
  shapeLines_.swapWith(store.shapeLines);
  if (!cornerBits_.empty()) {
    std::vector<std::uint8_t> bits = cornerBitsOf(store);
    cornerBits_.swapWith(bits);
    putCornerBits(store.facetStream, bits);
  }
  if (!vertexMarks_.empty()) {
    std::vector<std::uint8_t> marks = vertexMarksOf(store);
    vertexMarks_.swapWith(marks);
    putVertexMarks(store.vertices, marks);
  }
  const ModelCounters counters = countersOf(store);
  putCounters(store, kept_.counters);
  kept_.counters = counters;
  if (nameChanged_) std::swap(store.modelBaseName, kept_.modelName);
  std::swap(selection, kept_.selection);
  std::swap(projection, kept_.projection);
}

}  // namespace corvina
