#pragma once

// Clue numbers in text mode are drawn in this face.
inline constexpr const char* kClueFontFace = "Times New Roman";

// Clue numbers in text mode use a font of 8 x cs - 23 tenths of a point, which
// for a surface of the given resolution is this (negative) character height.
int ClueFontTenthsOfPoint(int cellSize);
int ClueFontHeight(int pixelsPerInch, int cellSize);
