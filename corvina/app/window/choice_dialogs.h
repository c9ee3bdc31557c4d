#pragma once
// The two small pickers of the selection commands: a list to choose one or
// several names from, and a combo box to type a name or pick an existing one.

#include <optional>
#include <string>
#include <vector>

#include "app/user_interface.h"

class QWidget;

namespace corvina::window {

// The chosen items' indices, ascending; nullopt on Cancel.
std::optional<std::vector<int>> runListDialog(const ListRequest& request, QWidget* parent);

// The typed or picked name; nullopt on Cancel.
std::optional<std::string> runNameDialog(const NameRequest& request, QWidget* parent);

}  // namespace corvina::window
