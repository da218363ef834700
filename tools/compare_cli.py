#!/usr/bin/env python3
"""Runs the same brevika-calc command lines with two builds and compares
every byte they write: standard output, standard error, the exit status,
the text of each PDF (pdftotext) and the tables' listing after each change.

    python3 tools/compare_cli.py OLD/brevika-calc NEW/brevika-calc

Cases cover every command: the calculators in text and --json, the
schedule as CSV, --year, --summary and --pdf, the loan records (accounts
add, schedule --save, records, load as CSV, JSON and PDF, delete) in a
scratch folder per build, bad arguments and every --help. The folder a
build names as its default, and the time a record was written, differ by
nature and are masked. Exit status 0 when every case matched.
"""
import itertools
import os
import random
import re
import shlex
import subprocess
import sys
import tempfile


def calculator_cases(rng):
    cases = []
    periods = ["Weekly", "BiWeekly", "Monthly", "BiMonthly", "Quarterly", "SemiAnnually", "Annually"]
    comps = ["Daily", "Weekly", "BiWeekly", "Monthly", "BiMonthly", "Quarterly", "SemiAnnually",
             "Annually", "Continuous"]
    methods = ["Advance", "Arrears"]
    amort = ["Canadian", "'Interest Only'", "'Fixed Principal'", "Normal", "\"Rule of 78's\"", "'U.S. Rule'"]
    # loan: one unknown, none or two; every list choice.
    for pv, n, rate, pmt in itertools.product(["100000", "2500.50", "0"], ["360", "12", "0", "1"],
                                              ["7.5", "0", "12.25"], ["0", "699.21", "50"]):
        extra = f" --payment-period {rng.choice(periods)} --compounding {rng.choice(comps)}" \
                f" --payment-method {rng.choice(methods)} --amortizing {rng.choice(amort)}"
        base = f"loan --amount {pv} --periods {n} --rate {rate} --payment {pmt}"
        cases.append(base)
        cases.append(base + extra + " --json")
    for a in amort:
        for m in methods:
            cases.append(f"loan --amount 100000 --periods 360 --rate 7.5 --amortizing {a} --payment-method {m}")
            cases.append(f"loan --amount 100000 --rate 7.5 --payment 800 --amortizing {a} --payment-method {m} --json")
            cases.append(f"loan --periods 360 --rate 7.5 --payment 699.21 --amortizing {a} --payment-method {m}")
            cases.append(f"loan --amount 100000 --periods 360 --payment 699.21 --amortizing {a} --payment-method {m} --json")
    cases += ["loan", "loan --amount abc --periods 1", "loan --amount 1 --periods 40000",
              "loan --payment-period Daily --amount 1 --periods 2 --rate 3", "loan --rate 123.45",
              "loan --amount -5000 --periods 12 --rate 6", "loan --bogus 1",
              "loan --amount 999999999999.99 --periods 1 --rate 99.9999 --json",
              "loan --amount 100000 --periods 360 --rate 7.5 --compounding continuous --json"]
    # interest due
    icomps = ["Simple", "Continuous", "Daily", "Weekly", "BiWeekly", "Monthly", "BiMonthly", "Quarterly",
              "SemiAnnually", "Annually"]
    for c, b in itertools.product(icomps, ["360", "365"]):
        cases.append(f"interest-due --amount 10000 --rate 7.5 --start-date 01/01/2026 --end-date 01/01/2027 "
                     f"--compounding {c} --rate-basis {b}")
        cases.append(f"interest-due --amount 2500.25 --rate 12 --start-date 02/29/2024 --end-date 03/15/2031 "
                     f"--compounding {c} --rate-basis {b} --json")
        cases.append(f"interest-due --amount 1000 --rate 5 --start-date 12/31/2030 --end-date 01/01/2026 "
                     f"--compounding {c} --rate-basis {b} --json")
    for d in ["0", "1", "365", "-365", "32767", "-32768", "400"]:
        cases.append(f"interest-due --amount 10000 --rate 7.5 --days {d} --json")
        cases.append(f"interest-due --amount 0 --rate 7.5 --days {d}")
    cases += ["interest-due --amount 1 --rate 1 --days 5 --start-date 01/01/2026",
              "interest-due --amount 1 --rate 1 --start-date 01/01/2026",
              "interest-due --amount 1 --rate 1 --start-date 01/01/1600 --end-date 12/31/3999",
              "interest-due --amount 1 --rate 1 --start-date 13/01/2026 --end-date 01/01/2027",
              "interest-due --rate 1 --days 3", "interest-due --amount 5 --rate 99 --days 30 --compounding bogus"]
    # remaining balance
    for a, m in itertools.product(amort, methods):
        for after in ["1", "12", "359", "360"]:
            cases.append(f"remaining-balance --amount 100000 --periods 360 --rate 7.5 --after-payment {after} "
                         f"--amortizing {a} --payment-method {m}")
        cases.append(f"remaining-balance --amount 25000 --periods 60 --rate 9.9 --after-payment 30 "
                     f"--amortizing {a} --payment-method {m} --payment-period {rng.choice(periods)} "
                     f"--compounding {rng.choice(comps)} --json")
    cases += ["remaining-balance --amount 100000 --periods 12 --rate 7.5 --after-payment 12",
              "remaining-balance --amount 0 --periods 12 --rate 7.5 --after-payment 2 --json",
              "remaining-balance --amount 1 --periods 12 --rate 7.5"]
    # accelerated
    for a, m in itertools.product(amort, methods):
        for extra in ["100", "1000"]:
            cases.append(f"accelerated --amount 100000 --periods 360 --rate 7.5 --increase-after 12 --extra {extra} "
                         f"--amortizing {a} --payment-method {m}")
        cases.append(f"accelerated --amount 50000 --periods 120 --rate 6.25 --increase-after 24 --extra 250 "
                     f"--amortizing {a} --payment-method {m} --payment-period {rng.choice(periods)} "
                     f"--compounding {rng.choice(comps)} --json")
    cases += ["accelerated --amount 100 --periods 12 --rate 5 --increase-after 12 --extra 1",
              "accelerated --amount 100 --periods 24 --rate 5 --increase-after 12 --extra 100 --json",
              "accelerated --amount 100 --periods 24 --rate 0 --increase-after 12 --extra 1"]
    # balloon
    for m, p in itertools.product(methods, periods):
        for after in ["12", "60", "0"]:
            cases.append(f"balloon --amount 10000 --rate 12 --balloon-after {after} --balloon 5000 "
                         f"--payment-method {m} --payment-period {p}")
        cases.append(f"balloon --amount 250000 --rate 6.5 --balloon-after 84 --balloon 200000 --payment-method {m} "
                     f"--payment-period {p} --compounding {rng.choice(comps)} --json")
    cases += ["balloon --amount 10000 --rate 0 --balloon-after 12 --balloon 5000",
              "balloon --amount 10000 --rate 12 --balloon-after 12"]
    # refinance
    for ded, pts, sold, disc, tax in itertools.product(["yes", "no", "Deductible", "'Not Deductible'"],
                                                        ["Prepaid", "Amortized"], ["1", "7", "40"],
                                                        ["0", "5"], ["0", "28"]):
        new_amount = rng.choice(["100000", "90000", "120000"])
        cases.append(f"refinance --balance 100000 --periods-remaining 300 --rate 9 --new-amount {new_amount} "
                     f"--periods 360 --new-rate 7 --points 2 --misc 1500 --penalty 500 --deductible {ded} "
                     f"--points-are {pts} --sold-after {sold} --tax-bracket {tax} --discount-rate {disc}"
                     + (" --json" if rng.random() < 0.5 else ""))
    cases += ["refinance --balance 100000 --periods-remaining 700 --rate 9 --new-amount 1 --periods 360 --new-rate 7",
              "refinance --balance 100000 --periods-remaining 300 --rate 9 --new-amount 1 --periods 360 --new-rate 7 "
              "--new-payment-period Weekly",
              "refinance --balance 100000 --periods-remaining 300 --rate 0 --new-amount 1 --periods 360 --new-rate 7 --json",
              "refinance --balance 100000 --periods-remaining 300 --rate 9 --new-amount 1 --periods 360 --new-rate 7 "
              "--deductible maybe"]
    return cases


