"""A designer annotates a sample layout and delivers it: a measured dimension, a text,
print to a PDF file, DXF, picture, CSV and workbook, each read back by an independent
reader; then a save, a restart, a reopen from the recent files, and a comparison."""

import csv
import os
import re
import shutil
import subprocess

import checks
import desktop


def click_marked(p, mark):
    """Clicks an element that carries a position mark, as a user finds it on the drawing."""
    owner = next(label[2] for label in checks.labels(p) if label[0] == "2" and label[1] == mark)
    run, index = owner.split(".")
    p.click(*p.element_point(run, int(index)))


def print_to_pdf(p, name):
    """Answers the print dialog with a PDF file beside the document; the drawing's marks
    must be in it."""
    p.wait_modal("Imprimer")
    p.shot("print_dialog")
    path = os.path.join(p.documents, name)
    p.fill("filename", path)
    p.click_text("Imprimer")
    p.wait(lambda: os.path.exists(path) and os.path.getsize(path) > 0, name)
    text = p.wait(lambda: subprocess.run(["pdftotext", path, "-"], capture_output=True, text=True).stdout,
                  f"{name} complete")
    if "B.1" not in text.split():
        raise desktop.StepFailed(f"{name} holds no mark B.1: {text[:300]!r}")


def measured(p):
    return [label[1] for label in checks.labels(p) if label[0] == "9"]


