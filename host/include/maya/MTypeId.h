#ifndef _MTypeId
#define _MTypeId
//
// MTypeId: the unique numeric id of a node or data type.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>

class OPENMAYA_EXPORT MTypeId
{
public:
    MTypeId();
    MTypeId(unsigned int id);
    MTypeId(unsigned int prefix, unsigned int id);
    MTypeId(const MTypeId& other);
    ~MTypeId();

    MTypeId& operator=(const MTypeId& rhs);
    bool operator==(const MTypeId& rhs) const;
    bool operator!=(const MTypeId& rhs) const;
    unsigned int id(MStatus* ReturnStatus = NULL) const;

private:
    unsigned int mId;
};

#endif /* __cplusplus */
#endif /* _MTypeId */
