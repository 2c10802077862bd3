#!/usr/bin/env python3
"""Summarise a tickshim log: tick period, present period, sleep accuracy, music changes.
Usage: period_analyze.py LOG [--skip-s N | --last-s N]  (skip N s after the first tick / keep only the last N s)"""
import sys

def pct(v, p):
    if not v:
        return float('nan')
    v = sorted(v)
    k = min(len(v) - 1, max(0, int(round(p / 100.0 * (len(v) - 1)))))
    return v[k]

def summ(name, v, unit='ms'):
    if not v:
        print(f"{name:34s} n=0")
        return
    print(f"{name:34s} n={len(v):6d} median={pct(v,50):7.2f} mean={sum(v)/len(v):7.2f} p99={pct(v,99):7.2f} max={max(v):7.2f} min={min(v):7.2f} {unit}")

log = sys.argv[1]
skip = 0.0
if '--skip-s' in sys.argv:
    skip = float(sys.argv[sys.argv.index('--skip-s') + 1])
recs = []
for line in open(log, errors='replace'):
    f = line.split()
    if len(f) < 2:
        continue
    try:
        recs.append((f[0], int(f[1]), f[2:]))
    except ValueError:
        pass
recs.sort(key=lambda r: r[1])
ticks = [r[1] for r in recs if r[0] == 'M']
t_start = (ticks[0] if ticks else (recs[0][1] if recs else 0)) + skip * 1e9
if '--last-s' in sys.argv and recs:
    t_start = recs[-1][1] - float(sys.argv[sys.argv.index('--last-s') + 1]) * 1e9
recs = [r for r in recs if r[1] >= t_start]
ticks = [r[1] for r in recs if r[0] == 'M']
pres = [r[1] for r in recs if r[0] == 'P']
pdur = [int(r[2][0]) / 1e6 for r in recs if r[0] == 'P']
sleeps = [(r[1], int(r[2][0]), int(r[2][1])) for r in recs if r[0] == 'S']
changes = [(r[1], int(r[2][0]) / 1e6) for r in recs if r[0] == 'C']
halts = [int(r[2][0]) / 1e6 for r in recs if r[0] == 'H']
audio = [(r[1], float(r[2][1]), int(r[2][2])) for r in recs if r[0] == 'A']
span = (recs[-1][1] - recs[0][1]) / 1e9 if recs else 0
print(f"log {log}: {span:.1f} s analysed")
tp = [(b - a) / 1e6 for a, b in zip(ticks, ticks[1:])]
summ("tick period (Mix_PlayingMusic)", tp)
if tp:
    print(f"{'':34s} ticks/s={len(tp)/((ticks[-1]-ticks[0])/1e9):.2f}  >20ms: {sum(1 for x in tp if x>20)}  >25ms: {sum(1 for x in tp if x>25)}  >33ms: {sum(1 for x in tp if x>33.4)}")
pp = [(b - a) / 1e6 for a, b in zip(pres, pres[1:])]
summ("present period", pp)
if len(pres) > 1:
    print(f"{'':34s} presents/s={(len(pres) - 1) / ((pres[-1] - pres[0]) / 1e9):.2f}")
summ("present duration", pdur)
ms1 = [g / 1e6 for (_, req, g) in sleeps if req == 1000000]
summ("sleep(1 ms) actual", ms1)
other = [(req, g) for (_, req, g) in sleeps if req != 1000000]
if other:
    summ("other sleeps actual", [g / 1e6 for _, g in other])
    reqs = {}
    for req, g in other:
        reqs[req] = reqs.get(req, 0) + 1
    print(f"{'':34s} requested (ns: count) {dict(sorted(reqs.items())[:8])}")
# sleeps per tick
if ticks and sleeps:
    import bisect
    st = [s[0] for s in sleeps]
    per = [bisect.bisect_left(st, b) - bisect.bisect_left(st, a) for a, b in zip(ticks, ticks[1:])]
    summ("sleeps per tick", per, 'calls')
    # time in the tick not spent sleeping
    sl_cum = [0]
    for s in sleeps:
        sl_cum.append(sl_cum[-1] + s[2])
    awake = []
    for a, b in zip(ticks, ticks[1:]):
        i, j = bisect.bisect_left(st, a), bisect.bisect_left(st, b)
        awake.append(((b - a) - (sl_cum[j] - sl_cum[i])) / 1e6)
    summ("awake time per tick", awake)
# music changes: the tick period around each change
for t, d in changes:
    near = [(b - a) / 1e6 for a, b in zip(ticks, ticks[1:]) if a <= t + 0.2e9 and b >= t - 0.2e9]
    print(f"music piece start at +{(t - t_start)/1e9:7.2f} s: Mix_PlayMusic took {d:.2f} ms; tick periods within 200 ms: {['%.1f' % x for x in near]}")
if halts:
    summ("Mix_HaltMusic duration", halts)
if audio:
    rms = [a[1] for a in audio]
    quiet = sum(1 for x in rms if x < 1.0)
    print(f"audio post-mix: {len(audio)} one-second blocks, rms median={pct(rms,50):.1f} max={max(rms):.1f}, peak max={max(a[2] for a in audio)}, silent blocks (rms<1): {quiet}")
