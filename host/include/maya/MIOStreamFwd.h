#ifndef _MIOStreamFwd
#define _MIOStreamFwd
//
// Forward declarations of the stream types, for headers that only mention them.
//
#if defined __cplusplus

#include <iosfwd>

using std::ios;
using std::iostream;
using std::istream;
using std::ostream;
using std::streampos;

#ifndef IOS_REF
#define IOS_REF(x) std::x
#endif

#endif /* __cplusplus */
#endif /* _MIOStreamFwd */
