#pragma once

// QCustomPlot for the History window. Its header still uses Qt's foreach,
// which the project switches off; the two loops that use it only read their
// list, so a range-based for stands in while the header is read.
#include <QtGlobal>

#ifndef foreach
#define KSR_FOREACH_FOR_QCUSTOMPLOT
#define foreach(variable, container) for (variable : container)
#endif
#include <qcustomplot.h>
#ifdef KSR_FOREACH_FOR_QCUSTOMPLOT
#undef foreach
#undef KSR_FOREACH_FOR_QCUSTOMPLOT
#endif
