#!/usr/bin/python3
# Measures the digit classifier on digits it never saw in training: the
# held-out digits as written, the same slanted, resized and re-penned, and the
# same written sloppily (wobbling strokes, dark pens, steep slants). Prints the
# accepted share against the wrong ones for single digits and for whole
# numbers composed of them, and chooses the margin bars the model carries.
# Run on its own to measure a model file:
#     /usr/bin/python3 tools/digits/evaluation.py data/digits.model
import sys

import cv2
import numpy as np

import digit_data as dd

SEED = 36
GRID = list(range(0, 31))
SHOWN = [0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20]
NUMBERS = 4000          # numbers composed per set, of 1, 2, 3 and 4 digits alike
LONGEST = 4
# The sets the threshold and the bars are chosen on (the sloppy one is only shown).
CHOSEN = ('as written', 'large, dark pen', 'slanted, resized, other pens', 'drawn into a box')


def decide(nets, mean, scale, x):
    """nets: (w1 features x hidden, b1, w2 hidden x 10, b2) each. The digit of
    the summed scores, and the least lead it has over the runner-up in any one
    network (negative when a network disagrees)."""
    xs = (x - mean) / scale
    zs = [np.maximum(xs @ w1 + b1, 0) @ w2 + b2 for w1, b1, w2, b2 in nets]
    pred = np.argmax(sum(zs), axis=1)
    rows = np.arange(len(x))
    margin = np.full(len(x), np.inf)
    for z in zs:
        other = z.copy()
        other[rows, pred] = -np.inf
        margin = np.minimum(margin, z[rows, pred] - other.max(axis=1))
    return pred, margin


def held_out_sets():
    """name -> (pictures, labels): as written, large and dark, distorted (four
    copies), sloppy (two copies)."""
    cv_pics, cv_labels, cv_held = dd.opencv_digits()
    sk_pics, sk_labels, sk_held, _, _ = dd.sklearn_digits()
    pics = [p for p, h in zip(cv_pics, cv_held) if h] + [p for p, h in zip(sk_pics, sk_held) if h]
    labels = np.concatenate([cv_labels[cv_held], sk_labels[sk_held]])
    drng, srng = np.random.default_rng(SEED), np.random.default_rng(SEED + 1)
    distorted = [dd.distort(p, drng, wobble=False) for _ in range(4) for p in pics]
    sloppy = [dd.distort(dd.distort(p, srng), srng, wobble=False) for _ in range(2) for p in pics]
    large = []
    for p in pics:  # as a scan shows a digit written into a box: larger, darker
        side = int(srng.integers(40, 100))
        big = cv2.resize(p, (side, side), interpolation=cv2.INTER_CUBIC)
        large.append((big * srng.uniform(1.0, 3.0)).clip(0, 1))
    brng = np.random.default_rng(SEED + 2)
    boxed = [dd.box_drawn(p, brng) for p in pics]
    return {'as written': (pics, labels),
            'large, dark pen': (large, labels),
            'slanted, resized, other pens': (distorted, np.tile(labels, 4)),
            'sloppy': (sloppy, np.tile(labels, 2)),
            'drawn into a box': (boxed, labels)}


def digit_rows(pred, margin, labels):
    return {t: (int(np.sum(margin >= t)), int(np.sum((margin >= t) & (pred != labels))))
            for t in GRID}


def lowest_safe(rows_of_sets, per_wrong):
    """The lowest bar from which on, up the grid, the sets together have at
    most one wrong in per_wrong accepted digits. Pooled, since one odd digit
    in a set of 1,357 can neither prove nor disprove 1 in 2,000."""
    for t in GRID:
        if all(sum(rows[u][1] for rows in rows_of_sets) * per_wrong <=
               sum(rows[u][0] for rows in rows_of_sets) for u in GRID if u >= t):
            return t
    return GRID[-1]


def compose(labels, seed):
    """Index lists of NUMBERS numbers; no leading zero."""
    rng = np.random.default_rng(seed)
    by = [np.nonzero(labels == d)[0] for d in range(10)]
    out = []
    for k in range(NUMBERS):
        n = 1 + k % LONGEST
        out.append([rng.choice(by[rng.integers(1 if (i == 0 and n > 1) else 0, 10)])
                    for i in range(n)])
    return out


