// The data objects that typed attributes carry (vector arrays, meshes, matrices, numeric
// tuples), as the data function sets create and read them.
#pragma once

#include "Object.h"

#include <maya/MFnData.h>
#include <maya/MFnNumericData.h>
#include <maya/MMatrix.h>
#include <maya/MString.h>
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

// Data holding one value of the API's own types: a vector array, a matrix, a string.
template <class T, MFn::Type kApiType, MFnData::Type kDataType>
class ValueData final : public Data {
public:
    ValueData() = default;
    explicit ValueData(const T& value) : mValue(value) {}
    MFn::Type apiType() const override { return kApiType; }
    MFnData::Type dataType() const override { return kDataType; }
    Ref<Data> clone() const override { return Ref<Data>(new ValueData(mValue)); }

    const T& value() const { return mValue; }
    void set(const T& value) { mValue = value; }

private:
    T mValue;
};

using VectorArrayData = ValueData<MVectorArray, MFn::kVectorArrayData, MFnData::kVectorArray>;
using MatrixData = ValueData<MMatrix, MFn::kMatrixData, MFnData::kMatrix>;
using StringData = ValueData<MString, MFn::kStringData, MFnData::kString>;

// Polygon connectivity: face i uses faceCounts[i] consecutive entries of faceVertices.
// Immutable once built, so every copy of a mesh shares it.
struct Topology {
    std::vector<int> mFaceCounts;
    std::vector<int> mFaceVertices;
};

// A polygon mesh: its points, x, y, z each, in one contiguous array (what deformers move),
// and its shared topology. Copies share the points too until one of them writes (a deformer
// starts from its input's points and, when it moves them all, never copies them), so a
// points array, once shared, never changes: what sharedPoints lends stays as it was.
class MeshData final : public Data {
public:
    using Points = std::vector<double>;

    MeshData() : mTopology(std::make_shared<const Topology>()), mPoints(std::make_shared<Points>()) {}
    MeshData(Points points, std::shared_ptr<const Topology> topology)
        : mTopology(std::move(topology)), mPoints(std::make_shared<Points>(std::move(points))) {}
    MFn::Type apiType() const override { return MFn::kMeshData; }
    MFnData::Type dataType() const override { return MFnData::kMesh; }
    // Shares the points (copied on the first write to either) and the topology.
    Ref<Data> clone() const override { return Ref<Data>(new MeshData(mPoints, mTopology)); }

    unsigned int pointCount() const { return static_cast<unsigned int>(mPoints->size() / 3); }
    const Points& points() const { return *mPoints; }
    // The points as they are now, for as long as the holder keeps them.
    std::shared_ptr<const Points> sharedPoints() const { return mPoints; }
    const double* pointData() const { return mPoints->empty() ? nullptr : mPoints->data(); }
    // The points to change in place: this mesh's own, copied first if they are shared.
    double* writablePoints();
    // Replaces the points (the same number, or the mesh's shape no longer fits its topology).
    void replacePoints(Points points);
    bool sharesPoints() const { return mPoints.use_count() > 1; }
    const Topology& topology() const { return *mTopology; }

private:
    MeshData(std::shared_ptr<Points> points, std::shared_ptr<const Topology> topology)
        : mTopology(std::move(topology)), mPoints(std::move(points)) {}

    std::shared_ptr<const Topology> mTopology;
    std::shared_ptr<Points> mPoints;  // never null; written only while this mesh alone holds it
};

class NumericData final : public Data {
public:
    explicit NumericData(MFnNumericData::Type type) : mType(type) {}
    MFn::Type apiType() const override { return MFn::kNumericData; }
    MFnData::Type dataType() const override { return MFnData::kNumeric; }
    Ref<Data> clone() const override {
        auto* copy = new NumericData(mType);
        copy->set(mValues[0], mValues[1], mValues[2]);
        return Ref<Data>(copy);
    }

    MFnNumericData::Type numericType() const { return mType; }
    double value(int i) const { return i >= 0 && i < 3 ? mValues[i] : 0.0; }
    void set(double a, double b, double c) {
        mValues[0] = a;
        mValues[1] = b;
        mValues[2] = c;
    }

private:
    MFnNumericData::Type mType;
    double mValues[3] = {0.0, 0.0, 0.0};
};

}  // namespace hx
