// Host: meshes, the deformer command, DAG placement and locator drawing.
#include "Access.h"
#include "Data.h"
#include "Engine.h"
#include "Host.h"
#include "HostNames.h"
#include "Modifier.h"
#include "PlugEdit.h"

#include <maya/MDagModifier.h>
#include <maya/MDagPath.h>
#include <maya/MPxDeformerNode.h>
#include <maya/MPxLocatorNode.h>

#include <cmath>
#include <iostream>
#include <memory>
#include <new>

namespace hx {

namespace {

Node* findMesh(const std::string& name, std::string& error) {
    Node* node = findNode(name, error);
    if (!node) return nullptr;
    if (node->mType->mBase == BaseKind::Transform) {
        // A transform stands for the visible mesh under it, as the host's commands allow.
        for (Node* child : node->mChildren)
            if (child->mType->mBase == BaseKind::Mesh &&
                !Engine::get().scene().evaluate({child, baseAttributes().intermediateObject.get(), -1}).mValue.mBool)
                return child;
        error = "transform '" + name + "' has no mesh shape under it";
        return nullptr;
    }
    if (node->mType->mBase != BaseKind::Mesh) {
        error = "'" + name + "' is not a mesh";
        return nullptr;
    }
    return node;
}

Node* findLocator(const std::string& name, std::string& error) {
    Node* node = findNode(name, error);
    if (node && (node->mType->mBase != BaseKind::Locator || !dynamic_cast<MPxLocatorNode*>(node->mUser))) {
        error = "'" + name + "' is not a locator";
        return nullptr;
    }
    return node;
}

Edit connection(Edit::Kind kind, Node* s, const Attribute* sa, int si, Node* d, const Attribute* da, int di) {
    Edit edit{kind};
    edit.mSource = Plug{Ref<Node>(s), sa, si};
    edit.mDestination = Plug{Ref<Node>(d), da, di};
    return edit;
}

}  // namespace

Result Host::setMesh(const std::string& shape, std::vector<double> points, std::vector<int> faceCounts,
                     std::vector<int> faceVertices) {
    std::string error;
    Node* node = findMesh(shape, error);
    if (!node) return done(Result::failure(error));
    if (points.size() % 3 != 0) return done(Result::failure("mesh points come as x, y, z triples"));
    for (double v : points)
        if (!std::isfinite(v)) return done(Result::failure("mesh points must be finite numbers"));
    const long long pointCount = static_cast<long long>(points.size() / 3);
    size_t used = 0;
    for (size_t f = 0; f < faceCounts.size(); ++f) {
        if (faceCounts[f] < 3)
            return done(Result::failure("face " + std::to_string(f) + " has fewer than 3 vertices"));
        used += static_cast<size_t>(faceCounts[f]);
    }
    if (used != faceVertices.size())
        return done(Result::failure("the face vertex counts add up to " + std::to_string(used) + " but " +
                                    std::to_string(faceVertices.size()) + " vertex indices were given"));
    for (int v : faceVertices)
        if (v < 0 || v >= pointCount)
            return done(Result::failure("vertex index " + std::to_string(v) + " is outside the " +
                                        std::to_string(pointCount) + " points"));
    auto topology = std::make_shared<Topology>();
    topology->mFaceCounts = std::move(faceCounts);
    topology->mFaceVertices = std::move(faceVertices);
    Ref<Data> mesh(new MeshData(std::move(points), std::move(topology)));
    if (!setData({node, baseAttributes().inMesh.get(), -1}, Access::wrap(mesh.get()), error))
        return done(Result::failure(error));
    return done(Result());
}

Result Host::meshPoints(const std::string& shape, std::vector<double>& points) {
    std::string error;
    Node* node = findMesh(shape, error);
    if (!node) return done(Result::failure(error));
    EvaluationFailures failures;
    Cell& cell = Engine::get().scene().evaluate({node, baseAttributes().outMesh.get(), -1});
    auto* mesh = Access::as<MeshData>(cell.mValue.mData);
    points = mesh ? mesh->mPoints : std::vector<double>();
    return done(failures(Result()));
}

Result Host::meshFaces(const std::string& shape, std::vector<int>& faceCounts, std::vector<int>& faceVertices) {
    std::string error;
    Node* node = findMesh(shape, error);
    if (!node) return done(Result::failure(error));
    EvaluationFailures failures;
    Cell& cell = Engine::get().scene().evaluate({node, baseAttributes().outMesh.get(), -1});
    auto* mesh = Access::as<MeshData>(cell.mValue.mData);
    faceCounts = mesh ? mesh->mTopology->mFaceCounts : std::vector<int>();
    faceVertices = mesh ? mesh->mTopology->mFaceVertices : std::vector<int>();
    return done(failures(Result()));
}

Result Host::deformer(const std::string& typeName, const std::string& shapeName, std::string* created) {
    Engine& engine = Engine::get();
    Scene& scene = engine.scene();
    const BaseAttributes& b = baseAttributes();
    std::string error;
    auto type = engine.findType(typeName);
    if (!type) return done(Result::failure("unknown node type '" + typeName + "'"));
    if (type->mBase != BaseKind::Deformer) return done(Result::failure("'" + typeName + "' is not a deformer type"));
    Node* shape = findMesh(shapeName, error);
    if (!shape) return done(Result::failure(error));

    ModifierState edits;
    Ref<Node> deformer = scene.instantiate(type, error);
    if (!deformer) return done(Result::failure(error));
    auto* user = dynamic_cast<MPxDeformerNode*>(deformer->mUser);
    if (!user) return done(Result::failure("the creator of '" + typeName + "' does not make a deformer node"));
    edits.mEdits.push_back(Edit{Edit::Create});
    edits.mEdits.back().mNode = deformer;

    // The deformer goes between the shape and whatever fed it; a shape that held its own
    // geometry hands it to a new intermediate "...Orig" shape first.
    PlugRef upstream;
    Ref<Node> orig;
    Cell& inMesh = shape->cell(b.inMesh.get(), -1);
    if (inMesh.mSource) {
        upstream = *inMesh.mSource;
        edits.mEdits.push_back(connection(Edit::Disconnect, upstream.mNode, upstream.mAttribute, upstream.mIndex,
                                          shape, b.inMesh.get(), -1));
    } else {
        orig = scene.instantiate(engine.findType("mesh"), error);
        if (!orig) return done(Result::failure(error));
        std::string origName = shape->mName + "Orig";
        if (scene.find(origName)) origName = scene.automaticName(origName);
        Edit create{Edit::Create};
        create.mNode = orig;
        create.mParent = Ref<Node>(shape->mParent);
        create.mName = origName;
        edits.mEdits.push_back(create);
        Edit move{Edit::SetData};
        move.mNode = orig;
        move.mDestination = Plug{orig, b.inMesh.get(), -1};
        move.mData = inMesh.mValue.mData;
        edits.mEdits.push_back(move);
        upstream = PlugRef{orig.get(), b.outMesh.get(), -1};
    }
    edits.mEdits.push_back(connection(Edit::Connect, upstream.mNode, upstream.mAttribute, upstream.mIndex,
                                      deformer.get(), b.inputGeom.get(), 0));
    edits.mEdits.push_back(connection(Edit::Connect, deformer.get(), b.outputGeom.get(), 0, shape, b.inMesh.get(), -1));
    if (!edits.apply(error)) return done(Result::failure("deformer: " + error));
    if (orig) orig->cell(b.intermediateObject.get(), -1).mValue.mBool = true;

    MDagModifier accessories;
    MStatus setup;
    engine.setError("");
    try {
        setup = user->accessoryNodeSetup(accessories);
    } catch (...) {
        setup = MStatus(MStatus::kFailure);
        engine.setError("accessoryNodeSetup threw an exception");
    }
    MStatus applied = setup ? accessories.doIt() : MStatus(MStatus::kFailure);
    if (!setup || !applied) {
        const std::string why = engine.lastError().empty() ? (setup ? applied : setup).errorString().asChar()
                                                           : engine.lastError();
        accessories.undoIt();
        edits.revert(error);
        return done(Result::failure("deformer: accessoryNodeSetup of '" + typeName + "' failed: " + why));
    }
    if (created) *created = deformer->mName;
    return done(Result());
}

Result Host::worldMatrix(const std::string& name, MMatrix& matrix) {
    std::string error;
    Node* node = findNode(name, error);
    if (!node) return done(Result::failure(error));
    if (!node->mType->isDag()) return done(Result::failure("'" + name + "' is not a DAG node"));
    matrix = worldMatrixOf(Engine::get().scene(), node);
    return done(Result());
}

std::vector<std::string> Host::locators() const {
    std::vector<std::string> names;
    for (const auto& node : Engine::get().scene().nodes())
        if (node->mType->mBase == BaseKind::Locator) names.push_back(node->mName);
    return names;
}

Result Host::drawLocator(const std::string& name, int style, int status) {
    std::string error;
    Node* node = findLocator(name, error);
    if (!node) return done(Result::failure(error));
    M3dView view;
    MDagPath path;
    Access::setPathNode(path, Access::wrap(node));
    EvaluationFailures failures;  // of the curves and values draw reads
    try {
        static_cast<MPxLocatorNode*>(dynamic_cast<MPxLocatorNode*>(node->mUser))->draw(view, path, static_cast<M3dView::DisplayStyle>(style),
                                                                   static_cast<M3dView::DisplayStatus>(status));
    } catch (...) {
        const std::string where = " in plug-in '" + node->mType->mPlugin + "'";
        try {
            throw;
        } catch (const std::bad_alloc&) {
            return done(Result::failure("draw of locator '" + name + "' ran out of memory" + where));
        } catch (const std::exception& e) {
            return done(Result::failure("draw of locator '" + name + "' threw an exception" + where + ": " + e.what()));
        } catch (...) {
            return done(Result::failure("draw of locator '" + name + "' threw an exception" + where));
        }
    }
    Result result = failures(Result());
    if (Access::glDepth(view) != 0)
        result.warnings.push_back("draw of locator '" + name + "' left beginGL without a matching endGL");
    return done(result);
}

Result Host::locatorBounds(const std::string& name, bool& bounded, MBoundingBox& box) {
    std::string error;
    Node* node = findLocator(name, error);
    if (!node) return done(Result::failure(error));
    auto* locator = dynamic_cast<MPxLocatorNode*>(node->mUser);
    bounded = locator->isBounded();
    box = bounded ? locator->boundingBox() : MBoundingBox();
    return done(Result());
}

}  // namespace hx
