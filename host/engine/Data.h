// The data objects that typed attributes carry: vector arrays, meshes, numeric tuples.
#pragma once

#include "Object.h"

#include <maya/MFnData.h>
#include <maya/MFnNumericData.h>
#include <maya/MVectorArray.h>

#include <memory>
#include <vector>

namespace hx {

class Data : public Object {
public:
    virtual MFnData::Type dataType() const = 0;
    // An independent copy: what a node gets when an attribute's default is instantiated.
    virtual Ref<Data> clone() const = 0;
};

class VectorArrayData final : public Data {
public:
    VectorArrayData() = default;
    explicit VectorArrayData(const MVectorArray& array) : mArray(array) {}
    MFn::Type apiType() const override { return MFn::kVectorArrayData; }
    MFnData::Type dataType() const override { return MFnData::kVectorArray; }
    Ref<Data> clone() const override { return Ref<Data>(new VectorArrayData(mArray)); }

    MVectorArray mArray;
};

// Polygon connectivity: face i uses mFaceCounts[i] consecutive entries of mFaceVertices.
// Immutable once built, so every copy of a mesh shares it.
struct Topology {
    std::vector<int> mFaceCounts;
    std::vector<int> mFaceVertices;
};

class MeshData final : public Data {
public:
    MeshData() : mTopology(std::make_shared<const Topology>()) {}
    MeshData(std::vector<double> points, std::shared_ptr<const Topology> topology)
        : mTopology(std::move(topology)), mPoints(std::move(points)) {}
    MFn::Type apiType() const override { return MFn::kMeshData; }
    MFnData::Type dataType() const override { return MFnData::kMesh; }
    // Copies the points (they are what deformers change) and shares the topology.
    Ref<Data> clone() const override { return Ref<Data>(new MeshData(mPoints, mTopology)); }

    unsigned int pointCount() const { return static_cast<unsigned int>(mPoints.size() / 3); }

    std::shared_ptr<const Topology> mTopology;
    std::vector<double> mPoints;  // x, y, z per point
};

class NumericData final : public Data {
public:
    explicit NumericData(MFnNumericData::Type type) : mType(type) {}
    MFn::Type apiType() const override { return MFn::kNumericData; }
    MFnData::Type dataType() const override { return MFnData::kNumeric; }
    Ref<Data> clone() const override {
        auto* copy = new NumericData(mType);
        for (int i = 0; i < 3; ++i) copy->mValues[i] = mValues[i];
        return Ref<Data>(copy);
    }

    MFnNumericData::Type mType;
    double mValues[3] = {0.0, 0.0, 0.0};
};

}  // namespace hx
