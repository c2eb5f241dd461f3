#include "PluginFile.h"

#include "ToolError.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace hx {
namespace {

bool isFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::string listed(const std::vector<std::string>& folders)
{
    std::string text;
    for (const std::string& folder : folders) text += (text.empty() ? "" : ", ") + folder;
    return text;
}

} // namespace

std::string executableDirectory()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return fs::current_path().string();
    return self.parent_path().string();
}

std::vector<std::string> pluginSearchPath()
{
    std::vector<std::string> folders;
    const char* variable = std::getenv("MAYA_PLUG_IN_PATH");
    if (!variable) return folders;
    const std::string text = variable;
    for (std::size_t begin = 0; begin <= text.size();) {
        const std::size_t colon = std::min(text.find(':', begin), text.size());
        if (colon > begin) folders.push_back(text.substr(begin, colon - begin));
        begin = colon + 1;
    }
    return folders;
}

std::string layoutFolder(const std::string& fromFolder, const std::string& relative)
{
    return (fs::path(fromFolder) / relative).lexically_normal().string();
}

std::string findPluginNamed(const std::string& name, const std::string& ownFolder)
{
    const std::vector<std::string> searchPath = pluginSearchPath();
    std::vector<std::string> folders = searchPath;
    if (!ownFolder.empty()) folders.push_back(ownFolder);
    const bool hasExtension = fs::path(name).extension() == ".so";
    for (const std::string& folder : folders) {
        if (!hasExtension && isFile(fs::path(folder) / (name + ".so")))
            return fs::absolute(fs::path(folder) / (name + ".so")).lexically_normal().string();
        if (isFile(fs::path(folder) / name)) return fs::absolute(fs::path(folder) / name).lexically_normal().string();
    }
    const std::string file = hasExtension ? name : name + ".so";
    std::string where = searchPath.empty() ? std::string() : "MAYA_PLUG_IN_PATH (" + listed(searchPath) + ")";
    if (!ownFolder.empty()) where += (where.empty() ? "" : " or ") + ownFolder;
    if (searchPath.empty()) where += (where.empty() ? "" : " ") + std::string("(MAYA_PLUG_IN_PATH is not set)");
    throw ToolError("cannot find the plug-in " + file + " in " + where + "; name the plug-in's file");
}

bool isPluginName(const std::string& requested)
{
    std::error_code error;
    return !requested.empty() && requested.find('/') == std::string::npos && requested != "." && requested != ".." &&
           !fs::exists(fs::symlink_status(requested, error));
}

std::string locatePlugin(const std::string& requested)
{
    if (requested.empty()) {
        const std::string own = layoutFolder(executableDirectory(), HX_TOOL_PLUGIN_FOLDER);
        if (isFile(fs::path(own) / "hxNoise.so")) return (fs::path(own) / "hxNoise.so").string();
        try {
            return findPluginNamed("hxNoise", "");
        } catch (const ToolError&) {
            throw ToolError("cannot find the plug-in: no hxNoise.so in " + own +
                            (pluginSearchPath().empty()
                                 ? std::string(" and MAYA_PLUG_IN_PATH is not set")
                                 : " or in MAYA_PLUG_IN_PATH (" + listed(pluginSearchPath()) + ")") +
                            "; name it with --plugin PATH");
        }
    }
    if (isPluginName(requested))
        return findPluginNamed(requested, layoutFolder(executableDirectory(), HX_TOOL_PLUGIN_FOLDER));
    std::error_code error;
    if (fs::is_directory(requested, error))
        throw ToolError("--plugin " + requested + " is a directory; name the plug-in file, e.g. " +
                        (fs::path(requested) / "hxNoise.so").string());
    const fs::path absolute = fs::absolute(requested, error);
    return error ? requested : absolute.lexically_normal().string();
}

std::string bundledExampleMesh()
{
    return layoutFolder(executableDirectory(), HX_TOOL_EXAMPLE_MESH);
}

} // namespace hx