def number_tally(pred, margin, labels, numbers, bars):
    accepted = wrong = 0
    for idx in numbers:
        if margin[idx].min() >= bars[len(idx) - 1]:
            accepted += 1
            wrong += int(np.any(pred[idx] != labels[idx]))
    return accepted, wrong


def raise_bars(bars, sets):
    """The bars raised together until the composed numbers of every set, on
    its own, have at most 1 wrong in 500 accepted: a single confidently wrong
    digit recurs in many composed numbers, which the pooled digits hide."""
    for lift in range(0, GRID[-1]):
        lifted = [b + lift for b in bars]
        tallies = [number_tally(*result, numbers, lifted) for result, numbers in sets]
        if all(wrong * 500 <= accepted for accepted, wrong in tallies):
            return lifted
    return [b + GRID[-1] for b in bars]


def report(nets, mean, scale, chosen=None):
    """Prints the curves; returns (threshold, bars, pred and margin as written).
    chosen: (threshold, bars) of a model file, else chosen here."""
    results = {}
    for name, (pics, labels) in held_out_sets().items():
        pred, margin = decide(nets, mean, scale, dd.featurise(pics))
        results[name] = (pred, margin, labels)
    print('digits: accepted share, wrong of accepted, by margin bar')
    print('  bar  ' + ''.join('%-24s' % name[:22] for name in results))
    rows = {name: digit_rows(*r) for name, r in results.items()}
    for t in SHOWN:
        print('  %3d  ' % t + ''.join('%5.1f %% %3d of %-5d   ' % (
            100.0 * rows[n][t][0] / len(results[n][2]), rows[n][t][1], rows[n][t][0])
            for n in results))
    chosen_here = [rows[n] for n in CHOSEN]
    threshold = lowest_safe(chosen_here, 1000)
    bars = [lowest_safe(chosen_here, 500 * n) for n in range(1, LONGEST + 1)]
    bars = list(np.maximum.accumulate(bars))
    composed = {name: compose(r[2], SEED + 7) for name, r in results.items()}
    bars = raise_bars(bars, [(results[n], composed[n]) for n in CHOSEN])
    if chosen:
        threshold, bars = chosen
    print('threshold %g (1 in 1,000 digits); bars for 1..4 digits: %s' % (threshold, bars))
    print('numbers of 1 to 4 digits: accepted share, wrong of accepted')
    print('  rule                      ' + ''.join('%-24s' % name[:22] for name in results))
    rules = [('every digit >= %g' % t, [t] * LONGEST) for t in sorted({threshold, 8, 10, 12})]
    rules += [('bars %+d' % d, [b + d for b in bars]) for d in (-2, 0, 2, 4)]
    for rule, rule_bars in rules:
        line = '  %-24s  ' % rule
        for name, (pred, margin, labels) in results.items():
            acc, wrong = number_tally(pred, margin, labels, composed[name], rule_bars)
            line += '%5.1f %% %3d of %-5d   ' % (100.0 * acc / NUMBERS, wrong, acc)
        print(line)
    pred, margin, _ = results['as written']
    return threshold, bars, pred, margin


def load_model(path):
    """(nets, mean, scale, threshold, bars) of a model file."""
    values = {}
    nets = []
    for line in open(path):
        words = line.split()
        if not words:
            continue
        if words[0] == 'w1':
            nets.append({})
        target = nets[-1] if words[0] in ('w1', 'b1', 'w2', 'b2') else values
        target[words[0]] = np.array(words[1:], np.float64)
    hidden, features = int(values['hidden'][0]), int(values['features'][0])
    nets = [(n['w1'].reshape(hidden, features).T, n['b1'], n['w2'].reshape(10, hidden).T, n['b2'])
            for n in nets]
    threshold = float(values['threshold'][0])
    bars = list(values.get('number-bars', [threshold] * LONGEST))
    return nets, values['mean'], values['scale'], threshold, bars


if __name__ == '__main__':
    if len(sys.argv) != 2:
        sys.exit('usage: evaluation.py MODEL')
    nets, mean, scale, threshold, bars = load_model(sys.argv[1])
    report(nets, mean, scale, (threshold, bars))
