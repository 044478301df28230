"""An estimator costs a job from its lengths: lines priced in linear costing, the project
view, a save and a reopen, and the workbook read back with openpyxl."""

import os

import desktop


def new_line(p, group, ampere, product):
    """A new line of a group, up to its body page."""
    p.click_text(group, count=2)
    p.wait(lambda: p.widget("linear_ampere"), "the line header")
    p.fill("linear_ampere", ampere)
    p.key("Tab")
    p.choose("linear_products", product)
    p.click_widget("linear_header_next")
    p.wait(lambda: p.widget("linear_body_next"), "the line body")


def dismiss_hint(p):
    """The editor's hint shows once, at the first line."""
    if "help_hint" in p.query("widgets"):
        p.click_text("OK")


# group, current, range, the body's entries (slot: text typed, None: box ticked), name
LINES = [
    ("Distribution horizontale", "100", "QDA", {3: None, 6: "12,5", 7: "1"}, "Atelier nord"),
    ("Distribution horizontale", "250", "QPA", {3: None, 6: "36", 7: "2"}, "Atelier sud"),
    ("Lignes de transport", "1000", "QMA", {2: None, 5: "40", 7: "3", 28: None}, "Transfo - TGBT"),
    ("Colonnes montantes", "630", "QMA", {3: None, 5: "24", 9: "6", 10: "3,5"}, "Colonne B"),
    ("Distribution horizontale", "1000", "QJF", {3: None, 5: "8", 6: "20,5", 7: "2"}, "Quai"),
]


def steps(s):
    with s.step("start linear costing") as p:
        p.start("/nsplash")
        p.wait_modal("Créer")
        p.click_text("Chiffrage linéaire")
        p.wait(lambda: "help_hint" in p.dump().get("activewindow", ""), "the start hint")
        p.click_text("OK")
        p.wait(lambda: p.dump().get("active") == "linear_window", "the linear window")

    for group, ampere, product, entries, name in LINES:
        with s.step(f"a {product} {ampere} A line, {name}, priced and saved into the project") as p:
            new_line(p, group, ampere, product)
            dismiss_hint(p)
            for slot, value in entries.items():
                if value is None:
                    p.click_widget(f"linear_slot_{slot}")
                else:
                    p.fill(f"linear_slot_{slot}", value)
            p.click_widget("linear_body_next")
            p.wait(lambda: not p.shown("linear_body_next"), "the line priced")
            dismiss_hint(p)
            p.shot(f"{product}_{ampere}_priced")
            p.click_widget("linear_save_line")
            p.wait_modal("Nom de la ligne")
            p.type(name)
            p.key("Return")
            p.wait(lambda: name in p.query("cells linear_tree"), "the line in the tree")

    with s.step("save the project as job.lin and reopen it") as p:
        path = os.path.join(p.documents, "job.lin")
        p.menu("Fichier", "Enregistrer sous")
        p.file_dialog("Enregistrer", path)
        p.wait(lambda: os.path.exists(path), "job.lin written")
        p.menu("Fichier", "Fermer")
        p.menu("Fichier", "Ouvrir")
        p.file_dialog("Ouvrir", path)
        p.wait(lambda: "job" in p.dump()["title"], "job.lin reopened")
        p.shot("reopened")

    with s.step("the workbook: each line adds up, the job is the sum of its lines") as p:
        import openpyxl
        path = os.path.join(p.documents, "job.xlsx")
        p.menu("Fichier", "Exporter", "Classeur Excel")
        p.file_dialog("Ouvrir", os.path.join(p.folder, "MODELS", "Tavrilon_Lineaire.xlsx"))
        p.file_dialog("Enregistrer", path)
        p.wait(lambda: os.path.exists(path), "the workbook", seconds=60)
        # The model's first sheet holds the data below its header.
        rows = list(openpyxl.load_workbook(path).worksheets[0].iter_rows(values_only=True))
        job = {row[0]: row[1] for row in rows if row}
        check_line_blocks(rows, job)


def check_line_blocks(rows, job):
    """Each line's rows sum to its "Total pour 1 ligne" (gross, sale), and the job's price,
    labour time and weight are the sums over its lines."""
    faults, sums = [], {"LineTotal": 0, "LineLabourTime": 0, "LineWeight": 0}
    names = [row[0] for row in rows if row[0] == "Line"]
    if len(names) != len(LINES):
        faults.append(f"{len(names)} lines in the workbook, {len(LINES)} costed")
    first = None
    for i, row in enumerate(rows):
        if row[0] in sums:
            sums[row[0]] += row[1] or 0
        elif row[0] == "Désignation":
            first = i + 1
        elif str(row[0]).startswith("- Total") and first is not None:
            for column in (2, 3):
                shown = sum(r[column] or 0 for r in rows[first:i])
                if abs(shown - (row[column] or 0)) > 0.01:
                    faults.append(f"line ending at row {i + 1}, {rows[first - 1][column]}: "
                                  f"rows sum to {shown}, the total reads {row[column]}")
            first = None
    for line_key, job_key in (("LineTotal", "TotalPrice"), ("LineLabourTime", "TotalLabourTime"),
                              ("LineWeight", "TotalWeight")):
        if abs(sums[line_key] - (job[job_key] or 0)) > 0.011:
            faults.append(f"{job_key} {job[job_key]} != the lines' {sums[line_key]}")
    if faults:
        raise desktop.StepFailed("; ".join(faults))

if __name__ == "__main__":
    desktop.main(steps)
