#ifndef _MFnAttribute
#define _MFnAttribute
//
// MFnAttribute: names and flags common to every kind of attribute.
//
#if defined __cplusplus

#include <maya/MFnBase.h>
#include <maya/MString.h>

class OPENMAYA_EXPORT MFnAttribute : public MFnBase
{
    declareMFn(MFnAttribute, MFnBase)

public:
    enum DisconnectBehavior {
        kDelete,
        kReset,
        kNothing
    };

    MStatus setKeyable(bool state);
    MStatus setStorable(bool state);
    MStatus setReadable(bool state);
    MStatus setWritable(bool state);
    MStatus setConnectable(bool state);
    MStatus setHidden(bool state);
    MStatus setCached(bool state);
    MStatus setArray(bool state);
    MStatus setChannelBox(bool state);
    MStatus setIndexMatters(bool state);
    MStatus setUsesArrayDataBuilder(bool state);
    MStatus setUsedAsColor(bool state);
    MStatus setDisconnectBehavior(DisconnectBehavior behavior);

    bool isKeyable(MStatus* ReturnStatus = NULL) const;
    bool isStorable(MStatus* ReturnStatus = NULL) const;
    bool isReadable(MStatus* ReturnStatus = NULL) const;
    bool isWritable(MStatus* ReturnStatus = NULL) const;
    bool isConnectable(MStatus* ReturnStatus = NULL) const;
    bool isHidden(MStatus* ReturnStatus = NULL) const;
    bool isCached(MStatus* ReturnStatus = NULL) const;
    bool isArray(MStatus* ReturnStatus = NULL) const;
    bool isChannelBoxFlagSet(MStatus* ReturnStatus = NULL) const;
    bool indexMatters(MStatus* ReturnStatus = NULL) const;
    bool isUsesArrayDataBuilder(MStatus* ReturnStatus = NULL) const;
    bool isUsedAsColor(MStatus* ReturnStatus = NULL) const;
    DisconnectBehavior disconnectBehavior(MStatus* ReturnStatus = NULL) const;

    MString name(MStatus* ReturnStatus = NULL) const;
    MString shortName(MStatus* ReturnStatus = NULL) const;
    MObject parent(MStatus* ReturnStatus = NULL) const;
};

#endif /* __cplusplus */
#endif /* _MFnAttribute */
