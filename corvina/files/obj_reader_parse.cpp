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
  const std::size_t vertexCount = store.vertices.size();
  const std::size_t texVertexCount = store.texVertices.size();
  const std::size_t normalCount = store.normals.size();
  const std::size_t shapeLineCount = store.shapeLines.size();
  std::size_t vertices = 0, texVertices = 0, normals = 0, shapeLines = 0;
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
      case ObjStatement::Vertex: {
        if (vertices == vertexCount) return false;
        float xyz[3] = {0, 0, 0};
        readComponents(arguments, xyz, 3);
        store.vertices[vertices++] = Vertex{xyz[0], xyz[1], xyz[2], 0};
        break;
      }
      case ObjStatement::TexVertex: {
        if (texVertices == texVertexCount) return false;
        float uv[2] = {0, 0};
        readComponents(arguments, uv, 2);
        store.texVertices[texVertices++] = TexVertex{uv[0], uv[1], 0};
        break;
      }
      case ObjStatement::Normal: {
        if (normals == normalCount) return false;
        float xyz[3] = {0, 0, 0};
        readComponents(arguments, xyz, 3);
        store.normals[normals++] = Normal{xyz[0], xyz[1], xyz[2]};
        break;
      }
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
  if (vertices != vertexCount || texVertices != texVertexCount || normals != normalCount ||
      shapeLines != shapeLineCount || facets != store.numFacets ||
      groups.statements() != store.numGroupStatements ||
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

}  // namespace corvina
