#!/usr/bin/env python3
"""Independent reference for the worked traverses of TraverseTableTest.cpp.

Plain textbook adjustment in 50-digit decimal arithmetic, written apart from the
program: directions from the measured angles, the angular misclosure spread in whole
seconds from the first angle, increments, the linear misclosure spread in proportion
to the legs, coordinates carried from the millimetre values shown in the table.
Run by hand: python3 traverse_reference.py
"""
from decimal import Decimal as D, getcontext, ROUND_HALF_EVEN, ROUND_HALF_UP

getcontext().prec = 50


def pi():
    # Machin's formula.
    def arctan_inv(x):
        x = D(x)
        total, term, k, sign = D(0), 1 / x, 1, 1
        x2 = x * x
        while True:
            t = term / k
            if t < D(10) ** -48:
                break
            total += sign * t
            term /= x2
            k += 2
            sign = -sign
        return total
    return 16 * arctan_inv(5) - 4 * arctan_inv(239)


PI = pi()


def sin(x):
    x = x % (2 * PI)
    total, term, k = D(0), x, 1
    while abs(term) > D(10) ** -48:
        total += term
        term = -term * x * x / ((k + 1) * (k + 2))
        k += 2
    return total


def cos(x):
    return sin(x + PI / 2)


def atan(x):
    # Argument reduction keeps the series short.
    if x < 0:
        return -atan(-x)
    if x > 1:
        return PI / 2 - atan(1 / x)
    if x > D("0.4"):
        return 2 * atan(x / (1 + (1 + x * x).sqrt()))
    total, term, k = D(0), x, 1
    while abs(term / k) > D(10) ** -48:
        total += term / k
        term = -term * x * x
        k += 2
    return total


def m360(x):
    # Decimal's remainder keeps the dividend's sign.
    r = x % 360
    return r + 360 if r < 0 else r


def rad(deg):
    return deg * PI / 180


def direction(x1, y1, x2, y2):
    dx, dy = x2 - x1, y2 - y1
    if dx == 0:
        return D(90) if dy > 0 else D(270)
    a = atan(dy / dx) * 180 / PI
    if dx < 0:
        a += 180
    return m360(a)


def dms(d, m, s, sign=1):
    return sign * (D(d) + D(m) / 60 + D(s) / 3600)


def mm(v):
    return v.quantize(D("0.001"), rounding=ROUND_HALF_UP)


def adjust(name, A, B, C, Dp, angles, legs):
    start = direction(*A, *B)
    closing = direction(*C, *Dp)
    dirs = [start]
    for b in angles:
        dirs.append(m360(dirs[-1] + b - 180) if b >= 0 else m360(dirs[-1] + 180 + b))
    f = dirs[-1] - closing
    f = m360(f + 180) - 180
    total = -int((f * 3600).quantize(D(1), rounding=ROUND_HALF_EVEN))
    count = len(angles) - 1
    corr = [0] * count
    for i in range(abs(total)):
        corr[i % count] += 1 if total > 0 else -1
    run = 0
    for k in range(1, len(angles)):
        run += corr[k - 1]
        dirs[k] += D(run) / 3600
    incs = [(d * cos(rad(a)), d * sin(rad(a))) for d, a in zip(legs, dirs[1:])]
    fx = sum(i[0] for i in incs) - (C[0] - B[0])
    fy = sum(i[1] for i in incs) - (C[1] - B[1])
    s = sum(legs)
    x, y = B
    print(f"{name}: start {start:.8f} closing {closing:.8f}")
    print(f"  f = {f * 3600:.4f}\"  corrections {corr}")
    print(f"  fx = {fx:.6f} fy = {fy:.6f}  length {s}  1:{(s / (fx * fx + fy * fy).sqrt()):.2f}")
    for k, ((dx, dy), d) in enumerate(zip(incs, legs)):
        vx, vy = -d / s * fx, -d / s * fy
        x, y = mm(x + mm(dx) + vx), mm(y + mm(dy) + vy)
        print(f"  after leg {k + 1}: increments {mm(dx)} {mm(dy)}  point {x} {y}")


adjust("anchored, type 1",
       (D("6100500.000"), D("4300200.000")), (D("6100000.000"), D("4300000.000")),
       (D("6100230.560"), D("4300640.210")), (D("6100700.000"), D("4300900.000")),
       [dms(38, 28, 28), dms(140, 56, 0, -1), dms(131, 31, 24), dms(158, 5, 47)],
       [D("242.731"), D("247.828"), D("238.369")])


def measured_loop():
    # A closed loop: it leaves B and comes back to it (C = B, D = A). The field book
    # is the true figure with a few seconds and millimetres of error added.
    A = (D("5240.000"), D("5010.000"))
    B = (D("5000.000"), D("5000.000"))
    P = [(D("5012.500"), D("5310.400")), (D("4750.250"), D("5402.750")),
         (D("4690.800"), D("5080.300"))]
    route = [A, B] + P + [B, A]
    angles = []
    for i in range(1, len(route) - 1):
        back = direction(*route[i], *route[i - 1])
        ahead = direction(*route[i], *route[i + 1])
        angles.append(m360(ahead - back))     # the left angle, turned from back
    errors = [4, -3, 5, 2, -6]
    angles = [round_seconds(b) + D(e) / 3600 for b, e in zip(angles, errors)]
    legs = []
    for p, q, e in zip(route[1:-2], route[2:-1], ["0.004", "-0.007", "0.003", "0.005"]):
        dx, dy = q[0] - p[0], q[1] - p[1]
        legs.append(mm((dx * dx + dy * dy).sqrt()) + D(e))
    # Angles beyond 180 are booked as right angles, the sign in the degrees.
    angles = [b if b < 180 else b - 360 for b in angles]
    for b in angles:
        sign, b = ("-" if b < 0 else "+"), abs(b)
        d = int(b)
        m = int((b - d) * 60)
        s = ((b - d) * 60 - m) * 60
        print(f"  angle {sign}{d} {m} {s.quantize(D(1))}")
    print(f"  legs {legs}")
    adjust("closed loop, type 1", A, B, B, A, angles, legs)


def round_seconds(b):
    return (b * 3600).quantize(D(1), rounding=ROUND_HALF_EVEN) / 3600


measured_loop()
