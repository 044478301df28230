#pragma once

#include <array>
#include <string>
#include <string_view>

#include "linear/linear_line_list.h"
#include "linear/linear_price_settings.h"

inline constexpr int kLinearPropertyCount = 17;

// The project properties of a linear project, in the order the file keeps them.
inline constexpr std::array<std::string_view, kLinearPropertyCount> kLinearPropertyNames = {
    "NumAff", "Creator",   "Name",      "CreationDate", "ModificationDate", "Comment", "DevisDate",
    "Delai",  "Commande",  "Livraison", "Client",       "Societe",          "Adresse", "CodePostal",
    "Ville",  "Telephone", "Fax"};

// The 17 project properties that linear and reference projects keep in their files.
struct CProjectFields {
  std::array<std::string, kLinearPropertyCount> properties;

  // The property's text, empty when the name is not one of the 17.
  std::string Property(std::string_view name) const;
  // Sets a property (limited to 511 units); false for a name that is not one of the 17.
  bool SetProperty(std::string_view name, std::string_view value);
};

// A linear project: its properties, its price settings and its lines.
struct CLinearProject : CProjectFields {
  CLinearPriceSettings settings;
  CLinearLineList lines;
};
