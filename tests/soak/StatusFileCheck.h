#pragma once

struct SoakRun;
class SoakReport;

// "SupervisInfo.ini" is rewritten once a minute (its LastUpdate moves on)
// whenever the "Status" folder is a folder, never while it is a plain file,
// and again at the first minute after the folder is back.
namespace StatusFileCheck {

void run(const SoakRun &run, SoakReport &report);

}  // namespace StatusFileCheck
