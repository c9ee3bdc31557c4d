// The index pass: the facet stream.

#include <algorithm>
#include <string_view>

#include "files/obj_line_scan.h"
#include "files/obj_line_statement.h"
#include "files/obj_number_parse.h"
#include "files/obj_reader_passes.h"

namespace corvina {

std::int32_t resolveCornerIndex(std::int64_t index, std::int64_t next, std::int64_t count) {
  if (index < 0) index += next;
  if (index < 1 || index > count) return 0;
  return static_cast<std::int32_t>(index);
}

namespace {

struct CornerIndices {
  std::int64_t vertex = 0, texVertex = 0, normal = 0;
};

// Reads the numbers of a corner token and leaves p on the byte after them.
inline CornerIndices readCornerNumbers(const char*& p) {
  CornerIndices corner;
  corner.vertex = readMarkedCornerIndex(p);
  if (*p == '/') {
    ++p;
    if (*p == '/') {
      ++p;
      corner.normal = readMarkedCornerIndex(p);
    } else {
      corner.texVertex = readMarkedCornerIndex(p);
      if (*p == '/') {
        ++p;
        corner.normal = readMarkedCornerIndex(p);
      }
    }
  }
  return corner;
}

// One corner token: "v", "v/t", "v//n" or "v/t/n"; whatever follows the
// numbers up to the next space is skipped. Advances p past the token and its
// space. The text must be an ObjLine's: the byte at `end` is a space or a line
// end, so neither a digit nor a slash, and the numbers need no end checks.
inline CornerIndices readCornerToken(const char*& p, const char* end) {
  const CornerIndices corner = readCornerNumbers(p);
  while (p < end && *p != ' ') ++p;
  ++p;
  return corner;
}

// The set index a table gives the corners of the facets that follow
// `placed` of its statements, as assignSetIndices gives it: the last
// statement before the facet (the first statement for facets before any),
// and always the first when the table has at most one distinct name.
std::uint16_t setIndexAfter(const std::vector<SetRecord>& table, int distinctNames, int statements,
                            int placed) {
  if (distinctNames <= 0) return 0;
  std::size_t current = 0;
  if (distinctNames > 1 && placed > 1) {
    current = static_cast<std::size_t>(std::min(placed, statements) - 1);
    if (current + 1 > table.size()) current = table.empty() ? 0 : table.size() - 1;
  }
  if (current >= table.size()) return 0;
  return static_cast<std::uint16_t>(table[current].setIndex) & kSetIndexMask;
}

// Running state of the pass: the number the next element of each kind gets,
// the write position in the stream, the separators written so far and the
// set indices the next corners take.
struct IndexState {
  std::int64_t nextVertex = 1, nextTexVertex = 1, nextNormal = 1;
  std::size_t record = 0;
  int separators = 0;
  int facetLines = 0;
  int groupStatements = 0, materialStatements = 0, regionStatements = 0, shapeLines = 0;
  std::uint16_t group = 0, material = 0, region = 0;

