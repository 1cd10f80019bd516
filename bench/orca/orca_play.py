#!/usr/bin/python3
"""Plays Vendral by keyboard under Orca, and reads what Orca said.

  orca_play.py play GAME      plays two games (the knight at the dragon, the
                              wizard to the first store) with xdotool keys
  orca_play.py check DEBUG    reads Orca's debug file: prints every
                              utterance, checks the news was spoken and no
                              internal name ever was; exits 1 if not

Run by orca_check.sh, inside its X server and accessibility bus. Uses
Debian's /usr/bin/python3, where python3-pyatspi lives.
"""
import re
import subprocess
import sys
import time

FORM1 = "The Vendral for The Treasure of Karthune"
PAUSE = 1.0  # Orca keeps up with a key about every second


def sh(*args):
    return subprocess.run(args, capture_output=True, text=True).stdout.split()


def visible(title):
    return sh("xdotool", "search", "--onlyvisible", "--name", "^%s$" % re.escape(title))


def give_focus():
    """No window manager: the keyboard goes where we put it. An open box
    first, else the screen. Returns whether the window had to be given it."""
    for title in ("Vendral", FORM1):
        wins = visible(title)
        if wins:
            had = sh("xdotool", "getwindowfocus")
            if had and had[0] == wins[-1]:
                return False
            subprocess.run(["xdotool", "windowfocus", "--sync", wins[-1]])
            return True
    return False


def key(k):
    give_focus()
    subprocess.run(["xdotool", "key", k])
    time.sleep(PAUSE)


def close_boxes(limit=8):
    for _ in range(limit):
        if not visible("Vendral"):
            # The screen takes the keyboard back, as a window manager would
            # give it, and Orca is given time to speak what it finds there.
            if give_focus():
                time.sleep(PAUSE)
            return
        key("Return")


def focused_name():
    import pyatspi
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or app.name.lower() not in ("vendral", "vendral-replay-window"):
            continue
        stack = [app]
        while stack:
            obj = stack.pop()
            try:
                state = obj.getState()
                if obj is not app and not state.contains(pyatspi.STATE_SHOWING):
                    continue
                if state.contains(pyatspi.STATE_FOCUSED):
                    return obj.name or ""
                stack.extend(c for c in obj if c is not None)
            except Exception:
                continue
    return ""


def press(caption, tabs=30):
    """Tabs to the control named `caption` and presses Enter on it."""
    for _ in range(tabs):
        if focused_name() == caption:
            key("Return")
            close_boxes()
            return
        key("Tab")
    sys.exit("could not reach %r by Tab" % caption)


def game(binary, hero, moves):
    proc = subprocess.Popen([binary])
    time.sleep(3)
    subprocess.run(["xdotool", "type", "--delay", "150", "Ann"])
    key("Return")
    close_boxes()
    press(hero)
    press("Start Vendral")
    for m in moves:
        if m == "F2":
            key("F2")
        else:
            press(m)
    proc.terminate()
    proc.wait(timeout=10)
    time.sleep(2)


def play(binary):
    game(binary, "Master of Knights", ["Fight with sword"] * 6 + ["F2"])
    game(binary, "Master Wizard", ["F2", "Spells", "Change thing into stone", "Continue", "Spells",
                                    "Change bandits into stone", "Continue", "Yes", "F2", "Buy a life potion"])


def utterances(path):
    text = open(path, encoding="utf-8", errors="replace").read()
    # One utterance may run over several lines of the file.
    return [u for u in re.findall(r"SPEECH OUTPUT: '(.*?)' ?\{", text, re.S)]


def check(path):
    # Lines of one utterance joined by " | "; Orca's closing full stop dropped.
    said = [re.sub(r"\s*\n\s*", " | ", u).rstrip(".") for u in utterances(path)]
    for u in said:
        print("said:", u)
    faults = []
    joined = "\n".join(said)
    wanted = ["Knight | Choices: Start Vendral, Verify",
              "Wizard | Choices: Start Vendral, Verify",
              "A dragon is in your way. What do you do?",
              "Choices: Fight with sword, Fight with arrows",
              "Life:50", "Life:10", "Life:0 | Choices: Quit",
              "You are low on supplies. You see a store. Do you want to go there?",
              "You are in the store. What do you want to buy?",
              "Money:9000 | Items"]
    for w in wanted:
        if w not in joined:
            faults.append("never said: " + w)
    # The repeat key: the situation, the statuses and the choices, at once.
    if not any(u.startswith("A dragon is in your way. What do you do? | Knight | Life:0") for u in said):
        faults.append("the repeat key at the lost fight was not said")
    # Each blow's news once, not again with a focus move.
    for life in ("Life:50", "Life:40", "Life:30"):
        n = sum(1 for u in said if u == life)
        if n != 1:
            faults.append("%s said %d times" % (life, n))
    # Nothing of the game's own comes after a blow's news to cut it off:
    # the box and the focus going back to the sword were said before it.
    for i, u in enumerate(said[:-1]):
        if re.fullmatch(r"Life:[1-5]0", u) and said[i + 1].strip() not in ("return", "tab", "Screen reader off"):
            faults.append("%s was followed by %r" % (u, said[i + 1]))
    internal = re.compile(r"\b(cmd\w+|Form\d|Command\d+|Label\d+|lbl\w+|txt\w+|Image\d+|tm\w+)\b")
    for u in said:
        if internal.search(u):
            faults.append("internal name said: " + u)
        if re.search(r"\b\d{1,2}:\d{2}:\d{2}\b", u):
            faults.append("a clock tick said: " + u)
    for f in faults:
        print("FAULT:", f)
    print("%d utterances, %d faults" % (len(said), len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "play":
        play(sys.argv[2])
    elif len(sys.argv) == 3 and sys.argv[1] == "check":
        sys.exit(check(sys.argv[2]))
    else:
        sys.exit(__doc__)
