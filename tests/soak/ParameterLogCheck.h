#pragma once

struct SoakRun;
class SoakReport;

// The parameter log got its row at start and one every minute after, each
// row whole, under a header at the top of each day's file.
namespace ParameterLogCheck {

// The shortest row: sixteen fields, each at least its column's width.
constexpr int ShortestRow = 183;

void run(const SoakRun &run, SoakReport &report);

}  // namespace ParameterLogCheck
