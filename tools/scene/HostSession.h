// Empties the host when a run ends, however it ends: the plug-in's nodes go before the
// plug-in is unloaded, and the plug-in before the process exits.
#pragma once

#include <engine/Host.h>

namespace hx {

class HostSession
{
public:
    explicit HostSession(Host& host) : mHost(host) { mHost.reset(); }
    ~HostSession() { mHost.reset(); }
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

private:
    Host& mHost;
};

} // namespace hx
