#ifndef _MApiVersion
#define _MApiVersion
//
// Defines the exported MApiVersion string the host reads when it loads a plug-in.
// Exactly one translation unit of a plug-in includes this without MNoVersionString.
//
#if defined __cplusplus

#include <maya/MTypes.h>

#ifndef MNoVersionString
#define _MApiVersionText2(x) #x
#define _MApiVersionText(x) _MApiVersionText2(x)
extern "C" {
PLUGIN_EXPORT char MApiVersion[] = _MApiVersionText(MAYA_API_VERSION);
}
#undef _MApiVersionText
#undef _MApiVersionText2
#endif

#endif /* __cplusplus */
#endif /* _MApiVersion */
