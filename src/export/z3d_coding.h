#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CDev;
class CRun;

// The coding state of one run's walk for the 3D exchange file: the device pending, its
// parameters and the position text gathered since the last position line.
struct CZ3dBranch {
  int group = 0;
  const CDev* element = nullptr;
  int entry = -1;
  int side = -1;
  int tState = 0;
};

struct CZ3dCoding {
  const CRun* run = nullptr;
  int family = 0;
  int calibre = 0;
  int device = 0, q1 = 0, q2 = 0;  // pending device D and its qualifiers
  int cut = -1;
  std::string position;
  std::string name;
  int p200 = 0, p201 = 0, p202 = 0, p203 = 0, p6 = 0, p128 = 0, p208 = 0;
  int entrax = 0;
  std::string entraxText;
  const CDev* entraxElement = nullptr;  // the element that set the centre distance
  int jointExtra = 0;                   // e2: the QG joint's extra device
  int marks = 0;
  int tState = 0;
  int extraDevices = 0;            // x: extra feed devices (41, 00, 01) still to write
  int second = 0, r1 = 0, r2 = 0;  // second device D2 (negative: in a group of its own)
  std::string kitTokens;
  int carried = 0;           // L0: the length of a QJF tap-off box tee where a branch starts
  bool carriedHere = false;  // the branch in hand starts at that tee
  std::string tapOffBox;     // the QJF tap-off box reference
  int kit = 0, kitSlot = 0;  // k and ks: the kit length and its parameter slot
  int turnAtBox = 0;         // t of the QJF tap-off box
  int groups = 0;
  int count = 0;
  std::vector<CZ3dBranch> pending;
  // The element in hand and its straight lengths back (Lb) and on (Lf), its turn code.
  const CDev* element = nullptr;
  int entry = -1, next = -1;
  int lengthBack = 0, lengthOn = 0, turn = 0;
  bool pathEnds = false;
  bool hasTapOffUnits = false;  // whether any joint can carry units to number
};

// Bit n of an element's style word.
inline bool StyleBit(std::uint32_t style, int bit) { return ((style >> bit) & 1) != 0; }

// The centre distance of a feed or end from its "ENTRAX" text (e and its text).
void TakeZ3dEntrax(CZ3dCoding& state, const CDev& element);

// The connection choice of a feed or end (style bits 20-23).
int Z3dConnectionChoice(const CDev& element);

// Sets the pending device for the element in hand by its kind, variant and family; extra
// feed devices due at the element are written to file.
void CodeElement(CZ3dCoding& state, const CDev& element, std::string& file);

// Straight and feed elements (kind 0).
void CodeFeed(CZ3dCoding& state, const CDev& element, int pending, std::string& file);

// QG feeds and ends (kind 0) of the variants 2, 3, 5, 6 and 7; -1 for others.
int QgFeedDevice(CZ3dCoding& state, const CDev& element, int& side);

// QM feeds and ends (kind 0) of the variants 2 to 9 and 20; -1 for others.
int QmFeedDevice(CZ3dCoding& state, const CDev& element);

// QM: an elbow pending before a feed or end of the variants 2, 3, 5, 7, 9 and 20 makes
// one device with it; false when it does not apply.
bool QmMergeElbowAndFeed(CZ3dCoding& state, const CDev& element, int pending);

// QM: the device and qualifier of a length with outlets by the options it holds.
int QmJointDevice(CZ3dCoding& state, const CDev& element, int device);

// QM end boxes with given centre distances: the distances the range works out, turned
// by the phase order ("/00215", "/00216"); x to w get the four offsets.
std::string QmConnectionDistances(const CZ3dCoding& state, double& x, double& y, double& z,
                                  double& w);

// QG: the centre distances of the element that set them ("/00204" to "/00207", "/00219")
// and its bar ("/00220" to "/00222").
std::string QgCentreDistances(const CZ3dCoding& state);

// QG: the extra device a joint gives by what lies on both its sides (e2).
int QgJointExtra(const CZ3dCoding& state, const CDev& element);

// The parameter forms of a device line.
std::string IntegerParameter(int number, int value);
std::string DecimalParameter(int number, double value);

// The extra feed devices of QM and QW runs: one, less each end without a feed (kind 0 of
// variant 0 or 1, or 4 in QM, 7 in QW), plus each QM tee; never below 0. 0 for other
// families.
int CountExtraDevices(const CRun& run, int family);

// Writes the extra feed devices still due, each with an empty position line.
void WriteExtraDevices(CZ3dCoding& state, std::string& file);

// The sum of two lengths, bounded so that damaged lengths cannot overflow it.
int AddLengths(long long first, long long second);

// A text read as a whole number after leading blanks; 0 when it is not one.
int Z3dInteger(std::string_view text);

// Writes the pending device line and the position line after it, then clears the device.
void WriteDeviceLine(CZ3dCoding& state, std::string& file);

// "%05d" and the other fixed-width forms of the file, never bound to the locale.
std::string Z3dNumber(const char* format, int value);
// "@." values: 16 wide, one decimal, zero-padded.
std::string Z3dDecimal(double value);
