#pragma once

#include <QtGlobal>

#include <vector>

// The equivalent degrees of freedom of a stability variance estimated from
// one run, for power-law noise, after Greenhall and Riley ("Uncertainty of
// stability variances based on finite differences", 2003), the algorithm NIST
// SP 1065 and Stable32 use: edf = 2 E[V]^2 / Var[V], with V the mean of M
// squared terms and the correlation of the terms worked out from the noise's
// generalised autocovariance. The phase is taken as the average of a
// continuous process over each sample interval; time below is in units of
// tau = m tau0.
//
// Correlations are summed up to d + 1 units of lag, where they end for the
// noises of even alpha; beyond about two thousand lags the sum is taken as an
// integral between the integer lags, where the correlation is smooth, and
// summed term by term near them.
class GreenhallEdf
{
public:
    // `alpha` 2 .. -4 (alpha + 2 d > 1); `d` 2 (Allan) or 3 (Hadamard);
    // `averaged`: the modified variance; `overlapping`: a term at every
    // reading, otherwise every m-th.
    GreenhallEdf(int alpha, int d, bool averaged, bool overlapping, qint64 m);

    // Of an estimate from `terms` terms of one run; 0 without terms.
    double of(qint64 terms) const;

    // The correlation of two terms `lag` terms apart.
    double correlation(double lag) const;

private:
    double secondDifference(double t) const;
    double sx(double t) const;
    double sz(double u) const;
    void addNode(double lag, double weight);

    struct Node {
        double lag;
        double weight;
        double squared;  // correlation squared
    };

    int m_alpha;
    int m_d;
    double m_h;             // the averaging window of the phase, in units
    double m_lagsPerUnit;   // terms per unit of time
    qint64 m_cutoff;        // lags below this are summed
    double m_zero;          // sz(0)
    std::vector<Node> m_nodes;
};
