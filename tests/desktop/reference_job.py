"""An estimator assembles a project reference by reference: a QDA line typed with a
decimal comma and given two breaker boxes, a lighting study of a 30 x 15,5 m hall that adds its QYA line, the
comparison of its solutions at a labour rate of 45, an import of user articles that
reprices it, and the XML order export read back with xml.etree."""

import math
import os
import xml.etree.ElementTree as ElementTree

import checks
import desktop

ARTICLES = ("QYB0000BJ1;Boîte de jonction révisée;90,00\n"  # taken
            "QYB0000BJ1;50.50\n"                            # taken
            "QYB0000BJ1;Nom;abc\n"                          # a price that is no number
            "QXYZ999;5\n"                                   # not in the article table
            "no separator\n"
            "QYB0000BJ1;5,25\n")                            # taken: the last price wins


def close_hint(p):
    """The line editor's hint opens beside the window without blocking it."""
    if "help_hint" in p.dump().get("activewindow", ""):
        p.click_text("OK")


def commit_line(p, name):
    """Takes the line's counts into its price table and keeps it under the name."""
    p.click_widget("ref_take_counts")
    p.answer("1")
    p.click_widget("ref_commit")
    p.wait_modal("Nom de la ligne")
    p.fill("text_entry_edit", name)
    p.key("Return")
    p.wait(lambda: [name] in [row[-1:] for row in p.cells("ref_tree")], f"{name} in the tree")
    # A line left on its prices page is closed by its button.
    p.wait(lambda: p.shown("ref_new_line") or p.shown("ref_commit"), "the line kept")
    if p.shown("ref_commit"):
        p.click_widget("ref_commit")
    p.wait(lambda: p.shown("ref_new_line"), "the project's tree")


def number(p, name):
    return checks.number(p.widget(name)["text"])


