#pragma once
// The OBJ reader as it was before the load ran over chunks of the file on
// several threads: three sequential passes over a streamed source. Kept only
// as the reference the differential test compares the reader with; it is not
// part of the program.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "files/obj_line_reader.h"
#include "files/obj_line_scan.h"
#include "files/obj_line_source.h"
#include "files/obj_line_statement.h"
#include "files/obj_number_parse.h"
#include "files/obj_reader.h"
#include "files/obj_reader_passes.h"
#include "files/obj_reader_sets.h"
#include "model/model_store.h"
#include "model/progress_sink.h"

namespace corvina::reference {

// Steps the progress bar once every 256 lines of the parse and index passes.
class LoadProgress {
 public:
  explicit LoadProgress(ProgressSink& sink) : sink_(sink) {}
  void advance() {
    if ((++lines_ & 255) == 0) sink_.stepProgress();
  }

 private:
  ProgressSink& sink_;
  std::uint64_t lines_ = 0;
};

// The counting pass.

inline bool countObjStatements(ObjLineReader& reader, ObjCounts& counts) {
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
  ++counts.cornerRecords;  // the end-of-list record
  return !reader.failed();
}

// The parse pass.

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

inline bool parseObjElements(ObjLineReader& reader, ModelStore& store, LoadProgress& progress,
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

// The index pass.

inline std::int32_t resolveCornerIndex(std::int64_t index, std::int64_t next, std::int64_t count) {
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

// Running state of the pass: the number the next element of each kind gets,
// the write position in the stream and the separators written so far.
struct IndexState {
  std::int64_t nextVertex = 1, nextTexVertex = 1, nextNormal = 1;
  std::size_t record = 0;
  int separators = 0;
  int facetLines = 0;
  int groupStatements = 0, materialStatements = 0, regionStatements = 0, shapeLines = 0;
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
                       0,
                       0,
                       0,
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
          0,
          0,
          0,
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
bool placeStatement(std::vector<SetRecord>& table, int& statement, int separators) {
  if (static_cast<std::size_t>(statement) + 1 >= table.size()) return false;
  table[static_cast<std::size_t>(statement++)].firstFacet = separators;
  return true;
}

}  // namespace

inline bool indexObjFacets(ObjLineReader& reader, ModelStore& store, LoadProgress& progress) {
  IndexState state;
  std::vector<CornerRecord>& stream = store.facetStream;
  // The last record is reserved for the end of the list.
  const std::size_t lastRecord = stream.empty() ? 0 : stream.size() - 1;
  const std::int64_t vertexCount = store.numVerts;
  const std::int64_t texVertexCount = store.numTVerts;
  const std::int64_t normalCount = store.numVNormals;
  const ElementCounts counts{vertexCount, texVertexCount, normalCount};

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
        if (!placeStatement(store.groups, state.groupStatements, state.separators)) return false;
        break;
      case ObjStatement::Material:
        if (!placeStatement(store.materials, state.materialStatements, state.separators)) {
          return false;
        }
        break;
      case ObjStatement::Region:
        if (!placeStatement(store.regions, state.regionStatements, state.separators)) return false;
        break;
      case ObjStatement::ShapeLine:
        if (static_cast<std::size_t>(state.shapeLines) >= store.shapeLines.size()) return false;
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
  if (reader.failed() || stream.empty() || state.record != lastRecord ||
      state.facetLines != store.numFacets || state.nextVertex - 1 != vertexCount ||
      state.nextTexVertex - 1 != texVertexCount || state.nextNormal - 1 != normalCount ||
      state.groupStatements != store.numGroupStatements ||
      state.materialStatements != store.numMaterialStatements ||
      state.regionStatements != store.numRegionStatements ||
      state.shapeLines != store.numShapeLines) {
    return false;
  }
  stream[state.record] = CornerRecord{kEndOfList, 0, 0, 0, 0, 0, 0};
  store.numFacets = state.separators;
  return true;
}

// The read as a whole.

namespace {

void applyMapSettings(const ObjMapSettings& settings, ModelStore& store) {
  if (settings.hasSize) {
    store.mapWidth = settings.width;
    store.mapHeight = settings.height;
  }
  if (settings.hasColorMode) store.colorMode = settings.colorMode;
  if (settings.hasPixelsPerUnit) store.pixelsPerUnit = settings.pixelsPerUnit;
}

// The progress range: two passes of L lines, one step per 256 lines.
int progressRange(std::int64_t lines) {
  return static_cast<int>(std::min<std::int64_t>(2 * lines / 256, kLargestStoreCount));
}

// A pass that stopped early: the source failed, or the file no longer
// matches what the earlier passes read.
ObjReadOutcome stoppedPass(const ObjLineReader& reader) {
  return reader.failed() ? ObjReadOutcome::ReadFailed : ObjReadOutcome::ChangedWhileReading;
}

// The read's steps; `progressShown` tells the caller whether the bar is up
// when an allocation fails on the way.
ObjReadOutcome readSteps(ModelStore& store, ObjByteSource& source, ProgressSink& progress,
                         const ObjReadOptions& options, bool& progressShown) {
  store.modelLoaded = kModelNone;
  store.texVerticesExpanded = 0;
  resetModelCounts(store);

  ObjLineReader reader(source, options.chunkSize, options.fastPath);
  ObjCounts counts;
  if (!reference::countObjStatements(reader, counts)) {
    releaseModel(store);
    return ObjReadOutcome::ReadFailed;
  }
  // Counts beyond what the store's indices can address cannot be loaded, so
  // they fail like an allocation that cannot be had.
  if (!objCountsFitStore(counts, options.countLimit)) {
    releaseModel(store);
    return ObjReadOutcome::InsufficientMemory;
  }
  if (counts.facets < 1 || counts.vertices < 1) {
    resetModelCounts(store);
    return counts.facets < 1 ? ObjReadOutcome::NoFacets : ObjReadOutcome::NoVertices;
  }

  progress.beginProgress(progressRange(counts.lines));
  progressShown = true;
  setStoreCounts(counts, store);
  auto fail = [&](ObjReadOutcome outcome) {
    progress.endProgress();
    progressShown = false;
    releaseModel(store);
    return outcome;
  };
  if (!options.allocate(store)) return fail(ObjReadOutcome::InsufficientMemory);

  LoadProgress steps(progress);
  ObjMapSettings settings;
  if (!reader.rewind()) return fail(ObjReadOutcome::ReadFailed);
  if (!reference::parseObjElements(reader, store, steps, settings))
    return fail(stoppedPass(reader));
  if (!reader.rewind()) return fail(ObjReadOutcome::ReadFailed);
  if (!reference::indexObjFacets(reader, store, steps)) return fail(stoppedPass(reader));
  applyMapSettings(settings, store);
  return ObjReadOutcome::Read;
}

}  // namespace

inline ObjReadOutcome readObjFile(ModelStore& store, ObjByteSource& source, ProgressSink& progress,
                                  const ObjReadOptions& options = {}) {
  bool progressShown = false;
  try {
    return readSteps(store, source, progress, options, progressShown);
  } catch (const std::bad_alloc&) {
    // Any allocation of the read may fail (the set tables of a file with
    // very many distinct names): the model is released, so the caller's
    // message has memory to be shown with.
  } catch (const std::length_error&) {
  }
  releaseModel(store);
  if (progressShown) progress.endProgress();
  return ObjReadOutcome::InsufficientMemory;
}

}  // namespace corvina::reference
