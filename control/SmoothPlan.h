#pragma once

#include <QVector>

// The frequency offsets of a smooth correction: N steps of T seconds that
// move the offset from its current value to the target and, on the way,
// shift the output phase. The link computes the same steps when it runs them.
struct SmoothPlan
{
    double current = 0;       // offset now (F0)
    double target = 0;        // offset to reach (f)
    double phaseSeconds = 0;  // phase shift (p)
    int interval = 10;        // seconds per step (T)
    int count = 2;            // number of steps (N)

    // The offset held during each step; the last one equals the target.
    // One step goes straight to the target, without a phase term.
    QVector<double> steps() const;

    // The step curve: 2N points, each step a horizontal segment from i T to
    // (i + 1) T joined to the next by a vertical edge.
    void curve(QVector<double> *times, QVector<double> *offsets) const;
};