def steps(s):
    study = {}

    with s.step("start costing by reference") as p:
        p.start("/nsplash")
        p.wait_modal("Créer")
        p.click_text("Chiffrage par références")
        p.wait(lambda: p.dump().get("active") == "reference_window", "the reference window")
        p.wait(lambda: "help_hint" in p.dump().get("activewindow", ""), "the start hint")
        close_hint(p)
        p.shot("reference_window")

    with s.step("a length of 30,5 m is never read as 305") as p:
        p.click_text("Canalisation QDA", count=2)
        p.wait(lambda: p.widget("ref_length"), "the line page")
        close_hint(p)
        p.fill("ref_length", "30,5")
        p.key("Tab")
        if p.widget("ref_length")["text"] != "30,5":
            raise desktop.StepFailed(f"the length reads {p.widget('ref_length')['text']}")
        p.click_widget("ref_validate")
        p.shot("qda_length")
        # Whole metres only: the refusal names the field.
        p.answer("1", "Longueur", "9999")
        p.fill("ref_length", "30")
        p.click_widget("ref_validate")
        p.wait(lambda: p.widget("ref_take_counts"), "the line's components")

    with s.step("two breaker boxes on the QDA line, and nothing else") as p:
        p.click_widget("ref_choose_1200")
        p.wait_modal("Coffrets QD")
        p.choose("ref_rating_group", "Coffrets à disjoncteur")
        if p.widget("ref_rating_type_1")["text"] != "Disjoncteur":
            raise desktop.StepFailed(f"the breaker box reads {p.widget('ref_rating_type_1')['text']}")
        p.fill("ref_rating_value_1", "2")
        p.shot("breaker_boxes")
        p.click_widget("ref_panel_ok")
        p.wait_no_modal()
        commit_line(p, "Atelier nord")

    with s.step("a lighting study of a 30 x 15,5 m hall") as p:
        p.menu("Éclairage", "Calcul d'éclairage")
        p.wait_modal("Calcul d'éclairage")
        rooms = p.entries("1550")  # the depreciation factor's rooms, in the interface's words
        if rooms != ["Propre", "Normal", "Poussiéreux"]:
            raise desktop.StepFailed(f"the depreciation rooms read {rooms}")
        for name, text in (("light_length", "30"), ("light_width", "15,5"), ("light_height", "6")):
            p.fill(name, text)
        p.shot("lighting_room")
        p.click_widget("1149")
        p.choose("light_luminaire", "Réglette 2x36 W")
        p.click_widget("1149")
        p.fill("light_illuminance", "300")
        p.click_widget("1149")
        p.wait(lambda: p.widget("light_em")["text"], "the layout")
        p.shot("lighting_layout")
        study = {name: number(p, name) for name in
                 ("light_count", "light_runs", "light_per_run", "light_run_spacing", "light_spacing",
                  "light_em")}
        runs, per_run = int(study["light_runs"]), int(study["light_per_run"])
        # The runs lie along the 30 m and share out the 15,5 m, spacings in whole millimetres.
        expected = {"light_count": runs * per_run, "light_run_spacing": 15500 // runs / 1000,
                    "light_spacing": 30000 // per_run / 1000}
        wrong = {name: (study[name], value) for name, value in expected.items()
                 if abs(study[name] - value) > 1e-9}
        if wrong or study["light_em"] < 300:
            raise desktop.StepFailed(f"the layout reads (shown, expected) {wrong}, {study['light_em']} lx")
        p.click_widget("1149")
        p.wait(lambda: p.widget("1531"), "the range page")
        p.shot("lighting_range")
        p.click_widget("1531")  # QYA
        p.wait_no_modal()
        p.wait(lambda: p.widget("ref_length"), "the new QYA line")
        close_hint(p)
        # Each run stops a metre short of the walls, or at the last luminaire's reach.
        run_mm = min(30000 - 1000, 30000 - 30000 // per_run + 1200)
        if (number(p, "ref_length"), number(p, "ref_count")) != (math.ceil(run_mm / 1000), per_run):
            raise desktop.StepFailed(f"the line reads {p.widget('ref_length')['text']} m and "
                                     f"{p.widget('ref_count')['text']} luminaires per run")

    with s.step("the comparison at a labour rate of 45 reaches the price panel") as p:
        p.click_widget("ref_validate")
        p.answer("6", "Comparer")
        p.wait_modal("Comparatif")
        p.fill("1351", "45")
        p.click_widget("1")
        p.wait(lambda: number(p, "1351") == 45, "the rate applied")
        p.shot("comparison")
        p.click_widget("2")
        p.wait_no_modal()
        commit_line(p, "Atelier")
        p.click_text("Prix")
        p.click_text("Nom et commentaire")
        p.wait(lambda: p.widget("ref_price_mo"), "the price panel")
        p.shot("price_panel")
        if number(p, "ref_price_mo") != 45:
            raise desktop.StepFailed(f"the panel's labour rate reads {p.widget('ref_price_mo')['text']}")

    with s.step("an import of six user article lines tells the three it does not take") as p:
        path = os.path.join(p.documents, "articles.txt")
        with open(path, "w", encoding="utf-8") as file:
            file.write(ARTICLES)
        p.click_widget("ref_price_button_1308")
        p.file_dialog("Ouvrir", path)
        p.wait_modal(desktop.PROGRAM)
        p.shot("import_report")
        report = p.answer("1", "ligne 3 : le prix", "ligne 4 : la référence", "ligne 5 : pas de référence")
        if any(f"ligne {n} " in report for n in (1, 2, 6)):
            raise desktop.StepFailed(f"a line taken is told as refused: {report}")
        p.answer("1", "mise à jour")
        p.click_widget("ref_price_button_1303")
        p.wait(lambda: not p.shown("ref_price_panel"), "the panel applied")

    with s.step("the XML order export reads back as its format says") as p:
        path = os.path.join(p.documents, "job.xml")
        p.click_text("Prix")  # the whole project
        p.menu("Fichier", "Exporter", "XML", "Fichier de commande XML")
        p.file_dialog("Enregistrer", path)
        p.wait(lambda: os.path.exists(path) and os.path.getsize(path) > 0, "job.xml written")
        check_order_file(path, study)


def check_order_file(path, study):
    with open(path, "rb") as file:
        data = file.read()
    if not data.startswith(b"\xff\xfe"):
        raise desktop.StepFailed(f"no UTF-16LE byte-order mark: {data[:4]!r}")
    text = data[2:].decode("utf-16-le")
    lines = text.split("\r\n")
    if lines[-1] != "" or "\n" in text.replace("\r\n", ""):
        raise desktop.StepFailed("the lines do not all end with CR LF")
    root = ElementTree.fromstring(text)
    depth = {root: 0}
    for parent in root.iter():
        for child in parent:
            depth[child] = depth[parent] + 1
    # Each element's line is indented by one TAB per level.
    opened = [len(line) - len(line.lstrip("\t")) for line in lines[:-1]
              if not line.lstrip("\t").startswith("</")]
    if opened != [depth[element] for element in root.iter()]:
        raise desktop.StepFailed("the indentation does not follow the nesting")
    expect(root.tag == "SectionConfiguration" and root.attrib == {
        "Code": "Morquin", "NomConfigurateur": desktop.PROGRAM, "Version": "3.0.0"}, f"root {root.attrib}")
    expect([c.tag for c in root] == ["Lignes", "Documents", "DiversTarifs"], "the root's children")
    lines = {}
    for line in root.find("Lignes"):
        head = children(line)
        expect(head[1:] == [("Discount", "1000"), ("Lignes", ""), ("PartNumber", ""), ("NetPrice", "0"),
                            ("Quantity", "1")], f"a line {head}")
        lines[head[0][1]] = order_items(line)
    hall, north = "Éclairage - QYA - Atelier", "Distribution de puissance - QDA - Atelier nord"
    expect(sorted(lines) == sorted([hall, north]), f"the lines {list(lines)}")
    runs, per_run = int(study["light_runs"]), int(study["light_per_run"])
    expect(lines[hall].get("QYB0000BJ1") == ("Boîte de jonction révisée", runs * per_run),
           f"the luminaire boxes {lines[hall].get('QYB0000BJ1')}")
    run_m = math.ceil(min(29000, 30000 - 30000 // per_run + 1200) / 1000)
    expect(straight_metres(lines[hall]) == runs * run_m,
           f"straights of {straight_metres(lines[hall])} m for {runs} runs of {run_m} m")
    boxes = {reference: item for reference, item in lines[north].items() if reference.startswith("QDB00")
             and reference[5:7].isdigit() and reference[5:7] != "00"}
    expect(list(boxes) == ["QDB0032SD"] and boxes["QDB0032SD"][1] == 2, f"the QDA line's boxes {boxes}")
    expect(straight_metres(lines[north]) == 30, f"the QDA line's straights of {straight_metres(lines[north])} m")


def order_items(line):
    """The line's items by reference, checked against the item layout."""
    items = {}
    for item in line.find("Lignes"):
        fields = dict(children(item))
        expect([tag for tag, _ in children(item)] == ["Description", "Discount", "Lignes", "PartNumber",
                                                      "NetPrice", "Quantity"], f"an item {fields}")
        expect(fields["Discount"] == "1000" and fields["NetPrice"] == "0", f"an item's prices {fields}")
        if fields["PartNumber"]:
            items[fields["PartNumber"]] = (fields["Description"], int(fields["Quantity"]))
        else:  # a group's title row, as the price table shows it
            expect(fields["Description"].startswith("** ") and not fields["Quantity"], f"a title row {fields}")
    return items


def straight_metres(items):
    """The metres of the straight lengths, read from their designations ("Élément droit 3 m")."""
    return sum(int(description.split(" m,")[0].split()[-1]) * quantity
               for description, quantity in items.values() if description.startswith("Élément droit"))


def children(element):
    return [(child.tag, (child.text or "").strip()) for child in element]


def expect(condition, what):
    if not condition:
        raise desktop.StepFailed(f"the order file: {what}")


if __name__ == "__main__":
    desktop.main(steps)
