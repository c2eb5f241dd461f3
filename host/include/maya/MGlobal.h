#ifndef _MGlobal
#define _MGlobal
//
// MGlobal: the host's messages to the user. Each message is a line on standard error:
// "Warning: ..." and "Error: ..." for warnings and errors, the text alone for information.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MString.h>

class OPENMAYA_EXPORT MGlobal
{
public:
    static void displayInfo(const MString& theMessage);
    static void displayWarning(const MString& theWarning);
    static void displayError(const MString& theError);
};

#endif /* __cplusplus */
#endif /* _MGlobal */
