#!/usr/bin/env python3
"""Answers of the built methods, compared with the stored ones byte for byte.

A fixed pseudo-random batch of varied calls (typical sections, scaled and extreme values, omitted
optionals, zero forces, both decimal separators, bar tables, every tenth call with a report) runs
through `armocalc call`. Each answer line and the SHA-256 of every report file written are
compared with tests/regression/answers.jsonl.gz. The "hint" of a failed answer's error object is
a text for people, not part of the computed answer: it is left out of the comparison.

    answers.py CLI            compare (exit 1 on the first difference, with both lines)
    answers.py CLI --update   store the current answers
"""
import gzip
import hashlib
import json
import os
import random
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
STORED = os.path.join(HERE, "answers.jsonl.gz")
CALLS = 12000
SEED = 20261208

# The methods the batch calls; a method joins the batch once it is built.
METHODS = [
    "мтБетонB", "гоБетонB", "гоАрматураB", "СНиП_RsB", "СНиП_EsB", "мтПрочностьB",
    "мтПрочностьТB", "мтТрещиностойкостьПродольныеТB", "мтТрещиностойкостьПродольныеB",
    "мтТрещиностойкостьТB", "мтТрещиностойкостьB", "мтТрещиностойкость2B",
    "мтВыносливостьB", "мтНапряжениеB",
]
# Methods built later: each has its own stream of calls, so that the answers above stay as they
# were stored before them.
ADDED = ["ЧислоПрописьюB", "ПодборРабочейАрматурыB", "гПрочностьГОB", "гПродавливаниеB",
         "мтХомутыB", "ПодборПоперечнойАрматурыB", "мтRingStrengthB", "гRingB", "мтПрочностьКругаB"]
CALLS_ADDED = 1000

# Typical values by parameter name; other numbers by type.
TYPICAL = {
    "КлассАрматурнойСтали": 3, "Класс_арматуры": 3, "КлассБетона": 25, "N": 0.5, "M": 0.2,
    "h": 1.0, "B": 1.0, "b": 1.0, "Fв": 10, "Fн": 20, "ав": 0.05, "ан": 0.05, "ho": 0.9,
    "Параметр": 1, "МетодОпределенияЗапаса": 3, "МетодЗапаса": 3, "L": 6, "Lo": 6,
    "ЗакрепленияНаКонцахЭлемента": 12, "Диаметр_арматуры": 16, "ТипЗначеня": 3,
    "dв": 20, "dн": 25, "шв": 0.1, "шн": 0.1, "acr_sm": 0.02, "Nmin": 0.2, "Mmin": 0.1,
    "Nmax": 0.6, "Mmax": 0.3, "Nl": 0.3, "Ml": 0.1, "ТипКонструкции": 1,
}

BAR_TABLES = [
    [[1, 0.45, 20], [2, 0.45, 20], [3, 0.45, 20], [4, -0.45, 25], [5, -0.45, 25], [6, -0.45, 25]],
    [[0.1, 0.45, 16], [0.3, 0.45, 16], [0.2, -0.45, 28], [0.4, -0.45, 28], [0.6, -0.4, 28]],
    [[0.05, 0.2, 12], [0.25, -0.2, 20]],
    [[0.1, 0.3, 10], ["", None, None], [0.2, -0.3, 32], [0.3, -0.3, 32], [0.1, 0.0, 14]],
]


def method_table(cli):
    """Name -> list of (param, type, mode, optional) parsed from `armocalc methods`."""
    text = subprocess.run([cli, "methods"], check=True, capture_output=True, text=True).stdout
    table, current = {}, None
    for line in text.splitlines():
        head = re.match(r"^(\S+) \(0x[0-9A-F]+\)", line)
        if head:
            current = table.setdefault(head.group(1), [])
        elif line.startswith("  ") and current is not None:
            parts = line.split()
            current.append((parts[0], parts[1], parts[2], parts[3] != "required"))
    return table


