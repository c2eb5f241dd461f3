#include "MeshFiles.h"

#include "AssimpMesh.h"
#include "ObjReader.h"
#include "ObjWriter.h"

namespace hx {

Mesh readMesh(const std::string& path)
{
    const MeshFormat format = meshFormatForReading(path);
    if (path == "-") return readObjFd(0, "standard input");
    if (format == MeshFormat::Obj) return readObjFile(path);
    return readMeshWithAssimp(path, format);
}

std::vector<std::string> writeMesh(const Mesh& mesh, MeshFormat format, ByteSink& out, const std::string& name,
                                   const std::vector<std::string>& comment)
{
    if (format == MeshFormat::Obj) {
        writeObj(mesh, out, comment);
        return {};
    }
    return writeMeshWithAssimp(mesh, format, out, name);
}

} // namespace hx
