// What the host computes itself when a node's compute declines a plug with
// kUnknownParameter: DAG matrices, a mesh's output, a deformer's output geometry.
#pragma once

#include "PlugRef.h"

#include <maya/MMatrix.h>

namespace hx {

class Scene;

// Computes the plug if it is one of the host's own; failures of a deform go to the
// scene's failure list.
void builtinCompute(Scene& scene, const PlugRef& plug);
MMatrix worldMatrixOf(Scene& scene, Node* node);

}  // namespace hx