def number(rng, name, kind):
    base = TYPICAL.get(name, 0.5 if kind == "Double" else 1)
    roll = rng.random()
    if kind == "Boolean":
        return rng.random() < 0.5
    if kind in ("Byte", "Integer", "Long"):
        if roll < 0.8:
            return base
        return rng.choice([0, 1, 2, 3, 4, 5, 12, 21, 255, -1])
    if roll < 0.55:
        value = base * rng.uniform(0.5, 1.8)
    elif roll < 0.7:
        value = base
    elif roll < 0.78:
        value = 0.0
    elif roll < 0.86:
        value = -base * rng.uniform(0.1, 2.0)
    elif roll < 0.93:
        value = base * rng.choice([1e-6, 1e3, 1e6])
    else:
        value = rng.choice([1e-30, 1e30, 1e300, -1e300, 2.5, 7, 100])
    if kind == "Single" and name == "КлассБетона" and roll < 0.7:
        value = rng.choice([15, 20, 22.5, 25, 27.5, 30, 35, 40, 45, 50, 60])
    return float(f"{value:.6g}")


def amount_cells(rng):
    roll = rng.random()
    if roll < 0.1:
        return [[rng.choice(["сто", "", None, True])]]
    if roll < 0.15:
        return [[1.5, 2.5]]
    value = rng.choice([rng.uniform(0, 1e3), rng.uniform(0, 1e9), rng.uniform(-100, 100),
                        rng.choice([0, 0.005, 0.015, 1e11, 99999999999.99, 21000000, 1000])])
    return [[round(value, rng.choice([0, 2, 3]))]]


def calls():
    """(index, method, rng) of every call."""
    rng = random.Random(SEED)
    for index in range(CALLS):
        yield index, METHODS[index % len(METHODS)], rng
    index = CALLS
    for method in ADDED:
        own = random.Random(f"{SEED}-{method}")
        for _ in range(CALLS_ADDED):
            yield index, method, own
            index += 1


def requests(table, folder):
    for index, method, rng in calls():
        args = {}
        for name, kind, _mode, optional in table[method]:
            if optional and rng.random() < 0.25:
                continue
            if kind == "Range" and method == "ЧислоПрописьюB":
                args[name] = amount_cells(rng)
            elif kind == "Range":
                args[name] = rng.choice(BAR_TABLES)
            elif kind == "String":
                if index % 10 == 0:
                    args[name] = os.path.join(folder, f"r{index:05d}.txt")
            else:
                args[name] = number(rng, name, kind)
        yield {"method": method, "args": args, "decimal_separator": rng.choice([".", ","])}


HINT = re.compile(r',"hint":"(?:[^"\\]|\\.)*"')


def answers(cli):
    table = method_table(cli)
    with tempfile.TemporaryDirectory() as folder:
        batch = [json.dumps(r, ensure_ascii=False) for r in requests(table, folder)]
        run = subprocess.run([cli, "call"], input="\n".join(batch) + "\n",
                             capture_output=True, text=True)
        if run.returncode not in (0, 1):  # 1: some request failed, as many here do
            sys.exit(f"armocalc call ended with status {run.returncode}: {run.stderr}")
        lines = run.stdout.splitlines()
        if len(lines) != len(batch):
            sys.exit(f"{len(batch)} requests, {len(lines)} answers")
        # Requests and answers carry the temporary folder: store them without it.
        out = [f"{b}\t{HINT.sub('', a)}".replace(folder, "<dir>") for b, a in zip(batch, lines)]
        for name in sorted(os.listdir(folder)):
            with open(os.path.join(folder, name), "rb") as f:
                out.append(f"file {name} {hashlib.sha256(f.read()).hexdigest()}")
    return out


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    current = answers(sys.argv[1])
    if "--update" in sys.argv[2:]:
        with gzip.open(STORED, "wt", encoding="utf-8", compresslevel=9) as f:
            f.write("\n".join(current) + "\n")
        print(f"stored {len(current)} lines")
        return
    with gzip.open(STORED, "rt", encoding="utf-8") as f:
        stored = f.read().splitlines()
    for i, (was, now) in enumerate(zip(stored, current)):
        if was != now:
            sys.exit(f"line {i + 1} differs\nstored:  {was}\ncurrent: {now}")
    if len(stored) != len(current):
        sys.exit(f"{len(stored)} stored lines, {len(current)} now")
    print(f"{len(current)} answers and report files as stored")


if __name__ == "__main__":
    main()
