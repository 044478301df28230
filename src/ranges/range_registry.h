#pragma once

// Registers the run class of every product range with the run factory (model/run_factory.h):
// "QD" gives CRunQD, "QJ" CRunQJF, "QG" CRunQG, "QP" CRunQP, "QM" CRunQM, "QW" CRunQW.
// The program calls it once at start-up; tests call it in their set-up.
void RegisterRangeRuns();
