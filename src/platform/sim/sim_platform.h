#pragma once

#include "app/zuklapper.h"
#include "platform/sim/headless_toolkit.h"
#include "platform/sim/sim_dde.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_policy_registry.h"
#include "platform/sim/sim_profile.h"

namespace zk::sim {

// The whole simulated platform in one piece, for tests and benchmarks.
struct SimPlatform {
    SimDesktop desktop;
    SimFiles files;
    SimProfile profile{files};
    HeadlessToolkit toolkit{desktop};
    SimDde dde{[this](std::int64_t ms) { toolkit.advance(ms); }};
    SimPolicyRegistry policies;
    Platform platform{desktop, files, profile, toolkit, dde, desktop, desktop, desktop, policies};

    void advance(std::int64_t ms) { toolkit.advance(ms); }
};

} // namespace zk::sim
