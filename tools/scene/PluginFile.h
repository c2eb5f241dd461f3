// Where the hxNoise plug-in and the bundled example mesh are found.
//
// Installed, hxnoise and its files keep one layout under their prefix, which the build tree
// mirrors (build/tools/ standing in for bin/):
//
//     bin/hxnoise
//     lib/hxnoise/plug-ins/hxNoise.so          the plug-in
//     share/hxnoise/examples/blob.obj          the bundled example mesh
//
// Everything is found relative to the running program (or the Python module), never by a
// path of the machine that built it, so an installed tree can be moved or copied whole. The
// host's search-path variable MAYA_PLUG_IN_PATH (folders separated by ':') is searched for a
// plug-in named without a path, as the host searches it.
#pragma once

#include <string>
#include <vector>

namespace hx {

// The directory holding the running hxnoise executable.
std::string executableDirectory();

// The folders of MAYA_PLUG_IN_PATH, in order, empty entries left out.
std::vector<std::string> pluginSearchPath();

// A folder or file of the layout that `fromFolder` belongs to, by its path relative to that
// folder (e.g. "../lib/hxnoise/plug-ins" from bin/).
std::string layoutFolder(const std::string& fromFolder, const std::string& relative);

// The plug-in called `name` ("hxNoise" or "hxNoise.so"): the first NAME.so or NAME in the
// folders of MAYA_PLUG_IN_PATH, then in `ownFolder`. Throws ToolError naming every folder it
// looked in.
std::string findPluginNamed(const std::string& name, const std::string& ownFolder);

// True when `requested` is a plug-in's name to search for rather than a file: no '/', and
// no file or folder of that name in the current directory.
bool isPluginName(const std::string& requested);

// The plug-in the hxnoise tool loads for --plugin `requested`:
// - empty: the tool's own, lib/hxnoise/plug-ins/hxNoise.so of its layout, else the first
//   hxNoise.so in MAYA_PLUG_IN_PATH (a copy of the tool without its layout);
// - a name (isPluginName): searched as findPluginNamed, MAYA_PLUG_IN_PATH first;
// - a path: made absolute, so that "hxNoise.so" means the file in the current directory.
// Throws ToolError naming the places it looked.
std::string locatePlugin(const std::string& requested);

// The bundled example mesh of the tool's layout, share/hxnoise/examples/blob.obj.
std::string bundledExampleMesh();

} // namespace hx