def steps(s):
    with s.step("open the QD sample") as p:
        sample = os.path.join(p.documents, "qd_sample.run")
        p.start("/nsplash")
        p.wait_modal("Créer")
        p.click_text("Conception graphique")
        p.wait(lambda: p.dump().get("active") == "layout_document", "the layout window")
        shutil.copy(os.path.join(p.folder, "examples", "qd_sample.run"), sample)
        p.menu("Fichier", "Ouvrir")
        p.file_dialog("Ouvrir", sample)
        p.wait(lambda: "qd_sample" in p.dump()["title"], "qd_sample.run opened")
        p.shot("opened")
        checks.check_marks_match_bill(p)

    with s.step("prices updated, the Total page carries designations and prices") as p:
        p.menu("Ligne", "Mettre à jour les prix")
        p.wait(lambda: "Base tarifaire" in "".join(p.dump()["window"]) or p.dump().get("modal"),
               "the pricing to end")
        while p.dump().get("modal"):
            p.key("Return")
        p.close_window("Base tarifaire")
        tabs, rows = p.bill()
        if not any(current and text == "Total" for text, current in tabs):
            raise desktop.StepFailed(f"the bill's tabs: {tabs}")
        lines = checks.bill_lines(rows)
        checks.check_bill_sums(lines)
        checks.check_every_line_priced(lines)
        if any(not line.get("Désignation", "").strip() for line in lines):
            raise desktop.StepFailed("Total page lines without a designation")

    with s.step("measure between the pieces marked B.1 and B.2") as p:
        p.menu("Conception", "Mesurer une distance")
        p.wait_status("la distance entre elles se cote")
        click_marked(p, "B.1")
        click_marked(p, "B.2")
        p.shot("measured")
        s.measured = measured(p)
        if len(s.measured) != 1 or checks.number(s.measured[0]) in (None, 0):
            raise desktop.StepFailed(f"the measured dimensions read {s.measured}")

    with s.step("a text label and a picture label, each where it was put") as p:
        p.menu("Conception", "Nouvelle étiquette de texte")
        p.wait_modal("Texte")
        p.type("Tableau TGBT - niveau 0")
        p.click_widget("1")
        p.wait_no_modal()
        picture = os.path.join(p.documents, "logo.png")
        subprocess.run(["convert", "-size", "120x60", "xc:steelblue", picture], check=True)
        p.menu("Conception", "Nouvelle étiquette d'image")
        p.file_dialog("Ouvrir", picture)
        p.wait_no_modal()
        p.shot("labels")
        texts = [line.split("|") for line in p.query("labels").splitlines()]
        text = [t for t in texts if "Tableau TGBT" in t[1]]
        pictures = [t for t in texts if t[0] == "7"]
        if not text or not pictures:
            raise desktop.StepFailed(f"labels: {texts}")
        if text[-1][3] == pictures[-1][3]:
            raise desktop.StepFailed(f"the text and the picture are both at {text[-1][3]}")

    with s.step("the project information and the print preview") as p:
        p.menu("Fichier", "Informations sur le projet")
        p.wait_modal()
        p.fill("1017", "M. Durand")
        p.fill("1006", "Atelier 2027")
        p.click_text("OK")
        p.wait_no_modal()
        p.menu("Fichier", "Aperçu avant impression")
        p.wait_modal("Aperçu avant impression")
        p.shot("preview")
        p.key("Escape")
        p.wait_no_modal()

    with s.step("price the bill, export it as CSV: it adds up to what the screen shows") as p:
        p.menu("Ligne", "Mettre à jour les prix")
        p.wait(lambda: any(w.startswith("CPriceBaseDlg") for w in p.dump()["window"]), "the price list")
        path = desktop.export(p, ".csv", "Fichier", "Exporter", "Fichier CSV")
        with open(path, encoding="utf-16", newline="") as f:
            rows = list(csv.reader(f, delimiter=";"))
        shown, written = checks.bill_lines(p.bill()[1]), checks.bill_lines(rows)
        checks.check_bill_sums(written)
        checks.check_every_line_priced(shown)
        free = [line["Référence"] for line in shown if checks.number(line["Prix total"])
                and not checks.number(line["Prix de vente"])]
        if free or not all(line["Désignation"].strip() for line in shown):
            raise desktop.StepFailed(f"the total page sells for nothing {free} or names no part")
        for column, read in (("Désignation", str.strip), ("Prix unitaire", checks.number),
                             ("Prix de vente", checks.number), ("Poids total", checks.number)):
            if [read(line.get(column, "")) for line in written] != [read(line.get(column, "")) for line in shown]:
                raise desktop.StepFailed(f"the CSV's {column} differs from the screen's")
        for column in ("Prix total", "Prix de vente"):
            if abs(sum(checks.number(line[column]) or 0 for line in written) -
                   sum(checks.number(line[column]) or 0 for line in shown)) > 0.011:
                raise desktop.StepFailed(f"the CSV's {column} does not add up to the screen's")

    with s.step("export the workbook: it holds the job as the screen shows it") as p:
        import openpyxl
        p.menu("Fichier", "Exporter", "Classeur Excel")
        p.file_dialog("Ouvrir", os.path.join(p.folder, "MODELS", "Tavrilon_Implantation.xlsx"))
        p.wait_modal("Tavrilon")
        path = re.search(r"(/[^\n|]*?\.xlsx)", p.query("widgets")).group(1)
        p.key("Return")
        # The model's first sheet holds the data below its header.
        rows = openpyxl.load_workbook(path).worksheets[0].iter_rows(values_only=True)
        project = {row[0]: row[1] for row in rows if row and row[0]}
        shown = checks.bill_lines(p.bill()[1])
        sold = sum(checks.number(line["Prix de vente"]) or 0 for line in shown)
        weight = sum(checks.number(line["Poids total"]) or 0 for line in shown)
        if abs(project["TotalPrice"] - sold) > 0.011 or abs(project["TotalWeight"] - weight) > 0.011 \
                or not project["TotalLabourTime"]:
            raise desktop.StepFailed(f"the workbook's totals {project} against {sold} and {weight} kg")

    with s.step("export a DXF drawing and read it with ezdxf") as p:
        import ezdxf
        path = desktop.export(p, ".dxf", "Fichier", "Exporter", "Dessin DXF")
        drawing = ezdxf.readfile(path)
        if len(list(drawing.modelspace())) == 0:
            raise desktop.StepFailed("the DXF drawing is empty")

    with s.step("export a picture and read it with identify") as p:
        path = desktop.export(p, ".jpg", "Fichier", "Exporter", "Image")
        size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True).stdout
        width, height = (int(v) for v in size.split())
        if width < 100 or height < 100:
            raise desktop.StepFailed(f"picture of {size}")

    with s.step("print to a PDF file and read it with pdftotext") as p:
        p.menu("Fichier", "Imprimer")
        print_to_pdf(p, "printed.pdf")

    with s.step("print from the preview's own button") as p:
        p.menu("Fichier", "Aperçu avant impression")
        p.wait_modal("Aperçu")
        p.click_text("Imprimer")
        print_to_pdf(p, "previewed.pdf")
        p.wait_no_modal()

    with s.step("save, quit, start again and reopen from the recent files") as p:
        p.key("ctrl+s")
        p.wait(lambda: not p.dump()["title"].endswith("*]"), "the layout saved")
        p.quit()
        p.start("/nsplash")
        p.wait_modal("Créer")
        p.key("Escape")
        p.wait_no_modal()
        p.menu("Fichier", "1 *")
        p.wait(lambda: "qd_sample" in p.dump()["title"], "qd_sample.run reopened")
        p.shot("reopened")

    with s.step("the measured dimension reads the same after a reopen") as p:
        if measured(p) != getattr(s, "measured", None):
            raise desktop.StepFailed(f"{measured(p)} after the reopen, {getattr(s, 'measured', None)} before")

    with s.step("the bill of the reopened layout adds up") as p:
        checks.check_bill_sums(checks.bill_lines(p.bill()[1]))

    with s.step("the position marks of the reopened layout name their lines") as p:
        checks.check_marks_match_bill(p)


if __name__ == "__main__":
    desktop.main(steps)
