// Reading plug names: "attr", "attr[3]", "input[0].inputGeometry", with long or short
// attribute names.
#pragma once

#include "Cell.h"

#include <string>

namespace hx {

// Resolves `path` on `node`. An element index is required for attributes inside a multi
// unless `allowWholeArray` (then a bare multi resolves to the whole array, index -1).
bool resolvePlugPath(Node* node, const std::string& path, PlugRef& plug, std::string& error,
                     bool allowWholeArray);
// "node.attr[i].child" for a plug.
std::string plugName(const PlugRef& plug, bool longNames = true);

}  // namespace hx
