"""The same short path in English: the language changed in the start dialog restarts the
program in English, a run is laid out and priced, and the texts are English ones."""

import checks
import desktop
from design_job import PLUS_X, UP, open_run_properties, toward, update_prices


def steps(s):
    with s.step("change the language to English in the start dialog") as p:
        p.start()
        p.wait_modal("Bienvenue")
        p.choose("1029", "English")
        p.click_text("OK")
        p.wait_restart()
        p.wait_modal("Create")
        p.click_text("Graphical design")
        p.wait(lambda: p.dump().get("active") == "layout_document", "the layout window")
        menus = p.dump()["menus"]
        if "&File" not in menus or "&Fichier" in menus:
            raise desktop.StepFailed(f"menus read {menus}")

    with s.step("lay out a QGA run and price it") as p:
        toward(p, PLUS_X, 3000)
        p.key("Return")
        open_run_properties(p, "Rating", ("Run", "Run Properties"))
        p.choose("1020", "QGA")
        p.choose("1021", "1000")
        p.key("Escape")
        toward(p, PLUS_X, 6000)
        toward(p, UP, 3000)
        update_prices(p, ("Run", "Update Prices"))
        p.shot("priced")

    with s.step("the bill reads in English and adds up") as p:
        _, rows = p.bill()
        heading = [cell.strip() for cell in rows[0]]
        if "Quantity" not in heading:
            raise desktop.StepFailed(f"bill headings {heading}")
        checks.check_bill_sums(checks.bill_lines(rows), quantity="Quantity", unit="Unit price",
                               total="Total price", discount_key="Discount", sale_key="Sales price")
        checks.check_marks_match_bill(p)


if __name__ == "__main__":
    desktop.main(steps, language="en")
