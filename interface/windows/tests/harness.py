#!/usr/bin/env python3
"""Compares Armocalc.dll under Wine with the Linux CLI for the same inputs.

  harness.py generate CASES CLI WORK   writes WORK/cases.vbs (cp1251, to run after lib.vbs) and
                                       WORK/expected.json:
                                       the CLI's answers, with reports under WORK/cli-reports
  harness.py compare WORK OUTPUT REPORTS
                                       reads the output of cases.vbs and the report folder it
                                       wrote (a Linux path) and prints PASS/FAIL lines
"""
import json
import math
import os
import subprocess
import sys

REPORT = "@report"


def vbs_literal(value):
    if value is None:
        return "Empty"
    if isinstance(value, bool):
        return "True" if value else "False"
    if isinstance(value, int):
        return str(value)
    if isinstance(value, float):
        if not math.isfinite(value):
            raise ValueError("numbers must be finite")
        text = repr(value)
        return text if "e" not in text else text.replace("e", "E")
    if isinstance(value, str):
        return '"' + value.replace('"', '""') + '"'
    raise ValueError(f"no literal for {value!r}")


def vbs_rows(rows):
    return "Array(" + ", ".join("Array(" + ", ".join(vbs_literal(c) for c in row) + ")"
                                for row in rows) + ")"


def cli_report_path(work, index):
    return os.path.join(work, "cli-reports", f"case-{index}.txt")


def windows_report_name(index):
    return f"случай {index}.txt"


