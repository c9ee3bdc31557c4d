// The counting pass and the check that its counts fit the store.

#include <cstddef>
#include <cstdint>

#include "files/obj_line_statement.h"
#include "files/obj_reader_passes.h"

namespace corvina {

bool countObjChunk(ObjLineReader& reader, ObjCounts& counts) {
  counts = ObjCounts{};
  ObjLine line;
  for (;;) {
    // Element lines, the bulk of a file, are known by their first bytes and
    // need no more than their end found.
    const std::string_view raw = reader.peek();
    if (raw.empty()) break;
    ++counts.lines;
    if (reader.inPlace() && raw[0] == 'v') {
      std::int64_t* count = rawLineStartsStatement(raw, "v ")    ? &counts.vertices
                            : rawLineStartsStatement(raw, "vt ") ? &counts.texVertices
                            : rawLineStartsStatement(raw, "vn ") ? &counts.normals
                                                                 : nullptr;
      if (count != nullptr) {
        ++*count;
        reader.skipLine();
        continue;
      }
    }
    if (!reader.next<true>(line)) break;
    switch (classifyObjLine(line.text).kind) {
      case ObjStatement::Region:
        ++counts.regionStatements;
        break;
      case ObjStatement::ShapeLine:
        ++counts.shapeLines;
        break;
      case ObjStatement::Vertex:
        ++counts.vertices;
        break;
      case ObjStatement::TexVertex:
        ++counts.texVertices;
        break;
      case ObjStatement::Normal:
        ++counts.normals;
        break;
      case ObjStatement::Facet:
        ++counts.facets;
        // One separator plus one record per word after the keyword.
        counts.cornerRecords += static_cast<std::int64_t>(line.words);
        break;
      case ObjStatement::Group:
        ++counts.groupStatements;
        break;
      case ObjStatement::Material:
        ++counts.materialStatements;
        break;
      default:
        break;
    }
  }
  return !reader.failed();
}

bool countObjStatements(ObjLineReader& reader, ObjCounts& counts) {
  const bool counted = countObjChunk(reader, counts);
  ++counts.cornerRecords;  // the end-of-list record
  return counted;
}

void addObjCounts(ObjCounts& total, const ObjCounts& more) {
  total.vertices += more.vertices;
  total.texVertices += more.texVertices;
  total.normals += more.normals;
  total.facets += more.facets;
  total.cornerRecords += more.cornerRecords;
  total.groupStatements += more.groupStatements;
  total.materialStatements += more.materialStatements;
  total.regionStatements += more.regionStatements;
  total.shapeLines += more.shapeLines;
  total.lines += more.lines;
}

ObjCounts objCountsOfStore(const ModelStore& store) {
  ObjCounts counts;
  counts.vertices = store.numVerts;
  counts.texVertices = store.numTVerts;
  counts.normals = store.numVNormals;
  counts.facets = store.numFacets;
  counts.cornerRecords = store.numCornerRecords > 0 ? store.numCornerRecords - 1 : 0;
  counts.groupStatements = store.numGroupStatements;
  counts.materialStatements = store.numMaterialStatements;
  counts.regionStatements = store.numRegionStatements;
  counts.shapeLines = store.numShapeLines;
  return counts;
}

namespace {

// Adds count * size to total, false when the product or the sum cannot be
// held in a size_t (only possible where size_t is 32 bits).
bool addBytes(std::uint64_t& total, std::int64_t count, std::size_t size) {
  const std::uint64_t limit = SIZE_MAX;
  const std::uint64_t elements = static_cast<std::uint64_t>(count);
  if (elements > limit / size) return false;
  const std::uint64_t bytes = elements * size;
  if (bytes > limit - total) return false;
  total += bytes;
  return true;
}

}  // namespace

bool objCountsFitStore(const ObjCounts& c, std::int64_t limit) {
  // The set tables have one entry more than their statements.
  const std::int64_t counts[] = {c.vertices,
                                 c.texVertices,
                                 c.normals,
                                 c.facets,
                                 c.cornerRecords,
                                 c.groupStatements + 1,
                                 c.materialStatements + 1,
                                 c.regionStatements + 1,
                                 c.shapeLines};
  for (std::int64_t count : counts) {
    if (count < 0 || count > limit) return false;
  }
  // Every array the load holds at its peak, the expanded texture vertices
  // (one per stream record) beside the ones read.
  std::uint64_t bytes = 0;
  return addBytes(bytes, c.vertices, 2 * sizeof(Vertex)) &&
         addBytes(bytes, c.texVertices, sizeof(TexVertex)) &&
         addBytes(bytes, c.cornerRecords, sizeof(TexVertex)) &&
         addBytes(bytes, c.normals, sizeof(Normal)) &&
         addBytes(bytes, c.cornerRecords, sizeof(CornerRecord)) &&
         addBytes(bytes, c.groupStatements + 1, sizeof(SetRecord)) &&
         addBytes(bytes, c.materialStatements + 1, sizeof(SetRecord)) &&
         addBytes(bytes, c.regionStatements + 1, sizeof(SetRecord)) &&
         addBytes(bytes, c.shapeLines, sizeof(TextLine));
}

void setStoreCounts(const ObjCounts& counts, ModelStore& store) {
  store.numVerts = static_cast<int>(counts.vertices);
  store.numTVerts = static_cast<int>(counts.texVertices);
  store.numVNormals = static_cast<int>(counts.normals);
  store.numFacets = static_cast<int>(counts.facets);
  store.numCornerRecords = static_cast<int>(counts.cornerRecords);
  store.numGroupStatements = static_cast<int>(counts.groupStatements);
  store.numMaterialStatements = static_cast<int>(counts.materialStatements);
  store.numRegionStatements = static_cast<int>(counts.regionStatements);
  store.numShapeLines = static_cast<int>(counts.shapeLines);
}

}  // namespace corvina
