"""vantorel-cli --help as the shipped texts are checked against it: the forms
of the command line it shows, its options, and whether a command line in a
guide follows one of its forms."""
import re
import shlex


def forms(usage):
    """The forms of the command line, after the program's name, in order."""
    return [line.split("vantorel-cli ", 1)[1] for line in usage.split("\n\n", 1)[0].splitlines()]


def options(usage):
    return sorted({w.strip("[]|,") for w in usage.split() if w.lstrip("[").startswith("--")})


def value_counts(usage):
    """How many values each option takes, from its entry in --help: the
    capitalised words after its name."""
    counts = {}
    for line in usage.splitlines():
        m = re.match(r"  (?:-\w, )?(--[\w-]+)((?: [A-Z][\w.,-]*)*)(?: {2,}|$)", line)
        if m:
            counts[m.group(1)] = len(m.group(2).split())
    return counts


def required(form, usage):
    """The options a form cannot do without, each with its values, and its
    operands that are not in brackets."""
    words = re.sub(r"\[[^]]*\]| \| \S+", "", form).split()
    counts, options, operands, i = value_counts(usage), [], [], 0
    while i < len(words):
        if words[i].startswith("-"):
            n = 1 + counts.get(words[i], 0)
            options += words[i:i + n]
            i += n
        else:
            operands.append(words[i])
            i += 1
    return options, operands


def _either(text):
    """'--a | --b VALUE': one of the options, a value being any word."""
    return "(?:" + "|".join(" ".join([re.escape(o.split()[0])] + [r"\S+"] * (len(o.split()) - 1))
                            for o in text.split(" | ")) + ")"


def follows(line, form):
    """Whether `line` follows `form`: what is in brackets may be left out, a
    capitalised word is any file (in double quotes when it has spaces), and a
    description may follow two spaces after it."""
    pattern = "vantorel-cli"
    for token in re.findall(r"\[[^]]*\]|--\S+(?: \| --\S+)+|\S+", form):
        if token.startswith("["):
            pattern += f"(?: {_either(token[1:-1])})?"
        elif token.startswith("-"):
            pattern += " " + _either(token)
        else:
            pattern += r' (?!-)(?:"[^"]*"|\S+)'
    return re.fullmatch(pattern + r"(?:  .*)?", line) is not None


def command_lines(guide):
    """Each indented line of the guide that starts with vantorel-cli, with
    the bracketed lines that continue it."""
    found, going_on = [], False
    for line in guide.splitlines():
        if re.match(r" +vantorel-cli ", line):
            found.append(line.strip())
        elif going_on and re.match(r" +\[", line):
            found[-1] += " " + line.strip()
        else:
            going_on = False
            continue
        going_on = True
    return found


def check_guide(test, guide, usage):
    """The guide shows the forms of --help, in its order, and each of its
    other command lines (its examples) follows one of them."""
    shown = ["vantorel-cli " + f for f in forms(usage)]
    lines = command_lines(guide)
    test.assertEqual([line for line in lines if line in shown], shown)
    for line in lines:
        if line not in shown:
            test.assertTrue(any(follows(line, f) for f in forms(usage)), f"follows no form of --help: {line}")


def manual_forms(page):
    """The forms the manual page's SYNOPSIS shows, as text: two-letter macros
    set their arguments side by side, one-letter ones with spaces."""
    synopsis = page.split(".SH SYNOPSIS\n", 1)[1].split("\n.SH ", 1)[0]
    shown = []
    for form in synopsis.split("\n.br\n"):
        words = [("" if len(line.split()[0]) == 3 else " ").join(shlex.split(line.replace("\\-", "-"))[1:])
                 for line in form.splitlines()]
        shown.append(" ".join(words).split("vantorel-cli ", 1)[1])
    return shown
