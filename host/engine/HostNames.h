// Finding nodes and plugs from the names the Host API takes.
#pragma once

#include "Cell.h"
#include "Node.h"

#include <string>

namespace hx {

Node* findNode(const std::string& name, std::string& error);
// "node.attr..." to a plug; an element index is required inside multis.
bool findPlug(const std::string& text, PlugRef& plug, std::string& error);

}  // namespace hx
