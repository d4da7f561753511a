# The hand-written digits the classifier learns from and is measured on, all
# from Debian packages: opencv-doc's digits.png (5,000 digits of 20 x 20, 500
# per digit in five rows of 100) and scikit-learn's 1,797 digits of 8 x 8 from
# 43 writers. Whole blocks are held out: the last row of 100 of every digit in
# digits.png, and scikit-learn's samples from index 1,440 on. Also the
# distortions that turn one writer's digit into another's, and the features.
import sys

import cv2
import numpy as np
from sklearn.datasets import load_digits

import digit_features as df

DIGITS_PNG = '/usr/share/doc/opencv-doc/examples/data/digits.png'
SKLEARN_SPLIT = 1440


def opencv_digits():
    """(ink pictures, labels, held out?) of digits.png; ink 0..1."""
    sheet = cv2.imread(DIGITS_PNG, cv2.IMREAD_GRAYSCALE)
    if sheet is None:
        sys.exit('cannot read ' + DIGITS_PNG + ' (install opencv-doc)')
    pics, labels, held = [], [], []
    for row in range(50):
        for col in range(100):
            cell = sheet[row * 20:(row + 1) * 20, col * 20:(col + 1) * 20]
            pics.append(cell.astype(np.float32) / 255.0)
            labels.append(row // 5)
            held.append(row % 5 == 4)
    return pics, np.array(labels), np.array(held)


def sklearn_digits():
    d = load_digits()
    pics = []
    for img in d.images:
        # 8 x 8 of 0..16, already scaled: enlarge so that strokes have a width.
        pics.append(cv2.resize((img / 16.0).astype(np.float32), (24, 24),
                               interpolation=cv2.INTER_CUBIC).clip(0, 1))
    held = np.arange(len(pics)) >= SKLEARN_SPLIT
    return pics, d.target.copy(), held, d.images, d.target


def elastic(up, rng, alpha, sigma):
    """A hand's wobble: every part of the stroke moved a little, smoothly."""
    h, w = up.shape
    dx = cv2.GaussianBlur(rng.uniform(-1, 1, (h, w)).astype(np.float32), (0, 0), sigma) * alpha
    dy = cv2.GaussianBlur(rng.uniform(-1, 1, (h, w)).astype(np.float32), (0, 0), sigma) * alpha
    gx, gy = np.meshgrid(np.arange(w, dtype=np.float32), np.arange(h, dtype=np.float32))
    return cv2.remap(up, gx + dx, gy + dy, cv2.INTER_LINEAR, borderMode=cv2.BORDER_CONSTANT)


def distort(ink, rng, wobble=True):
    """Another writer's hand: slant, rotation, proportions and pen width; with
    wobble also a wobbling stroke, a dark pen (the reader saturates dark ink to
    full) and a size and smoothing that make the reader shrink the ink, as it
    does with a digit written into a box on a 300 dpi scan."""
    factor, smooth = 3.0, cv2.INTER_LINEAR
    if wobble:
        factor = rng.uniform(2.0, 5.0)
        smooth = cv2.INTER_CUBIC if rng.random() < 0.5 else cv2.INTER_LINEAR
    up = cv2.resize(ink, None, fx=factor, fy=factor, interpolation=smooth).clip(0, 1)
    if wobble and rng.random() < 0.6:
        up = elastic(up, rng, rng.uniform(20, 45) * factor / 3, 6.0 * factor / 3)
    pen = rng.integers(-2, 5)
    if pen > 0:
        side = max(2, int(round((pen + 1) * factor / 3)))
        up = cv2.dilate(up, cv2.getStructuringElement(cv2.MORPH_ELLIPSE, (side, side)))
    elif pen < 0:
        up = cv2.erode(up, cv2.getStructuringElement(cv2.MORPH_ELLIPSE, (2, 2)))
    if wobble and rng.random() < 0.5:
        up = up * rng.uniform(1.0, 3.0)
    h, w = up.shape
    angle = np.radians(rng.uniform(-12, 12))
    shear = rng.uniform(-0.35, 0.35)
    sx, sy = rng.uniform(0.75, 1.25), rng.uniform(0.85, 1.15)
    rot = np.array([[np.cos(angle), -np.sin(angle)], [np.sin(angle), np.cos(angle)]])
    m = rot @ np.array([[sx, shear], [0, sy]])
    size = int(max(h, w) * 1.8)
    c_src = np.array([w / 2, h / 2])
    t = np.array([size / 2, size / 2]) - m @ c_src
    out = cv2.warpAffine(up, np.hstack([m, t[:, None]]).astype(np.float64), (size, size),
                         flags=cv2.INTER_LINEAR)
    return out.clip(0, 1)


def box_drawn(ink, rng):
    """The digit as the reader cuts it out of a scanned box: drawn 40 to 130
    pixels tall in a pen of grey 25 (black) to 110 (pencil) on paper, perhaps
    blurred by the scanner, stored as 8-bit grey, then turned into ink as
    returns/BoxNumber.cpp does (full ink at 0.55 of the paper's brightness,
    only the strokes above the ink contrast and their one-pixel edge kept)."""
    side = int(rng.integers(40, 131))
    big = cv2.resize(ink.astype(np.float32), (side, side), interpolation=cv2.INTER_CUBIC).clip(0, 1)
    paper = float(rng.uniform(215, 255))
    pen = float(rng.uniform(25, 110))
    grey = paper + (pen - paper) * big
    if rng.random() < 0.5:
        grey = cv2.GaussianBlur(grey, (0, 0), rng.uniform(0.5, 1.5))
    grey = np.round(grey).clip(0, 255)
    contrast = paper - grey
    value = (contrast / (0.55 * paper)).clip(0, 1).astype(np.float32)
    mask = (contrast > 0.3 * paper).astype(np.uint8)
    mask = cv2.dilate(mask, np.ones((3, 3), np.uint8))
    return value * mask


def stroke_digit(digit, rng):
    """The continental 1 (long up-stroke, often a foot) and the crossed 7,
    drawn as pen strokes: styles the training sheets hardly hold."""
    s = 60
    img = np.zeros((s, s), np.float32)
    j = lambda: rng.uniform(-3, 3)  # noqa: E731
    pen = int(rng.integers(2, 7))
    if digit == 1:
        top = (32 + j(), 8 + j())
        flag = (14 + rng.uniform(-4, 6), 26 + rng.uniform(-6, 8))
        bottom = (32 + j(), 52 + j())
        strokes = [[flag, top, bottom]]
        if rng.random() < 0.3:
            strokes.append([(24 + j(), 52 + j()), (40 + j(), 52 + j())])
    else:
        a = (16 + j(), 10 + j())
        b = (44 + j(), 10 + j())
        c = (26 + rng.uniform(-6, 6), 52 + j())
        strokes = [[a, b, c]]
        if rng.random() < 0.7:
            yy = 31 + rng.uniform(-3, 3)
            strokes.append([(24 + j(), yy), (44 + j(), yy + j() / 2)])
        if rng.random() < 0.3:  # a small hook down at the start
            strokes[0].insert(0, (a[0] + j() / 2, a[1] + 6 + j()))
    for st in strokes:
        pts = np.array([[p[0] * 4, p[1] * 4] for p in st], np.int32)
        cv2.polylines(img, [pts], False, 1.0, pen * 4, cv2.LINE_AA, shift=2)
    return img


def featurise(pics):
    out = []
    for p in pics:
        n = df.normalise(p)
        out.append(df.features(n) if n is not None else np.zeros(df.FEATURES, np.float32))
    return np.array(out)


