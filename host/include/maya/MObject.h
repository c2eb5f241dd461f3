#ifndef _MObject
#define _MObject
//
// MObject: a handle on a host object (node, attribute, data, plug-in).
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MFn.h>

namespace hx {
class Object;
class Access;
}  // namespace hx

class FND_EXPORT MObject
{
public:
    MObject();
    MObject(const MObject& other);
    ~MObject();
    MObject& operator=(const MObject& other);

    bool isNull() const;
    MFn::Type apiType() const;
    bool hasFn(MFn::Type fs) const;

    bool operator==(const MObject& other) const;
    bool operator!=(const MObject& other) const;

    static MObject kNullObj;

private:
    friend class hx::Access;
    hx::Object* mObject;
};

#endif /* __cplusplus */
#endif /* _MObject */
