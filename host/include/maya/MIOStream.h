#ifndef _MIOStream
#define _MIOStream
//
// Standard streams in the global namespace, as plug-in sources written for the host expect.
//
#if defined __cplusplus

#include <iostream>

using std::cout;
using std::cin;
using std::cerr;
using std::clog;
using std::endl;
using std::flush;
using std::ws;
using std::streampos;
using std::iostream;
using std::ostream;
using std::istream;
using std::ios;

#ifndef IOS_REF
#define IOS_REF(x) std::x
#endif

#endif /* __cplusplus */
#endif /* _MIOStream */
