"""What a tool costs less Wine's own start-up, and whether this run can say.

Wine's start-up swings from run to run (one run saw 29 ms to 645 ms), so one
tool run less one start-up sample can come out negative. Each tool run is
therefore paired with the start-up measured just before and just after it,
and the net figure is the median of those pairs' differences with an interval
that holds the true median at least 95 % of the time: the k-th smallest and
k-th largest differences, k from the binomial distribution (no assumption
about the shape of the swings). When that interval does not lie wholly above
zero, the run cannot tell the tool's own time from Wine's noise, and says so
instead of printing a figure.
"""

import math
import statistics

CONFIDENCE = 0.95


def median_interval(values, confidence=CONFIDENCE):
    """(low, high) order statistics that hold the median with at least
    `confidence`, or None when there are too few values for that."""
    n = len(values)
    ordered = sorted(values)
    k, below = 0, 0.0  # below: P(X <= k - 1) for X ~ Binomial(n, 1/2)
    while k < n // 2:
        below_next = below + math.comb(n, k) / 2 ** n
        if 2 * below_next > 1 - confidence:
            break
        k, below = k + 1, below_next
    if k == 0:
        return None
    return ordered[k - 1], ordered[n - k]


def paired_differences(totals, before, after):
    """Each run's time less the mean of the start-ups measured around it."""
    return [t - (b + a) / 2 for t, b, a in zip(totals, before, after)]


class NetFigure:
    """The median difference and its interval, or why there is no figure."""

    def __init__(self, differences):
        self.n = len(differences)
        self.median = statistics.median(differences) if differences else None
        self.lowest = min(differences) if differences else None
        self.highest = max(differences) if differences else None
        self.interval = median_interval(differences) if differences else None
        if self.interval is None:
            self.why_not = "%d runs are too few for a %d %% interval" % (self.n, CONFIDENCE * 100)
        elif self.interval[0] <= 0:
            self.why_not = ("Wine's start-up swung more than the tool's own work: the %d %% interval of the "
                            "median difference, %.1f to %.1f ms, reaches zero"
                            % (CONFIDENCE * 100, self.interval[0] * 1e3, self.interval[1] * 1e3))
        else:
            self.why_not = None

    @property
    def measured(self):
        return self.why_not is None

    def cell(self):
        """The time column of the table."""
        if not self.measured:
            return "cannot be measured on this run"
        low, high = self.interval
        return "%.1f (%.1f to %.1f)" % (self.median * 1e3, low * 1e3, high * 1e3)

    def ratio_cell(self, base):
        return "%.2f" % (self.median / base) if self.measured else ""

    def goal_line(self, base, goal):
        """The goal's line: the verdict stands on the interval's low end, the
        slowest the tool can be said to be."""
        if not self.measured:
            return "less Wine's start-up: cannot be measured on this run (%s)" % self.why_not
        ratio, least = self.median / base, self.interval[0] / base
        return "less Wine's start-up: %.0fx faster (at least %.0fx): %s" % (
            ratio, least, "met" if least >= goal else "NOT met")
