#pragma once

#include <QString>

#include <memory>

#include "linear_ui_test_support.h"
#include "reference/ui/ref_environment.h"

class CRefWnd;

// The linear set-up (settings folder, sample catalogue, texts, questions) with the
// sample option lists and catalogue of costing by reference on it.
class CRefTestSetup {
 public:
  CRefTestSetup();
  ~CRefTestSetup();
  CLinearTestSetup common;
  CRefEnvironment environment;
};

// Adds a line of a product through the line page: the rating chosen (0: the first
// offered), the length (and for lighting lines the count) typed, validated, the
// component counts taken and the line committed under name. The new line's index; -1,
// -2, -3 or -4 when the new line, the rating, the validation or the counts failed, -5
// when the commit did.
int AddRefLine(CRefWnd& window, int group, int kind, int rating, int length, int count,
               const QString& name);