def generate(cases_path, cli, work):
    with open(cases_path, encoding="utf-8") as f:
        cases = [json.loads(line) for line in f if line.strip()]
    os.makedirs(os.path.join(work, "cli-reports"), exist_ok=True)
    requests = []
    for index, case in enumerate(cases):
        args = {k: (cli_report_path(work, index) if v == REPORT else v)
                for k, v in case["args"].items()}
        path = cli_report_path(work, index)
        if os.path.exists(path):
            os.remove(path)
        requests.append(json.dumps({"method": case["method"], "args": args}, ensure_ascii=False))
    answer = subprocess.run([cli, "call", "--decimal-separator", ","],
                            input="\n".join(requests) + "\n", capture_output=True, text=True,
                            check=False, timeout=600)
    answers = [json.loads(line) for line in answer.stdout.splitlines() if line.strip()]
    if len(answers) != len(cases):
        sys.exit(f"the CLI answered {len(answers)} of {len(cases)} requests: {answer.stderr}")

    signatures = method_signatures(cli)
    lines = [
        "' Generated (runs after lib.vbs): calls every case and prints its outcome.",
        "Dim fso, o, folder, r",
        'Set fso = CreateObject("Scripting.FileSystemObject")',
        "folder = WScript.Arguments(0)",
        "If Not fso.FolderExists(folder) Then fso.CreateFolder folder",
        'Set o = CreateObject("KelvorVBA.ClassBrige")',
        "On Error Resume Next",
    ]
    for index, case in enumerate(cases):
        params = signatures[case["method"]]
        given = case["args"]
        positions = []
        lines.append(f"' case {index}: {case['method']}")
        for k, name in enumerate(params):
            if name not in given:
                positions.append("")
                continue
            value = given[name]
            var = f"a{index}_{k}"
            if value == REPORT:
                lines.append(f'{var} = fso.BuildPath(folder, "{windows_report_name(index)}")')
                lines.append(f"If fso.FileExists({var}) Then fso.DeleteFile {var}")
            elif isinstance(value, list):
                lines.append(f"Set {var} = MakeRange({vbs_rows(value)})")
            else:
                lines.append(f"{var} = {vbs_literal(value)}")
            positions.append(var)
        while positions and positions[-1] == "":
            positions.pop()
        lines.append("Err.Clear")
        lines.append("r = Empty")
        lines.append(f"r = o.{case['method']}({', '.join(positions)})")
        shown = " & ".join(f'" p{k}=" & Enc({p})' for k, p in enumerate(positions) if p)
        lines.append(f'WScript.Echo "CASE {index} " & Err.Number & " " & HexText(Err.Description)'
                     f' & " " & Enc(r){" & " + shown if shown else ""}')
    lines.append('WScript.Echo "END"')
    with open(os.path.join(work, "cases.vbs"), "w", encoding="cp1251", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    with open(os.path.join(work, "expected.json"), "w", encoding="utf-8") as f:
        json.dump({"cases": cases, "answers": answers,
                   "params": {m: signatures[m] for m in signatures}}, f, ensure_ascii=False)


def method_signatures(cli):
    """Parameter names of every method, in order, from `armocalc methods`."""
    listing = subprocess.run([cli, "methods"], capture_output=True, text=True, check=True,
                             timeout=60).stdout
    signatures, current = {}, None
    for line in listing.splitlines():
        if line and not line.startswith(" "):
            current = line.split(" ")[0]
            signatures[current] = []
        elif line.strip() and current:
            signatures[current].append(line.split()[0])
    return signatures


def decode(token):
    kind, body = token[0], token[1:]
    if kind == "E":
        return None
    if kind == "I":
        return float(int(body))
    if kind == "B":
        return int(body) != 0
    if kind == "S":
        return bytes.fromhex(body).decode("cp1251", errors="replace")
    if kind == "D":
        if body == "0":
            return 0.0
        sign = -1.0 if body.startswith("n") else 1.0
        exponent, high, low = body.lstrip("n").split(":")
        significand = int(high) * 2 ** 26 + int(low)
        return sign * math.ldexp(float(significand), int(exponent) - 52)
    if kind == "O":
        return "<object>"
    return f"<{token}>"


def same(actual, expected):
    if isinstance(expected, bool) or isinstance(actual, bool):
        return bool(actual) == bool(expected) and isinstance(actual, bool) == isinstance(expected, bool)
    if isinstance(expected, (int, float)) and isinstance(actual, float):
        return actual == float(expected)
    if isinstance(expected, list):
        return actual == "<object>"
    return actual == expected


def report_files(folder, stem):
    """Files `<prefix><stem>` in the folder (a report and the files written beside it)."""
    if not os.path.isdir(folder):
        return {}
    return {name[:-len(stem)]: os.path.join(folder, name)
            for name in os.listdir(folder) if name.endswith(stem)}


def compare_reports(work, reports, index):
    cli_files = report_files(os.path.join(work, "cli-reports"), f"case-{index}.txt")
    com_files = report_files(reports, windows_report_name(index))
    problems = []
    for prefix in sorted(set(cli_files) | set(com_files)):
        shown = prefix + "report"
        if prefix not in com_files:
            problems.append(f"{shown} written by the CLI only")
        elif prefix not in cli_files:
            problems.append(f"{shown} written through COM only")
        elif open(cli_files[prefix], "rb").read() != open(com_files[prefix], "rb").read():
            problems.append(f"{shown} files differ")
    return problems


def expected_error_number(hresult):
    unsigned = hresult & 0xFFFFFFFF
    return unsigned & 0xFFFF if unsigned & 0xFFFF0000 == 0x800A0000 else hresult


def compare(work, output_path, reports):
    with open(os.path.join(work, "expected.json"), encoding="utf-8") as f:
        data = json.load(f)
    seen = {}
    with open(output_path, encoding="cp1251", errors="replace") as f:
        for line in f:
            parts = line.strip().split(" ")
            if len(parts) >= 5 and parts[0] == "CASE":
                seen[int(parts[1])] = parts
    for index, (case, answer) in enumerate(zip(data["cases"], data["answers"])):
        method = case["method"]
        name = f"{method.encode('ascii', 'backslashreplace').decode()} case {index}"
        parts = seen.get(index)
        if parts is None:
            print(f"FAIL {name}: no output")
            continue
        number, description, result = int(parts[2]), decode("S" + parts[3]), decode(parts[4])
        problems = []
        if answer["hresult"] == 0:
            if number != 0:
                problems.append(f"error {number} '{description}' where the CLI succeeded")
            elif not same(result, answer["result"]):
                problems.append(f"result {result!r} != CLI {answer['result']!r}")
        else:
            wanted = expected_error_number(answer["hresult"])
            if number != wanted or description != answer["error"]["description"]:
                problems.append(f"error {number} '{description}' != CLI {wanted} "
                                f"'{answer['error']['description']}'")
        params = data["params"][method]
        for token in parts[5:]:
            position, value = token.split("=", 1)
            param = params[int(position[1:])]
            if param not in answer["byref"]:
                continue  # by value: the script's variable is not the routine's
            expected = answer["byref"][param]
            if case["args"].get(param) == REPORT:
                expected = windows_report_name(index)
                actual = decode(value)
                if not (isinstance(actual, str) and actual.endswith(expected)):
                    problems.append(f"{param} = {actual!r}")
                continue
            if not same(decode(value), expected):
                problems.append(f"{param} = {decode(value)!r} != CLI {expected!r}")
        if REPORT in case["args"].values():
            problems.extend(compare_reports(work, reports, index))
        kind = ("not implemented" if answer["hresult"] == -2147467263 else
                "error" if answer["hresult"] else "result")
        label = f"same {kind} as the CLI: {name}"
        if problems:
            print(f"FAIL {label}: {'; '.join(problems)}")
        else:
            print(f"PASS {label}")


def main():
    if len(sys.argv) == 5 and sys.argv[1] == "generate":
        generate(sys.argv[2], sys.argv[3], sys.argv[4])
    elif len(sys.argv) == 5 and sys.argv[1] == "compare":
        compare(sys.argv[2], sys.argv[3], sys.argv[4])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
