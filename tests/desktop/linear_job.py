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


def steps(s):
    with s.step("start linear costing") as p:
        p.start("/nsplash")
        p.wait_modal("Créer")
        p.click_text("Chiffrage linéaire")
        p.wait(lambda: "help_hint" in p.dump().get("activewindow", ""), "the start hint")
        p.click_text("OK")
        p.wait(lambda: p.dump().get("active") == "linear_window", "the linear window")

    with s.step("a QDA 100 A line of 12,5 m fed by cables, with one change") as p:
        new_line(p, "Distribution horizontale", "100", "QDA")
        p.click_widget("linear_slot_3")
        p.fill("linear_slot_6", "12,5")
        p.fill("linear_slot_7", "1")
        p.shot("qda_body")
        p.click_widget("linear_body_next")
        p.wait(lambda: not p.shown("linear_body_next"), "the line priced")
        p.shot("qda_priced")

    with s.step("save the line into the project") as p:
        if "help_hint" in p.query("widgets"):
            p.click_text("OK")
        p.click_widget("linear_save_line")
        p.wait_modal("Nom de la ligne")
        p.type("Atelier nord")
        p.key("Return")
        p.wait(lambda: "Atelier nord" in p.query("cells linear_tree"), "the line in the tree")
        p.shot("line_saved")

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

    with s.step("the workbook's line total is the sum of its rows") as p:
        import openpyxl
        path = os.path.join(p.documents, "job.xlsx")
        p.menu("Fichier", "Exporter", "Classeur Excel")
        p.file_dialog("Ouvrir", os.path.join(p.folder, "MODELS", "Tavrilon_Lineaire.xlsx"))
        p.file_dialog("Enregistrer", path)
        p.wait(lambda: os.path.exists(path), "the workbook", seconds=60)
        rows = list(openpyxl.load_workbook(path).worksheets[0].iter_rows(values_only=True))
        first = next(i for i, row in enumerate(rows) if row[0] == "Désignation") + 1
        last = next(i for i, row in enumerate(rows) if str(row[0]).startswith("- Total"))
        for column in (2, 3):  # gross, sale
            shown = sum(row[column] or 0 for row in rows[first:last])
            if abs(shown - rows[last][column]) > 0.01:
                raise desktop.StepFailed(f"{rows[first - 1][column]}: rows sum to {shown}, "
                                         f"the total reads {rows[last][column]}")


if __name__ == "__main__":
    desktop.main(steps)
