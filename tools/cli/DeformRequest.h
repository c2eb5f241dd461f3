// What `hxnoise` was asked to do, parsed and checked, free of any engine types.
#pragma once

#include <string>
#include <vector>

namespace hx {

// NODE.ATTR=VALUE from --set. The value is kept as typed (a comma list for a compound such
// as translate) and as numbers; whether it must be an integer is the attribute's business,
// so parseInteger is applied to `text` once the attribute is known.
struct AttributeSetting {
    std::string node;
    std::string attribute;
    std::string text;
    std::vector<std::string> parts;  // `text` split at commas
    std::vector<double> numbers;     // each part as a finite number
};

// NODE.ATTR=FROM:TO from --key: the attribute goes linearly from FROM on the first frame to
// TO on the last.
struct AttributeKey {
    std::string node;
    std::string attribute;
    double from = 0.0;
    double to = 0.0;
    std::string fromText;
    std::string toText;
};

struct DeformRequest {
    std::string input;   // empty: the bundled example mesh
    std::string output;  // empty: no mesh written
    std::vector<AttributeSetting> settings;  // in the order given
    std::string render;  // empty: no picture
    std::string view = "persp";
    int width = 640;
    int height = 480;
    int frames = 0;  // 0: one evaluation, unnumbered outputs
    std::vector<AttributeKey> keys;
    std::string plugin;  // empty: hxNoise.so beside the tool
    unsigned int threads = 0;  // the host's thread pool; 0: every core
};

struct InfoRequest {
    std::string type;    // empty: list every registered node type
    std::string plugin;  // empty: hxNoise.so beside the tool
};

}  // namespace hx
