#pragma once

#include <memory>

class CDorneDoc;

// A layout document for the view's tests and benchmarks: runs of straight elements laid
// side by side, each run rising one level every ten elements, every element with its
// body box, projected with the document's angles and listed in its scene.
std::unique_ptr<CDorneDoc> BuildLayoutScene(int runs, int elementsPerRun);
