#pragma once

#include "model/props/obj_with_prop.h"

#include <array>
#include <string_view>

class CProfile;

// The project properties of a layout document, a linear project or a reference project:
// job number, author, dates, comment, quotation and delivery data, the customer's
// address, and the totals that a layout document writes before it is saved.
class CDocProps : public CObjWithProp {
 public:
  // The project fields, in the order the project information dialog shows them.
  static constexpr std::array<std::string_view, 17> kFields = {
      "NumAff",    "Creator",   "Name",    "CreationDate", "ModificationDate",
      "Comment",   "DevisDate", "Delai",   "Commande",     "Livraison",
      "Client",    "Societe",   "Adresse", "CodePostal",   "Ville",
      "Telephone", "Fax"};

  // The job-number counter: the settings key [User] "NumAff" holds the highest job
  // number ever saved. Raised to this block's "NumAff" when that is a greater integer.
  // True when the setting was written.
  bool RaiseJobNumberCounter(CProfile& profile) const;

  // Shows the target in the property window.
  void GoToObject(CObjWithProp* target, int how) override;
};

// The leading integer of a text as the program's job numbers read it (optional sign,
// decimal digits); 0 when there is none.
long long JobNumberValue(std::string_view text);
