// A realistic demonstration training: a distance piece rowed at a steady
// pace, with plausible power, rate, split and pulse, a force curve per stroke
// (a few of them marked not valid), one interval per 500 m, and the first
// curve shown. Deterministic, so the bundled sample can be made again byte
// for byte.
#pragma once

#include "untTypes.h"

// A piece of at most `strokes` strokes that ends at `distance` metres when
// that is given (2000 m take about 216 strokes).
TTraining MakeDemoTraining(int strokes, double distance = 0);
