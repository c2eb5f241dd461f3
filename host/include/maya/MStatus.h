#ifndef _MStatus
#define _MStatus
//
// MStatus: the outcome of a host call, and the status-check macros.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#ifdef REQUIRE_IOSTREAM
#include <maya/MIOStream.h>
#else
#include <maya/MIOStreamFwd.h>
#endif

class MString;
namespace hx {
class Access;
}

class OPENMAYA_EXPORT MStatus
{
public:
    enum MStatusCode {
        kSuccess = 0,
        kFailure = 1,
        kInsufficientMemory = 2,
        kInvalidParameter = 3,
        kLicenseFailure = 4,
        kUnknownParameter = 5,
        kNotImplemented = 6,
        kNotFound = 7,
        kEndOfFile = 8
    };

    MStatus();
    MStatus(MStatusCode code);
    MStatus(const MStatus& other);
    MStatus& operator=(const MStatus& rhs);

    bool operator==(const MStatus& rhs) const;
    bool operator==(const MStatusCode rhs) const;
    bool operator!=(const MStatus& rhs) const;
    bool operator!=(const MStatusCode rhs) const;
    operator bool() const;

    bool error() const;
    void clear();
    MStatusCode statusCode() const;
    MString errorString() const;
    void perror(const char* prefix) const;
    void perror(const MString& prefix) const;

    friend OPENMAYA_EXPORT bool operator==(const MStatus::MStatusCode code, const MStatus& status);
    friend OPENMAYA_EXPORT bool operator!=(const MStatus::MStatusCode code, const MStatus& status);
    friend OPENMAYA_EXPORT IOS_REF(ostream) & operator<<(IOS_REF(ostream) & os, MStatus& status);

private:
    friend class hx::Access;
    // The host's detailed reason (an index into its message table); 0 = the code's own text.
    unsigned char mCode;
    unsigned char mInternalCode;
    bool mChecked;
};

typedef MStatus MS;

// Reports a failed status on standard error and carries on.
#define CHECK_MSTATUS(_status)                                                                 \
    {                                                                                          \
        MStatus _maya_status = (_status);                                                      \
        if (MStatus::kSuccess != _maya_status) {                                               \
            cerr << "\nAPI error detected in " << __FILE__ << " at line " << __LINE__ << endl; \
            _maya_status.perror("");                                                           \
        }                                                                                      \
    }

#define CHECK_MSTATUS_AND_RETURN(_status, _retVal)                                             \
    {                                                                                          \
        MStatus _maya_status = (_status);                                                      \
        if (MStatus::kSuccess != _maya_status) {                                               \
            cerr << "\nAPI error detected in " << __FILE__ << " at line " << __LINE__ << endl; \
            _maya_status.perror("");                                                           \
            return (_retVal);                                                                  \
        }                                                                                      \
    }

// Returns the status it checked. The expression is evaluated once: returning a second
// evaluation would repeat a failed call (registerNode, connect, ...) for its side effects.
#define CHECK_MSTATUS_AND_RETURN_IT(_status) CHECK_MSTATUS_AND_RETURN((_status), _maya_status)

#define MFAIL(_status) (MStatus::kSuccess != (_status))

#endif /* __cplusplus */
#endif /* _MStatus */
