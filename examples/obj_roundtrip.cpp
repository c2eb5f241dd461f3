// obj_roundtrip: reads an OBJ and writes it back through the tool's mesh module, timing
// each step; the way to measure big meshes (see `blob_1m` in this folder's CMakeLists.txt).
//
//   obj_roundtrip IN.obj OUT.obj
#include "ObjMesh.h"

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: obj_roundtrip IN.obj OUT.obj\n");
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::time_point from) {
        return std::chrono::duration<double>(Clock::now() - from).count();
    };
    try {
        auto start = Clock::now();
        const hx::ObjMesh mesh = hx::ObjMesh::read(argv[1]);
        std::fprintf(stderr, "read  %zu vertices, %zu faces in %.3f s\n", mesh.vertexCount(), mesh.faceCount(),
                     seconds(start));
        for (const std::string& warning : mesh.warnings()) std::fprintf(stderr, "warning: %s\n", warning.c_str());
        start = Clock::now();
        mesh.write(argv[2]);
        std::fprintf(stderr, "write %s in %.3f s\n", argv[2], seconds(start));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "obj_roundtrip: %s\n", error.what());
        return 1;
    }
    return 0;
}
