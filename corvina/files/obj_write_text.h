#pragma once
// The text of an OBJ file as the writer lays it out: header, vertices, texture
// vertices, normals and facets with their set and shape statements.

#include "files/obj_write_buffer.h"
#include "files/obj_write_pieces.h"
#include "files/obj_writer.h"
#include "model/model_store.h"
#include "model/progress_sink.h"

namespace corvina {

// The number of facet separators before the end-of-list record.
int countFacets(const ModelStore& store);

// The facets the OBJ writer writes: those with at least one corner.
int countWrittenFacets(const ModelStore& store);

// Writes the whole file text for the store as it stands: texture vertices in
// their compact form and numFacets already recounted. The long sections are
// formatted on parallelThreads() threads; the bytes are the same on any.
void writeObjText(const ModelStore& store, const ObjExportOptions& options, ObjWriteBuffer& out,
                  ObjWriteProgress& progress, const WritePieceSizes& pieces = {});

}  // namespace corvina
