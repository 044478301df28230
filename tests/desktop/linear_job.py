"""An estimator costs a job from its lengths: lines priced in linear costing whose totals
are the sums of their rows, the project view, the price settings, a save and a reopen
after an import of user articles, and the workbook read back with openpyxl."""

import os

import checks
import desktop

MONEY = ("Prix brut", "Prix de vente")
LINE_TOTAL = "Total pour 1 ligne"
# A user's price for the QDA 100 A rigid direction change, which the samples sell for 81.
ARTICLES = "QDA100LP4A;120,00\n"


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


def choose_boxes(p, kind, rating, count):
    """Sets the count of the chooser's box of that rating, as the spin box of its row."""
    p.click_widget(f"linear_chooser_{kind}")
    p.wait_modal()
    widgets = [line.split("|") for line in p.query("widgets").splitlines()]
    label = next(w for w in widgets if w[2] == "QLabel" and w[4] == rating)
    y = int(label[1].split()[1])
    spin = next(w for w in widgets if w[2] == "QSpinBox" and abs(int(w[1].split()[1]) - y) < 12)
    x, top, width, height = (int(v) for v in spin[1].split())
    p.click(x + width // 3, top + height // 2)
    p.key("ctrl+a")
    p.type(str(count))
    p.click_widget("1")
    p.wait_no_modal()


def check_breaker_boxes(p, kind):
    """The breaker-box button offers boxes whose function reads as a breaker's."""
    p.click_widget(f"linear_chooser_{kind}")
    p.wait_modal()
    functions = [line.split("|")[4] for line in p.query("widgets").splitlines() if "|QLabel|" in line]
    p.click_widget("2")
    p.wait_no_modal()
    if "Disjoncteur" not in functions or any(text.startswith("Fusibles") for text in functions):
        raise desktop.StepFailed(f"the breaker boxes read {functions}")


def price_rows(p):
    """The shown price table as dicts keyed by its heading row."""
    rows = p.cells("linear_price_view")
    return [dict(zip(rows[0], row)) for row in rows[1:]]


def row_named(rows, start):
    found = [row for row in rows if row["Désignation"].startswith(start)]
    if not found:
        raise desktop.StepFailed(f"no row '{start}' in {[row['Désignation'] for row in rows]}")
    return found[0]


def check_line_on_screen(p, carried):
    """The rows above "Total pour 1 ligne" sum to it in each money column, and each row
    named in carried shows a quantity and a price."""
    rows = price_rows(p)
    end = rows.index(row_named(rows, LINE_TOTAL))
    faults = []
    for column in MONEY:
        shown = sum(checks.number(row[column]) or 0 for row in rows[:end])
        if shown != checks.number(rows[end][column]):
            faults.append(f"{column}: the rows sum to {shown}, the total reads {rows[end][column]}")
    for name, quantity in carried:
        row = row_named(rows, name)
        if row["Quantité"] != quantity or not checks.number(row["Prix brut"]):
            faults.append(f"{name} shows {row['Quantité']} at {row['Prix brut']}, not {quantity} priced")
    if faults:
        raise desktop.StepFailed("; ".join(faults))
    return rows


def line_total(p, name):
    """The gross total of a line as its price table shows it, the line chosen in the tree."""
    p.click_text(name)
    p.wait(lambda: any(row["Désignation"].startswith(LINE_TOTAL) for row in price_rows(p)),
           f"the price table of {name}")
    return row_named(price_rows(p), LINE_TOTAL)["Prix brut"]


def open_project(p, path):
    p.menu("Fichier", "Ouvrir")
    p.file_dialog("Ouvrir", path)
    p.wait(lambda: os.path.basename(path).split(".")[0] in p.dump()["title"], f"{path} open")


def close_project(p, *answers):
    """Closes the project, answering its questions in turn (7: No)."""
    p.menu("Fichier", "Fermer")
    for button in answers:
        p.answer(button)
    p.wait(lambda: p.dump().get("active") != "linear_window", "the project closed")


# group, current, range, the body's entries (slot: text typed, None: box ticked), name,
# the chooser's boxes (kind, rating, count), the rows that carry a quantity and a price
LINES = [
    ("Distribution horizontale", "100", "QDA", {3: None, 6: "12,5", 7: "1"}, "Atelier nord",
     (20, "16 A", 6), [("Changements de direction rigides", "1")]),
    ("Distribution horizontale", "250", "QPA", {3: None, 6: "36", 7: "2", 14: "20"}, "Atelier sud",
     None, [("Longueur IP54", "20 m")]),
    ("Lignes de transport", "1000", "QMA", {2: None, 5: "40", 7: "3", 28: None}, "Transfo - TGBT",
     None, [("Équerres de fixation", "1")]),
    ("Colonnes montantes", "630", "QMA", {3: None, 5: "24", 9: "6", 10: "3,5"}, "Colonne B",
     None, []),
    ("Distribution horizontale", "1000", "QJF", {3: None, 5: "8", 6: "20,5", 7: "2"}, "Quai nord B",
     None, []),
]
# What the user copies from a comment and pastes as the last line's name: one line.
PASTED = ("Quai", "Tab", "nord", "Return", "B")


def steps(s):
    with s.step("start linear costing") as p:
        p.start("/nsplash")
        p.wait_modal("Créer")
        p.click_text("Chiffrage linéaire")
        p.wait(lambda: "help_hint" in p.dump().get("activewindow", ""), "the start hint")
        p.click_text("OK")
        p.wait(lambda: p.dump().get("active") == "linear_window", "the linear window")

    with s.step("the empty project's price view says it has no line, and Escape leaves it") as p:
        p.click_text("Prix de l'affaire")
        p.wait(lambda: "aucune ligne" in p.widget("linear_price_empty")["text"], "the empty page's words")
        p.shot("empty_project_view")
        p.key("Escape")
        p.wait(lambda: not p.shown("linear_price_empty"), "the view left")

    for group, ampere, product, entries, name, boxes, carried in LINES:
        with s.step(f"a {product} {ampere} A line, {name}, adds up and is saved into the project") as p:
            new_line(p, group, ampere, product)
            dismiss_hint(p)
            for slot, value in entries.items():
                if value is None:
                    p.click_widget(f"linear_slot_{slot}")
                else:
                    p.fill(f"linear_slot_{slot}", value)
            if boxes:
                choose_boxes(p, *boxes)
            if product == "QPA":
                check_breaker_boxes(p, 21)
            p.click_widget("linear_body_next")
            p.wait(lambda: not p.shown("linear_body_next"), "the line priced")
            dismiss_hint(p)
            p.shot(f"{product}_{ampere}_priced")
            rows = check_line_on_screen(p, carried)
            if boxes and not any(row["Quantité"] == str(boxes[2]) for row in rows):
                raise desktop.StepFailed(f"no row of {boxes[2]} boxes: {rows}")
            if group != "Colonnes montantes" and any("colonne montante" in row["Désignation"] for row in rows):
                raise desktop.StepFailed(f"a {group} line shows riser rows: {rows}")
            p.click_widget("linear_save_line")
            p.wait_modal("Nom de la ligne")
            if name == LINES[-1][4]:
                p.key("ctrl+a", "ctrl+v")
            else:
                p.type(name)
            p.key("Return")
            p.wait(lambda: "\t\t" + name in p.query("cells linear_tree").splitlines(),
                   f"{name} on one line of the tree")

        if name == "Transfo - TGBT":
            with s.step("a double click on another group leaves a new line only when the user says so") as p:
                p.click_text("Distribution horizontale", count=2)
                p.fill("linear_ampere", "400")
                p.click_text("Colonnes montantes", count=2)
                p.answer("2", "perdues")
                if p.widget("linear_ampere")["text"] != "400":
                    raise desktop.StepFailed(f"the typed current reads {p.widget('linear_ampere')['text']}")
                p.click_text("Colonnes montantes", count=2)
                p.answer("1", "perdues")
                p.wait(lambda: "Colonnes montantes" in p.widget("linear_editor_title")["text"],
                       "the new line of the other group")

        if name == "Colonne B":
            with s.step("a negative floor height is refused naming its field; a copied comment") as p:
                p.click_text("Colonne B", count=2)
                p.wait(lambda: p.shown("linear_body_next"), "the line's body")
                p.fill("linear_slot_10", "3,5")
                p.key("Home", "minus")
                p.click_widget("linear_body_next")
                p.answer("1", "Hauteur d'étage")
                p.fill("linear_slot_10", "3,5")
                p.click_widget("linear_body_back")
                p.click_widget("linear_header_back")
                p.answer("1", "perdues")
                p.click_text("Nom et commentaire")
                p.click_widget("name_comment_comment")
                for part in PASTED:
                    (p.key if part in ("Tab", "Return") else p.type)(part)
                p.key("ctrl+a", "ctrl+c", "Escape")
                p.wait(lambda: not p.shown("name_comment_panel"), "the panel cancelled")

    with s.step("the project price view is left by its Ligne tab and by Escape") as p:
        p.click_text("Prix de l'affaire")
        p.wait(lambda: p.widget("linear_save_line")["text"] == "Fermer", "the view's Fermer button")
        p.shot("project_view")
        p.click_text("Ligne")
        p.wait(lambda: p.shown("linear_body_next"), "the shown line's editor")
        p.click_widget("linear_body_back")
        p.click_widget("linear_header_back")
        p.answer("1", "perdues")
        p.click_text("Prix de l'affaire")
        p.wait(lambda: p.shown("linear_project_coef"), "the project view")
        p.key("Escape")
        p.wait(lambda: not p.shown("linear_project_coef"), "the view left by Escape")

    with s.step("another price list keeps the discount typed for the first one") as p:
        p.click_text("Prix")
        p.click_text("Nom et commentaire")
        p.wait(lambda: p.shown("linear_price_dlg"), "the price settings")
        lists = p.entries("linear_price_lists")
        p.fill("linear_discount_0", "12")
        p.choose("linear_price_lists", lists[1])
        p.wait(lambda: "12 %" in p.widget("linear_price_list_note")["text"], "the note on the discount")
        p.shot("price_list_note")
        p.choose("linear_price_lists", lists[0])
        if checks.number(p.widget("linear_discount_0")["text"]) != 12:
            raise desktop.StepFailed(f"the discount reads {p.widget('linear_discount_0')['text']}")
        p.key("Escape")
        p.wait(lambda: not p.shown("linear_price_dlg"), "the settings cancelled")

    path = os.path.join(s.program.documents, "job.lin")
    with s.step("save as job.lin, over itself with the question, and reopen it without a hint") as p:
        for answers in ((), ("6",)):
            p.menu("Fichier", "Enregistrer sous")
            p.file_dialog("Enregistrer", path)
            for button in answers:
                p.answer(button, "Le fichier job.lin existe déjà.", "écraser ?")
            p.wait(lambda: os.path.exists(path) and "*" not in p.dump()["title"], "job.lin written")
        p.menu("Fichier", "Ouvrir")
        p.wait_modal("Ouvrir")
        types = p.entries("fileTypeCombo")
        if not any("*.lin" in entry for entry in types):
            raise desktop.StepFailed(f"the file types offered: {types}")
        p.key("Escape")
        p.wait_no_modal()
        close_project(p)
        open_project(p, path)
        p.shot("reopened")
        if any("help_hint" in window for window in p.dump()["window"]):
            raise desktop.StepFailed("the start hint shows again at a file opened")

    with s.step("the workbook: each line adds up, the job is the sum of its lines") as p:
        check_workbook(p, "job.xlsx")

    with s.step("after an import of user articles the reopened project keeps its saved prices or takes the new") as p:
        saved, saved_bytes = line_total(p, "Atelier nord"), open(path, "rb").read()
        articles = os.path.join(p.documents, "articles.txt")
        with open(articles, "w", encoding="utf-8") as file:
            file.write(ARTICLES)
        p.click_text("Prix")
        p.click_text("Nom et commentaire")
        p.click_widget("linear_price_import")
        p.file_dialog("Ouvrir", articles)
        p.answer("1", "mise à jour")
        p.click_widget("linear_price_apply")
        p.wait(lambda: not p.shown("linear_price_dlg"), "the settings applied")
        close_project(p, "7")
        for button, kept in (("7", True), ("6", False)):
            open_project(p, path)
            p.answer(button, "Atelier nord", saved)
            total = line_total(p, "Atelier nord")
            p.shot(f"reopened_{'kept' if kept else 'taken'}")
            if (total == saved) != kept or ("*" in p.dump()["title"]) == kept:
                raise desktop.StepFailed(f"{'kept' if kept else 'taken'}: the line reads {total} "
                                         f"(saved {saved}), the title {p.dump()['title']}")
            close_project(p, *(() if kept else ("7",)))
            if open(path, "rb").read() != saved_bytes:
                raise desktop.StepFailed("job.lin changed without a save")

    with s.step("on the Distribution price list too, the workbook's lines add up") as p:
        open_project(p, path)
        p.answer("6", "Atelier nord")
        p.click_text("Prix")
        p.click_text("Nom et commentaire")
        p.choose("linear_price_lists", "Distribution")
        p.click_widget("linear_price_apply")
        p.wait(lambda: not p.shown("linear_price_dlg"), "the settings applied")
        job = check_workbook(p, "job_distribution.xlsx")
        if not str(job["PriceList"]).startswith("Distribution"):
            raise desktop.StepFailed(f"the workbook is priced on {job['PriceList']}")


def check_workbook(p, name):
    """Exports the workbook on the linear model and checks it line by line."""
    import openpyxl
    workbook = os.path.join(p.documents, name)
    p.menu("Fichier", "Exporter", "Classeur Excel")
    p.file_dialog("Ouvrir", os.path.join(p.folder, "MODELS", "Tavrilon_Lineaire.xlsx"))
    p.file_dialog("Enregistrer", workbook)
    p.wait(lambda: os.path.exists(workbook), "the workbook", seconds=60)
    # The model's first sheet holds the data below its header.
    rows = list(openpyxl.load_workbook(workbook).worksheets[0].iter_rows(values_only=True))
    job = {row[0]: row[1] for row in rows if row}
    check_line_blocks(rows, job)
    return job


def check_line_blocks(rows, job):
    """Each line's rows sum to its "Total pour 1 ligne" (gross, sale), and the job's price,
    labour time and weight are the sums over its lines."""
    faults, sums = [], {"LineTotal": 0, "LineLabourTime": 0, "LineWeight": 0}
    names = [row[1] for row in rows if row[0] == "Line"]
    if len(names) != len(LINES):
        faults.append(f"{len(names)} lines in the workbook, {len(LINES)} costed")
    faults += [f"the name {name!r} is not one line" for name in names if any(c in str(name) for c in "\t\r\n")]
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