def schedule_cases(rng):
    cases = []
    periods = ["Weekly", "BiWeekly", "Monthly", "BiMonthly", "Quarterly", "SemiAnnually", "Annually"]
    amort = ["Canadian", "'Interest Only'", "'Fixed Principal'", "Normal", "\"Rule of 78's\"", "'U.S. Rule'"]
    bases = ["Ordinary", "Exact/360", "Exact/365"]
    paid = ["'At Origination'", "'With 1st Payment'", "Amortized"]
    for a, b in itertools.product(amort, bases):
        p = rng.choice(paid)
        base = (f"schedule --amount 100000 --periods 360 --rate 7.5 --points 1.5 --origination 01/15/1997 "
                f"--first-payment 03/01/1997 --amortizing {a} --rate-basis {b} --points-paid {p}")
        cases.append(base)
        cases.append(base + " --summary --other-fees 450")
        cases.append(base + " --year 3")
    for p in periods:
        base = (f"schedule --amount 18500 --periods 60 --rate 9.25 --origination 04/15/2024 "
                f"--first-payment 05/15/2024 --payment-period {p} --compounding Daily")
        cases.append(base)
        cases.append(base + " --summary")
    cases += ["schedule --amount 100000 --periods 360 --rate 7.5 --origination 01/01/1997 --first-payment 01/01/1997",
              "schedule --amount 100000 --periods 360 --rate 7.5 --origination 01/01/1997 --first-payment 12/01/1996",
              "schedule --amount 0 --periods 360 --rate 7.5 --origination 01/01/1997 --first-payment 02/01/1997",
              "schedule --amount 100000 --periods 3000 --rate 7.5 --origination 01/01/1997 --first-payment 02/01/1997",
              "schedule --amount 100000 --periods 360 --rate 7.5 --origination 01/01/1997 --first-payment 02/01/1997 "
              "--year 99",
              "schedule --amount 100000 --periods 360 --rate 7.5 --origination 01/01/1997 --first-payment 02/01/1997 "
              "--summary --year 1",
              "schedule --amount 1000 --periods 12 --rate 7.5 --points 50 --other-fees 600 --origination 01/01/1997 "
              "--first-payment 02/01/1997 --summary",
              "schedule --amount 100000 --periods 360 --rate 7.5 --origination 01/01/1997 --first-payment 02/01/1997 "
              "--paper A4"]
    # What-if events (a build without them answers with exit status 2).
    events = ("--extra 100@13-60 --lump 10000@60 --rate-change 6.25@61 --holiday 100-102")
    for a, b in itertools.product(amort, bases):
        base = (f"schedule --amount 100000 --periods 360 --rate 7.5 --points 1.5 --origination 01/15/1997 "
                f"--first-payment 03/01/1997 --amortizing {a} --rate-basis {b} {events}")
        cases.append(base + " --summary")
        cases.append(base + " --lower-payment --keep-payment --year 6")
    cases += ["schedule --amount 100000 --periods 360 --rate 7.5 --origination 01/01/1997 --first-payment 02/01/1997 "
              "--extra 100@13 --summary",
              "schedule --amount 100000 --periods 360 --rate 7.5 --origination 01/01/1997 --first-payment 02/01/1997 "
              "--rate-change 9@13 --keep-payment",
              "schedule --amount 100000 --periods 360 --rate 7.5 --origination 01/01/1997 --first-payment 02/01/1997 "
              "--extra 100@0"]
    return cases


