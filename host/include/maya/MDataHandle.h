#ifndef _MDataHandle
#define _MDataHandle
//
// MDataHandle: a reference to one value in a node's data block.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MObject.h>
#include <maya/MString.h>
#include <maya/MFnData.h>
#include <maya/MFnNumericData.h>

class MMatrix;
class MVector;
class MFloatVector;
class MDistance;
class MAngle;
class MTime;
class MPxData;
namespace hx {
class Access;
class Node;
class Attribute;
class Cell;
}  // namespace hx

class OPENMAYA_EXPORT MDataHandle
{
public:
    MDataHandle();
    MDataHandle(const MDataHandle& other);
    MDataHandle& operator=(const MDataHandle& other);

    bool isNumeric() const;
    MFnData::Type type() const;
    MFnNumericData::Type numericType() const;

    bool& asBool() const;
    char& asChar() const;
    unsigned char& asUChar() const;
    short& asShort() const;
    int& asLong() const;
    int& asInt() const;
    float& asFloat() const;
    double& asDouble() const;
    MMatrix& asMatrix() const;
    MVector& asVector() const;
    MFloatVector& asFloatVector() const;
    double3& asDouble3() const;
    float3& asFloat3() const;
    int3& asInt3() const;
    MString& asString() const;
    // A unit attribute's value with its unit.
    MDistance asDistance() const;
    MAngle asAngle() const;
    MTime asTime() const;
    MObject data();

    void set(bool val);
    void set(char val);
    void set(short val);
    void set(int val);
    void set(float val);
    void set(double val);
    void set(const MMatrix& val);
    void set(const MVector& val);
    void set(const MFloatVector& val);
    void set(const MDistance& val);
    void set(const MAngle& val);
    void set(const MTime& val);
    void set(const MString& val);
    void set(int val1, int val2);
    void set(float val1, float val2);
    void set(double val1, double val2);
    void set(int val1, int val2, int val3);
    void set(float val1, float val2, float val3);
    void set(double val1, double val2, double val3);
    MStatus set(const MObject& data);
    MStatus set(MPxData* data);

    void setClean();
    MDataHandle child(const MObject& attribute);

private:
    friend class hx::Access;
    friend class MArrayDataHandle;
    hx::Node* mNode;
    const hx::Attribute* mAttribute;
    int mPath[3];  // logical indices of the multi elements it lies in, outermost first
    hx::Cell* mCell;
    bool mForInput;  // child handles of an input handle pull their values
};

#endif /* __cplusplus */
#endif /* _MDataHandle */