  void updateSetIndices(const ModelStore& store) {
    group = setIndexAfter(store.groups, store.numGroups, store.numGroupStatements, groupStatements);
    material = setIndexAfter(store.materials, store.numMaterials, store.numMaterialStatements,
                             materialStatements);
    region =
        setIndexAfter(store.regions, store.numRegions, store.numRegionStatements, regionStatements);
  }
};

// The element counts corner indices are resolved against.
struct ElementCounts {
  std::int64_t vertices = 0, texVertices = 0, normals = 0;
};

// Writes the separator and corner records of one facet line (`corners` is
// the text after the keyword). False when the stream has no room left, which
// means the file changed since it was counted. The running values are kept in
// locals so the stores into the stream cannot be taken to change them.
bool writeFacet(std::string_view corners, IndexState& state, CornerRecord* stream,
                std::size_t lastRecord, const ElementCounts& counts) {
  std::size_t record = state.record;
  int separators = state.separators;
  const std::int64_t nextVertex = state.nextVertex;
  const std::int64_t nextTexVertex = state.nextTexVertex;
  const std::int64_t nextNormal = state.nextNormal;
  const std::uint16_t group = state.group, material = state.material, region = state.region;
  bool room = record < lastRecord;
  if (room) {
    stream[record++] = CornerRecord{kSeparator, 0, 0, 0, 0, 0, 0};
    ++separators;
    const char* p = corners.data();
    const char* end = p + corners.size();
    while (p < end) {
      const CornerIndices corner = readCornerToken(p, end);
      if (record >= lastRecord) {
        room = false;
        break;
      }
      const std::int32_t vertex = resolveCornerIndex(corner.vertex, nextVertex, counts.vertices);
      if (vertex == 0) {
        // Without a vertex the record is a separator and opens a new facet.
        stream[record++] = CornerRecord{kSeparator, 0, 0, 0, 0, 0, 0};
        ++separators;
        continue;
      }
      stream[record++] =
          CornerRecord{vertex,
                       resolveCornerIndex(corner.texVertex, nextTexVertex, counts.texVertices),
                       resolveCornerIndex(corner.normal, nextNormal, counts.normals),
                       group,
                       material,
                       region,
                       0};
    }
  }
  state.record = record;
  state.separators = separators;
  return room;
}

bool isWordByte(char c) {
  return static_cast<unsigned char>(c) > ' ' && c != '\\';
}

// Writes the records of a facet line straight from the input (`raw`, as
// ObjLineReader::peek shows it, starting with "f " and a word), reading the
// corner tokens and finding the line end in one walk instead of finding the
// end first. Only a plain line can be read so: single spaces between the
// words, no tab, backslash or other control character before the line end,
// fewer than 1023 characters. Returns the bytes the line takes, its end
// included; 0 when the line is not plain or the stream has no room, and then
// `state` is untouched and the line must be read the ordinary way.
std::size_t writeRawFacet(std::string_view raw, IndexState& state, CornerRecord* stream,
                          std::size_t lastRecord, const ElementCounts& counts) {
  const char* line = raw.data();
  const char* p = line + 2;
  std::size_t record = state.record;
  int separators = state.separators;
  if (record >= lastRecord) return 0;
  stream[record++] = CornerRecord{kSeparator, 0, 0, 0, 0, 0, 0};
  ++separators;
  for (;;) {
    // p is at the first byte of a word. The numbers stop at any other byte,
    // and the NUL after the input stops them at its end.
    const CornerIndices corner = readCornerNumbers(p);
    while (isWordByte(*p)) ++p;
    if (record >= lastRecord) return 0;
    const std::int32_t vertex =
        resolveCornerIndex(corner.vertex, state.nextVertex, counts.vertices);
    if (vertex == 0) {
      stream[record++] = CornerRecord{kSeparator, 0, 0, 0, 0, 0, 0};
      ++separators;
    } else {
      stream[record++] = CornerRecord{
          vertex,
          resolveCornerIndex(corner.texVertex, state.nextTexVertex, counts.texVertices),
          resolveCornerIndex(corner.normal, state.nextNormal, counts.normals),
          state.group,
          state.material,
          state.region,
          0};
    }
    if (*p == ' ' && isWordByte(p[1])) {
      ++p;
      continue;
    }
    // One trailing space is what normalising drops.
    if (*p == ' ') ++p;
    if (!detail::isLineEnd(*p)) return 0;
    break;
  }
  const std::size_t textLength = static_cast<std::size_t>(p - line);
  // A line of 1023 characters or more is cut, and the byte path reads its
  // rest (even if that is only the line end) as a line of its own.
  if (textLength >= ObjLineReader::kLineCapacity) return 0;
  std::size_t taken = textLength;
  if (taken < raw.size()) {
    ++taken;  // the line end itself
    if (*p == '\r' && taken < raw.size() && p[1] == '\n') ++taken;
  }
  state.record = record;
  state.separators = separators;
  return taken;
}

// Moves a statement's facet number to the separators written before it;
// differs from the parse pass's number only after a facet was split.
bool placeStatement(std::vector<SetRecord>& table, int& statement, std::int64_t end,
                    int separators) {
  if (statement >= end || static_cast<std::size_t>(statement) + 1 >= table.size()) return false;
  table[static_cast<std::size_t>(statement++)].firstFacet = separators;
  return true;
}

}  // namespace

bool indexObjChunk(ObjLineReader& reader, ModelStore& store, const ObjCounts& before,
                   const ObjCounts& own, ObjLoadProgress& progress, int& separators) {
  IndexState state;
  state.nextVertex = before.vertices + 1;
  state.nextTexVertex = before.texVertices + 1;
  state.nextNormal = before.normals + 1;
  state.record = static_cast<std::size_t>(before.cornerRecords);
  state.groupStatements = static_cast<int>(before.groupStatements);
  state.materialStatements = static_cast<int>(before.materialStatements);
  state.regionStatements = static_cast<int>(before.regionStatements);
  state.shapeLines = static_cast<int>(before.shapeLines);
  state.updateSetIndices(store);
  std::vector<CornerRecord>& stream = store.facetStream;
  // The chunk's part of the stream ends where the next chunk's begins; the
  // stream's last record is reserved for the end of the list.
  const std::size_t lastRecord =
      std::min(static_cast<std::size_t>(before.cornerRecords + own.cornerRecords),
               stream.empty() ? std::size_t{0} : stream.size() - 1);
  const std::int64_t vertexCount = store.numVerts;
  const std::int64_t texVertexCount = store.numTVerts;
  const std::int64_t normalCount = store.numVNormals;
  const ElementCounts counts{vertexCount, texVertexCount, normalCount};
  // Where the chunk's statements and kept lines end.
  ObjCounts end = before;
  addObjCounts(end, own);

  ObjLine line;
  for (;;) {
    const std::string_view raw = reader.peek();
    if (raw.empty()) break;
    progress.advance();
    // Element lines only advance their counters here and are known by their
    // first bytes.
    if (reader.inPlace() && raw[0] == 'v') {
      std::int64_t* next = rawLineStartsStatement(raw, "v ")    ? &state.nextVertex
                           : rawLineStartsStatement(raw, "vt ") ? &state.nextTexVertex
                           : rawLineStartsStatement(raw, "vn ") ? &state.nextNormal
                                                                : nullptr;
      if (next != nullptr) {
        ++*next;
        reader.skipLine();
        continue;
      }
    }
    if (reader.inPlace() && rawLineStartsStatement(raw, "f ")) {
      const std::size_t taken = writeRawFacet(raw, state, stream.data(), lastRecord, counts);
      if (taken > 0) {
        ++state.facetLines;
        reader.consume(taken);
        continue;
      }
    }
    if (!reader.next(line)) break;
    const ObjStatementMatch statement = classifyObjLine(line.text);
    switch (statement.kind) {
      case ObjStatement::Vertex:
        ++state.nextVertex;
        break;
      case ObjStatement::TexVertex:
        ++state.nextTexVertex;
        break;
      case ObjStatement::Normal:
        ++state.nextNormal;
        break;
      case ObjStatement::Group:
        if (!placeStatement(store.groups, state.groupStatements, end.groupStatements,
                            state.separators)) {
          return false;
        }
        state.updateSetIndices(store);
        break;
      case ObjStatement::Material:
        if (!placeStatement(store.materials, state.materialStatements, end.materialStatements,
                            state.separators)) {
          return false;
        }
        state.updateSetIndices(store);
        break;
      case ObjStatement::Region:
        if (!placeStatement(store.regions, state.regionStatements, end.regionStatements,
                            state.separators)) {
          return false;
        }
        state.updateSetIndices(store);
        break;
      case ObjStatement::ShapeLine:
        if (state.shapeLines >= end.shapeLines ||
            static_cast<std::size_t>(state.shapeLines) >= store.shapeLines.size()) {
          return false;
        }
        store.shapeLines[static_cast<std::size_t>(state.shapeLines++)].facetOrdinal =
            state.separators;
        break;
      case ObjStatement::Facet:
        ++state.facetLines;
        if (!writeFacet(line.text.substr(statement.argumentStart), state, stream.data(), lastRecord,
                        counts)) {
          return false;
        }
        break;
      default:
        break;
    }
  }
  progress.flush();
  separators = state.separators;
  return !reader.failed() && !stream.empty() &&
         state.record == static_cast<std::size_t>(end.cornerRecords) &&
         state.facetLines == own.facets && state.nextVertex - 1 == end.vertices &&
         state.nextTexVertex - 1 == end.texVertices && state.nextNormal - 1 == end.normals &&
         state.groupStatements == end.groupStatements &&
         state.materialStatements == end.materialStatements &&
         state.regionStatements == end.regionStatements && state.shapeLines == end.shapeLines;
}

void finishObjChunkFacets(std::span<const ObjCounts> before, std::span<const ObjCounts> own,
                          std::span<const int> separators, ModelStore& store) {
  int separatorsBefore = 0;
  for (std::size_t c = 0; c < own.size(); ++c) {
    if (separatorsBefore > 0) {
      auto shift = [&](std::vector<SetRecord>& table, std::int64_t first, std::int64_t count) {
        for (std::int64_t s = first; s < first + count; ++s) {
          table[static_cast<std::size_t>(s)].firstFacet += separatorsBefore;
        }
      };
      shift(store.groups, before[c].groupStatements, own[c].groupStatements);
      shift(store.materials, before[c].materialStatements, own[c].materialStatements);
      shift(store.regions, before[c].regionStatements, own[c].regionStatements);
      for (std::int64_t k = before[c].shapeLines; k < before[c].shapeLines + own[c].shapeLines;
           ++k) {
        store.shapeLines[static_cast<std::size_t>(k)].facetOrdinal += separatorsBefore;
      }
    }
    separatorsBefore += separators[c];
  }
  store.facetStream.back() = CornerRecord{kEndOfList, 0, 0, 0, 0, 0, 0};
  store.numFacets = separatorsBefore;
}

bool indexObjFacets(ObjLineReader& reader, ModelStore& store, ObjLoadProgress& progress) {
  const ObjCounts before;
  const ObjCounts own = objCountsOfStore(store);
  int separators = 0;
  if (!indexObjChunk(reader, store, before, own, progress, separators)) return false;
  finishObjChunkFacets({&before, 1}, {&own, 1}, {&separators, 1}, store);
  return true;
}

}  // namespace corvina
