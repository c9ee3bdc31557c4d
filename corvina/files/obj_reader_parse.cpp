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

// Where the pass writes the next vertex, texture vertex and normal.
struct ElementPositions {
  std::size_t vertices = 0, texVertices = 0, normals = 0;
};

// Stores the values of one vertex, texture-vertex or normal line. False when
// its array is full already, which means the file changed since it was
// counted.
bool storeElement(ObjStatement kind, std::string_view arguments, ElementPositions& at,
                  ModelStore& store) {
  switch (kind) {
    case ObjStatement::Vertex: {
      if (at.vertices == store.vertices.size()) return false;
      float xyz[3] = {0, 0, 0};
      readComponents(arguments, xyz, 3);
      store.vertices[at.vertices++] = Vertex{xyz[0], xyz[1], xyz[2], 0};
      return true;
    }
    case ObjStatement::TexVertex: {
      if (at.texVertices == store.texVertices.size()) return false;
      float uv[2] = {0, 0};
      readComponents(arguments, uv, 2);
      store.texVertices[at.texVertices++] = TexVertex{uv[0], uv[1], 0};
      return true;
    }
    case ObjStatement::Normal: {
      if (at.normals == store.normals.size()) return false;
      float xyz[3] = {0, 0, 0};
      readComponents(arguments, xyz, 3);
      store.normals[at.normals++] = Normal{xyz[0], xyz[1], xyz[2]};
      return true;
    }
    default:
      return true;
  }
}

void keepShapeLine(std::string_view text, int facetOrdinal, TextLine& kept) {
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(kTextLineSize - 1));
  std::memset(kept.text, 0, sizeof kept.text);
  std::memcpy(kept.text, text.data(), length);
  kept.facetOrdinal = facetOrdinal;
}

}  // namespace

bool parseObjElements(ObjLineReader& reader, ModelStore& store, ObjLoadProgress& progress,
                      ObjMapSettings& settings) {
  ObjSetTableBuilder groups(store.groups);
  ObjSetTableBuilder materials(store.materials);
  ObjSetTableBuilder regions(store.regions);
  const std::size_t shapeLineCount = store.shapeLines.size();
  ElementPositions elements;
  std::size_t shapeLines = 0;
  int facets = 0;

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
        if (!regions.record(arguments, facets)) return false;
        continue;
      case ObjStatement::MapSettings:
        readMapSettings(arguments, settings);
        continue;
      case ObjStatement::ShapeLine:
        if (shapeLines == shapeLineCount) return false;
        keepShapeLine(line.text, facets, store.shapeLines[shapeLines++]);
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
        if (!groups.record(arguments, facets)) return false;
        break;
      case ObjStatement::Material:
        if (!materials.record(arguments, facets)) return false;
        break;
      default:
        break;
    }
  }
  if (reader.failed()) return false;
  // Fewer elements than counted also means the file changed under us.
  if (elements.vertices != store.vertices.size() ||
      elements.texVertices != store.texVertices.size() ||
      elements.normals != store.normals.size() || shapeLines != shapeLineCount ||
      facets != store.numFacets || groups.statements() != store.numGroupStatements ||
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

void readObjMapSettings(std::string_view arguments, ObjMapSettings& settings) {
  readMapSettings(arguments, settings);
}

}  // namespace corvina
