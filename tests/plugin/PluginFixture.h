// What the plug-in's tests share: a host with hxNoise.so loaded, a mesh with an hxNoise
// deformer on it, the noise parameters the tests set, and stderr capture. The reference
// deformation and curves the tests compare with are in tests/support/ReferenceDeformation.h.
#pragma once

#include <gtest/gtest.h>  // before any header that pulls in X11's macros

#include <engine/Host.h>

#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include "ReferenceDeformation.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::string helperPlugin(const std::string& name) {
    return std::string(HX_PLUGIN_TEST_HELPERS_DIR) + "/" + name + ".so";
}

// Two lists of doubles equal bit for bit, or a message naming the first difference.
inline ::testing::AssertionResult sameBits(const std::vector<double>& actual, const std::vector<double>& expected) {
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << actual.size() << " values, expected " << expected.size();
    for (size_t i = 0; i < actual.size(); ++i)
        if (bitsOf(actual[i]) != bitsOf(expected[i])) {
            std::ostringstream text;
            text.precision(17);
            text << "value " << i << " (point " << i / 3 << ", component "
                 << "xyz"[i % 3] << ") is " << actual[i] << ", expected " << expected[i];
            return ::testing::AssertionFailure() << text.str();
        }
    return ::testing::AssertionSuccess();
}

// Everything the plug-in wrote to standard error between start() and finish(), less the
// batch deformation's one-line note when HXNOISE_SIMD asks for a path this processor
// lacks (the evaluation tests also run with each value of it).
class StderrCapture {
public:
    ~StderrCapture() {
        // A failed assertion between start() and finish() must not leave stderr captured.
        if (mActive) ::testing::internal::GetCapturedStderr();
    }
    void start() {
        ::testing::internal::CaptureStderr();
        mActive = true;
    }
    std::string finish() {
        mActive = false;
        std::istringstream written(::testing::internal::GetCapturedStderr());
        std::string kept, line;
        while (std::getline(written, line))
            if (line.rfind("hxNoise: HXNOISE_SIMD=", 0) != 0) kept += line + "\n";
        return kept;
    }

private:
    bool mActive = false;
};

// The number of the first line of the plug-in's source that holds `text`, after the first
// line that holds `after`: the line a status check reports (0 when there is none).
inline int sourceLine(const std::string& after, const std::string& text) {
    std::ifstream source(HX_NOISE_SOURCE);
    std::string line;
    bool passed = false;
    for (int number = 1; std::getline(source, line); ++number) {
        if (!passed)
            passed = line.find(after) != std::string::npos;
        else if (line.find(text) != std::string::npos)
            return number;
    }
    ADD_FAILURE() << "no line holding '" << text << "' after one holding '" << after << "' in " << HX_NOISE_SOURCE;
    return 0;
}

// What the status check writes for a failed call at `line` of the plug-in's source.
inline std::string statusReport(int line, const std::string& reason) {
    return "\nAPI error detected in ../src/HXNoise.cpp at line " + std::to_string(line) + "\n" + reason + "\n";
}

// Parameters that move points noticeably on every axis, with octaves, frequencies and
// seeds that differ per axis; the amplitudes are exact floats.
inline FieldParameters lumpyField() {
    return FieldParameters{{3, 0.37f, 0.8125f, 7}, {5, 0.61f, -0.4375f, 42}, {2, 1.3f, 0.3125f, 1234}};
}

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        host().reset();
        hx::Result loaded = host().loadPlugin(HX_NOISE_PLUGIN);
        ASSERT_TRUE(loaded) << loaded.error;
    }
    void TearDown() override { host().reset(); }

    static hx::Host& host() { return hx::Host::instance(); }

    std::vector<double> get(const std::string& plug) {
        std::vector<double> values;
        hx::Result result = host().getAttr(plug, values);
        EXPECT_TRUE(result) << plug << ": " << result.error;
        return values;
    }
    double get1(const std::string& plug) {
        std::vector<double> values = get(plug);
        EXPECT_EQ(values.size(), 1u) << plug;
        return values.empty() ? -12345.0 : values[0];
    }
    void set(const std::string& plug, const std::vector<double>& values) {
        hx::Result result = host().setAttr(plug, values);
        ASSERT_TRUE(result) << plug << ": " << result.error;
        ASSERT_TRUE(result.warnings.empty()) << plug << ": " << result.warnings[0];
    }
    void set(const std::string& plug, double value) { set(plug, std::vector<double>{value}); }
    void connect(const std::string& source, const std::string& destination) {
        hx::Result result = host().connect(source, destination);
        ASSERT_TRUE(result) << source << " -> " << destination << ": " << result.error;
    }
    std::string create(const std::string& type, const std::string& name = "", const std::string& parent = "") {
        std::string created;
        hx::Result result = host().createNode(type, name, parent, &created);
        EXPECT_TRUE(result) << type << ": " << result.error;
        return created;
    }

    // A mesh "blobShape" under the transform "blob", holding `points` (x, y, z each) and a
    // fan of triangles over them.
    void makeMesh(const std::string& transform, const std::string& shape, const std::vector<double>& points) {
        create("transform", transform);
        create("mesh", shape, transform);
        std::vector<int> counts, vertices;
        for (int v = 1; v + 1 < static_cast<int>(points.size() / 3); ++v) {
            counts.push_back(3);
            vertices.insert(vertices.end(), {0, v, v + 1});
        }
        hx::Result result = host().setMesh(shape, points, counts, vertices);
        ASSERT_TRUE(result) << result.error;
    }

    // The host's deformer command on "blobShape": the deformer "hxNoise1", with the
    // accessory "transform1" and its "noiseLocator1".
    void deformBlob(const std::vector<double>& points) {
        ASSERT_NO_FATAL_FAILURE(makeMesh("blob", "blobShape", points));
        std::string deformer;
        hx::Result result = host().deformer("hxNoise", "blobShape", &deformer);
        ASSERT_TRUE(result) << result.error;
        ASSERT_EQ(deformer, "hxNoise1");
        ASSERT_EQ(host().sourceOf("hxNoise1.deformSpace"), "transform1.matrix");
        ASSERT_EQ(host().sourceOf("noiseLocator1.oxCurvePoints"), "hxNoise1.oxVisualisationPoints");
    }

    void setField(const std::string& deformer, const FieldParameters& field) {
        const std::pair<const char*, const AxisNoise*> axes[] = {{"ox", &field.x}, {"oy", &field.y}, {"oz", &field.z}};
        for (const auto& [prefix, axis] : axes) {
            const std::string p = deformer + "." + prefix;
            set(p + "NoiseOctaves", axis->octaves);
            set(p + "NoiseFreq", axis->frequency);
            set(p + "NoiseAmp", axis->amplitude);
            set(p + "NoiseSeed", axis->seed);
        }
    }

    MMatrix matrixAt(const std::string& plug) {
        const std::vector<double> values = get(plug);
        MMatrix m;
        if (values.size() == 16)
            for (int i = 0; i < 16; ++i) m.matrix[i / 4][i % 4] = values[i];
        return m;
    }

    StderrCapture mStderr;
};

// A lattice of points over [-2.5, 2.5] x [-1.5, 1.5] x [-1, 1] with steps that are not
// whole numbers, so that the noise is evaluated between its lattice points.
inline std::vector<double> latticePoints() {
    std::vector<double> points;
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 3; ++k)
                points.insert(points.end(), {-2.5 + i * 0.9875, -1.5 + j * 1.0625, -1.0 + k * 0.96875});
    return points;
}
