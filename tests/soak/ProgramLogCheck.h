#pragma once

struct SoakRun;
class SoakReport;

// The program log lost no line and tore none: it begins with the start line,
// ends with the close line, every line is whole, and between them stands
// exactly what the link reported through debugInfo, in the same order.
namespace ProgramLogCheck {

void run(const SoakRun &run, SoakReport &report);

}  // namespace ProgramLogCheck
