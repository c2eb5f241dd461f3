#ifndef _MIOStreamFwd
#define _MIOStreamFwd
//
// Forward declarations of the stream types, for headers that only mention them.
//
#if defined __cplusplus

#include <iosfwd>

using std::streampos;
using std::iostream;
using std::ostream;
using std::istream;
using std::ios;

#ifndef IOS_REF
#define IOS_REF(x) std::x
#endif

#endif /* __cplusplus */
#endif /* _MIOStreamFwd */