PDF_CASES = [
    "schedule --amount 100000 --periods 360 --rate 7.5 --points 1.5 --origination 01/01/1997 "
    "--first-payment 02/01/1997 --pdf {pdf}",
    "schedule --amount 18500 --periods 60 --rate 9.25 --origination 04/15/2024 --first-payment 05/15/2024 "
    "--payment-period Weekly --amortizing 'Rule of 78''s' --pdf {pdf} --paper A4 --font-size 8",
    "schedule --amount 5000 --periods 12 --rate 12 --origination 01/01/2000 --first-payment 01/01/2000 "
    "--amortizing 'Fixed Principal' --pdf {pdf} --font 'Liberation Sans' --font-size 14",
    "schedule --amount 5000 --periods 12 --rate 12 --origination 01/01/2000 --first-payment 02/01/2000 "
    "--pdf {pdf} --font-size 0",
    "schedule --amount 100000 --periods 360 --rate 7.5 --origination 01/01/1997 --first-payment 02/01/1997 "
    "--extra 100@13-60 --lump 10000@60 --rate-change 6.25@61 --holiday 100-102 --pdf {pdf}",
]

# The loan records, one scratch folder per build; {dir} and {pdf} are filled in.
RECORD_STEPS = [
    "records --dir {dir}",
    "accounts add --dir {dir} --last-name Smith --first-name John --address1 '12 Harbour Road' "
    "--city Portland --state ME --zip 04101 --phone 207-555-0143",
    "accounts add --dir {dir} --last-name Jones --first-name Mary --city Salem",
    "accounts add --dir {dir} --account-no ACME --city Boston",
    "accounts add --dir {dir} --account-no ACME",
    "accounts add --dir {dir} --last-name Smith",
    "schedule --amount 100000 --periods 360 --rate 7.5 --points 1.5 --origination 01/01/1997 "
    "--first-payment 02/01/1997 --save --account SMITJOH001 --dir {dir}",
    "schedule --amount 18500 --periods 60 --rate 9.25 --origination 04/15/2024 --first-payment 05/15/2024 "
    "--amortizing 'U.S. Rule' --rate-basis Exact/365 --save --account SMITJOH001 --dir {dir}",
    "schedule --amount 2500 --periods 12 --rate 11 --origination 04/15/2024 --first-payment 05/15/2024 "
    "--save --account JONEMAR001 --dir {dir}",
    "schedule --amount 2500 --periods 24 --rate 11 --origination 04/15/2024 --first-payment 05/15/2024 "
    "--save --account JONEMAR001 --loan 3 --dir {dir}",
    "schedule --amount 2500 --periods 24 --rate 11 --origination 04/15/2024 --first-payment 05/15/2024 "
    "--save --account JONEMAR001 --loan 3 --replace --dir {dir}",
    "schedule --amount 2500 --periods 24 --rate 11 --origination 04/15/2024 --first-payment 05/15/2024 "
    "--save --account JONEMAR001 --loan 1 --dir {dir}",
    "schedule --amount 2500 --periods 24 --rate 11 --origination 04/15/2024 --first-payment 05/15/2024 "
    "--save --account NOBODY --dir {dir}",
    "records --dir {dir}",
    "records --dir {dir} --json",
    "load --dir {dir} --loan 1",
    "load --dir {dir} --loan 2 --json",
    "load --dir {dir} --loan 3",
    "load --dir {dir} --loan 9",
    "load --dir {dir} --loan 1 --pdf {pdf}",
    "load --dir {dir} --loan 2 --pdf {pdf} --paper A4",
    "delete --dir {dir} --loan 2",
    "delete --dir {dir} --account DEFAULT",
    "delete --dir {dir} --account JONEMAR001",
    "delete --dir {dir}",
    "records --dir {dir} --json",
    "load --dir {dir}/nowhere --loan 1",
]

