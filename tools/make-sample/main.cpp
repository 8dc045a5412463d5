// Writes the bundled demonstration training, a 2000 m piece, or with STROKES
// a piece of that many strokes: make-sample [FILE] [STROKES].
#include "DemoTraining.h"

#include "untFiles.h"

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv)
{
    const std::string path = argc > 1 ? argv[1] : "default.stg";
    const int strokes = argc > 2 ? std::atoi(argv[2]) : 65535;
    const double distance = argc > 2 ? 0 : 2000;
    if (strokes < 1 || strokes > 65535) {
        std::cerr << "make-sample: the stroke count must be 1..65535\n";
        return 2;
    }
    if (!SaveTrainingFile(path, MakeDemoTraining(strokes, distance), fkTraining)) {
        std::cerr << "make-sample: cannot write " << path << "\n";
        return 1;
    }
    return 0;
}
