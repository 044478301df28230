"""A designer lays out a job from an empty design with the mouse, prices it, changes
their mind, and checks the bill in numbers after each step."""

import csv
import os
import re
import shutil

import checks
import desktop

PLUS_X, MINUS_X, UP, DOWN, PLUS_Z, MINUS_Z = 1, 2, 4, 8, 32, 16


def point(p, answer):
    return tuple(int(v) for v in answer.split()[:2])


def toward(p, axis, length):
    """A click toward an axis, at a length from the insertion point, where the view
    shows it."""
    for _ in range(8):
        x, y = point(p, p.query(f"toward {axis} {length}"))
        vx, vy, vw, vh = (int(v) for v in p.query("widget layout_view").split("|")[0].split())
        if vx + 20 <= x < vx + vw - 20 and vy + 20 <= y < vy + vh - 20:
            p.click(x, y)
            return
        # Out of sight: the user zooms out about the middle of the view (Ctrl+wheel).
        p.move(vx + vw // 2, vy + vh // 2)
        p.xdotool("keydown", "ctrl")
        p.wheel(vx + vw // 2, vy + vh // 2, -2)
        p.xdotool("keyup", "ctrl")
    raise desktop.StepFailed(f"{length} toward axis {axis} stays outside the view, at {x},{y}")


def open_run_properties(p, tab, menu=("Ligne", "Propriétés de la ligne")):
    p.menu(*menu)
    p.wait(lambda: p.dump()["props"] != "hidden", "the property window")
    p.click_text(tab)


def open_element_properties(p, index, tab, run="A"):
    """Selects an element with the mouse and opens its pages on a tab."""
    p.menu("Conception", "Sélectionner")
    p.double_click(*p.element_point(run, index))
    p.wait(lambda: p.dump()["props"] != "hidden", "the property window")
    p.click_text(tab)


def price_list_shown(p):
    return any(window.startswith("CPriceBaseDlg") for window in p.dump()["window"])


def props_frame(p):
    """The property window's frame and client rectangles, as x, y, w, h lists."""
    props = p.dump()["props"].split("|")
    return [[int(v) for v in rect.split()] for rect in props[:2]]


def update_prices(p, menu=("Ligne", "Mettre à jour les prix")):
    """Updates the prices from the menu: what could not be priced is told first, then the
    price list shows; both are closed, so that they cover nothing."""
    p.menu(*menu)

    def listed():
        if p.dump().get("modal"):
            p.key("Return")
            return False
        return price_list_shown(p)
    p.wait(listed, "the price list")
    p.shot("priced")
    # It shows beside the layout without taking the focus: a click on its title, Escape.
    window = next(w for w in p.dump()["window"] if w.startswith("CPriceBaseDlg"))
    x, y, w, _ = (int(v) for v in window.split("|")[3].split())
    p.click(x + w // 2, y + 8)
    p.wait(lambda: p.dump()["activewindow"].startswith("CPriceBaseDlg"), "the price list active")
    p.key("Escape")
    p.wait(lambda: not price_list_shown(p), "the price list to close")


def start_empty_design(p):
    p.start()
    p.wait_modal("Bienvenue")
    p.click_text("OK")
    p.wait_modal("Créer")
    p.click_text("Conception graphique")
    p.wait(lambda: p.dump().get("active") == "layout_document", "the layout window")


def new_run(p, range_name, rating, toward_axis=None):
    """Ligne > Nouvelle ligne, its start turned toward an axis (or left as it comes), and
    the range and rating chosen on its page."""
    p.menu("Ligne", "Nouvelle ligne")
    p.wait_status("orienter le départ")
    if toward_axis is not None:
        toward(p, toward_axis, 3000)
    p.key("Return")
    p.wait_status("face libre")
    open_run_properties(p, "Calibre")
    p.choose("1020", range_name)
    p.choose("1021", rating)
    p.key("Escape")


def lay_run(p, range_name, rating, moves):
    """A new run of that range and rating, its start turned toward the first move, laid
    out with the mouse and priced; its bill."""
    # The price list of an earlier pricing would cover the view that the user zooms in.
    p.close_window("Base tarifaire")
    new_run(p, range_name, rating, moves[0][0])
    run = p.dump()["current"]
    for axis, length in moves:
        laid = len(p.elements(run))
        toward(p, axis, length)
        p.wait(lambda: len(p.elements(run)) > laid, f"a length laid toward axis {axis}")
    update_prices(p)
    p.shot(f"{range_name}_{rating}")
    return current_bill(p)


def click_last_straight(p, run, command):
    """Takes the design command's tool and clicks on the run's last straight, on a face
    that it draws."""
    straight = [e for e in p.elements(run) if e["kind"] == 1][-1]
    face = next(f for f in range(6) if p.box(run, straight["index"], f))
    p.menu("Conception", command)
    p.click(*desktop._centre(p.box(run, straight["index"], face)))


def current_bill(p):
    return checks.bill_lines(p.bill()[1])


def steps(s):
    with s.step("start on an empty design") as p:
        start_empty_design(p)
        p.shot("empty_design")

    with s.step("place run A's start toward +x") as p:
        toward(p, PLUS_X, 3000)
        p.key("Return")
        p.wait_status("face libre")

    with s.step("the property window opens whole, with its title bar") as p:
        open_run_properties(p, "Calibre")
        frame, inner = props_frame(p)
        view = [int(v) for v in p.widget("layout_view")["rect"].split()]
        p.shot("run_properties")
        # On the screen, with its caption, below the menus and toolbars.
        if (frame[0] < 0 or frame[1] < view[1] or frame[0] + frame[2] > 1600
                or frame[1] + frame[3] > 1000 or frame[3] <= inner[3]):
            raise desktop.StepFailed(f"property window frame {frame} (client {inner})")

    with s.step("choose QGA 1000 A on the rating page") as p:
        if p.dump()["props"] == "hidden":
            open_run_properties(p, "Calibre")
        p.choose("1020", "QGA")
        p.choose("1021", "1000")
        p.key("Escape")
        p.shot("rating_chosen")

    with s.step("lay out a straight, a riser and a straight with the mouse") as p:
        toward(p, PLUS_X, 6000)
        toward(p, UP, 3000)
        toward(p, PLUS_Z, 4000)
        p.shot("laid_out")
        kinds = [e["kind"] for e in p.elements("A")]
        # The start, an elbow at the foot and at the head of the riser, a straight end.
        if kinds != [0, 2, 2, 1]:
            raise desktop.StepFailed(f"run A's elements: {kinds}")

    with s.step("update the prices") as p:
        p.menu("Ligne", "Mettre à jour les prix")
        # What could not be priced is told in one message; the price list shows after.
        p.wait(lambda: p.dump().get("modal") or p.dump().get("activewindow"), "the pricing to end")
        p.shot("prices_updated")
        p.key("Escape")

    with s.step("every bill line is priced") as p:
        p.wait_no_modal()
        lines = current_bill(p)
        checks.check_every_line_priced(lines)

    with s.step("the bill adds up") as p:
        lines = current_bill(p)
        checks.check_bill_sums(lines)
        checks.check_no_negative_lengths(lines)

    with s.step("the piece shown in the property window is drawn selected, and no other") as p:
        p.close_window("Base tarifaire")
        p.menu("Conception", "Sélectionner")
        p.menu("Affichage", "Zoom avant")
        vx, vy, _, _ = (int(v) for v in p.widget("layout_view")["rect"].split())
        p.click(vx + 12, vy + 12)
        plain = p.shot("nothing_selected")
        faces = {(e["index"], f): r for e in p.elements("A") for f in range(6) if (r := p.box("A", e["index"], f))}
        clicked = max(faces, key=lambda k: int(faces[k].split()[2]) * int(faces[k].split()[3]))
        p.double_click(*desktop._centre(faces[clicked]))
        p.wait(lambda: p.dump()["props"] != "hidden", "the property window")
        p.move(vx + 12, vy + 12)
        shown = p.dump()["props"].split("|")
        selected = p.shot("piece_shown")
        frame = " ".join(shown[0].split())
        marked = sorted(k for k, r in faces.items() if not checks.touching(r, frame, 0)
                        and checks.changed_pixels(plain, selected, checks.inner(r)))
        # The piece is drawn as the face boxes of its two joints, which meet.
        (a, fa), (b, fb) = marked if len(marked) == 2 else ((-1, 0), (-2, 0))
        if (clicked not in marked or checks.OPPOSITE[fa] != fb or not checks.touching(faces[(a, fa)], faces[(b, fb)])
                or shown[2] not in (f"A.{a}", f"A.{b}")):
            raise desktop.StepFailed(f"{shown[2]} shown from a click on {clicked}; drawn selected: {marked}")
        p.close_window("Propriétés")
        p.menu("Affichage", "Zoom arrière")

    with s.step("an end made with the mouse has its reference at once") as p:
        straight = [e for e in p.elements("A") if e["kind"] == 1][-1]
        p.menu("Conception", "Extrémité")
        p.click(*p.element_point("A", straight["index"]))
        ends = [e for e in p.elements("A") if e["kind"] == 0]
        if len(ends) != 2 or any("#[" in e["reference"] for e in ends):
            raise desktop.StepFailed(f"the ends: {ends}")
        update_prices(p)
        checks.check_every_line_priced(current_bill(p))

    with s.step("opening the start's page changes nothing; a feed variant is priced") as p:
        before = current_bill(p)
        open_element_properties(p, 0, "Caractéristiques")
        p.shot("start_page")
        if current_bill(p) != before:
            raise desktop.StepFailed("opening the page changed the bill")
        p.choose("1020", "Alimentation d'extrémité")
        p.key("Escape")
        update_prices(p)
        checks.check_every_line_priced(current_bill(p))

    with s.step("the feed page offers the pictures of the run code table") as p:
        for variant, pictures in (("Boîte d'alimentation", 2), ("Raccordement transformateur", 1)):
            open_element_properties(p, 0, "Caractéristiques")
            before = props_frame(p)[0]
            p.choose("1020", variant)
            after = props_frame(p)[0]
            # More tabs scroll in their strip: the window neither moves nor changes its size.
            if after != before:
                raise desktop.StepFailed(f"{variant}: the window went from {before} to {after}")
            p.click_text("Boîte d'alimentation", seconds=5)
            shown = p.cells("1003")
            p.shot("feed_page")
            p.key("Escape")
            if len(shown) != pictures:
                raise desktop.StepFailed(f"{variant}: pictures {shown}")

    with s.step("a feed box with its bar exit chosen is priced, in the exported bill too") as p:
        open_element_properties(p, 0, "Caractéristiques")
        p.choose("1020", "Boîte d'alimentation")
        p.click_text("Forme", seconds=5)
        # The first picture of the bar exits, where the list draws it.
        x, y, _, h = (int(v) for v in p.widget("1003")["rect"].split())
        p.click(x + h // 2, y + h // 2)
        p.shot("feed_box_shape")
        p.key("Escape")
        update_prices(p)
        lines = current_bill(p)
        checks.check_every_line_priced(lines)
        path = desktop.export(p, ".csv", "Fichier", "Exporter", "Fichier CSV")
        with open(path, encoding="utf-16", newline="") as f:
            written = checks.bill_lines(list(csv.reader(f, delimiter=";")))
        boxes = [line for line in written if line["Référence"].startswith("QGA1000TP411")]
        if len(boxes) != 1 or not checks.number(boxes[0]["Prix unitaire"]):
            raise desktop.StepFailed(f"the feed box in the exported bill: {boxes}")

    with s.step("the property window moved by its caption opens there again") as p:
        open_element_properties(p, 0, "Caractéristiques")
        x, y, w, _ = props_frame(p)[0]
        p.drag((x + w // 2, y + 8), (x + w // 2 + 150, y + 8 + 400))
        moved = props_frame(p)[0]
        for _ in range(2):
            p.key("Escape")
            p.menu("Conception", "Sélectionner")
            p.click(*p.element_point("A", 0))
            p.wait(lambda: p.dump()["props"] == "hidden", "the property window to close")
            open_element_properties(p, 0, "Caractéristiques")
            again = props_frame(p)[0]
            if again[:2] != moved[:2] or moved[:2] == [x, y]:
                raise desktop.StepFailed(f"moved from {x},{y} to {moved}, opened again at {again}")
        p.key("Escape")

    with s.step("change the rating to 800 A: every reference follows it") as p:
        open_run_properties(p, "Calibre")
        p.choose("1021", "800")
        p.key("Escape")
        update_prices(p)
        lines = current_bill(p)
        wrong = [line["Référence"] for line in lines if line["Référence"].startswith("QGA")
                 and not line["Référence"].startswith("QGA0800")]
        checks.check_bill_sums(lines)
        if wrong:
            raise desktop.StepFailed(f"references of another rating: {wrong}")

    with s.step("delete the riser's head elbow: the bill holds what remains") as p:
        p.menu("Conception", "Sélectionner")
        p.click(*p.element_point("A", 2))
        p.menu("Edition", "Supprimer l'élément")
        p.wait_modal()
        p.shot("delete_question")
        p.key("Return")
        p.wait_no_modal()
        p.shot("deleted")
        lines = current_bill(p)
        checks.check_no_negative_lengths(lines)
        checks.check_bill_sums(lines)
        if any(line["Référence"].startswith("QGA0800LP") for line in lines):
            raise desktop.StepFailed("the deleted elbow is still in the bill")

    with s.step("new runs are named in turn") as p:
        for _ in range(3):
            p.menu("Ligne", "Nouvelle ligne")
            p.wait_status("orienter le départ")
            p.key("Return")
        runs = p.dump()["runs"]
        p.shot("new_runs")
        if runs != "A,B,C,D":
            raise desktop.StepFailed(f"runs named {runs}")

    with s.step("undo and redo keep the bill") as p:
        p.menu("Edition", "Annuler")
        p.menu("Edition", "Rétablir")
        checks.check_bill_sums(current_bill(p))
        checks.check_marks_match_bill(p)

    with s.step("a riser on QMA 1600 A: every drawn piece is in the bill or named as unpriced") as p:
        new_run(p, "QMA", "1600", DOWN)
        toward(p, DOWN, 3000)
        run = p.dump()["current"]
        p.menu("Ligne", "Mettre à jour les prix")
        message = p.wait(lambda: p.dump().get("modal") and p.query("widgets"), "the message of what was not priced")
        p.shot("riser_unpriced")
        p.key("Return")
        p.wait_no_modal()
        checks.check_every_element_billed(p, run, current_bill(p), message)

    for range_name, rating, moves, ratings in (
            ("QMA", "1600", ((PLUS_X, 6000), (UP, 3000)), "1600"),
            ("QJF", "1000", ((MINUS_X, 5000), (PLUS_Z, 3000)), "14"),
            # QP accessories come by rating group: a 250 A run takes the 400 A supports.
            ("QPA", "250", ((PLUS_Z, 8000), (PLUS_X, 2000)), "250|400")):
        with s.step(f"a {range_name} {rating} A run laid out and priced: every reference is of "
                    f"its range and rating") as p:
            lines = lay_run(p, range_name, rating, moves)
            checks.check_bill_sums(lines)
            checks.check_no_negative_lengths(lines)
            wrong = [line["Référence"] for line in lines
                     if not re.match(f"{range_name}0*({ratings}|{int(rating) // 100})[A-Z]",
                                     line["Référence"])]
            # Designations name the run's own rating ("QPA 250 à 400 A" for a grouped one).
            wrong += [line["Désignation"] for line in lines if line["Référence"].startswith(range_name)
                      and f" {rating} " not in line["Désignation"]]
            if not lines or wrong:
                raise desktop.StepFailed(f"lines of another range or rating: {wrong}")

    with s.step("an in-line unit placed with the mouse on QMA has its reference at once") as p:
        new_run(p, "QMA", "1600", PLUS_X)
        p.close_window("Base tarifaire")
        toward(p, PLUS_X, 6000)
        run = p.dump()["current"]
        click_last_straight(p, run, "Appareil en ligne")
        p.wait(lambda: any(e["kind"] == 7 for e in p.elements(run)), "the unit placed")
        p.shot("unit_placed")
        units = [e["reference"] for e in p.elements(run) if e["kind"] == 7]
        unknown = [line for line in current_bill(p) if any("#[" in cell for cell in line.values())]
        if any("#[" in unit for unit in units) or unknown:
            raise desktop.StepFailed(f"the unit {units}; bill lines of no piece: {unknown}")

    with s.step("a special piece inserted with the mouse on QMA has its reference at once "
                "and is priced") as p:
        run = p.dump()["current"]
        click_last_straight(p, run, "Insérer un élément")
        p.wait(lambda: any(e["kind"] == 8 for e in p.elements(run)), "the piece inserted")
        pieces = [e["reference"] for e in p.elements(run) if e["kind"] == 8]
        if not pieces or any("#[" in piece for piece in pieces):
            raise desktop.StepFailed(f"the special piece made as {pieces}")
        update_prices(p)
        p.shot("special_piece_priced")
        lines = current_bill(p)
        checks.check_bill_sums(lines)
        # Built, the piece books the range's special part (family EF) at the run's rating.
        priced = [line for line in lines if line["Référence"].startswith("QMA1600EF")
                  and line["Prix unitaire"].strip()]
        if not priced or any(line["Référence"].strip() in pieces for line in lines):
            raise desktop.StepFailed(f"the piece {pieces} not priced: {lines}")

    with s.step("the QJF sample turned over with the rotation commands is priced") as p:
        p.close_window("Base tarifaire")
        sample = os.path.join(p.documents, "qjf_sample.run")
        shutil.copy(os.path.join(p.folder, "examples", "qjf_sample.run"), sample)
        p.menu("Fichier", "Ouvrir")
        p.file_dialog("Ouvrir", sample)
        p.wait(lambda: "qjf_sample" in p.dump()["title"], "qjf_sample.run opened")
        run = p.dump()["current"]
        for _ in range(2):
            before = sorted(e["rect"] for e in p.elements(run))
            p.menu("Ligne", "Pivoter vers l'avant")
            p.wait(lambda: sorted(e["rect"] for e in p.elements(run)) != before, "the run turned")
        update_prices(p)
        p.shot("qjf_turned_over")
        lines = current_bill(p)
        checks.check_every_line_priced(lines)
        # Turned over, the feed units' outlets face the other side: places 10 and 30.
        feeds = [line["Référence"] for line in lines if re.match(r"QJF26A[A-L]2\d[13]", line["Référence"])]
        if len(feeds) != 2:
            raise desktop.StepFailed(f"the feed units turned over: {feeds} in {lines}")

if __name__ == "__main__":
    desktop.main(steps)
