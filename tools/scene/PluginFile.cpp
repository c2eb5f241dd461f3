#include "PluginFile.h"

#include "ToolError.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace hx {

std::string executableDirectory()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return fs::current_path().string();
    return self.parent_path().string();
}

std::string locatePlugin(const std::string& requested)
{
    if (!requested.empty()) {
        std::error_code error;
        if (fs::is_directory(requested, error))
            throw ToolError("--plugin " + requested + " is a directory; name the plug-in file, e.g. " +
                            (fs::path(requested) / "hxNoise.so").string());
        const fs::path absolute = fs::absolute(requested, error);
        return error ? requested : absolute.lexically_normal().string();
    }
    const fs::path here = executableDirectory();
    const fs::path candidates[] = {here / "hxNoise.so", (here / ".." / "src" / "hxNoise.so").lexically_normal()};
    for (const fs::path& candidate : candidates) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) return candidate.string();
    }
    throw ToolError("cannot find the plug-in: no hxNoise.so at " + candidates[0].string() + " or " +
                    candidates[1].string() + "; name it with --plugin PATH");
}

}  // namespace hx
