#include "app/obj_open_save.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "app/report_messages.h"

namespace corvina {

namespace {

void showError(UserInterface& ui, const std::string& text) {
  ui.showMessage("Error", text, MessageIcon::Error);
}

bool texCoordsOutOfRange(const ModelStore& store) {
  return std::any_of(store.texVertices.begin(), store.texVertices.end(), [](const TexVertex& t) {
    return t.u < 0.0f || t.u > 1.0f || t.v < 0.0f || t.v > 1.0f;
  });
}

// The load's steps after the file was read, with the read's progress bar
// still up. False when the expanded texture vertices cannot be had.
bool finishLoad(ModelStore& store, SelectionState& selection, UserInterface& ui) {
  showStatistics(store, ui);
  if (texCoordsOutOfRange(store) && ui.ask("Warning", kOutOfRangeUvQuestion, MessageIcon::Question,
                                           QuestionButtons::YesNo, Answer::No) == Answer::Yes) {
    normalizeToUnitSquare(store, 0.0f, selection.selectionActive);
  }
  std::copy(store.vertices.begin(), store.vertices.end(), store.baseVertices.begin());
  expandTextureVertices(store, false);
  // The reader's index pass wrote every record with its set indices and flags
  // 0, so no walk over the stream is needed for them.
  return store.texVerticesExpanded == 1;
}

}  // namespace

const char* objReadFailureMessage(ObjReadOutcome outcome) {
  switch (outcome) {
    case ObjReadOutcome::NoFacets:
      return "This OBJ file has no facet information";
    case ObjReadOutcome::NoVertices:
      return "This OBJ file has no vertex information";
    case ObjReadOutcome::InsufficientMemory:
      return "Insufficient memory";
    case ObjReadOutcome::Read:
    case ObjReadOutcome::CannotOpen:
    case ObjReadOutcome::ReadFailed:
    case ObjReadOutcome::ChangedWhileReading:
      break;
  }
  return "Error opening file";
}

bool openObjModel(ModelStore& store, SelectionState& selection, const std::string& path,
                  UserInterface& ui, const std::function<void()>& clearUndoHistory) {
  ObjFileSource source;
  if (!source.open(path)) {
    showError(ui, objReadFailureMessage(ObjReadOutcome::CannotOpen));
    return false;
  }
  return readObjModel(store, selection, source, path, ui, clearUndoHistory);
}

bool readObjModel(ModelStore& store, SelectionState& selection, ObjByteSource& source,
                  const std::string& path, UserInterface& ui,
                  const std::function<void()>& clearUndoHistory, const ObjReadOptions& options) {
  store.lastDirectory = directoryOf(path);
  store.modelBaseName = pathWithoutExtension(path);
  commitSelection(store, selection);

  const ObjReadOutcome outcome = readObjFile(store, source, ui, options);
  if (outcome != ObjReadOutcome::Read) {
    // An empty file leaves nothing to draw: the views show so before the
    // message does.
    if (outcome == ObjReadOutcome::NoFacets || outcome == ObjReadOutcome::NoVertices) {
      ui.refreshViews();
    }
    showError(ui, objReadFailureMessage(outcome));
    return false;
  }

  bool finished = false;
  try {
    finished = finishLoad(store, selection, ui);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  if (!finished) {
    // The model is released first, so the message has memory to be shown
    // with.
    releaseModel(store);
    ui.endProgress();
    showError(ui, objReadFailureMessage(ObjReadOutcome::InsufficientMemory));
    return false;
  }
  store.modelLoaded = kModelRead;
  ui.endProgress();
  if (clearUndoHistory) clearUndoHistory();
  return true;
}

bool writeObjModel(ModelStore& store, const std::string& path, const ObjExportOptions& options,
                   UserInterface& ui) {
  store.lastDirectory = directoryOf(path);
  store.modelBaseName = pathWithoutExtension(path);
  ui.setBusy(true);
  const WriteOutcome outcome = writeObjFile(store, path, options, ui);
  ui.setBusy(false);
  if (outcome == WriteOutcome::Written) return true;
  ui.showMessage("Error", "Error writing to file", MessageIcon::Error);
  return false;
}

}  // namespace corvina
