"""Checks of what the program shows and writes, in numbers, shared by the scenarios."""

import re

from desktop import StepFailed


def number(text):
    """A number as the French interface shows it ("1 234,56", "12,5 kg"); None for none."""
    cleaned = re.sub(r"[^\d,.\-]", "", text.replace("\u202f", "").replace("\xa0", "").replace(" ", ""))
    if not cleaned or cleaned in "-,.":
        return None
    if "," in cleaned:
        cleaned = cleaned.replace(".", "").replace(",", ".")
    return float(cleaned)


def bill_lines(rows):
    """The bill rows as dicts keyed by the heading row, without the heading and the empty
    new-line row."""
    if not rows:
        return []
    heading = [cell.strip() for cell in rows[0]]
    lines = []
    for row in rows[1:]:
        line = dict(zip(heading, row))
        if any(cell.strip() for key, cell in line.items() if key not in ("", "Repère", "Mark")):
            lines.append(line)
    return lines


def labels(p):
    """The layout's annotations as drawn: kind, shown text, owner ("A.3" or the run), place."""
    return [line.split("|") for line in p.query("labels").splitlines() if line]


def check_bill_sums(lines, quantity="Quantité", unit="Prix unitaire", total="Prix total"):
    """Each priced line's total is its quantity times its unit price, to the cent."""
    faults = []
    for line in lines:
        q, u, t = (number(line.get(key, "")) for key in (quantity, unit, total))
        if q is None or u is None or t is None:
            continue
        if abs(q * u - t) > 0.011 + 1e-9 * abs(t):
            faults.append(f"{line.get('Référence') or line.get('Reference')}: {q} x {u} != {t}")
    if faults:
        raise StepFailed("bill lines do not add up: " + "; ".join(faults))


def check_every_line_priced(lines, reference="Référence", unit="Prix unitaire"):
    """Every line with a reference has a price: nothing is left out of the costing."""
    unpriced = [line.get(reference, "") for line in lines
                if line.get(reference, "").strip() and number(line.get(unit, "")) is None]
    if unpriced:
        raise StepFailed(f"lines without a price: {unpriced}")


def check_no_negative_lengths(lines):
    negative = [" | ".join(line.values()) for line in lines
                if any(re.search(r"(^|\s)-\d", cell) for cell in line.values())]
    if negative:
        raise StepFailed(f"negative quantities or lengths in the bill: {negative}")
