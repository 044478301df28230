"""A designer changes their mind on a distribution run: a QDA 40 A run of 30 m is priced,
tap-off units are placed on its outlets with the mouse, and then the run is turned, moved,
copied, rotated and rotated back, units are added and removed, a run is deleted, undone
and redone; the bill is checked in numbers after each step."""

import checks
import desktop
from design_job import (PLUS_X, PLUS_Z, UP, current_bill, open_run_properties,
                        start_empty_design, toward, update_prices)

UNIT = "QDB0016SE"


def quantity(lines, reference):
    return sum(checks.number(line["Quantité"]) or 0 for line in lines if line["Référence"] == reference)


def units(p, run="A"):
    return [e for e in p.elements(run) if e["kind"] == 14]


def check_bill(p):
    lines = current_bill(p)
    checks.check_bill_sums(lines)
    checks.check_no_negative_lengths(lines)
    return lines


def choose_unit(p, reference, distribute=False):
    """Conception > Boîtes de dérivation: the unit's button, the distribution box, OK.
    The tool that is on is left first (the same item would only leave it)."""
    p.key("Escape")
    p.menu("Conception", "Boîtes de dérivation")
    p.wait_modal()
    buttons = [line.split("|") for line in p.query("widgets").splitlines()]
    button = next((b for b in buttons if b[2] == "QRadioButton" and reference in b[4]), None)
    if button is None:
        raise desktop.StepFailed(f"no button for {reference} among {[b[4] for b in buttons]}")
    p.click(*desktop._centre(button[1]))
    if distribute:
        p.click_widget("1677")
    p.click_widget("1")


def outlets(p, run="A", which=""):
    """Where the tap-off tool draws the run's outlets for the unit chosen: the free ones,
    or with which="taken" those on which a unit stands."""
    answer = p.query(f"outlets {run} {which}".strip())
    x, y, w, h = (int(v) for v in p.widget("layout_view")["rect"].split())
    found = [tuple(int(v) for v in line.split()) for line in answer.splitlines()]
    # Those the view shows, where a click reaches it.
    return [at for at in found if x + 20 <= at[0] < x + w - 20 and y + 20 <= at[1] < y + h - 20]


def answer_length(p, text):
    p.wait_modal()
    p.key("ctrl+a")
    p.type(text)
    p.key("Return")
    p.wait_no_modal()


def layout_of(p, run):
    """Where the run's elements are drawn, units aside, whatever their order."""
    return sorted(e["rect"] for e in p.elements(run) if e["kind"] != 14)


def rect_of(p, run, index):
    return p.query(f"box {run} {index} 6")


def empty_point(p):
    """A point of the view where nothing is drawn: a click there selects nothing."""
    x, y, _, _ = (int(v) for v in p.widget("layout_view")["rect"].split())
    return x + 12, y + 12


def unselected_shot(p, name):
    p.click(*empty_point(p))
    return p.shot(name)


OPPOSITE = checks.OPPOSITE


def joint_in_view(p, run="A"):
    """Two pieces in turn, where the view shows them: the first's face box at their joint
    and the second's face box opposite, which meet there. (index, face, [the two
    rectangles], the first's other face box or None)."""
    x, y, w, h = (int(v) for v in p.widget("layout_view")["rect"].split())
    pieces = [e["index"] for e in p.elements(run) if e["kind"] != 14]
    for index, following in zip(pieces, pieces[1:]):
        for face, opposite in OPPOSITE.items():
            rect, near = p.box(run, index, face), p.box(run, following, opposite)
            if rect is None or near is None or not checks.touching(rect, near):
                continue
            cx, cy = desktop._centre(rect)
            if x + 20 < cx < x + w - 20 and y + 20 < cy < y + h - 20:
                return index, face, [rect, near], p.box(run, index, opposite)
    raise desktop.StepFailed(f"no joint of run {run} in view")


def clear_of_labels(p, rect):
    """A point of the rectangle that no label covers: a click there reaches what is
    drawn, not the label on top of it."""
    covers = [label[3] for label in checks.labels(p) if len(label) > 3 and label[3]]
    x, y, w, h = (int(v) for v in rect.split())
    cx, cy = x + w // 2, y + h // 2
    # The nearest the middle, where the piece is drawn whatever its shape.
    for px, py in sorted(((px, py) for px in range(x + 1, x + w - 1) for py in range(y + 1, y + h - 1)),
                         key=lambda at: abs(at[0] - cx) + abs(at[1] - cy)):
        if not any(checks.touching(f"{px} {py} 0 0", cover, slack=1) for cover in covers):
            return px, py
    raise desktop.StepFailed(f"{rect} lies under labels")


