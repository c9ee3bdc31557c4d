// The UVS import: a counting pass that also checks the facet structure, then
// one pass that reads the texture vertices, set statements and settings and
// the corners' texture indices. Everything is gathered in working arrays and
// moved into the store only when the whole file has been read, so a file
// that fails leaves the model as it was.

#include "files/uvs_reader.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

#include "files/obj_line_reader.h"
#include "files/obj_line_statement.h"
#include "files/obj_number_parse.h"
#include "files/obj_reader_passes.h"
#include "files/obj_reader_sets.h"

namespace corvina {

namespace {

bool hasObjExtension(const std::string& path) {
  const std::size_t stem = pathWithoutExtension(path).size();
  if (stem >= path.size()) return false;
  const std::string_view extension = std::string_view(path).substr(stem + 1);
  return extension.size() == 3 && detail::startsWithKeyword(extension, "obj");
}

// Walks the model's facets in stream order.
class ModelFacets {
 public:
  explicit ModelFacets(const ModelStore& store)
      : stream_(store.facetStream),
        length_(std::min(stream_.size(),
                         static_cast<std::size_t>(std::max(store.numCornerRecords, 0)))) {}

  // Moves to the next facet: its separator's position and its corner count.
  // False when no facet is left. A separator without corners (all that is
  // left when every facet was removed) opens no facet, as the writers see it.
  bool next(std::size_t& separator, std::size_t& corners) {
    for (;;) {
      while (at_ < length_ && stream_[at_].vertex > 0) ++at_;  // corners no separator opened
      if (at_ >= length_ || stream_[at_].vertex < 0) return false;
      separator = at_++;
      const std::size_t first = at_;
      while (at_ < length_ && stream_[at_].vertex > 0) ++at_;
      corners = at_ - first;
      if (corners > 0) return true;
    }
  }

  // The records up to and including the end-of-list record, without the
  // separators that open no facet.
  std::int64_t records() const {
    std::size_t end = 0;
    std::int64_t empty = 0;
    for (; end < length_ && stream_[end].vertex >= 0; ++end) {
      const bool followedByCorner = end + 1 < length_ && stream_[end + 1].vertex > 0;
      empty += stream_[end].vertex == kSeparator && !followedByCorner;
    }
    return static_cast<std::int64_t>(end) + 1 - empty;
  }

 private:
  const std::vector<CornerRecord>& stream_;
  std::size_t length_;
  std::size_t at_ = 0;
};

struct UvsCounts {
  std::int64_t lines = 0, texVertices = 0, facets = 0;
  std::int64_t groups = 0, materials = 0, regions = 0;
  std::int64_t cornerRecords = 1;  // the end-of-list record
  bool sameFacets = true;          // every facet line matched the model's facet of its number
};

bool countUvs(ObjLineReader& reader, const ModelStore& store, UvsCounts& counts) {
  ModelFacets model(store);
  ObjLine line;
  while (reader.next<true>(line)) {
    ++counts.lines;
    switch (classifyObjLine(line.text).kind) {
      case ObjStatement::Region:
        ++counts.regions;
        break;
      case ObjStatement::Group:
        ++counts.groups;
        break;
      case ObjStatement::Material:
        ++counts.materials;
        break;
      case ObjStatement::TexVertex:
        ++counts.texVertices;
        break;
      case ObjStatement::Facet: {
        const auto corners = static_cast<std::size_t>(line.words - 1);
        ++counts.facets;
        counts.cornerRecords += static_cast<std::int64_t>(corners) + 1;
        std::size_t separator = 0, modelCorners = 0;
        if (counts.sameFacets &&
            (!model.next(separator, modelCorners) || modelCorners != corners)) {
          counts.sameFacets = false;
        }
        break;
      }
      default:
        break;
    }
  }
  std::size_t separator = 0, modelCorners = 0;
  if (counts.sameFacets && model.next(separator, modelCorners)) counts.sameFacets = false;
  return !reader.failed();
}

bool sameStructure(const UvsCounts& counts, const ModelStore& store) {
  return counts.sameFacets && counts.cornerRecords == ModelFacets(store).records();
}

// The numbers of one corner token as the OBJ reader reads them (vertex, then
// texture index after the first slash; "v//n" has none), and whether the
// token holds a slash anywhere.
struct CornerToken {
  std::int64_t first = 0, second = 0;
  bool slash = false;
};

CornerToken readCornerToken(std::string_view token) {
  CornerToken corner;
  const char* p = token.data();
  const char* end = p + token.size();
  corner.first = readCornerIndex(p, end);
  if (p < end && *p == '/') {
    ++p;
    if (p < end && *p != '/') corner.second = readCornerIndex(p, end);
  }
  corner.slash = token.find('/') != std::string_view::npos;
  return corner;
}

// A set table the file replaces: the new table and the builder filling it.
struct ReplacedTable {
  std::vector<SetRecord> table;
  std::optional<ObjSetTableBuilder> builder;

