#pragma once

#include "model/props/dimension_unit.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Converts lengths, held in one internal unit (the millimetre for the built-in metric
// unit), to text for people and back: mixed units ("1m 23cm 4mm"), the base unit
// alone, and typed texts in any input unit ("1m 20cm", "1.5m", "2m-5cm", "1,5 m").
// Numbers are written and read without the user's locale.
class CDimension {
 public:
  // Scale 1.0, suffix flag on, no units.
  CDimension() = default;
  // Throws std::invalid_argument unless the scale is finite and above 0.
  explicit CDimension(double scale);

  // The built-in metric unit: lengths in millimetres, typed in km, m, cm, mm, written
  // as metres, centimetres and millimetres.
  static CDimension Metric();

  // The list text is split at every "|" into (format, suffix) pairs; the n-th pair
  // takes the n-th factor and a last format without a suffix gets an empty suffix.
  // Input units are inserted before the ones already there, in list order; output units
  // are set at positions 0, 1, 2... (replacing, growing the table). Nothing is changed
  // and false is returned when a factor is missing, not finite or not above 0, or an
  // output format is not an acceptable one-number format (see CNumberFormat).
  bool AddInputUnits(std::string_view list, std::span<const double> factors);
  bool AddOutputUnits(std::string_view list, std::span<const double> factors);

  double ScaleValue(double length) const { return length / m_scale; }
  double Unscale(double value) const { return value * m_scale; }
  double GetScale() const { return m_scale; }

  // Mixed units of a value already in display scale: every output unit but the last
  // takes the whole units that fit, the last takes the rest as it is; units with
  // nothing are left out. Zero gives the base unit's (factor 1) zero form; with no
  // base unit, or no units, an empty text ("-" alone for a negative value).
  std::string Format(double value) const;
  std::string FormatScaled(double length) const { return Format(ScaleValue(length)); }
  // The value in the base output unit (the first with factor 1); empty without one.
  std::string FormatUnit(double value) const;
  std::string FormatLength(double length) const { return FormatUnit(ScaleValue(length)); }

  // The length a typed text denotes, in internal units. Terms joined by "+" and "-";
  // a term is numbers each followed by an optional unit ("1m 20cm", "1 m 20 cm");
  // a number without a unit is taken as it is. "." or "," is the decimal separator.
  // Unknown units and pieces that are not numbers contribute 0; a blank text gives 0.
  double Parse(std::string_view text) const;
  // The same, but nothing when a non-blank text holds anything that is not a length:
  // an unknown unit (letter case counts), a unit without a number, a malformed number,
  // or no number at all.
  std::optional<double> TryParse(std::string_view text) const;

  // Whether the single-unit and the zero forms carry the unit suffix (on by default).
  bool GetSuffixFlag() const { return m_suffixFlag; }
  void SetSuffixFlag(bool on) { m_suffixFlag = on; }

  const std::vector<CDimensionUnit>& GetInputUnits() const { return m_inputUnits; }
  const std::vector<CDimensionUnit>& GetOutputUnits() const { return m_outputUnits; }

 private:
  struct Parsed {
    double total = 0.0;
    bool valid = true;
    bool anyNumber = false;
  };
  static std::optional<std::vector<CDimensionUnit>> MakeUnits(std::string_view list,
                                                              std::span<const double> factors,
                                                              bool needFormats);
  const CDimensionUnit* BaseOutputUnit() const;
  const CDimensionUnit* FindInputUnit(std::string_view suffix) const;
  Parsed ParseText(std::string_view text) const;
  void ParseTerm(std::string_view term, double sign, Parsed& parsed) const;
  void AddNumberWithUnit(std::string_view number, std::string_view unit, double sign,
                         Parsed& parsed) const;

  std::vector<CDimensionUnit> m_outputUnits;
  std::vector<CDimensionUnit> m_inputUnits;
  double m_scale = 1.0;
  bool m_suffixFlag = true;
};
