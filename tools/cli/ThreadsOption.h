// --threads N, on the commands that evaluate: how many threads the host lends the plug-in
// (its MThreadPool).
#pragma once

namespace CLI {
class App;
}

namespace hx {

// More is almost surely a typo: no machine this runs on has that many cores.
constexpr int kMaxThreads = 1024;

// Adds --threads to `command`; `threads` receives N, checked to be a whole number in
// 1..kMaxThreads (a usage error otherwise), and keeps 0, every core, when it is not given.
void addThreadsOption(CLI::App& command, unsigned int& threads);

} // namespace hx
