#pragma once
// The dialogs of "&Save Model...": the export options over their record and
// the save file dialog.

#include "app/user_interface.h"
#include "files/obj_writer.h"
#include "model/model_store.h"

namespace corvina {

// The options dialog over `options`: one check box per field, in field order,
// named after the field. The dialog must not outlive `options`.
OptionDialog objExportOptionsDialog(ObjExportOptions& options);

// The save dialog of the save command, starting in the store's lastDirectory.
FileRequest objSaveFileRequest(const ModelStore& store);

}  // namespace corvina
