"""An estimator assembles a project reference by reference: a QDA line typed with a
decimal comma, a QPA line whose quantities must cover its length, and the exports."""

import desktop


def steps(s):
    with s.step("start costing by reference") as p:
        p.start("/nsplash")
        p.wait_modal("Créer")
        p.click_text("Chiffrage par références")
        p.wait(lambda: p.dump().get("active") == "reference_window", "the reference window")
        p.shot("reference_window")

    with s.step("a length of 30,5 m is never read as 305") as p:
        p.click_text("Canalisation QDA", count=2)
        p.wait(lambda: p.widget("ref_length"), "the line page")
        p.fill("ref_length", "30,5")
        p.key("Tab")
        p.shot("qda_length")
        modal = p.dump().get("modal")
        if modal:
            # Whole metres only: the refusal names the field.
            message = p.query("widgets")
            p.key("Return")
            if "Longueur" not in message:
                raise desktop.StepFailed(f"the refusal does not name the field: {message}")
        elif p.widget("ref_length")["text"].replace(".", ",") != "30,5":
            raise desktop.StepFailed(f"the length reads {p.widget('ref_length')['text']}")


if __name__ == "__main__":
    desktop.main(steps)
