#pragma once

class QCPAxis;

// A logarithmic axis for deviations and averaging times, labelled at the
// powers of ten.
namespace LogAxis {

void setUp(QCPAxis *axis);
// Fits the axis to what it shows, with room around it, and at least a
// decade and a half wide: a narrower one would be labelled between the
// powers of ten, where the labels crowd each other.
void fit(QCPAxis *axis);

}  // namespace LogAxis
