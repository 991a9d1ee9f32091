#!/usr/bin/env python3
"""Writes the bash, zsh and fish completions of corvane-sum from the program itself.

The options come from its --help (GNU layout: "  -a, --algorithm NAME   description", the
description continued on further indented lines), the algorithm names from its own message for a
bad --algorithm value. So an option is completed as soon as --help describes it, and nobody keeps a
second list.

An argument named NAME is an algorithm list (comma-separated), FILE a path; any other argument
(TEXT, N) is free text and offers nothing.

Usage: make_completions.py PROGRAM OUTPUT_DIR
"""

import os
import re
import subprocess
import sys

COMMAND = "corvane-sum"
ALGORITHM_ARG = "NAME"
FILE_ARG = "FILE"
ORIGIN = "generated from its --help by packaging/make_completions.py"

OPTION_ITEM = re.compile(r"(--?[A-Za-z0-9][A-Za-z0-9-]*)(?:[ =]\[?([A-Z]+)\]?)?$")


class Option:
    def __init__(self):
        self.short = None
        self.long = None
        self.arg = None
        self.description = ""

    def names(self):
        return [n for n in (self.short, self.long) if n]


def parse_help(text):
    options = []
    current = None
    for line in text.splitlines():
        stripped = line.strip()
        if line.startswith(" ") and stripped.startswith("-"):
            # Options and description are separated by a run of at least two spaces.
            head, description = (re.split(r"\s{2,}", stripped, maxsplit=1) + [""])[:2]
            option = Option()
            for item in head.split(", "):
                match = OPTION_ITEM.match(item.strip())
                if not match:
                    raise SystemExit(f"make_completions: cannot read option item {item!r}")
                name, arg = match.groups()
                if name.startswith("--"):
                    option.long = name
                else:
                    option.short = name
                option.arg = option.arg or arg
            option.description = description.strip()
            options.append(option)
            current = option
        elif current is not None and line.startswith("      ") and stripped:
            current.description = (current.description + " " + stripped).strip()
        else:
            current = None
    if not options:
        raise SystemExit("make_completions: found no options in --help")
    return options


def algorithm_names(program):
    # The GNU-style listing of valid arguments: "  - 'crc32'" lines.
    result = subprocess.run([program, "--algorithm", "?"], capture_output=True, text=True)
    names = re.findall(r"^\s*- '([^']+)'", result.stderr, re.MULTILINE)
    if not names:
        raise SystemExit("make_completions: the program lists no algorithm names")
    return names


def short_description(option):
    # Menus have room for a short phrase: without asides in parentheses, up to the first ";".
    text = re.sub(r" \([^)]* [^)]*\)", "", option.description)
    return text.split(";")[0].strip()


def bash_script(options, algorithms):
    words = " ".join(n for o in options for n in o.names())
    algorithm_opts = "|".join(n for o in options if o.arg == ALGORITHM_ARG for n in o.names())
    file_opts = "|".join(n for o in options if o.arg == FILE_ARG for n in o.names())
    free_opts = "|".join(
        n for o in options if o.arg and o.arg not in (ALGORITHM_ARG, FILE_ARG) for n in o.names())
    cases = []
    if algorithm_opts:
        cases.append(f"""        {algorithm_opts})
            # A comma-separated list: complete the item after the last comma.
            local done=${{cur%"${{cur##*,}}"}}
            COMPREPLY=($(compgen -P "$done" -W "{' '.join(algorithms)}" -- "${{cur##*,}}"))
            return
            ;;""")
    if file_opts:
        cases.append(f"""        {file_opts})
            _filedir
            return
            ;;""")
    if free_opts:
        cases.append(f"""        {free_opts})
            return
            ;;""")
    newline = "\n"
    return f"""# bash completion for {COMMAND}; {ORIGIN}
_corvane_sum() {{
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
{newline.join(cases)}
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "{words}" -- "$cur"))
        [[ ${{COMPREPLY-}} == *= ]] && compopt -o nospace
        return
    fi
    _filedir
}} &&
    complete -F _corvane_sum {COMMAND}
"""


def zsh_quote(text):
    return "'" + text.replace("'", "'\\''") + "'"


def zsh_script(options, algorithms):
    lines = []
    for o in options:
        description = short_description(o).replace("\\", "\\\\").replace("]", "\\]").replace(
            "[", "\\[")
        action = ""
        if o.arg == ALGORITHM_ARG:
            action = f":algorithm:_sequence compadd - {' '.join(algorithms)}"
        elif o.arg == FILE_ARG:
            action = ":file:_files"
        elif o.arg:
            action = f":{o.arg.lower()}: "
        # Options with an argument may repeat (-a, -s); a plain flag is offered once, in either
        # spelling.
        repeat = "*" if o.arg else ""
        if not o.arg and len(o.names()) > 1:
            repeat = "(" + " ".join(o.names()) + ")"
        specs = []
        for name in o.names():
            suffix = ""
            if o.arg:
                suffix = "+" if not name.startswith("--") else "="
            specs.append(zsh_quote(f"{repeat}{name}{suffix}[{description}]{action}"))
        lines.extend(specs)
    lines.append(zsh_quote("*:file:_files"))
    body = " \\\n    ".join(lines)
    return f"""#compdef {COMMAND}
# zsh completion for {COMMAND}; {ORIGIN}

_arguments -s -S \\
    {body}
"""


def fish_quote(text):
    return "'" + text.replace("\\", "\\\\").replace("'", "\\'") + "'"


def fish_script(options, algorithms):
    lines = [f"# fish completion for {COMMAND}; {ORIGIN}"]
    for o in options:
        parts = [f"complete -c {COMMAND}"]
        if o.short:
            parts.append(f"-s {o.short[1:]}")
        if o.long:
            parts.append(f"-l {o.long[2:]}")
        if o.arg == ALGORITHM_ARG:
            parts.append("-x -a " + fish_quote(
                f"(__fish_complete_list , 'string split \" \" {' '.join(algorithms)}')"))
        elif o.arg == FILE_ARG:
            parts.append("-r -F")
        elif o.arg:
            parts.append("-x")
        parts.append("-d " + fish_quote(short_description(o)))
        lines.append(" ".join(parts))
    return "\n".join(lines) + "\n"


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__.strip().splitlines()[-1])
    program, out_dir = sys.argv[1], sys.argv[2]
    help_text = subprocess.run([program, "--help"], capture_output=True, text=True,
                               check=True).stdout
    options = parse_help(help_text)
    algorithms = algorithm_names(program)
    os.makedirs(out_dir, exist_ok=True)
    for name, text in ((COMMAND, bash_script(options, algorithms)),
                       (f"_{COMMAND}", zsh_script(options, algorithms)),
                       (f"{COMMAND}.fish", fish_script(options, algorithms))):
        with open(os.path.join(out_dir, name), "w", encoding="utf-8") as out:
            out.write(text)


if __name__ == "__main__":
    main()
