#include "MaterialLibraries.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace hx {
namespace {

fs::path folderOf(const std::string& path)
{
    if (path == "-") return fs::current_path();
    const fs::path parent = fs::path(path).parent_path();
    return fs::absolute(parent.empty() ? fs::path(".") : parent);
}

bool sameFolder(const fs::path& a, const fs::path& b)
{
    std::error_code error;
    if (fs::equivalent(a, b, error)) return true;
    return fs::weakly_canonical(a, error) == fs::weakly_canonical(b, error);
}

std::vector<std::string> splitNames(const std::string& line)
{
    std::vector<std::string> names;
    std::string name;
    for (char c : line) {
        if (c == ' ' || c == '\t') {
            if (!name.empty()) names.push_back(name);
            name.clear();
        } else {
            name += c;
        }
    }
    if (!name.empty()) names.push_back(name);
    return names;
}

} // namespace

MaterialLibraryReport rebaseMaterialLibraries(Mesh& mesh, const std::string& inputPath, const std::string& outputPath)
{
    MaterialLibraryReport report;
    if (outputPath == "-" || mesh.materialLibraries().empty()) return report;
    const fs::path from = folderOf(inputPath);
    const fs::path to = folderOf(outputPath);
    if (sameFolder(from, to)) return report;

    for (std::string& line : mesh.materialLibraries()) {
        // One statement may name several libraries; a name with blanks in it is taken whole
        // when a file of that name is there.
        std::error_code error;
        const std::vector<std::string> names =
            fs::exists(from / line, error) ? std::vector<std::string>{line} : splitNames(line);
        std::string rewritten;
        bool changed = false;
        for (const std::string& name : names) {
            std::string written = name;
            if (fs::path(name).is_relative()) {
                const fs::path library = fs::weakly_canonical(from / name, error);
                const fs::path relative = library.lexically_relative(fs::weakly_canonical(to, error));
                if (!fs::exists(library, error)) {
                    report.warnings.push_back(outputPath + ": mtllib " + name + " is not found beside " + inputPath +
                                              "; it is written as it was");
                } else if (relative.empty()) {
                    written = library.string();
                    report.notes.push_back(outputPath + ": mtllib " + name + " is written as " + written +
                                           " so that it still resolves");
                } else if (relative.string() != name) {
                    written = relative.string();
                    report.notes.push_back(outputPath + ": mtllib " + name + " is written as " + written +
                                           " so that it still resolves from " + to.string());
                }
            }
            changed |= written != name;
            rewritten += (rewritten.empty() ? "" : " ") + written;
        }
        if (changed) line = rewritten;
    }
    return report;
}

} // namespace hx
