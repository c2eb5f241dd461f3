#ifndef _MPxData
#define _MPxData
//
// MPxData: the base of data types a plug-in defines itself. This host registers none; the
// class exists so that sources naming it compile.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>
#include <maya/MString.h>

class OPENMAYA_EXPORT MPxData
{
public:
    enum Type {
        kData,
        kGeometryData,
        kLast
    };

    MPxData();
    virtual ~MPxData();
    virtual void copy(const MPxData& src) = 0;
    virtual MTypeId typeId() const = 0;
    virtual MString name() const = 0;

private:
    MPxData(const MPxData&);
    MPxData& operator=(const MPxData&);
};

#endif /* __cplusplus */
#endif /* _MPxData */