def piece_boxes(p, run="A"):
    """The run's pieces, units aside: their boxes' rectangles by slot (faces and main)."""
    return {e["index"]: {slot: rect for slot in range(7) if (rect := p.box(run, e["index"], slot))}
            for e in p.elements(run) if e["kind"] != 14}


def steps(s):
    with s.step("start on an empty design") as p:
        start_empty_design(p)

    with s.step("lay out a QDA 40 A run of 30 m") as p:
        toward(p, PLUS_X, 3000)
        p.key("Return")
        p.wait_status("face libre")
        open_run_properties(p, "Calibre")
        p.choose("1020", "QDA")
        p.choose("1021", "40")
        p.key("Escape")
        for _ in range(6):
            p.menu("Affichage", "Zoom arrière")
        toward(p, PLUS_X, 30000)

    with s.step("the grey tap-off item says why it is grey") as p:
        p.key("alt+c")
        items = p.wait(lambda: p.dump().get("popup") and p._menu_items(), "the menu Conception")
        item = p._find_item(items, "Boîtes de dérivation")
        p.move(*desktop._centre(item[2]))
        p.wait(lambda: any(w.startswith("QTipLabel") for w in p.dump()["window"]), "the hint shown")
        p.shot("tap_off_hint")
        p.key("Escape")
        if item[1] != "0" or "pièces" not in item[3]:
            raise desktop.StepFailed(f"the item reads {item}")

    with s.step("price the run") as p:
        update_prices(p)
        if not any(line["Référence"].startswith("QDA") for line in check_bill(p)):
            raise desktop.StepFailed("no QDA reference in the bill")

    with s.step("the tap-off tool shows its prompt and the free outlets") as p:
        choose_unit(p, UNIT)
        p.wait_no_modal()
        p.wait_status("prise")
        found = outlets(p)
        if len(found) < 4:
            raise desktop.StepFailed(f"outlets drawn: {found}")
        p.move(*found[0])
        p.shot("outlet_hovered")

    with s.step("two units placed where the user clicks") as p:
        found = outlets(p)
        for at in (found[0], found[len(found) // 2]):
            p.click(*at)
        p.shot("units_placed")
        placed = units(p)
        lines = check_bill(p)
        if len(placed) != 2 or quantity(lines, UNIT) != 2:
            raise desktop.StepFailed(f"units {placed}, {quantity(lines, UNIT)} {UNIT} in the bill")

    with s.step("the units are priced with the run") as p:
        update_prices(p)
        lines = check_bill(p)
        checks.check_every_line_priced([line for line in lines if line["Référence"] == UNIT])
        if len(units(p)) != 2 or quantity(lines, UNIT) != 2:
            raise desktop.StepFailed(f"{quantity(lines, UNIT)} {UNIT} in the bill after pricing")

    with s.step("a taken outlet is refused with its cause") as p:
        p.click(*outlets(p, which="taken")[0])
        # The outlet itself is taken, or the one on the joint's other side at the same
        # place would make the units touch: each is told.
        told = p.wait(lambda: "déjà" in p.dump()["status"] or p.dump().get("modal"), "the cause")
        if told is not True and "coffret" not in p.query("widgets"):
            raise desktop.StepFailed(f"a message that does not name its cause: {told}")
        p.shot("taken_outlet")
        if p.dump().get("modal"):
            p.key("Return")
        p.wait_no_modal()
        if len(units(p)) != 2:
            raise desktop.StepFailed("a second unit went onto a taken outlet")

    with s.step("zoomed in, a unit goes on the outlet clicked") as p:
        for _ in range(3):
            p.menu("Affichage", "Zoom avant")
        free = outlets(p)
        p.click(*free[len(free) // 2])
        p.wait(lambda: len(units(p)) == 3, "a third unit")
        p.shot("zoomed_in_unit")
        for _ in range(3):
            p.menu("Affichage", "Zoom arrière")

    with s.step("the distribution that cannot run says why") as p:
        choose_unit(p, UNIT, distribute=True)
        modal = p.wait_modal()
        text = p.query("widgets")
        p.shot("distribution_refused")
        p.key("Return")
        p.wait_no_modal()
        # The cause is the run's parts, or the unit chosen: not the rule restated.
        named = "pièces de la ligne A" in text or UNIT in text
        if "fonction qui répartit les coffrets" in text or not named:
            raise desktop.StepFailed(f"the message does not name its cause: {modal} {text}")
        # A paragraph, not a band across the screen.
        if int(modal.split("|")[3].split()[2]) > 800:
            raise desktop.StepFailed(f"the message runs across the screen: {modal}")

    with s.step("the turn tool tells why a built run does not turn") as p:
        p.menu("Conception", "Tourner")
        p.wait_status("tourner")
        p.click(*p.element_point("A", len(p.elements("A")) - 1))
        p.wait_status("générées")
        p.shot("turn_refused")

    with s.step("move the run 2 m up with the mouse") as p:
        before = rect_of(p, "A", 0)
        units_before = [unit["rect"] for unit in units(p)]
        lines = current_bill(p)
        p.menu("Ligne", "Déplacer la ligne")
        p.wait_status("directions tracées")
        p.move(*(int(v) for v in p.query(f"toward {UP} 2000").split()))
        p.shot("move_ray_hovered")
        toward(p, UP, 2000)
        answer_length(p, "2000")
        p.shot("moved")
        if rect_of(p, "A", 0) == before:
            raise desktop.StepFailed("the run did not move")
        left = [rect for rect in units_before if rect in [unit["rect"] for unit in units(p)]]
        if left:
            raise desktop.StepFailed(f"units left behind at {left}")
        if check_bill(p) != lines:
            raise desktop.StepFailed("moving the run changed its bill")

    with s.step("copy the run 3 m up: the copy has the same bill") as p:
        lines = current_bill(p)
        p.menu("Ligne", "Copier la ligne")
        p.wait_status("directions tracées")
        toward(p, UP, 3000)
        answer_length(p, "3000")
        p.key("Escape")
        p.shot("copied")
        if p.dump()["runs"] != "A,B":
            raise desktop.StepFailed(f"runs {p.dump()['runs']}")
        copy = check_bill(p)
        if [(line["Référence"], line["Quantité"]) for line in copy] != \
                [(line["Référence"], line["Quantité"]) for line in lines]:
            raise desktop.StepFailed("the copy's bill differs from the run's")

    with s.step("rotate the copy forward and back: one undo step each") as p:
        before = layout_of(p, "B")
        for command in ("Pivoter vers l'avant", "Pivoter vers l'arrière"):
            p.menu("Ligne", command)
            p.wait(lambda: layout_of(p, "B") != before, f"{command} to turn the copy")
            p.shot("rotated")
            check_bill(p)
            p.menu("Edition", "Annuler")
            p.wait(lambda: layout_of(p, "B") == before, f"the undo of {command}")

    with s.step("add a unit to the copy and remove one of run A") as p:
        choose_unit(p, UNIT)
        p.wait_no_modal()
        copied = len(units(p, "B"))
        p.click(*outlets(p, "B")[1])
        if len(units(p, "B")) != copied + 1:
            raise desktop.StepFailed(f"units of the copy: {units(p, 'B')}")
        p.key("Escape")
        # A run's bill page shows that run alone: the total page shows them all.
        p.click_text("Total")
        p.click(*p.element_point("A", 1))
        p.wait(lambda: p.dump()["current"] == "A", "run A made current")
        placed = len(units(p))
        p.click(*desktop._centre(units(p)[0]["rect"]))
        p.menu("Edition", "Supprimer l'élément")
        p.wait_modal()
        p.key("Return")
        p.wait(lambda: len(units(p)) == placed - 1, "the unit deleted")
        p.shot("unit_removed")
        # The total page counts the units of both runs.
        counted = quantity(check_bill(p), UNIT)
        if counted != len(units(p, "A")) + len(units(p, "B")):
            raise desktop.StepFailed(f"the bill counts {counted} units")

    with s.step("delete the copy, undo and redo: the bill follows") as p:
        p.click(*p.element_point("B", 1))
        p.wait(lambda: p.dump()["current"] == "B", "the copy made current")
        p.menu("Ligne", "Supprimer la ligne")
        p.wait_modal()
        p.key("Return")
        p.wait_no_modal()
        p.wait(lambda: p.dump()["runs"] == "A", "the copy deleted")
        p.menu("Edition", "Annuler")
        p.wait(lambda: p.dump()["runs"] == "A,B", "the copy back")
        check_bill(p)
        p.menu("Edition", "Rétablir")
        p.wait(lambda: p.dump()["runs"] == "A", "the copy deleted again")
        check_bill(p)
        p.shot("redone")

    with s.step("a selected joint is drawn as its two face boxes") as p:
        p.key("Escape")
        p.menu("Conception", "Sélectionner")
        for _ in range(3):
            p.menu("Affichage", "Zoom avant")
        plain = unselected_shot(p, "nothing_selected")
        element, face, rects, other = joint_in_view(p)
        p.click(*desktop._centre(rects[0]))
        p.move(*empty_point(p))
        joint = p.shot("joint_selected")
        unmarked = [rect for rect in rects if not checks.changed_pixels(plain, joint, checks.inner(rect))]
        if unmarked:
            raise desktop.StepFailed(f"face boxes of the joint A.{element}/{face} not drawn selected: {unmarked}")
        if other and checks.changed_pixels(plain, joint, checks.inner(other)):
            raise desktop.StepFailed(f"A.{element}'s other face is drawn selected with the joint")

    with s.step("the delete question shows in a lighter colour what goes; Cancel selects again") as p:
        plain = unselected_shot(p, "nothing_selected_again")
        pieces = piece_boxes(p)
        # Away from the middle, where the question shows.
        chosen = sorted(pieces)[len(pieces) // 4]
        p.click(*desktop._centre(pieces[chosen][6]))
        p.move(*empty_point(p))
        selected = p.shot("piece_selected")
        p.menu("Edition", "Supprimer l'élément")
        question = p.wait_modal().split("|")[3]
        frozen = p.shot("delete_question")
        p.key("Escape")
        p.wait_no_modal()
        cancelled = p.shot("delete_cancelled")
        shown = {index: boxes for index, boxes in pieces.items()
                 if not any(checks.touching(rect, question) for rect in boxes.values())}
        lighter = {index for index, boxes in shown.items()
                   if any(checks.changed_pixels(selected, frozen, checks.inner(r)) for r in boxes.values())}
        changed = [index for index, boxes in shown.items()
                   if any(checks.changed_pixels(selected, cancelled, checks.inner(r)) for r in boxes.values())]
        if not any(checks.changed_pixels(plain, selected, checks.inner(r)) for r in pieces[chosen].values()):
            raise desktop.StepFailed(f"A.{chosen} clicked is not drawn selected")
        if chosen not in lighter or changed:
            raise desktop.StepFailed(f"A.{chosen} asked: lighter {sorted(lighter)}, not as before {changed}")
        p.menu("Edition", "Supprimer l'élément")
        p.wait_modal()
        p.key("Return")
        p.wait_no_modal()
        # What stays may be joined into longer pieces: a piece went where nothing is drawn.
        left = [rect for boxes in piece_boxes(p).values() for rect in boxes.values()]
        gone = {index for index in shown
                if not any(checks.touching(shown[index][6], rect, slack=0) for rect in left)}
        p.menu("Edition", "Annuler")
        p.wait(lambda: len(piece_boxes(p)) == len(pieces), "the delete undone")
        if gone != lighter:
            raise desktop.StepFailed(f"drawn lighter {sorted(lighter)}, deleted {sorted(gone)}")

    with s.step("two units marked in turn are deleted in one step") as p:
        # Zoomed in about the units (Ctrl+wheel), till they show beside their position marks.
        placed = units(p)
        p.xdotool("keydown", "ctrl")
        p.wheel(*desktop._centre(placed[0]["rect"]), 8)
        p.xdotool("keyup", "ctrl")
        plain = unselected_shot(p, "units_unmarked")
        placed = units(p)
        marked = sorted(placed, key=lambda unit: desktop._centre(unit["rect"]))[:2]
        lines = current_bill(p)
        for unit in marked:
            p.click(*clear_of_labels(p, unit["rect"]))
        p.move(*empty_point(p))
        shot = p.shot("units_marked")
        unmarked = [u["index"] for u in marked if not checks.changed_pixels(plain, shot, u["rect"])]
        if unmarked:
            raise desktop.StepFailed(f"units {unmarked} marked in turn are not drawn marked: {marked}")
        p.menu("Edition", "Supprimer l'élément")
        p.wait_modal()
        p.key("Return")
        p.wait(lambda: len(units(p)) == len(placed) - 2, "both units deleted")
        p.shot("units_deleted")
        if quantity(check_bill(p), UNIT) != quantity(lines, UNIT) - 2:
            raise desktop.StepFailed("the bill did not lose both units")
        p.menu("Edition", "Annuler")
        p.wait(lambda: quantity(current_bill(p), UNIT) == quantity(lines, UNIT), "both back in one undo")

    with s.step("turn the elbow of a run being laid out") as p:
        p.menu("Ligne", "Nouvelle ligne")
        p.wait_status("orienter le départ")
        toward(p, PLUS_X, 3000)
        p.key("Return")
        p.wait_status("face libre")
        run = p.dump()["current"]
        # Not where the start was pointed: two clicks on one spot make a double click.
        toward(p, PLUS_X, 4000)
        p.wait(lambda: len(p.elements(run)) == 2, "the straight added")
        toward(p, UP, 2000)
        elbow = p.wait(lambda: next((e["index"] for e in p.elements(run) if e["kind"] == 2), None),
                       "the elbow made")
        before = layout_of(p, run)
        p.menu("Conception", "Tourner")
        p.wait_status("tourner")
        # The elbow taken, then a click toward a free face turns its branch there.
        p.click(*p.element_point(run, elbow))
        toward(p, PLUS_Z, 2000)
        p.wait(lambda: layout_of(p, run) != before, "the elbow's branch to turn")
        p.shot("elbow_turned")
        p.menu("Edition", "Annuler")
        p.wait(lambda: layout_of(p, run) == before, "the turn undone in one step")


if __name__ == "__main__":
    desktop.main(steps)
