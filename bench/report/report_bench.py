"""Times a rod-check report of a lattice form written by tiecalc-cli, whole
process, against /usr/bin/python3 with python-docx writing a document of the
same paragraphs (the typed lines and the fragments' texts, without pictures
or equations), and prints the median of each and their ratio.

usage: report_bench.py TIECALC_CLI [RUNS [LABEL ARG ...]]

With LABEL and ARGs, times `TIECALC_CLI ARG ... --report PATH` instead (the
calculation book of a case, say) and names it LABEL.
"""
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PYTHON = "/usr/bin/python3"
# The two-limb laced example.
ARGS = ["rod-check", "form=2", "F=200", "L=8000", "G=800", "A=6000", "h=250", "Imax=150000000",
        "Imin=150000000", "Az=1000", "I1=2000000", "Iz=500000", "L1=600", "a=400"]


def timed(command):
    start = time.perf_counter()
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(command), done.stderr.decode("utf-8", "replace")))
    return elapsed, done.stdout


def main():
    cli = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    label = sys.argv[3] if len(sys.argv) > 4 else "rod-check report"
    args = sys.argv[4:] if len(sys.argv) > 4 else ARGS
    with tempfile.TemporaryDirectory() as folder:
        ours = os.path.join(folder, "ours.doc")
        _, out = timed([cli] + args + ["--report", ours])
        messages = json.loads(out.decode("utf-8"))["messages"]
        if messages != ["报告文件输出成功!"]:
            sys.exit("tiecalc-cli did not write the %s (messages %s)" % (label, messages))
        # What python-docx is to write: our document's paragraphs and runs, and its tables.
        paragraphs = os.path.join(folder, "paragraphs.json")
        subprocess.run([PYTHON, os.path.join(HERE, "docx_writer.py"), "dump", ours, paragraphs], check=True)

        cli_times, py_times, py_text_times = [], [], []
        for i in range(runs):
            cli_times.append(timed([cli] + args + ["--report", os.path.join(folder, "c%d.doc" % i)])[0])
            py_times.append(timed([PYTHON, os.path.join(HERE, "docx_writer.py"), "write", paragraphs,
                                   os.path.join(folder, "p%d.docx" % i)])[0])
            py_text_times.append(timed([PYTHON, os.path.join(HERE, "docx_writer.py"), "paragraphs", paragraphs,
                                        os.path.join(folder, "t%d.docx" % i)])[0])
    cli_median = statistics.median(cli_times)
    py_median = statistics.median(py_times)
    py_text_median = statistics.median(py_text_times)
    print("runs: %d" % runs)
    print("tiecalc-cli %s:  median %.1f ms" % (label, cli_median * 1000))
    print("python-docx same paragraphs and tables: median %.1f ms, ratio (ours / python-docx) %.3f"
          % (py_median * 1000, cli_median / py_median))
    print("python-docx same paragraphs alone:      median %.1f ms, ratio (ours / python-docx) %.3f"
          % (py_text_median * 1000, cli_median / py_text_median))


main()
