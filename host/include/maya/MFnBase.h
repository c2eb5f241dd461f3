#ifndef _MFnBase
#define _MFnBase
//
// MFnBase: the root of the function sets, which operate on an attached MObject.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MFn.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

// Declares the members every function set has: constructors that attach to an object,
// its type and class name; copying and taking the address are not allowed.
#define declareMFn(MFnClass, MFnParentClass)                       \
public:                                                            \
    MFnClass();                                                    \
    MFnClass(MObject& object, MStatus* ReturnStatus = NULL);       \
    MFnClass(const MObject& object, MStatus* ReturnStatus = NULL); \
    virtual ~MFnClass();                                           \
    virtual MFn::Type type() const;                                \
    static const char* className();                                \
                                                                   \
private:                                                           \
    MFnClass(const MFnClass&);                                     \
    MFnClass& operator=(const MFnClass&);                          \
    MFnClass* operator&() const;                                   \
                                                                   \
public:

class OPENMAYA_EXPORT MFnBase
{
public:
    MFnBase();
    virtual ~MFnBase();
    virtual MFn::Type type() const;
    bool hasObj(MFn::Type tp) const;
    bool hasObj(const MObject& object) const;
    MObject object(MStatus* ReturnStatus = NULL) const;
    virtual MStatus setObject(MObject& object);
    virtual MStatus setObject(const MObject& object);
    static const char* className();

protected:
    // Attaches to object when it is of the kind this function set works on.
    MStatus attach(const MObject& object);
    MObject mObject;

private:
    MFnBase(const MFnBase&);
    MFnBase& operator=(const MFnBase&);
    MFnBase* operator&() const;
};

#endif /* __cplusplus */
#endif /* _MFnBase */
