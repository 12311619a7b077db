#pragma once

#include <QImage>

struct TResultsKeyTexts;

// The key printed at the top-left of a results-mode print: a white box with a
// black frame, "Velmora Studio Results" and what f, v and dP are given in.
void PaintResultsLegend(QImage& image, const TResultsKeyTexts& key);
