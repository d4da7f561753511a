#!/usr/bin/python3
# Trains the classifier that reads hand-written digits in the text boxes of
# returned paper forms, and writes it as plain numbers into data/digits.model,
# which returns/DigitClassifier.cpp loads. Run it with Debian's python3
# (python3-opencv, python3-sklearn, python3-numpy) and opencv-doc installed:
#     /usr/bin/python3 tools/digits/train_digits.py [--out DIR]
# (--out writes the model and the test files under DIR instead, to compare.)
# The digits come from Debian packages only (digit_data.py), whole writers and
# rows held out. Each training digit is used as it is and in COPIES distorted
# copies (slant, rotation, proportions, pen width). The
# held-out curves (evaluation.py) are printed, and the model carries the
# threshold of a sure digit (at most 1 in 1,000 wrong) and the bar each digit
# of a number of one to four digits must pass (at most 1 in 500 numbers wrong).
import os
import sys

import numpy as np
from sklearn.neural_network import MLPClassifier

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import digit_data as dd  # noqa: E402
import digit_features as df  # noqa: E402
import evaluation as ev  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
HIDDEN = 96
COPIES = 8
# Train also on wobbling strokes, dark pens and large ink (digit_data.distort).
WOBBLE = True
# Copies of each digit drawn into a box and cut out as the reader does
# (digit_data.box_drawn): as it is, and distorted; without them the wobbling
# copies leave the model unsteady on digits drawn large into a box.
BOXED = 2
SEED = 35
MODELS = 5


def training_set(rng):
    """The pictures and labels trained on: no held-out digit among them."""
    cv_pics, cv_labels, cv_held = dd.opencv_digits()
    sk_pics, sk_labels, sk_held, _, _ = dd.sklearn_digits()
    pics = [p for p, h in zip(cv_pics, cv_held) if not h]
    pics += [p for p, h in zip(sk_pics, sk_held) if not h]
    labels = list(cv_labels[~cv_held]) + list(sk_labels[~sk_held])
    base = list(zip(pics, labels))
    for _ in range(COPIES):
        for p, label in base:
            pics.append(dd.distort(p, rng, wobble=WOBBLE))
            labels.append(label)
    for k in range(BOXED):
        for p, label in base:
            pics.append(dd.box_drawn(p if k == 0 else dd.distort(p, rng, wobble=WOBBLE), rng))
            labels.append(label)
    for _ in range(600):
        for digit in (1, 7):
            pics.append(dd.distort(dd.stroke_digit(digit, rng), rng, wobble=WOBBLE))
            labels.append(digit)
    return pics, np.array(labels)


def main():
    root = ROOT
    if len(sys.argv) == 3 and sys.argv[1] == '--out':
        root = os.path.abspath(sys.argv[2])
    elif len(sys.argv) != 1:
        sys.exit('usage: train_digits.py [--out DIR]')
    pics, y = training_set(np.random.default_rng(SEED))
    print('training on %d pictures' % len(pics), flush=True)
    x = dd.featurise(pics)
    mean = x.mean(axis=0)
    scale = x.std(axis=0) + 1e-3
    models = []
    for k in range(MODELS):
        model = MLPClassifier(hidden_layer_sizes=(HIDDEN,), alpha=3e-4, batch_size=256,
                              learning_rate_init=2e-3, max_iter=60, random_state=SEED + k)
        model.fit((x - mean) / scale, y)
        models.append(model)
    nets = [(m.coefs_[0], m.intercepts_[0], m.coefs_[1], m.intercepts_[1]) for m in models]
    threshold, bars, pred, margin = ev.report(nets, mean, scale)
    write_model(root, models, mean, scale, threshold, bars)
    _, sk_labels, _, sk_raw, _ = dd.sklearn_digits()
    write_heldout(root, sk_raw[dd.SKLEARN_SPLIT:], sk_labels[dd.SKLEARN_SPLIT:])
    write_expected(root, pred[:1000], margin[:1000])


def numbers(values):
    return ' '.join('%.7g' % v for v in np.asarray(values, np.float64).ravel())


def write_model(root, models, mean, scale, threshold, bars):
    path = os.path.join(root, 'data', 'digits.model')
    os.makedirs(os.path.dirname(path), exist_ok=True)
    lines = [
        'quillora-digits 1',
        'features %d' % df.FEATURES,
        'hidden %d' % HIDDEN,
        'networks %d' % len(models),
        'threshold %.2f' % threshold,
        'number-bars ' + numbers(bars),
        'mean ' + numbers(mean),
        'scale ' + numbers(scale),
    ]
    for model in models:
        # Stored row by row: hidden x features, then 10 x hidden.
        lines += ['w1 ' + numbers(model.coefs_[0].T), 'b1 ' + numbers(model.intercepts_[0]),
                  'w2 ' + numbers(model.coefs_[1].T), 'b2 ' + numbers(model.intercepts_[1])]
    with open(path, 'w') as f:
        f.write('\n'.join(lines) + '\n')
    print('wrote ' + path)


def write_heldout(root, images, labels):
    """The held-out scikit-learn writers, for the tests: label and 64 values 0..16."""
    path = os.path.join(root, 'tests', 'digits', 'sklearn_heldout.txt')
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'w') as f:
        for img, label in zip(images, labels):
            f.write('%d %s\n' % (label, ' '.join(str(int(v)) for v in img.ravel())))
    print('wrote ' + path)


def write_expected(root, pred, margin):
    """Digit and margin of every tenth held-out cell of digits.png (row, column),
    for the test that the program computes what the training computed."""
    path = os.path.join(root, 'tests', 'digits', 'expected_guesses.txt')
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'w') as f:
        i = 0
        for row in range(4, 50, 5):
            for col in range(100):
                if col % 10 == 0:
                    f.write('%d %d %d %.4f\n' % (row, col, pred[i], margin[i]))
                i += 1
    print('wrote ' + path)


if __name__ == '__main__':
    main()
