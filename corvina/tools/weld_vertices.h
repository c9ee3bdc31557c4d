#pragma once
// Weld Vertices: vertices at the same position are merged pairwise into their
// neighbour in position order, and their normals averaged.

#include "tools/seam_normals.h"

namespace corvina {

// A vertex used by more corners than this takes the slower path that walks
// the whole stream.
constexpr int kWeldListedCorners = 16;

// The progress range of weldVertices: one step per 256 records and vertices
// (vertices counted twice).
int weldProgressSteps(const ModelStore& store);

// Sorts the vertices by position (equal positions in index order) and, for
// each neighbouring pair (m, o) at the same position, takes n = the normalised
// mean of normals number m and o and:
//  - when neither vertex has more than 16 corners: writes n into the normal of
//    every corner of m and of o (through their normal indices), turns a corner
//    of o whose normal index equals its vertex index to normal m, and moves
//    the corners of o to vertex m;
//  - otherwise: writes n into the normal of every corner now on m or o and
//    moves the corners on o to m, leaving normal indices alone.
// Of three vertices at one position the second merges into the first and the
// third into the second. Vertex o stays in the array, unused.
// Normals are taken by vertex number; when m or o names no normal the pair is
// still merged but no normal is written, and no normal index is renumbered to
// a normal that does not exist. Corners without a normal get none written.
NormalToolOutcome weldVertices(ModelStore& store, const ProgressStep& step = {});

}  // namespace corvina
