#ifndef _MIOStream
#define _MIOStream
//
// Standard streams in the global namespace, as plug-in sources written for the host expect
// (the stream types come with MIOStreamFwd.h).
//
#if defined __cplusplus

#include <iostream>
#include <maya/MIOStreamFwd.h>

using std::cerr;
using std::cin;
using std::clog;
using std::cout;
using std::endl;
using std::flush;
using std::ws;

#endif /* __cplusplus */
#endif /* _MIOStream */
