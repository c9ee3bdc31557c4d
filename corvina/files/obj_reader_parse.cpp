// The parse pass: elements, set tables, kept lines and map settings.

#include <algorithm>
#include <cstring>
#include <string_view>

#include "files/obj_line_statement.h"
#include "files/obj_number_parse.h"
#include "files/obj_reader_passes.h"
#include "files/obj_reader_sets.h"

namespace corvina {

namespace {

// Reads up to `count` floats one after another, as "%f %f %f" would; the
// components after the first that does not read stay 0. `text` is (the end
// of) an ObjLine, so the numbers can be read up to its end mark.
void readComponents(std::string_view text, float* components, int count) {
  const char* p = text.data();
  const char* end = p + text.size();
  for (int i = 0; i < count; ++i) {
    if (!readFloat<true>(p, end, components[i])) return;
  }
}

// "%d/%d/%d/%f": the values count only when all four read.
void readMapSettings(std::string_view text, ObjMapSettings& settings) {
  const char* p = text.data();
  const char* end = p + text.size();
  int width = 0, height = 0, colorMode = 0;
  float pixelsPerUnit = 0;
  auto slash = [&] {
    if (p == end || *p != '/') return false;
    ++p;
    return true;
  };
  if (!(readInt(p, end, width) && slash() && readInt(p, end, height) && slash() &&
        readInt(p, end, colorMode) && slash() && readFloat(p, end, pixelsPerUnit))) {
    return;
  }
  if (width >= 1 && width <= 8192 && height >= 1 && height <= 8192) {
    settings.hasSize = true;
    settings.width = width;
    settings.height = height;
  }
  if (colorMode >= 0 && colorMode <= 3) {
    settings.hasColorMode = true;
    settings.colorMode = colorMode;
  }
  if (pixelsPerUnit >= 1.0f && pixelsPerUnit <= 10000.0f) {
    settings.hasPixelsPerUnit = true;
    settings.pixelsPerUnit = pixelsPerUnit;
  }
}

// Where the pass writes the next vertex, texture vertex and normal, and
// where the chunk's part of each array ends.
struct ElementPositions {
  std::size_t vertices = 0, texVertices = 0, normals = 0;
  std::size_t vertexEnd = 0, texVertexEnd = 0, normalEnd = 0;
};

// Stores the values of one vertex, texture-vertex or normal line. False when
// the chunk's part of its array is full already, which means the file changed
// since it was counted.
bool storeElement(ObjStatement kind, std::string_view arguments, ElementPositions& at,
                  ModelStore& store) {
  switch (kind) {
    case ObjStatement::Vertex: {
      if (at.vertices == at.vertexEnd) return false;
      float xyz[3] = {0, 0, 0};
      readComponents(arguments, xyz, 3);
      store.vertices[at.vertices++] = Vertex{xyz[0], xyz[1], xyz[2], 0};
      return true;
    }
    case ObjStatement::TexVertex: {
      if (at.texVertices == at.texVertexEnd) return false;
      float uv[2] = {0, 0};
      readComponents(arguments, uv, 2);
      store.texVertices[at.texVertices++] = TexVertex{uv[0], uv[1], 0};
      return true;
    }
    case ObjStatement::Normal: {
      if (at.normals == at.normalEnd) return false;
      float xyz[3] = {0, 0, 0};
      readComponents(arguments, xyz, 3);
      store.normals[at.normals++] = Normal{xyz[0], xyz[1], xyz[2]};
      return true;
    }
    default:
      return true;
  }
}

// Keeps a set statement's name and place for the merge.
void gatherStatement(ObjChunkStatements& gathered, ObjChunkStatements::Table table,
                     std::string_view name, int facetsBefore) {
  // Names are cut to what the table stores before they are compared.
  const std::string_view kept = name.substr(0, kSetNameSize - 1);
  gathered.statements.push_back({table, facetsBefore, gathered.names.size(), kept.size()});
  gathered.names.append(kept);
}

void keepShapeLine(std::string_view text, int facetOrdinal, TextLine& kept) {
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(kTextLineSize - 1));
  std::memset(kept.text, 0, sizeof kept.text);
  std::memcpy(kept.text, text.data(), length);
  kept.facetOrdinal = facetOrdinal;
}

}  // namespace

