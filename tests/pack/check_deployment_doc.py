#!/usr/bin/env python3
"""Checks every snippet of docs/deployment.md that can be checked here.

    check_deployment_doc.py REPO_ROOT KVRPACK_BINARY

- the tool's exit codes, taken from its outcome table, are exactly those this
  check names, and the README and the page list each of them once;
- the Intune and ConfigMgr return-code tables name every exit code, with
  0 and 12 as success and 3 and 9 as retry;
- the winget fragment parses as YAML, uses /Silent, and its ExpectedReturnCodes
  name every non-zero exit code with the responses the page promises;
- the Ansible tasks parse as YAML and treat exactly 0 and 12 as success;
- the detection command, run against a sample product, prints "detected" and
  exits 0 only at the required level.
"""
import os
import re
import shlex
import subprocess
import sys
import tempfile

import yaml

TOOL_CODES = [0, 1, 2, 3, 4, 5, 6, 9, 10, 12, 13, 99]
SUCCESS = {0, 12}
RETRY = {3, 9}
WINGET_RESPONSES = {
    "packageInUse", "packageInUseByApplication", "installInProgress", "fileInUse",
    "missingDependency", "diskFull", "insufficientMemory", "invalidParameter", "noNetwork",
    "contactSupport", "rebootRequiredToFinish", "rebootRequiredForInstall", "rebootInitiated",
    "cancelledByUser", "alreadyInstalled", "downgrade", "blockedByPolicy", "systemNotSupported",
    "custom",
}
WINGET_REQUIRED = {9: "installInProgress", 3: "packageInUse", 12: "alreadyInstalled",
                   13: "invalidParameter", 1: "systemNotSupported", 10: "systemNotSupported"}

failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what)
    if not condition:
        failures.append(what)


def block_after(doc, marker):
    """The text after `<!-- checked: marker -->`: a fenced block or a table."""
    at = doc.index("<!-- checked: %s -->" % marker)
    rest = doc[at:].split("\n", 1)[1]
    if rest.startswith("```"):
        body = rest.split("\n", 1)[1]
        return body[: body.index("```")]
    lines = []
    for line in rest.splitlines():
        if not line.startswith("|"):
            break
        lines.append(line)
    return "\n".join(lines)


def table_rows(table):
    """{code: [other cells]} of a markdown table whose first column is a code."""
    rows = {}
    codes = []
    for line in table.splitlines()[2:]:
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        codes.append(int(cells[0]))
        rows[int(cells[0])] = cells[1:]
    return rows, codes


def same_codes(codes, what):
    check(sorted(codes) == TOOL_CODES and len(set(codes)) == len(codes),
          "%s names every exit code once (%s)" % (what, ", ".join(map(str, sorted(codes)))))


def run(args):
    result = subprocess.run(args, capture_output=True)
    return result.returncode, result.stdout.decode("utf-8", "replace")


def main():
    root, kvrpack = sys.argv[1], sys.argv[2]
    doc = open(os.path.join(root, "docs", "deployment.md"), encoding="utf-8").read()
    readme = open(os.path.join(root, "README.md"), encoding="utf-8").read()
    report = open(os.path.join(root, "src", "TOOL", "kvrPatch", "OutcomeReport.cpp")).read()

    # The tool's own table: exit code of every outcome; 0 for any other value.
    table = report[report.index("kTable[]"): report.index("};", report.index("kTable[]"))]
    tool = {int(c) for c in re.findall(r"\{outcome::\w+,\s*(\d+),", table)} | {0}
    check(sorted(tool) == TOOL_CODES, "the tool's outcome table gives exactly the codes named here")

    section = readme[readme.index("## Exit codes"):]
    section = section[: section.index("\n## ", 1)]
    same_codes([int(c) for c in re.findall(r"^\| (\d+) \|", section, re.M)], "README exit codes")
    same_codes(table_rows(block_after(doc, "exit-codes"))[1], "deployment.md exit codes")

    check(block_after(doc, "command").strip() == "kvrPatch.exe /Silent", "silent command line")

    for name, success, retry, failed in (("intune", "Success", "Retry", "Failed"),
                                         ("configmgr", "Success (no reboot)", "Fast Retry",
                                          "Failure (no reboot)")):
        rows, codes = table_rows(block_after(doc, name))
        same_codes(codes, name + " return codes")
        for code, cells in rows.items():
            expected = success if code in SUCCESS else retry if code in RETRY else failed
            check(cells[0] == expected, "%s: %d is %s" % (name, code, expected))

    winget = yaml.safe_load(block_after(doc, "winget"))
    check(winget["InstallerSwitches"]["Silent"] == "/Silent", "winget: silent switch /Silent")
    check(winget["InstallerSwitches"]["SilentWithProgress"] == "/Silent",
          "winget: silent-with-progress switch /Silent")
    entries = winget["ExpectedReturnCodes"]
    codes = [e["InstallerReturnCode"] for e in entries]
    same_codes(codes + [0], "winget ExpectedReturnCodes (0 is success by default)")
    responses = {e["InstallerReturnCode"]: e["ReturnResponse"] for e in entries}
    check(all(r in WINGET_RESPONSES for r in responses.values()), "winget: known responses only")
    for code, response in WINGET_REQUIRED.items():
        check(responses.get(code) == response, "winget: %d -> %s" % (code, response))

    tasks = yaml.safe_load(block_after(doc, "ansible"))
    modules = {}
    for task in tasks:
        module = [k for k in task if k.startswith("ansible.windows.")]
        check(len(module) == 1, "ansible: task '%s' names one module" % task["name"])
        modules.setdefault(module[0], []).append(task)
    package = modules["ansible.windows.win_package"][0]["ansible.windows.win_package"]
    check(package["arguments"] == "/Silent" and package["expected_return_code"] == [0, 12],
          "ansible: win_package runs /Silent and expects 0 and 12")
    commands = modules["ansible.windows.win_command"]
    apply = [t for t in commands if t["ansible.windows.win_command"].endswith("kvrPatch.exe /Silent")]
    check(len(apply) == 1 and apply[0]["failed_when"].endswith("not in [0, 12]"),
          "ansible: win_command fails on anything but 0 and 12")

    # The detection commands, run against a sample product.
    detection = [block_after(doc, "detection")]
    detection += [t["ansible.windows.win_command"] for t in commands if " level " in t["ansible.windows.win_command"]]
    with tempfile.TemporaryDirectory() as windows:
        ini = os.path.join(windows, "Kovra.ini")
        for key, value in (("VERSION", "10.0"), ("PTNO", "2"), ("DIR", "C:\\Kovra")):
            check(run([kvrpack, "set", ini, "LICENSE", key, value])[0] == 0, "set " + key)
        for text in detection:
            line = next(l for l in text.splitlines() if " level " in l)
            args = shlex.split(line[line.index(" level ") + 1:], posix=True)
            command = [kvrpack] + args + ["--windows-dir", windows]
            code, out = run(command)
            check(code == 1 and out == "", "detection below the level: exit 1, no output: " + line)
            run([kvrpack, "set", ini, "LICENSE", "PTNO", "3"])
            code, out = run(command)
            check(code == 0 and out.startswith("detected:") and out.count("\n") == 1,
                  "detection at the level: exit 0, one line: " + line)
            os.remove(ini)
            code, out = run(command)
            check(code == 4 and out == "", "detection without the product: exit 4: " + line)
            for key, value in (("VERSION", "10.0"), ("PTNO", "2"), ("DIR", "C:\\Kovra")):
                run([kvrpack, "set", ini, "LICENSE", key, value])

    print("%d failed" % len(failures) if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
