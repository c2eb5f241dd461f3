#ifndef _MPlug
#define _MPlug
//
// MPlug: one attribute of one node (and, for multi attributes, one element of it).
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MObject.h>
#include <maya/MString.h>
#include <maya/MDGContext.h>

class MDataHandle;
class MPlugArray;
class MDistance;
class MAngle;
class MTime;
class MPxData;
namespace hx {
class Access;
}

class OPENMAYA_EXPORT MPlug
{
public:
    MPlug();
    MPlug(const MPlug& in);
    MPlug(const MObject& node, const MObject& attribute);
    virtual ~MPlug();
    MPlug& operator=(const MPlug& other);

    MObject attribute(MStatus* ReturnStatus = NULL) const;
    MObject node(MStatus* ReturnStatus = NULL) const;
    MString name(MStatus* ReturnStatus = NULL) const;
    MString partialName(bool includeNodeName = false, bool includeNonMandatoryIndices = false,
                        bool includeInstancedIndices = false, bool useAlias = false, bool useFullAttributePath = false,
                        bool useLongNames = false, MStatus* ReturnStatus = NULL) const;
    bool isNull(MStatus* ReturnStatus = NULL) const;

    bool isArray(MStatus* ReturnStatus = NULL) const;
    bool isElement(MStatus* ReturnStatus = NULL) const;
    bool isCompound(MStatus* ReturnStatus = NULL) const;
    bool isChild(MStatus* ReturnStatus = NULL) const;
    bool isConnected(MStatus* ReturnStatus = NULL) const;
    // The plugs connected to this one: its source (asDst) and its destinations (asSrc). For a
    // compound, the compounds its children connect to. True when there is at least one.
    bool connectedTo(MPlugArray& array, bool asDst, bool asSrc, MStatus* ReturnStatus = NULL) const;
    unsigned int logicalIndex(MStatus* ReturnStatus = NULL) const;
    MPlug elementByLogicalIndex(unsigned int logicalIndex, MStatus* ReturnStatus = NULL) const;
    unsigned int numChildren(MStatus* ReturnStatus = NULL) const;
    MPlug child(unsigned int index, MStatus* ReturnStatus = NULL) const;
    MPlug child(const MObject& attr, MStatus* ReturnStatus = NULL) const;
    MPlug parent(MStatus* ReturnStatus = NULL) const;

    MStatus getValue(MObject& val, MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(MDataHandle& val, MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(double& val, MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(float& val, MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(int& val, MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(short& val, MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(bool& val, MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(char& val, MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(MString& val, MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(MDistance& val, MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(MAngle& val, MDGContext& ctx = MDGContext::fsNormal) const;
    MStatus getValue(MTime& val, MDGContext& ctx = MDGContext::fsNormal) const;

    MObject asMObject(MDGContext& ctx = MDGContext::fsNormal, MStatus* ReturnStatus = NULL) const;
    double asDouble(MDGContext& ctx = MDGContext::fsNormal, MStatus* ReturnStatus = NULL) const;
    float asFloat(MDGContext& ctx = MDGContext::fsNormal, MStatus* ReturnStatus = NULL) const;
    int asInt(MDGContext& ctx = MDGContext::fsNormal, MStatus* ReturnStatus = NULL) const;
    short asShort(MDGContext& ctx = MDGContext::fsNormal, MStatus* ReturnStatus = NULL) const;
    bool asBool(MDGContext& ctx = MDGContext::fsNormal, MStatus* ReturnStatus = NULL) const;
    char asChar(MDGContext& ctx = MDGContext::fsNormal, MStatus* ReturnStatus = NULL) const;
    MString asString(MDGContext& ctx = MDGContext::fsNormal, MStatus* ReturnStatus = NULL) const;

    MStatus setValue(MObject& val);
    MStatus setValue(MPxData* data);
    MStatus setValue(MDataHandle& handle);
    MStatus setValue(double val);
    MStatus setValue(float val);
    MStatus setValue(int val);
    MStatus setValue(short val);
    MStatus setValue(bool val);
    MStatus setValue(char val);
    MStatus setValue(const MString& val);
    MStatus setValue(const char* val);
    MStatus setValue(MDistance& val);
    MStatus setValue(MAngle& val);
    MStatus setValue(MTime& val);

    bool operator==(const MPlug& other) const;
    bool operator==(const MObject& other) const;
    bool operator!=(const MPlug& other) const;
    bool operator!=(const MObject& other) const;
    operator MObject() const;
    bool operator!() const;

private:
    friend class hx::Access;
    MObject mNode;
    MObject mAttribute;
    // Logical indices of the multi elements it lies in, outermost first; -1: none chosen.
    int mPath[3];
};

#endif /* __cplusplus */
#endif /* _MPlug */
