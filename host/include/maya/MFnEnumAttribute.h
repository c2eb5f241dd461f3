#ifndef _MFnEnumAttribute
#define _MFnEnumAttribute
//
// MFnEnumAttribute: creates attributes holding one of a list of named values (a short).
// Values are kept within the smallest and largest field index.
//
#if defined __cplusplus

#include <maya/MFnAttribute.h>

class OPENMAYA_EXPORT MFnEnumAttribute : public MFnAttribute
{
    declareMFn(MFnEnumAttribute, MFnAttribute)

public:
    MObject create(const MString& fullName, const MString& briefName, short defaultValue = 0,
                   MStatus* ReturnStatus = NULL);
    MStatus addField(const MString& fieldString, short index);
    MString fieldName(short index, MStatus* ReturnStatus = NULL) const;
    short fieldIndex(const MString& fieldString, MStatus* ReturnStatus = NULL) const;
    MStatus getMin(short& minValue) const;
    MStatus getMax(short& maxValue) const;
    MStatus setDefault(short index);
    MStatus setDefault(const MString& fieldString);
    MStatus getDefault(short& index) const;
    // The default's field name.
    MString defaultValue(MStatus* ReturnStatus = NULL) const;
};

#endif /* __cplusplus */
#endif /* _MFnEnumAttribute */
