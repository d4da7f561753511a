#pragma once
// The numbers that describe one hand-written character to the digit classifier:
// the ink deskewed by its second moments, scaled so that its larger side fills
// 16 of 20 pixels, centred, brightened to full ink, then gradient histograms of
// 4 x 4 cells and a 10 x 10 picture of the ink. tools/digits/digit_features.py
// computes the same numbers with the same OpenCV calls for the training.

#include <opencv2/core.hpp>

#include <vector>

inline constexpr int kDigitFeatureCount = 4 * 4 * 12 + 10 * 10;

// ink: CV_32F, 0 paper .. 1 ink, one character. The 20 x 20 normalised picture,
// or an empty matrix when there is no ink.
cv::Mat NormaliseDigitInk(const cv::Mat& ink);

// The kDigitFeatureCount numbers of a picture made by NormaliseDigitInk.
std::vector<float> DigitFeatures(const cv::Mat& picture);
