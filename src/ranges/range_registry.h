#pragma once

// Registers the run class of every product range with the run factory (model/run_factory.h):
// "QD" gives CRunQD, "QJ" CRunQJF, "QG" CRunQG, "QP" CRunQP, "QM" CRunQM, "QW" CRunQW;
// and the rules in which each range differs (QJF has the generic ones).
// The program calls it once at start-up; tests call it in their set-up.
void RegisterRangeRuns();
