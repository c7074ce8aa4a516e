#!/usr/bin/env python3
"""Expected commands of the mixed run in station_run_test.cpp.

Written from the controller's equations alone (it shares no code with the unit): full 3x3
products summed as (m0 x0 + m1 x1) + m2 x2, rate limiters with strict tests, the integrator
restarted on rising edges of the gain-change flag, explicit Euler on the rotated error.
Python floats are IEEE doubles and math.sin/cos come from the C library, so the printed
hex literals are what a correct unit gives here, up to the last bits of sin and cos.
"""
import math

DEG = 0.017453292519943295  # pi/180 as stored by the unit
RAD = 57.29577951308232     # 180/pi
H = 0.005

def rz(a):
    c = math.cos(a); s = math.sin(a)
    return [[c, -s, 0.0], [s, c, 0.0], [0.0, 0.0, 1.0]]

def diag(a, b, c):
    return [[a, 0.0, 0.0], [0.0, b, 0.0], [0.0, 0.0, c]]

def tr(m):
    return [[m[c][r] for c in range(3)] for r in range(3)]

def mv(m, x):
    return [(m[r][0] * x[0] + m[r][1] * x[1]) + m[r][2] * x[2] for r in range(3)]

def limit(u, last, lastTime, rise, fall):
    if lastTime == math.inf:
        return u
    d = u - last
    if d > rise:
        return last + rise
    if fall > d:
        return last + fall
    return u

# Parameters of the run (the test sets the same).
P = dict(yReference=-0.2, xReference=0.4, headingOscillationAmplitudeDeg=5.0,
         positionOscillationAmplitude=0.3, gainFrameAngleDeg=25.0, oscillationDirectionDeg=30.0,
         dampingGainX=20.0, dampingGainYaw=3.0, dampingGainY=25.0,
         integralGainX=1.5, integralGainYaw=0.5, integralGainY=2.0,
         proportionalGainX=40.0, proportionalGainYaw=4.0, proportionalGainY=45.0,
         headingRateLimitDeg=10.0, positionRateLimit=1.0, oscillationPeriod=0.04,
         headingReferenceDeg=3.0)

STEPS = 12

def inputs(k):
    """Inputs of step k (k = 0 is the step of fmi2ExitInitializationMode)."""
    return [0.1 + 0.02 * k, -0.05 * k, 0.5 - 0.1 * k, 0.3, -0.2 + 0.01 * k, 2.0 - 0.5 * k,
            0.003 * k]

def gainChanges(k):
    """Integral gains changed before step k: in 4 and 5 (one restart), again in 7."""
    return {4: dict(integralGainX=2.5), 5: dict(integralGainYaw=0.75),
            7: dict(integralGainY=1.0)}.get(k, {})

def run():
    p = dict(P)
    limMem = [[0.0, math.inf] for _ in range(3)]
    prevGains = [0.0, 0.0, 0.0]
    trigger = 3
    xi = [0.0, 0.0, 0.0]
    rows = []
    for k in range(STEPS):
        p.update(gainChanges(k))
        posX, posY, hdg, u, v, r, oscT = inputs(k)
        t = k * H + 0 * H * 4294967296.0 if k else 0.0
        psi = DEG * hdg
        Hr = rz(psi)
        G = rz(DEG * p['gainFrameAngleDeg'])
        D = diag(p['dampingGainX'], p['dampingGainY'], RAD * p['dampingGainYaw'])
        GT = tr(G)
        Pg = diag(p['proportionalGainX'], p['proportionalGainY'], RAD * p['proportionalGainYaw'])
        hRef = DEG * p['headingReferenceDeg']
        dirRad = DEG * p['oscillationDirectionDeg']
        ampRad = DEG * p['headingOscillationAmplitudeDeg']
        s = ax = ay = 0.0
        if abs(p['oscillationPeriod']) > 0.01:
            s = math.sin(6.283185307179586 / p['oscillationPeriod'] * oscT)
            ax = math.cos(dirRad) * p['positionOscillationAmplitude'] * s
            ay = math.sin(dirRad) * p['positionOscillationAmplitude'] * s
            s = s * ampRad
        refs = [ax + p['xReference'], ay + p['yReference'], hRef + s]
        lim = []
        for i in range(3):
            L, T = limMem[i]
            dt = t - T
            if i < 2:
                rise = dt * p['positionRateLimit']; fall = (-p['positionRateLimit']) * dt
            else:
                rise = p['headingRateLimitDeg'] * 3.141592653589793 / 180.0 * dt
                fall = (-p['headingRateLimitDeg']) * 3.141592653589793 / 180.0 * dt
            lim.append(limit(refs[i], L, T, rise, fall))
        e = [posX - lim[0], posY - lim[1], psi - lim[2]]
        re = mv(GT, e)
        I = diag(p['integralGainX'], p['integralGainY'], RAD * p['integralGainYaw'])
        gains = [p['integralGainX'], p['integralGainY'], p['integralGainYaw']]
        changed = 0 if gains == prevGains else 1
        fire = changed == 1 and trigger != 1
        trigger = changed
        if fire:
            xi = [0.0, 0.0, 0.0]
        w = [u, v, DEG * r]
        damping = mv(D, mv(GT, mv(Hr, w)))
        prop = mv(Pg, re)
        integ = mv(I, xi)
        tau = [integ[i] + (damping[i] + prop[i]) for i in range(3)]
        b2 = mv(tr(Hr), mv(G, tau))
        rows.append([-1.0 * b2[i] for i in range(3)])
        limMem = [[lim[i], t] for i in range(3)]
        prevGains = gains
        xi = [H * re[i] + xi[i] for i in range(3)]
    return rows

if __name__ == '__main__':
    for row in run():
        print('    {%s},' % ', '.join(x.hex() for x in row))
