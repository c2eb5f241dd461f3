// What the host's tests share: a clean host per test and the test plug-ins' paths.
#pragma once

#include <gtest/gtest.h>

#include <engine/Host.h>

#include <dlfcn.h>

#include <string>

inline std::string testPlugin(const std::string& name) { return std::string(HX_TEST_PLUGIN_DIR) + "/" + name + ".so"; }

// Whether a node type of that name is registered.
inline bool hasType(const std::string& name) {
    for (const std::string& type : hx::Host::instance().nodeTypes())
        if (type == name) return true;
    return false;
}

// A variable a loaded test plug-in exports (its counters and probe results).
template <class T>
T* pluginVariable(const std::string& plugin, const char* symbol) {
    void* handle = dlopen(testPlugin(plugin).c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle) return nullptr;
    T* variable = static_cast<T*>(dlsym(handle, symbol));
    dlclose(handle);  // only drops the reference RTLD_NOLOAD took
    return variable;
}

class HostTest : public ::testing::Test {
protected:
    void SetUp() override { host().reset(); }
    void TearDown() override { host().reset(); }

    static hx::Host& host() { return hx::Host::instance(); }

    void loadTestNodes() { load("TestNodes"); }
    void load(const std::string& plugin) {
        hx::Result result = host().loadPlugin(testPlugin(plugin));
        ASSERT_TRUE(result) << result.error;
    }

    std::vector<double> get(const std::string& plug) {
        std::vector<double> values;
        hx::Result result = host().getAttr(plug, values);
        EXPECT_TRUE(result) << result.error;
        return values;
    }
    double get1(const std::string& plug) {
        std::vector<double> values = get(plug);
        return values.empty() ? -12345.0 : values[0];
    }
    std::string create(const std::string& type, const std::string& parent = "") {
        std::string name;
        hx::Result result = host().createNode(type, "", parent, &name);
        EXPECT_TRUE(result) << result.error;
        return name;
    }
};