  void prepare(std::int64_t statements) {
    if (statements == 0) return;
    table.assign(static_cast<std::size_t>(statements) + 1, SetRecord{});
    builder.emplace(table);
  }
  bool record(std::string_view name, int facetsBefore) {
    return !builder || builder->record(name, facetsBefore);
  }
};

// What the reading pass gathers before it goes into the store.
struct ImportedTexture {
  std::size_t kept = 0;                      // current texture vertices kept at the front
  std::vector<TexVertex> texVertices;        // kept, then the file's
  std::vector<std::int32_t> texIndices;      // the new texVertex of every stream record
  std::vector<std::size_t> importedCorners;  // with a selection: the corners that took one
  ReplacedTable groups, materials, regions;
  ObjMapSettings settings;
};

// Gives the corners of one facet line their texture indices. False when the
// line no longer matches the model's facet (the file changed).
bool readFacetIndices(std::string_view corners, ModelFacets& model, const ModelStore& store,
                      bool selectionActive, bool& objLayout, ImportedTexture& imported) {
  std::size_t separator = 0, cornerCount = 0;
  if (!model.next(separator, cornerCount)) return false;
  imported.texIndices[separator] = 0;
  const auto fileTexVertices =
      static_cast<std::int64_t>(imported.texVertices.size() - imported.kept);
  std::size_t record = separator;
  std::size_t read = 0;
  while (!corners.empty()) {
    const std::size_t space = corners.find(' ');
    const std::string_view token = corners.substr(0, space);
    corners = space == std::string_view::npos ? std::string_view() : corners.substr(space + 1);
    if (++read > cornerCount) return false;
    ++record;
    const CornerToken corner = readCornerToken(token);
    objLayout = objLayout || corner.slash;
    if (selectionActive) {
      if ((store.facetStream[record].group & kSelectedBit) == 0) continue;
      imported.importedCorners.push_back(record);
    }
    const std::int64_t number = objLayout ? corner.second : corner.first;
    const std::int64_t magnitude = number < 0 ? -number : number;
    // An absent index stays absent rather than naming a kept texture vertex.
    imported.texIndices[record] =
        magnitude == 0 || magnitude > fileTexVertices
            ? 0
            : static_cast<std::int32_t>(static_cast<std::int64_t>(imported.kept) + magnitude);
  }
  return read == cornerCount;
}

bool readTexVertex(std::string_view arguments, ImportedTexture& imported, std::size_t& next) {
  if (next >= imported.texVertices.size()) return false;
  float uv[2] = {0, 0};
  const char* p = arguments.data();
  const char* end = p + arguments.size();
  if (readFloat<true>(p, end, uv[0])) readFloat<true>(p, end, uv[1]);
  imported.texVertices[next++] = TexVertex{uv[0], uv[1], 0};
  return true;
}

bool readUvsLines(ObjLineReader& reader, const ModelStore& store, bool selectionActive,
                  bool objLayout, ProgressSink& progress, ImportedTexture& imported) {
  ModelFacets model(store);
  std::size_t nextTexVertex = imported.kept;
  int facets = 0;
  std::uint64_t lines = 0;
  ObjLine line;
  while (reader.next(line)) {
    // The progress range covers two steps per 256 lines.
    if ((++lines & 127) == 0) progress.stepProgress();
    const ObjStatementMatch statement = classifyObjLine(line.text);
    const std::string_view arguments = line.text.substr(statement.argumentStart);
    bool matches = true;
    switch (statement.kind) {
      case ObjStatement::Region:
        matches = imported.regions.record(arguments, facets);
        break;
      case ObjStatement::Group:
        matches = imported.groups.record(arguments, facets);
        break;
      case ObjStatement::Material:
        matches = imported.materials.record(arguments, facets);
        break;
      case ObjStatement::MapSettings:
        readObjMapSettings(arguments, imported.settings);
        break;
      case ObjStatement::TexVertex:
        matches = readTexVertex(arguments, imported, nextTexVertex);
        break;
      case ObjStatement::Facet:
        ++facets;
        matches = readFacetIndices(arguments, model, store, selectionActive, objLayout, imported);
        break;
      default:
        break;
    }
    if (!matches) return false;
  }
  std::size_t separator = 0, corners = 0;
  return !reader.failed() && nextTexVertex == imported.texVertices.size() &&
         !model.next(separator, corners);
}

bool finishTable(ReplacedTable& replaced, std::int64_t statements, int sentinelFacet) {
  if (!replaced.builder) return true;
  if (replaced.builder->statements() != statements) return false;
  replaced.builder->finish(sentinelFacet);
  return true;
}

void replaceTable(ReplacedTable& replaced, std::vector<SetRecord>& table, int& names,
                  int& statements) {
  if (!replaced.builder) return;
  names = replaced.builder->distinctNames();
  statements = replaced.builder->statements();
  replaced.builder.reset();
  table = std::move(replaced.table);
}

void applyMapSettings(const ObjMapSettings& settings, ModelStore& store) {
  if (settings.hasSize) {
    store.mapWidth = settings.width;
    store.mapHeight = settings.height;
  }
  if (settings.hasColorMode) store.colorMode = settings.colorMode;
  if (settings.hasPixelsPerUnit) store.pixelsPerUnit = settings.pixelsPerUnit;
}

// Ends a selection whose corners are no longer marked (reassigning the set
// indices cleared every selected bit).
void endSelection(ModelStore& store, SelectionState& selection) {
  selection.selectionActive = false;
  for (Vertex& vertex : store.vertices) vertex.mark = 0;
}

bool outsideUnitSquare(const std::vector<TexVertex>& texVertices) {
  return std::any_of(texVertices.begin(), texVertices.end(), [](const TexVertex& t) {
    return t.u < 0.0f || t.u > 1.0f || t.v < 0.0f || t.v > 1.0f;
  });
}

}  // namespace

UvsImportResult importUvsFile(ModelStore& store, SelectionState& selection, const std::string& path,
                              ProgressSink& progress) {
  ObjFileSource source;
  if (!source.open(path)) return {UvsImportOutcome::CannotOpen, false, {}};
  return readUvs(store, selection, source, path, progress);
}

UvsImportResult readUvs(ModelStore& store, SelectionState& selection, ObjByteSource& source,
                        const std::string& path, ProgressSink& progress, std::size_t chunkSize) {
  const bool objLayout = hasObjExtension(path);

  ObjLineReader reader(source, chunkSize);
  UvsCounts counts;
  if (!countUvs(reader, store, counts)) return {UvsImportOutcome::ReadFailed, false, {}};
  if (!sameStructure(counts, store)) return {UvsImportOutcome::IncompatibleStructure, false, {}};

  ImportedTexture imported;
  const std::size_t streamLength = std::min(
      store.facetStream.size(), static_cast<std::size_t>(std::max(store.numCornerRecords, 0)));
  imported.kept = selection.selectionActive
                      ? std::min(store.texVertices.size(),
                                 static_cast<std::size_t>(std::max(store.numTVerts, 0)))
                      : 0;
  // Every count is at most the file's line count; the total must still be a
  // texture index.
  if (counts.texVertices >
      std::numeric_limits<std::int32_t>::max() - static_cast<std::int64_t>(imported.kept)) {
    return {UvsImportOutcome::InsufficientMemory, false, {}};
  }
  try {
    imported.texVertices.resize(imported.kept + static_cast<std::size_t>(counts.texVertices));
    std::copy_n(store.texVertices.begin(), imported.kept, imported.texVertices.begin());
    imported.texIndices.resize(streamLength);
    for (std::size_t j = 0; j < streamLength; ++j) {
      const CornerRecord& record = store.facetStream[j];
      imported.texIndices[j] = record.vertex > 0 ? record.texVertex : 0;
    }
    imported.groups.prepare(counts.groups);
    imported.materials.prepare(counts.materials);
    imported.regions.prepare(counts.regions);
  } catch (const std::bad_alloc&) {
    return {UvsImportOutcome::InsufficientMemory, false, {}};
  }

  progress.beginProgress(static_cast<int>(
      std::min<std::int64_t>(2 * counts.lines / 256, std::numeric_limits<std::int32_t>::max())));
  const bool read = reader.rewind() && readUvsLines(reader, store, selection.selectionActive,
                                                    objLayout, progress, imported);
  progress.endProgress();
  const int sentinel = store.numCornerRecords;
  if (!read || !finishTable(imported.groups, counts.groups, sentinel) ||
      !finishTable(imported.materials, counts.materials, sentinel) ||
      !finishTable(imported.regions, counts.regions, sentinel)) {
    return {UvsImportOutcome::ReadFailed, false, {}};
  }

  // The file is read completely: from here on nothing fails.
  const bool tablesReplaced =
      imported.groups.builder || imported.materials.builder || imported.regions.builder;
  replaceTable(imported.groups, store.groups, store.numGroups, store.numGroupStatements);
  replaceTable(imported.materials, store.materials, store.numMaterials,
               store.numMaterialStatements);
  replaceTable(imported.regions, store.regions, store.numRegions, store.numRegionStatements);
  for (std::size_t j = 0; j < streamLength; ++j) {
    store.facetStream[j].texVertex = imported.texIndices[j];
  }
  store.texVertices = std::move(imported.texVertices);
  store.numTVerts = static_cast<int>(store.texVertices.size());
  store.texVerticesExpanded = 0;
  applyMapSettings(imported.settings, store);
  if (tablesReplaced) {
    assignSetIndices(store);
    if (selection.selectionActive) endSelection(store, selection);
  }
  const bool outOfRange = outsideUnitSquare(store.texVertices);
  expandTextureVertices(store, false);
  return {UvsImportOutcome::Imported, outOfRange, std::move(imported.importedCorners)};
}

}  // namespace corvina