bool parseObjChunk(ObjLineReader& reader, ModelStore& store, const ObjCounts& before,
                   const ObjCounts& own, ObjLoadProgress& progress, ObjChunkStatements& gathered) {
  const auto at = [](std::int64_t count) { return static_cast<std::size_t>(count); };
  ElementPositions elements;
  elements.vertices = at(before.vertices);
  elements.texVertices = at(before.texVertices);
  elements.normals = at(before.normals);
  elements.vertexEnd = at(before.vertices + own.vertices);
  elements.texVertexEnd = at(before.texVertices + own.texVertices);
  elements.normalEnd = at(before.normals + own.normals);
  std::size_t shapeLines = at(before.shapeLines);
  const std::size_t shapeLineEnd = at(before.shapeLines + own.shapeLines);
  // Facet numbers count the facet lines of the whole file.
  const int facetsBefore = static_cast<int>(before.facets);
  int facets = 0;
  std::int64_t statements[3] = {0, 0, 0};
  // The chunk's set statements were counted, so their list is allocated once.
  gathered.statements.reserve(static_cast<std::size_t>(
      own.groupStatements + own.materialStatements + own.regionStatements));
  auto gather = [&](ObjChunkStatements::Table table, std::string_view name) {
    gatherStatement(gathered, table, name, facets);
    ++statements[table];
  };

  ObjLine line;
  for (;;) {
    // Facet lines, the bulk of a file, only need counting here.
    const std::string_view raw = reader.peek();
    if (raw.empty()) break;
    if (reader.inPlace() && rawLineStartsStatement(raw, "f ")) {
      reader.skipLine();
      progress.advance();
      ++facets;
      continue;
    }
    // Element lines are read as they stand: their numbers are the same
    // whatever blanks separate them.
    if (reader.inPlace() && raw[0] == 'v') {
      const ObjStatement kind = rawLineStartsStatement(raw, "v ")    ? ObjStatement::Vertex
                                : rawLineStartsStatement(raw, "vt ") ? ObjStatement::TexVertex
                                : rawLineStartsStatement(raw, "vn ") ? ObjStatement::Normal
                                                                     : ObjStatement::Other;
      std::string_view text;
      if (kind != ObjStatement::Other && reader.takeRawLine(text)) {
        progress.advance();
        const std::string_view arguments = text.substr(kind == ObjStatement::Vertex ? 2 : 3);
        if (!storeElement(kind, arguments, elements, store)) return false;
        continue;
      }
    }
    if (!reader.next(line)) break;
    const ObjStatementMatch statement = classifyObjLine(line.text);
    const std::string_view arguments = line.text.substr(statement.argumentStart);
    switch (statement.kind) {
      case ObjStatement::Comment:
        continue;
      case ObjStatement::Region:
        gather(ObjChunkStatements::kRegions, arguments);
        continue;
      case ObjStatement::MapSettings:
        readMapSettings(arguments, gathered.settings);
        continue;
      case ObjStatement::ShapeLine:
        if (shapeLines == shapeLineEnd) return false;
        keepShapeLine(line.text, facetsBefore + facets, store.shapeLines[shapeLines++]);
        continue;
      default:
        break;
    }
    progress.advance();
    switch (statement.kind) {
      case ObjStatement::Facet:
        ++facets;
        break;
      case ObjStatement::Vertex:
      case ObjStatement::TexVertex:
      case ObjStatement::Normal:
        if (!storeElement(statement.kind, arguments, elements, store)) return false;
        break;
      case ObjStatement::Group:
        gather(ObjChunkStatements::kGroups, arguments);
        break;
      case ObjStatement::Material:
        gather(ObjChunkStatements::kMaterials, arguments);
        break;
      default:
        break;
    }
  }
  progress.flush();
  // Fewer elements than counted also means the file changed under us.
  return !reader.failed() && elements.vertices == elements.vertexEnd &&
         elements.texVertices == elements.texVertexEnd && elements.normals == elements.normalEnd &&
         shapeLines == shapeLineEnd && facets == own.facets &&
         statements[ObjChunkStatements::kGroups] == own.groupStatements &&
         statements[ObjChunkStatements::kMaterials] == own.materialStatements &&
         statements[ObjChunkStatements::kRegions] == own.regionStatements;
}

bool mergeObjChunkStatements(std::span<const ObjChunkStatements> chunks,
                             std::span<const ObjCounts> before, ModelStore& store,
                             ObjMapSettings& settings) {
  ObjSetTableBuilder groups(store.groups);
  ObjSetTableBuilder materials(store.materials);
  ObjSetTableBuilder regions(store.regions);
  ObjSetTableBuilder* tables[3] = {&groups, &materials, &regions};
  for (std::size_t c = 0; c < chunks.size(); ++c) {
    const ObjChunkStatements& chunk = chunks[c];
    const int facetsBefore = static_cast<int>(before[c].facets);
    for (const ObjChunkStatements::Statement& statement : chunk.statements) {
      const std::string_view name(chunk.names.data() + statement.nameStart, statement.nameLength);
      if (!tables[statement.table]->record(name, facetsBefore + statement.facetsBefore)) {
        return false;
      }
    }
    const ObjMapSettings& more = chunk.settings;
    if (more.hasSize) {
      settings.hasSize = true;
      settings.width = more.width;
      settings.height = more.height;
    }
    if (more.hasColorMode) {
      settings.hasColorMode = true;
      settings.colorMode = more.colorMode;
    }
    if (more.hasPixelsPerUnit) {
      settings.hasPixelsPerUnit = true;
      settings.pixelsPerUnit = more.pixelsPerUnit;
    }
  }
  if (groups.statements() != store.numGroupStatements ||
      materials.statements() != store.numMaterialStatements ||
      regions.statements() != store.numRegionStatements) {
    return false;
  }
  groups.finish(store.numCornerRecords);
  materials.finish(store.numCornerRecords);
  regions.finish(store.numCornerRecords);
  store.numGroups = groups.distinctNames();
  store.numMaterials = materials.distinctNames();
  store.numRegions = regions.distinctNames();
  return true;
}

bool parseObjElements(ObjLineReader& reader, ModelStore& store, ObjLoadProgress& progress,
                      ObjMapSettings& settings) {
  const ObjCounts before;
  ObjChunkStatements gathered;
  return parseObjChunk(reader, store, before, objCountsOfStore(store), progress, gathered) &&
         mergeObjChunkStatements({&gathered, 1}, {&before, 1}, store, settings);
}

void readObjMapSettings(std::string_view arguments, ObjMapSettings& settings) {
  readMapSettings(arguments, settings);
}

}  // namespace corvina
