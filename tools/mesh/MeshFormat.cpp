#include "MeshFormat.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace hx {
namespace {

struct Known
{
    const char* extension;
    MeshFormat format;
};
const Known kKnown[] = {{".obj", MeshFormat::Obj},    {".ply", MeshFormat::Ply}, {".stl", MeshFormat::Stl},
                        {".gltf", MeshFormat::Gltf},  {".glb", MeshFormat::Glb}, {".fbx", MeshFormat::Fbx},
                        {".dae", MeshFormat::Collada}};

std::string lowerExtension(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string extensionList(bool writable)
{
    std::string list;
    for (const Known& known : kKnown)
        if (!writable || canWriteMeshFormat(known.format))
            list += std::string(list.empty() ? "" : ", ") + known.extension;
    return list;
}

MeshFormat formatOf(const std::string& path, bool writing)
{
    if (path == "-") return MeshFormat::Obj;
    const std::string extension = lowerExtension(path);
    for (const Known& known : kKnown) {
        if (extension != known.extension) continue;
        if (writing && !canWriteMeshFormat(known.format))
            throw MeshFormatError(path + ": " + meshFormatName(known.format) +
                                  " files are read, not written; meshes are written as " + extensionList(true));
        return known.format;
    }
    const std::string what =
        extension.empty() ? "no extension to tell its mesh format" : "unknown mesh format '" + extension + "'";
    throw MeshFormatError(path + ": " + what + "; meshes are " + (writing ? "written as " : "read from ") +
                          extensionList(writing));
}

} // namespace

const char* meshFormatName(MeshFormat format)
{
    switch (format) {
    case MeshFormat::Obj: return "OBJ";
    case MeshFormat::Ply: return "PLY";
    case MeshFormat::Stl: return "STL";
    case MeshFormat::Gltf: return "glTF";
    case MeshFormat::Glb: return "GLB";
    case MeshFormat::Fbx: return "FBX";
    case MeshFormat::Collada: return "Collada";
    }
    return "?";
}

bool canWriteMeshFormat(MeshFormat format)
{
    return format != MeshFormat::Fbx && format != MeshFormat::Collada;
}

MeshFormat meshFormatForReading(const std::string& path)
{
    return formatOf(path, false);
}
MeshFormat meshFormatForWriting(const std::string& path)
{
    return formatOf(path, true);
}

void checkPictureName(const std::string& path)
{
    const std::string extension = lowerExtension(path);
    if (extension != ".png")
        throw MeshFormatError(path + ": pictures are written as PNG; name the file with .png" +
                              (extension.empty() ? std::string() : " instead of " + extension));
}

} // namespace hx
