#pragma once

// The chi-squared distribution for any positive, not necessarily whole,
// number of degrees of freedom: what turns an estimate's equivalent degrees
// of freedom into its confidence interval.
class ChiSquared
{
public:
    // P(X <= x).
    static double cdf(double x, double dof);
    // The x with cdf(x) = p, 0 < p < 1.
    static double quantile(double p, double dof);

    // A deviation's interval at confidence `level` (0.683 is one sigma):
    // sigma * sqrt(dof / chi2) at the upper and the lower tail.
    struct Interval {
        double low = 0;
        double high = 0;
    };
    static Interval interval(double deviation, double dof, double level);
};
