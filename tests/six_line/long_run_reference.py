#!/usr/bin/env python3
"""Expected outputs of the six-line long run (six_line_long_run_test.cpp).

Written from the controller's equations alone, in Python floats (IEEE doubles, one
operation at a time in the controller's grouping); shares no code with the unit. Prints the
checkpoint rows that the test holds as literals. Run: python3 long_run_reference.py
"""
import math

ATTACH = [0.5371045802570896, -0.9302924219832349, -0.3875, 0.5371045802570896,
          -0.9302924219832349, -0.3875, 0.5371045802570896, 0.9302924219832349, -0.3875,
          0.5371045802570896, 0.9302924219832349, -0.3875, -1.0742091605141793, 0.0, -0.3875,
          -1.0742091605141793, -0.0, -0.3875]
ANCHOR = [0.0, -30.0, -0.3875, 25.980762113533157, -15.0, -0.3875, 25.980762113533157, 15.0,
          -0.3875, 0.0, 30.0, -0.3875, -25.980762113533157, 15.0, -0.3875,
          -25.980762113533157, -15.0, -0.3875]
D2R = 0.017453292519943295
R2D = 57.29577951308232


class Controller:
    def __init__(self):
        self.threshold, self.gain, self.stiffness, self.radius = 0.01, 0.01, 140.0, 0.05
        self.acc = [0.0] * 6
        self.integral = [0.0] * 6
        self.ref = [0.0] * 6
        self.prev = [0.0] * 6
        self.count = 0
        self.time = 0.0

    def lengths(self, pos, att):
        phi, th, ps = D2R * att[0], D2R * att[1], D2R * att[2]
        cf, sf, ct, st = math.cos(phi), math.sin(phi), math.cos(th), math.sin(th)
        cp, sp = math.cos(ps), math.sin(ps)
        R = [[cp * ct, ((cp * st) * sf) + ((-sp) * cf), ((cp * st) * cf) + (sp * sf)],
             [sp * ct, ((sp * st) * sf) + (cp * cf), ((sp * st) * cf) + ((-cp) * sf)],
             [-st, ct * sf, ct * cf]]
        out = []
        for i in range(6):
            a, b = ATTACH[3 * i:3 * i + 3], ANCHOR[3 * i:3 * i + 3]
            v = [b[p] - ((((R[p][1] * a[1]) + (R[p][0] * a[0])) + (R[p][2] * a[2])) + pos[p])
                 for p in range(3)]
            out.append(math.sqrt(((v[1] * v[1]) + (v[0] * v[0])) + (v[2] * v[2])))
        return out

    def step(self, pos, att, tension, setpoint, activation):
        inv = 1.0 / self.radius
        active = 0.0 if self.threshold > activation else 1.0
        length = self.lengths(pos, att)
        cmd, terms = [], None
        held = []
        for i in range(6):
            s = (inv * self.acc[i]) * R2D
            g_int = (inv * self.integral[i]) * R2D
            h = self.ref[i] if active > 0.5 else length[i]
            g = ((h - length[i]) * inv) * R2D
            held.append(h)
            cmd.append((s + g_int) + g)
            if i == 0:
                terms = (s, g, g_int)
        outputs = cmd + list(terms) + [self.time]
        for i in range(6):
            inc = (tension[i] - self.prev[i]) if active > 0.5 else 0.0
            err = tension[i] - setpoint[i]
            rate = (err * active) * self.gain
            self.acc[i] = (1.0 * (inc / self.stiffness)) + self.acc[i]
            self.integral[i] = (0.005 * rate) + self.integral[i]
            self.ref[i] = held[i]
            self.prev[i] = tension[i]
        self.count += 1
        self.time = self.count * 0.005
        return outputs


def inputs(j):
    pos = [(j % 7) * 0.125 - 0.25, (j % 5) * -0.0625 + 0.1, (j % 3) * 0.03]
    att = [(j % 11) * 0.5 - 2.0, (j % 13) * -0.25 + 1.5, (j % 17) * 3.0 - 20.0]
    tension = [100.0 + ((j * (i + 3)) % 19) * 2.5 + i for i in range(6)]
    setpoint = [105.0 + i * 0.5 if j < 60 else 110.0 - i for i in range(6)]
    if j < 10:
        act = 0.0
    elif j < 40:
        act = 1.0
    elif j < 55:
        act = 0.0
    elif j < 90:
        act = 0.02
    elif j < 100:
        act = 0.005
    else:
        act = 0.01
    return pos, att, tension, setpoint, act


def local_steps(j):
    return 1 + j % 3


CHECKPOINTS = [1, 9, 10, 11, 12, 25, 39, 40, 41, 54, 55, 56, 61, 79, 80, 81, 95, 100, 101, 119]

if __name__ == "__main__":
    c = Controller()
    out = c.step(*inputs(0))  # the step of leaving initialisation
    for j in range(1, 120):
        if j == 70:
            c.gain = 0.02
        if j == 80:
            c.radius = 0.0625
        for _ in range(local_steps(j)):
            out = c.step(*inputs(j))
        if j in CHECKPOINTS:
            print("    {%d, {%s}}," % (j, ", ".join(repr(v) for v in out)))
