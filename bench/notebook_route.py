#!/usr/bin/env python3
"""The notebook route: what users do instead of skidlog-report.

Reads skidlog's per-wheel CSV with pandas and fits the same two curves per
wheel (lateral grip against slip angle, longitudinal grip against slip ratio)
with scipy's robust least squares (Cauchy loss), on the same subset of rows
the report fits. Prints the coefficients; the benchmark times it.

    notebook_route.py LAP.csv
"""
import sys

import numpy as np
import pandas as pd
from scipy.optimize import least_squares


def magic_formula(p, x):
    b, c, d, e, sh, sv = p
    u = b * (x + sh)
    return d * np.sin(c * np.arctan(u - e * (u - np.arctan(u)))) + sv


def fit(x, y, lower, upper, start):
    result = least_squares(lambda p: magic_formula(p, x) - y, start, bounds=(lower, upper), loss="cauchy",
                           f_scale=0.05)
    return result.x


def main():
    df = pd.read_csv(sys.argv[1], skipinitialspace=True)
    for wheel, rows in df.groupby("wheel number"):
        load = rows["tyre normal load [N]"]
        rows = rows[(rows["longitudinal speed [m/s]"] >= 5) & (load >= 0.2 * load.median()) &
                    (rows["slip angle [deg]"].abs() < 30) & (rows["slip ratio"].abs() < 1)]
        lateral = rows[rows["slip ratio"].abs() <= 0.1]
        longitudinal = rows[rows["slip angle [deg]"].abs() <= 3]
        lat = fit(lateral["slip angle [deg]"].to_numpy(), lateral["tyre lateral grip"].to_numpy(),
                  [0.01, 1, 0.1, -3, -3, -0.3], [2, 2.2, 3.5, 1, 3, 0.3], [0.2, 1.5, 1.2, 0, 0, 0])
        lon = fit(longitudinal["slip ratio"].to_numpy(), longitudinal["tyre longitudinal grip"].to_numpy(),
                  [1, 1, 0.1, -3, -0.05, -0.15], [100, 2.2, 3.5, 1, 0.05, 0.15], [10, 1.6, 1.2, 0, 0, 0])
        print(wheel, "lateral", np.round(lat, 4), "longitudinal", np.round(lon, 4))


if __name__ == "__main__":
    main()