HELP = ["--help", "loan --help", "schedule --help", "interest-due --help", "remaining-balance --help",
        "accelerated --help", "balloon --help", "refinance --help", "accounts --help", "accounts add --help",
        "records --help", "load --help", "delete --help", "bogus", ""]


def run(binary, args, env):
    proc = subprocess.run(shlex.quote(binary) + " " + args, shell=True, capture_output=True, env=env)
    return proc.returncode, proc.stdout, proc.stderr


def pdf_text(path):
    if not os.path.exists(path):
        return b"<no pdf>"
    text = subprocess.run(["pdftotext", "-layout", path, "-"], capture_output=True).stdout
    os.remove(path)
    return text


def mask(data, binary):
    data = data.replace(os.path.dirname(os.path.abspath(binary)).encode(), b"<exe-dir>")
    return re.sub(rb'"RECORDTIME":"[0-9:]*"', b'"RECORDTIME":"<time>"', data)


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    old, new = sys.argv[1], sys.argv[2]
    rng = random.Random(20240601)
    env = dict(os.environ, LC_ALL="C")
    cases = calculator_cases(rng) + schedule_cases(rng) + HELP
    results = {"same": 0, "differ": 0}
    counts = {}

    def compare(label, a, b):
        kind = label.split()[0] if label.split() else "(none)"
        counts[kind] = counts.get(kind, 0) + 1
        if a == b:
            results["same"] += 1
        else:
            results["differ"] += 1
            print(f"DIFFERS: {label}\n  old: {a!r:.600}\n  new: {b!r:.600}")

    for args in cases:
        a = tuple(mask(x, old) if isinstance(x, bytes) else x for x in run(old, args, env))
        b = tuple(mask(x, new) if isinstance(x, bytes) else x for x in run(new, args, env))
        compare(args, a, b)
    with tempfile.TemporaryDirectory() as tmp:
        for locale_env in ({"LC_ALL": "C"}, {"LC_ALL": "de_DE.UTF-8"}, {"LC_ALL": "en_US.UTF-8"}):
            e = dict(os.environ, **locale_env)
            for args in ["loan --amount 100000 --periods 360 --rate 7.5",
                         "interest-due --amount 10000 --rate 7.5 --start-date 01/01/2026 --end-date 01/01/2027",
                         "refinance --balance 100000 --periods-remaining 300 --rate 9 --new-amount 100000 "
                         "--periods 360 --new-rate 7 --sold-after 7 --discount-rate 5"]:
                compare(args + f" [{locale_env['LC_ALL']}]", run(old, args, e), run(new, args, e))
        for args in PDF_CASES:
            outs = []
            for binary in (old, new):
                pdf = os.path.join(tmp, "out.pdf")
                code, out, err = run(binary, args.format(pdf=shlex.quote(pdf)), env)
                outs.append((code, out, err, pdf_text(pdf)))
            compare(args, outs[0], outs[1])
        dirs = {old: os.path.join(tmp, "old"), new: os.path.join(tmp, "new")}
        for step in RECORD_STEPS:
            outs = []
            for binary in (old, new):
                pdf = os.path.join(tmp, "rec.pdf")
                code, out, err = run(binary, step.format(dir=shlex.quote(dirs[binary]), pdf=shlex.quote(pdf)), env)
                out, err = (mask(x.replace(dirs[binary].encode(), b"<dir>"), binary) for x in (out, err))
                outs.append((code, out, err, pdf_text(pdf)))
            compare(step, outs[0], outs[1])
    print("cases by command: " + ", ".join(f"{k} {v}" for k, v in sorted(counts.items())))
    print(f"{results['same']} cases identical, {results['differ']} differ")
    return 0 if results["differ"] == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
