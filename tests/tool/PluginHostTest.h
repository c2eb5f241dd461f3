// A fresh host with the built hxNoise loaded, emptied again when the test ends: the base of
// the tests that look at a scene in this process.
#pragma once

#include "HostSession.h"

#include <engine/Host.h>

#include <gtest/gtest.h>

namespace hxtest {

class PluginHostTest : public ::testing::Test
{
protected:
    PluginHostTest() : mSession(hx::Host::instance())
    {
        const hx::Result loaded = host().loadPlugin(HX_PLUGIN);
        EXPECT_TRUE(loaded) << loaded.error;
    }
    hx::Host& host() { return hx::Host::instance(); }

    hx::HostSession mSession;
};

} // namespace hxtest
