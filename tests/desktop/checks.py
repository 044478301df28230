"""Checks of what the program shows and writes, in numbers, shared by the scenarios."""

import re
import subprocess

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


def check_bill_sums(lines, quantity="Quantité", unit="Prix unitaire", total="Prix total",
                    discount_key="Remise", sale_key="Prix de vente"):
    """Each priced line's total is its quantity times its unit price, to the cent, and its
    sale price that total less its discount."""
    faults = []
    for line in lines:
        q, u, t = (number(line.get(key, "")) for key in (quantity, unit, total))
        if q is None or u is None or t is None:
            continue
        reference = line.get("Référence") or line.get("Reference")
        if abs(q * u - t) > 0.011 + 1e-9 * abs(t):
            faults.append(f"{reference}: {q} x {u} != {t}")
        discount, sale = number(line.get(discount_key, "")), number(line.get(sale_key, ""))
        if discount is not None and sale is not None:
            # A line is sold for its total less its discount, and never given away.
            if discount >= 100 or abs(t * (1 - discount / 100) - sale) > 0.011 + 1e-4 * abs(t):
                faults.append(f"{reference}: {t} less {discount} % sold for {sale}")
    if faults:
        raise StepFailed("bill lines do not add up: " + "; ".join(faults))


def check_every_line_priced(lines, reference="Référence", unit="Prix unitaire"):
    """Every line with a reference has a price (none at 0): nothing is left out of the
    costing."""
    unpriced = [line.get(reference, "") for line in lines
                if line.get(reference, "").strip() and not number(line.get(unit, ""))]
    if unpriced:
        raise StepFailed(f"lines without a price: {unpriced}")


def check_no_negative_lengths(lines):
    negative = [" | ".join(line.values()) for line in lines
                if any(re.search(r"(^|\s)-\d", cell) for cell in line.values())]
    if negative:
        raise StepFailed(f"negative quantities or lengths in the bill: {negative}")


def check_every_element_billed(p, run, lines, message):
    """Every element that the run draws, joints and start aside, has its reference on a
    bill line, or is named ("B.1 ...") in the message of what could not be priced."""
    billed = {line.get("Référence", "").strip() for line in lines}
    if len(p.elements(run)) < 2:
        raise StepFailed(f"run {run} holds only {p.elements(run)}")
    left = [f"{run}.{e['index']} {e['reference'].strip()}" for e in p.elements(run)
            if e["reference"].strip() not in billed and f"{run}.{e['index']} " not in message]
    if left:
        raise StepFailed(f"drawn but neither billed nor named: {left}; the message: {message}")


def check_marks_match_bill(p, near=150):
    """Each position mark names a line of its element's run that holds the element's
    reference or one its build gave it (a second mark), and stands by its element."""
    faults = []
    pages = {}
    for kind, text, owner, place, *_ in labels(p):
        if kind != "2" or "." not in owner:
            continue
        run, index = owner.split(".")
        if run not in pages:
            pages[run] = dict(line.split("|", 1) for line in p.query(f"lines {run}").splitlines() if line)
            pages[run + "/"] = {e["index"]: e for e in p.elements(run)}
        element = pages[run + "/"][int(index)]
        if text not in pages[run]:
            faults.append(f"{owner} carries {text}, no line of run {run}")
        if place and element["rect"]:
            bx, by = (int(v) for v in place.split()[:2])
            ex, ey = (int(v) for v in element["rect"].split()[:2])
            if abs(bx - ex) > near or abs(by - ey) > near:
                faults.append(f"{text} of {owner} drawn at {bx},{by}, its element at {ex},{ey}")
    for run in [name for name in pages if not name.endswith("/")]:
        marked = {label[2] for label in labels(p) if label[0] == "2"}
        for index, element in pages[run + "/"].items():
            reference = element["reference"]
            numbers = [n for n, ref in pages[run].items() if ref == reference]
            if numbers and f"{run}.{index}" in marked:
                texts = [label[1] for label in labels(p) if label[0] == "2" and label[2] == f"{run}.{index}"]
                if not set(texts) & set(numbers):
                    faults.append(f"{run}.{index} ({reference.strip()}) marked {texts}, its line is {numbers}")
    if faults:
        raise StepFailed("position marks do not match the bill: " + "; ".join(faults))


def changed_pixels(before, after, rect):
    """How many pixels differ between two screenshots inside a screen rectangle
    ("x y w h"), as ImageMagick reads them."""
    x, y, w, h = (int(v) for v in rect.split()[:4])
    if w <= 0 or h <= 0:
        return 0
    return int(subprocess.run(
        ["convert", before, after, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-compose", "difference",
         "-composite", "-colorspace", "gray", "-threshold", "0", "-format", "%[fx:round(mean*w*h)]",
         "info:"], check=True, capture_output=True, text=True).stdout)


def inner(rect, share=3):
    """The middle of a rectangle, a share of its width and height, away from its edges
    and ends."""
    x, y, w, h = (int(v) for v in rect.split()[:4])
    return f"{x + w // share} {y + h // share} {max(1, w // share)} {max(1, h // share)}"


# The faces of the six grid directions, each with its opposite.
OPPOSITE = {0: 4, 4: 0, 1: 5, 5: 1, 2: 3, 3: 2}


def touching(a, b, slack=3):
    """Whether two screen rectangles ("x y w h") meet, or lie within `slack` pixels."""
    ax, ay, aw, ah = (int(v) for v in a.split())
    bx, by, bw, bh = (int(v) for v in b.split())
    return ax <= bx + bw + slack and bx <= ax + aw + slack and ay <= by + bh + slack and by <= ay + ah + slack
