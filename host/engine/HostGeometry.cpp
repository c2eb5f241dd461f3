// Host: meshes, the deformer command, DAG placement and locator drawing.
#include "Access.h"
#include "BaseAttributes.h"
#include "BuiltinCompute.h"
#include "Data.h"
#include "FreshMemory.h"
#include "Host.h"
#include "HostNames.h"
#include "Modifier.h"
#include "PlugEdit.h"

#include <maya/MDagModifier.h>
#include <maya/MDagPath.h>
#include <maya/MPxDeformerNode.h>
#include <maya/MPxLocatorNode.h>

#include <cmath>
#include <memory>

namespace hx {

namespace {

PlugRef plugOf(Node* node, const Ref<Attribute>& attribute, int element = -1) {
    return PlugRef{node, attribute.get(), element < 0 ? ElementPath() : ElementPath::outer(element)};
}

Error findMesh(const std::string& name, Node*& node) {
    if (Error error = findNode(name, node)) return error;
    if (node->type()->base() == BaseKind::Transform) {
        // A transform stands for the visible mesh under it, as the host's commands allow.
        for (Node* child : node->children())
            if (child->type()->base() == BaseKind::Mesh &&
                !scene().evaluate(plugOf(child, baseAttributes().intermediateObject)).value().mBool) {
                node = child;
                return Error();
            }
        return Error::invalid("transform '" + name + "' has no mesh shape under it");
    }
    if (node->type()->base() != BaseKind::Mesh) return Error::invalid("'" + name + "' is not a mesh");
    return Error();
}

Error findLocator(const std::string& name, MPxLocatorNode*& locator) {
    Node* node = nullptr;
    if (Error error = findNode(name, node)) return error;
    locator = node->type()->base() == BaseKind::Locator ? dynamic_cast<MPxLocatorNode*>(node->user()) : nullptr;
    return locator ? Error() : Error::invalid("'" + name + "' is not a locator");
}

// The evaluated geometry of a mesh shape, with the failures met on the way. `evaluated` is
// set once the shape was found: a failed compute or deform still leaves a mesh (or none) to
// hand back, as the evaluation left it.
Result evaluatedMesh(const std::string& shape, const MeshData*& mesh, bool& evaluated) {
    Node* node = nullptr;
    if (Error error = findMesh(shape, node)) return toResult(error);
    EvaluationFailures failures;
    mesh = Access::as<MeshData>(scene().evaluate(plugOf(node, baseAttributes().outMesh)).value().mData);
    evaluated = true;
    return failures(Result());
}

}  // namespace

Result Host::setMesh(const std::string& shape, std::vector<double> points, std::vector<int> faceCounts,
                     std::vector<int> faceVertices) {
    Node* node = nullptr;
    if (Error error = findMesh(shape, node)) return done(toResult(error));
    if (points.size() % 3 != 0) return done(Result::failure("mesh points come as x, y, z triples"));
    for (double v : points)
        if (!std::isfinite(v)) return done(Result::failure("mesh points must be finite numbers"));
    const long long pointCount = static_cast<long long>(points.size() / 3);
    size_t used = 0;
    for (size_t f = 0; f < faceCounts.size(); ++f) {
        if (faceCounts[f] < 3) return done(Result::failure("face " + std::to_string(f) + " has fewer than 3 vertices"));
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
    return done(toResult(setData(scene(), plugOf(node, baseAttributes().inMesh), Access::wrap(mesh.get()))));
}

Result Host::meshPoints(const std::string& shape, std::vector<double>& points) {
    std::shared_ptr<const std::vector<double>> lent;
    Result result = meshPoints(shape, lent);
    // Copied into the caller's storage (no temporary): it often holds a mesh of the same size.
    if (lent) {
        points.clear();
        reserveFresh(points, lent->size());
        points.assign(lent->begin(), lent->end());
    }
    return result;
}

Result Host::meshPoints(const std::string& shape, std::shared_ptr<const std::vector<double>>& points) {
    const MeshData* mesh = nullptr;
    bool evaluated = false;
    Result result = evaluatedMesh(shape, mesh, evaluated);
    if (mesh)
        points = mesh->sharedPoints();
    else if (evaluated)
        points = std::make_shared<const std::vector<double>>();
    return done(result);
}

Result Host::meshFaces(const std::string& shape, std::vector<int>& faceCounts, std::vector<int>& faceVertices) {
    const MeshData* mesh = nullptr;
    bool evaluated = false;
    Result result = evaluatedMesh(shape, mesh, evaluated);
    if (mesh) {
        faceCounts = mesh->topology().mFaceCounts;
        faceVertices = mesh->topology().mFaceVertices;
    } else if (evaluated) {
        faceCounts.clear();
        faceVertices.clear();
    }
    return done(result);
}

Result Host::deformer(const std::string& typeName, const std::string& shapeName, std::string* created) {
    const BaseAttributes& b = baseAttributes();
    auto type = mEngine->findType(typeName);
    if (!type) return done(Result::failure("unknown node type '" + typeName + "'"));
    if (type->base() != BaseKind::Deformer) return done(Result::failure("'" + typeName + "' is not a deformer type"));
    Node* shape = nullptr;
    if (Error error = findMesh(shapeName, shape)) return done(toResult(error));

    ModifierState edits(scene());
    Ref<Node> deformer;
    if (Error error = scene().instantiate(type, deformer)) return done(toResult(error));
    auto* user = dynamic_cast<MPxDeformerNode*>(deformer->user());
    if (!user) return done(Result::failure("the creator of '" + typeName + "' does not make a deformer node"));
    edits.add(Edit::create(deformer));

    // The deformer goes between the shape and whatever fed it; a shape that held its own
    // geometry hands it to a new intermediate "...Orig" shape first.
    PlugRef upstream;
    Ref<Node> orig;
    const PlugRef inMesh = plugOf(shape, b.inMesh);
    const Cell& shapeInput = shape->cell(inMesh);
    if (shapeInput.source()) {
        upstream = *shapeInput.source();
        edits.add(Edit::connection(Edit::Disconnect, upstream, inMesh));
    } else {
        if (Error error = scene().instantiate(mEngine->findType("mesh"), orig)) return done(toResult(error));
        std::string origName = shape->name() + "Orig";
        if (scene().find(origName)) origName = scene().automaticName(origName);
        edits.add(Edit::create(orig, shape->parent(), origName));
        edits.add(Edit::setData(plugOf(orig.get(), b.inMesh), shapeInput.value().mData));
        upstream = plugOf(orig.get(), b.outMesh);
    }
    edits.add(Edit::connection(Edit::Connect, upstream, plugOf(deformer.get(), b.inputGeom, 0)));
    edits.add(Edit::connection(Edit::Connect, plugOf(deformer.get(), b.outputGeom, 0), inMesh));
    if (Error error = edits.apply()) return done(toResult(error.within("deformer: ")));
    if (orig) orig->cell(plugOf(orig.get(), b.intermediateObject)).value().mBool = true;

    MDagModifier accessories;
    MStatus setup;
    mEngine->clearLatestFailure();
    try {
        setup = user->accessoryNodeSetup(accessories);
    } catch (...) {
        setup = Access::fail(MStatus::kFailure, "accessoryNodeSetup threw an exception");
    }
    MStatus applied = setup ? accessories.doIt() : MStatus(MStatus::kFailure);
    if (!setup || !applied) {
        const std::string why = mEngine->latestFailure().empty() ? (setup ? applied : setup).errorString().asChar()
                                                                 : mEngine->latestFailure();
        accessories.undoIt();
        edits.revert();
        return done(Result::failure("deformer: accessoryNodeSetup of '" + typeName + "' failed: " + why));
    }
    if (created) *created = deformer->name();
    return done(Result());
}

Result Host::worldMatrix(const std::string& name, MMatrix& matrix) {
    Node* node = nullptr;
    if (Error error = findNode(name, node)) return done(toResult(error));
    if (!node->type()->isDag()) return done(Result::failure("'" + name + "' is not a DAG node"));
    matrix = worldMatrixOf(scene(), node);
    return done(Result());
}

std::vector<std::string> Host::locators() const {
    std::vector<std::string> names;
    for (const auto& node : scene().nodes())
        if (node->type()->base() == BaseKind::Locator) names.push_back(node->name());
    return names;
}

Result Host::drawLocator(const std::string& name, int style, int status) {
    MPxLocatorNode* locator = nullptr;
    if (Error error = findLocator(name, locator)) return done(toResult(error));
    M3dView view;
    MDagPath path;
    Access::setPathNode(path, locator->thisMObject());
    EvaluationFailures failures;  // of the curves and values draw reads
    try {
        locator->draw(view, path, static_cast<M3dView::DisplayStyle>(style),
                      static_cast<M3dView::DisplayStatus>(status));
    } catch (...) {
        const Node* node = Access::node(*locator);
        return done(failures(toResult(Error::caught("draw of locator '" + name + "'", "", node->type()->plugin()))));
    }
    Result result = failures(Result());
    if (Access::glDepth(view) != 0)
        result.warnings.push_back("draw of locator '" + name + "' left beginGL without a matching endGL");
    return done(result);
}

Result Host::locatorBounds(const std::string& name, bool& bounded, MBoundingBox& box) {
    MPxLocatorNode* locator = nullptr;
    if (Error error = findLocator(name, locator)) return done(toResult(error));
    bounded = locator->isBounded();
    box = bounded ? locator->boundingBox() : MBoundingBox();
    return done(Result());
}

}  // namespace hx
