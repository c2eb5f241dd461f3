// The engine's way into the private parts of the API classes (each declares it a friend),
// so the public headers carry nothing but the host's own API.
#pragma once

#include "Cell.h"
#include "Error.h"
#include "Object.h"

#include <maya/M3dView.h>
#include <maya/MArrayDataHandle.h>
#include <maya/MDGModifier.h>
#include <maya/MDagPath.h>
#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MItGeometry.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPointArray.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>

#include <string>

namespace hx {

class Node;
class Attribute;
class MeshData;
class ModifierState;
template <class T>
struct ArrayStorage;

class Access {
public:
    // MObject
    static Object* object(const MObject& handle) { return handle.mObject; }
    static MObject wrap(Object* object);
    template <class T>
    static T* as(const MObject& handle) {
        return dynamic_cast<T*>(handle.mObject);
    }

    // MStatus: the status of an engine error; its errorString carries the error's sentence.
    static MStatus status(const Error& error);
    static MStatus fail(MStatus::MStatusCode code, const std::string& detail) { return status(Error(code, detail)); }
    static unsigned char internalCode(const MStatus& status) { return status.mInternalCode; }

    // MPxNode
    static Node* node(const MPxNode& user) { return user.mNode; }
    static void bind(MPxNode& user, Node* node) { user.mNode = node; }

    // MPlug
    static MPlug plug(const PlugRef& ref);
    static PlugRef ref(const MPlug& plug);

    // MDataBlock / MDataHandle
    static MDataBlock block(Node* node);
    static MDataHandle handle(const PlugRef& plug, Cell* cell, bool forInput);
    static PlugRef handlePlug(const MDataHandle& h);
    static Cell* handleCell(const MDataHandle& h) { return h.mCell; }
    static bool handleForInput(const MDataHandle& h) { return h.mForInput; }
    static Node* blockNode(const MDataBlock& b) { return b.mNode; }

    // MItGeometry over a mesh's points (the iterator keeps the mesh alive).
    static void setGeometry(MItGeometry& it, MeshData* mesh, const MMatrix& localToWorld);
    static MItGeometry* newIterator();
    // The points array a deformer reads the geometry into, filled in place.
    static ArrayStorage<MPoint> storage(MPointArray& points);

    // MDagPath / M3dView / MDGModifier
    static void setPathNode(MDagPath& path, const MObject& node) { path.mNode = node; }
    static void setViewSize(M3dView& view, int width, int height) {
        view.mWidth = width;
        view.mHeight = height;
    }
    static int glDepth(const M3dView& view) { return view.mGLDepth; }
    static ModifierState& state(MDGModifier& modifier) { return *modifier.mState; }

    // The element indices the API classes keep in their C++98 layout (int[kDepth]).
    static ElementPath path(const int indices[]);
    static void store(const ElementPath& path, int indices[]);
};

}  // namespace hx
