#!/usr/bin/env python3
"""The report of the figures less Wine's start-up, on made-up figures."""

import math
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import paired  # noqa: E402


def binomial_tail(n, k):
    """P(X <= k) for X ~ Binomial(n, 1/2)."""
    return sum(math.comb(n, i) for i in range(k + 1)) / 2 ** n


class MedianInterval(unittest.TestCase):
    def test_order_statistics_with_at_least_95_percent(self):
        # (n, k): the k-th smallest and largest hold the median with
        # 1 - 2 P(X <= k - 1) >= 0.95, and k + 1 would not.
        for n, k in ((6, 1), (7, 1), (8, 1), (9, 2), (11, 2), (12, 3), (20, 6)):
            self.assertGreaterEqual(1 - 2 * binomial_tail(n, k - 1), 0.95, n)
            self.assertLess(1 - 2 * binomial_tail(n, k), 0.95, n)
            values = list(range(n, 0, -1))  # n .. 1, given in no order
            self.assertEqual(paired.median_interval(values), (k, n + 1 - k), n)

    def test_too_few_values_give_no_interval(self):
        # Five values: even the smallest and largest hold the median only
        # 1 - 2/32 = 93.75 % of the time.
        for n in range(0, 6):
            self.assertIsNone(paired.median_interval(list(range(n))), n)


class Differences(unittest.TestCase):
    def test_each_run_less_the_mean_of_the_start_ups_around_it(self):
        self.assertEqual(paired.paired_differences([0.050, 0.300], [0.020, 0.040], [0.030, 0.640]),
                         [0.050 - 0.025, 0.300 - 0.340])


class Net(unittest.TestCase):
    def test_steady_start_ups_give_the_median_and_its_interval(self):
        d = [0.0251, 0.0249, 0.0262, 0.0240, 0.0255, 0.0230, 0.0270]
        net = paired.NetFigure(d)
        self.assertTrue(net.measured)
        self.assertEqual(net.cell(), "25.1 (23.0 to 27.0)")
        self.assertEqual(net.ratio_cell(0.002), "12.55")

    def test_swinging_start_ups_give_no_figure(self):
        # The run the figures once came out negative in: start-ups of 29 to
        # 645 ms around rcedit runs of about the same.
        totals = [0.049, 0.310, 0.060, 0.650, 0.052, 0.070, 0.055]
        before = [0.029, 0.645, 0.030, 0.600, 0.031, 0.300, 0.028]
        after = [0.031, 0.520, 0.029, 0.640, 0.030, 0.040, 0.030]
        net = paired.NetFigure(paired.paired_differences(totals, before, after))
        self.assertFalse(net.measured)
        self.assertEqual(net.cell(), "cannot be measured on this run")
        self.assertEqual(net.ratio_cell(0.002), "")
        self.assertIn("reaches zero", net.why_not)
        self.assertNotIn("faster", net.goal_line(0.002, 50))

    def test_an_interval_that_touches_zero_gives_no_figure(self):
        net = paired.NetFigure([0.0, 0.010, 0.011, 0.012, 0.013, 0.014, 0.020])
        self.assertFalse(net.measured)

    def test_too_few_runs_give_no_figure_however_steady(self):
        net = paired.NetFigure([0.025] * 5)
        self.assertFalse(net.measured)
        self.assertIn("too few", net.why_not)

    def test_the_goal_stands_on_the_low_end_of_the_interval(self):
        d = [0.090, 0.100, 0.100, 0.100, 0.100, 0.100, 0.110]  # 0.09 to 0.11
        net = paired.NetFigure(d)
        self.assertEqual(net.goal_line(0.002, 50), "less Wine's start-up: 50x faster (at least 45x): NOT met")
        self.assertEqual(net.goal_line(0.0017, 50), "less Wine's start-up: 59x faster (at least 53x): met")


if __name__ == "__main__":
    unittest.main()
