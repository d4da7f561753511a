# The features of one hand-written character, exactly as returns/DigitFeatures.cpp
# computes them: the ink is deskewed by its second moments, scaled so that its
# larger side fills 16 of 20 pixels, centred on its middle, brightened so that
# its strongest stroke is full ink, and described by gradient histograms of
# 4 x 4 cells plus a 10 x 10 picture of the ink. Both sides use the same OpenCV
# calls so that a model trained here reads the same numbers there.
import cv2
import numpy as np

FRAME = 20        # side of the normalised picture
INNER = 16        # side of the square the ink is scaled into
WORK = 80         # side of the intermediate picture (4 x FRAME)
MAX_SKEW = 1.0    # steeper slants are taken as they are
BINS = 12         # signed gradient directions per cell
CELL = 5          # 4 x 4 cells of 5 x 5 pixels
FEATURES = (FRAME // CELL) ** 2 * BINS + (FRAME // 2) ** 2
INK_LEVEL = 0.1   # below this an ink value counts as paper


def normalise(ink):
    """ink: float32 array, 0 paper .. 1 ink. Returns the 20 x 20 picture or None."""
    ink = np.ascontiguousarray(ink, dtype=np.float32)
    ys, xs = np.nonzero(ink > INK_LEVEL)
    if len(xs) == 0:
        return None
    ink = ink[ys.min():ys.max() + 1, xs.min():xs.max() + 1]
    h, w = ink.shape
    factor = 1.0
    if max(h, w) > 64:  # shrink large ink by area first: no stroke falls between samples
        factor = 64.0 / max(h, w)
        nw, nh = max(1, int(round(w * factor))), max(1, int(round(h * factor)))
        ink = cv2.resize(ink, (nw, nh), interpolation=cv2.INTER_AREA)
        h, w = ink.shape
    m = cv2.moments(ink)
    if m['m00'] <= 0:
        return None
    cx, cy = m['m10'] / m['m00'], m['m01'] / m['m00']
    skew = m['mu11'] / m['mu02'] if m['mu02'] > 1e-3 else 0.0
    skew = float(np.clip(skew, -MAX_SKEW, MAX_SKEW))
    # Extent of the deskewed ink: x' = x - skew * (y - cy).
    ys, xs = np.nonzero(ink > INK_LEVEL)
    sx = xs - skew * (ys - cy)
    left, right = sx.min(), sx.max() + 1.0
    top, bottom = float(ys.min()), float(ys.max()) + 1.0
    span = max(right - left, bottom - top, 1.0)
    scale = (INNER * WORK / FRAME) / span
    mx, my = (left + right) / 2.0, (top + bottom) / 2.0
    # dst = scale * (shear(src) - middle) + WORK / 2
    a = np.array([[scale, -scale * skew, WORK / 2.0 - scale * (mx - skew * cy)],
                  [0.0, scale, WORK / 2.0 - scale * my]], dtype=np.float64)
    # Each source pixel's value sits at its centre: shift by half a pixel.
    a[0, 2] += 0.5 * scale * (1.0 - skew) - 0.5
    a[1, 2] += 0.5 * scale - 0.5
    big = cv2.warpAffine(ink, a, (WORK, WORK), flags=cv2.INTER_LINEAR,
                         borderMode=cv2.BORDER_CONSTANT, borderValue=0)
    small = cv2.resize(big, (FRAME, FRAME), interpolation=cv2.INTER_AREA)
    top_value = float(small.max())
    if top_value <= 1e-6:
        return None
    return np.minimum(small / top_value, 1.0).astype(np.float32)


def features(pic):
    """pic: the 20 x 20 picture of normalise(). Returns FEATURES float32 numbers."""
    p = np.pad(pic.astype(np.float64), 1)
    gx = p[1:-1, 2:] - p[1:-1, :-2]
    gy = p[2:, 1:-1] - p[:-2, 1:-1]
    mag = np.sqrt(gx * gx + gy * gy)
    ang = np.arctan2(gy, gx)  # -pi .. pi
    pos = (ang + np.pi) / (2 * np.pi) * BINS
    lo = np.floor(pos).astype(int)
    frac = pos - lo
    lo %= BINS
    hi = (lo + 1) % BINS
    cells = FRAME // CELL
    cell = (np.arange(FRAME) // CELL)
    index = (cell[:, None] * cells + cell[None, :]) * BINS
    hist = np.zeros(cells * cells * BINS)
    np.add.at(hist, (index + lo).ravel(), (mag * (1.0 - frac)).ravel())
    np.add.at(hist, (index + hi).ravel(), (mag * frac).ravel())
    hist = hist.reshape(cells, cells, BINS)
    # Each cell's histogram L1-normalised over its 2 x 2 quarter, then rooted.
    out = np.zeros_like(hist)
    for qy in range(0, cells, 2):
        for qx in range(0, cells, 2):
            block = hist[qy:qy + 2, qx:qx + 2]
            out[qy:qy + 2, qx:qx + 2] = np.sqrt(block / (block.sum() + 1e-6))
    coarse = pic.astype(np.float64).reshape(FRAME // 2, 2, FRAME // 2, 2).mean(axis=(1, 3))
    return np.concatenate([out.ravel(), coarse.ravel()]).astype(np.float32)
