#pragma once

#include <QString>

class ProtocolEngine;

// Line commands that steer a running simulator (its control FIFO):
//   fault RULE                 add faults (FaultPlan text form)
//   clear-faults               remove every fault
//   silent on|off              answer nothing / answer again
//   channel N detect on|off    signal on input N (1..4) appears / disappears
//   channel N error CODE       error byte of input N (0 clears), decimal or 0x..
//   pps on|off                 external 1PPS available / unavailable
//   steady on|off              readings without noise / with noise again
//   offset VALUE               the output's frequency offset
namespace SimControl {

// Applies one command line; returns an empty text or what was wrong with it.
QString apply(ProtocolEngine &engine, const QString &line);

// The command list above, for --help.
QString help();

}  // namespace SimControl
