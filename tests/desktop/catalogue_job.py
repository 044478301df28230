"""A designer reaches the sample catalogue's QM parts from an empty design with the mouse:
a QMC 6300 A run with a riser, a riser kit laid on it and its position moved, the run
priced, and its bill exported on a model workbook of the program's, read back with
openpyxl against the model and the bill."""

import os

import checks
import desktop
from design_job import PLUS_X, UP, current_bill, open_run_properties, toward

KIT_LIST, KIT_BAR, KIT_EDITS = "1020", "1292", ("1679", "1678")
RISER_JOINT = 3  # the face box of the riser toward the elbow below it


def kit_unit(p):
    units = [e for e in p.elements("A") if e["kind"] == 7]
    if not units:
        raise desktop.StepFailed(f"no in-line unit in run A: {p.elements('A')}")
    return units[0]


def kit_distances(p):
    """The distances the kit's two edits show, in mm."""
    return tuple(checks.number(p.widget(name)["text"]) for name in KIT_EDITS)


def steps(s):
    with s.step("start on an empty design") as p:
        # The copper ranges are offered only where the settings say so.
        settings = os.path.join(p.home, ".config", "TVR73")
        os.makedirs(settings, exist_ok=True)
        with open(os.path.join(settings, "TVR.INI"), "w") as ini:
            ini.write("[Design]\nCopper=1\n")
        p.start("/nsplash")
        p.wait_modal("Créer")
        p.click_text("Conception graphique")
        p.wait(lambda: p.dump().get("active") == "layout_document", "the layout window")
        toward(p, PLUS_X, 3000)
        p.key("Return")
        p.wait_status("face libre")

    with s.step("choose QMC 6300 A on the rating page") as p:
        open_run_properties(p, "Calibre")
        p.choose("1020", "QMC")
        p.choose("1021", "6300")
        p.key("Escape")
        p.shot("qmc_6300")

    with s.step("lay out a straight and a riser with the mouse") as p:
        toward(p, PLUS_X, 6000)
        toward(p, UP, 4000)
        p.shot("laid_out")
        s.riser = max(p.elements("A"), key=lambda e: e["index"])["index"]

    with s.step("put an in-line unit on the riser and make it the riser kit") as p:
        p.menu("Conception", "Appareil en ligne")
        # The riser's joint with the elbow, clicked up the riser: the unit goes there.
        p.click(*p.element_point("A", s.riser, RISER_JOINT))
        unit = kit_unit(p)
        p.menu("Conception", "Sélectionner")
        # Beside the riser that passes through it, where the unit's plate alone is drawn.
        x, y = p.element_point("A", unit["index"])
        p.click(x + 22, y + 4)
        p.menu("Edition", "Propriétés de l'élément")
        p.wait(lambda: p.dump()["props"] != "hidden", "the property window")
        p.click_text("Caractéristiques")
        p.choose(KIT_LIST, "Kit colonne montante")
        p.wait(lambda: p.shown(KIT_BAR), "the kit position's scroll bar")
        p.shot("kit_chosen")

    with s.step("move the kit position with its scroll bar") as p:
        before = kit_distances(p)
        x, y, w, h = (int(v) for v in p.widget(KIT_BAR)["rect"].split()[:4])
        p.click(x + w - h - 4, y + h // 2)  # the trough before the right arrow
        p.wait(lambda: kit_distances(p) != before, "the kit's distances to change")
        p.shot("kit_moved")
        after = kit_distances(p)
        # The kit moves up within its row (the edits read L/2 - p and L/2 + p): what one
        # side gains, the other loses.
        if None in before + after or sum(after) != sum(before) or after[0] >= before[0]:
            raise desktop.StepFailed(f"the kit's distances went from {before} to {after}")
        p.key("Escape")

    with s.step("update the prices: every line of the QMC 6300 A run is priced") as p:
        p.menu("Ligne", "Mettre à jour les prix")
        p.wait(lambda: p.dump().get("modal") or p.dump().get("activewindow"), "the pricing to end")
        p.shot("priced")
        p.key("Escape")
        p.wait_no_modal()
        lines = current_bill(p)
        if not any(line["Référence"].startswith("QMC") for line in lines):
            raise desktop.StepFailed(f"no QMC reference in the bill: {lines}")
        checks.check_every_line_priced(lines)
        checks.check_bill_sums(lines)

    with s.step("export the bill on the layout model and read it back") as p:
        import openpyxl
        model = os.path.join(p.folder, "MODELS", "Tavrilon_Implantation.xlsx")
        path = os.path.join(p.documents, "colonne.xlsx")
        p.menu("Fichier", "Exporter", "Nomenclature vers Excel")
        p.file_dialog("Ouvrir", model)
        p.file_dialog("Enregistrer", path)
        p.wait(lambda: os.path.exists(path), "the workbook", seconds=60)
        check_workbook_on_model(openpyxl.load_workbook(model), openpyxl.load_workbook(path),
                                current_bill(p))


def check_workbook_on_model(model, book, bill):
    """The header rows and their styles are the model's; below them, the bill's lines are
    the bill's: the same references, quantities and unit prices, neither more nor less."""
    if book.sheetnames != model.sheetnames:
        raise desktop.StepFailed(f"sheets {book.sheetnames}, the model's {model.sheetnames}")
    sheet, header = book.worksheets[0], model.worksheets[0]
    for row in header.iter_rows():
        for cell in row:
            got = sheet[cell.coordinate]
            mine = (got.value, got.font.b, got.font.sz, got.font.color and got.font.color.rgb,
                    got.fill.fgColor.rgb)
            theirs = (cell.value, cell.font.b, cell.font.sz, cell.font.color and cell.font.color.rgb,
                      cell.fill.fgColor.rgb)
            if mine != theirs:
                raise desktop.StepFailed(f"{cell.coordinate} reads {mine}, the model's {theirs}")
    rows = list(sheet.iter_rows(min_row=header.max_row + 1, values_only=True))
    heading = next((row for row in rows if "Référence" in row), None)
    if heading is None:
        raise desktop.StepFailed("no table of the bill below the model's header")
    columns = [heading.index(name) for name in ("Référence", "Quantité", "Prix unitaire")]
    table = rows[rows.index(heading) + 1:]
    written = sorted((row[columns[0]], row[columns[1]], row[columns[2]]) for row in table
                     if row[columns[0]])
    shown = sorted((line["Référence"].split()[0], checks.number(line["Quantité"]),
                    checks.number(line["Prix unitaire"])) for line in bill)
    if written != shown:
        raise desktop.StepFailed(f"the workbook's lines {written}\nthe bill's {shown}")


if __name__ == "__main__":
    desktop.main(steps)
