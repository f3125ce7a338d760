#pragma once

struct SoakRun;
class SoakReport;

// The program lived through the run: it never crashed or hung, closed when
// asked, kept its memory, and found the instrument again after every loss
// (a restarted simulator, a silence, a search the operator started).
namespace HealthCheck {

// Resident memory may grow this much after the first minute.
constexpr long long MaxGrowthKb = 5 * 1024;
// The GUI thread's heartbeat may be this old at most.
constexpr int MaxHeartbeatAgeS = 10;

void run(const SoakRun &run, SoakReport &report);

}  // namespace HealthCheck
