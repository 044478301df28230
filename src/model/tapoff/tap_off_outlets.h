#pragma once

#include <cstdint>
#include <vector>

#include "geometry/3d_point.h"

class CBox;
class CRun;

// One outlet of a run that takes a unit: the joint's outlet box (its back or front box),
// the outlet point 10..29, where it lies in the scene, and whether a unit stands on it.
struct CTapOffOutlet {
  CBox* box = nullptr;
  int point = 0;
  C3DPoint position;
  bool taken = false;
};

// The outlets of the run's joints that accept a unit of the connection mask, joint by
// joint in the run's device order, back box before front box, each side's points in turn.
std::vector<CTapOffOutlet> TapOffOutlets(const CRun& run, std::uint32_t mask);
