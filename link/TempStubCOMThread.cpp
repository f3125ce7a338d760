// Temporary: stands in for the link loop until it lands, so that the link
// library links. Dropped at merge.
#include "COMThread.h"

COMThread::~COMThread() = default;
void COMThread::process() {}
void COMThread::stop() {}
void COMThread::stopSmartControl() {}
