#!/usr/bin/env python3
"""Tabulates the peer comparison: medians of the runs in a JSON-lines file of
quillet_peers results, into a Markdown report and a data file for plot.gp.
profile-notes.md, beside this script, is appended to the report as written.

usage: report.py results.jsonl performance.md performance.dat "command"
"""
import json
import os
import platform
import statistics
import subprocess
import sys
from collections import defaultdict


def load(path):
    runs = defaultdict(list)  # (what, pages) -> [figures]
    with open(path) as lines:
        for line in lines:
            line = line.strip()
            if line.startswith("{"):
                figures = json.loads(line)
                runs[(figures["what"], figures["pages"])].append(figures)
    return runs


class Medians:
    def __init__(self, runs):
        self.runs = runs

    def get(self, what, pages, name):
        values = [r[name] for r in self.runs.get((what, pages), []) if name in r]
        return statistics.median(values) if values else None

    def pages(self, what):
        return sorted(p for (w, p) in self.runs if w == what)

    def count(self, what, pages):
        return len(self.runs.get((what, pages), []))


def fmt(value, digits=1):
    if value is None:
        return "–"
    if abs(value) >= 100 or digits == 0:
        return f"{value:,.0f}".replace(",", " ")
    return f"{value:.{digits}f}"


def ratio(a, b):
    return a / b if a is not None and b else None


def table(head, rows):
    out = ["| " + " | ".join(head) + " |", "|" + "|".join("---:" for _ in head) + "|"]
    out += ["| " + " | ".join(row) + " |" for row in rows]
    return "\n".join(out) + "\n"


def machine():
    cpu = "unknown CPU"
    try:
        with open("/proc/cpuinfo") as info:
            cpu = next(l.split(":", 1)[1].strip() for l in info if l.startswith("model name"))
    except (OSError, StopIteration):
        pass
    try:
        qt = subprocess.run(["pkg-config", "--modversion", "Qt6Core"], capture_output=True, text=True).stdout.strip()
    except OSError:
        qt = ""
    return f"{os.cpu_count()} cores ({cpu}), Linux {platform.release()}, Qt {qt or 'unknown'}, offscreen"


def load_summary(m):
    loads = sorted(r["load_1min"] for runs in m.runs.values() for r in runs if "load_1min" in r)
    if not loads:
        return "Machine load: not recorded."
    return (f"Machine load (one-minute average, as each measurement started): median {statistics.median(loads):.2f}, "
            f"from {loads[0]:.2f} to {loads[-1]:.2f}, on {os.cpu_count()} cores.")


def largest_at_most(pages, limit):
    fitting = [p for p in pages if p <= limit]
    return max(fitting) if fitting else None


def main():
    results, md_path, dat_path, command = sys.argv[1:5]
    m = Medians(load(results))
    quillet_pages = m.pages("quillet-preview")
    qt_pages = m.pages("qt-preview")
    pdf_pages = sorted(set(m.pages("quillet-print")) | set(m.pages("quillet-savepdf")))
    reps = max((m.count(w, p) for (w, p) in m.runs), default=0)
    big = largest_at_most(quillet_pages, 10000)
    longest = max(quillet_pages, default=None)
    smallest = min(quillet_pages, default=None)
    pdf_n = largest_at_most(pdf_pages, 1000)

    doc = ["# Performance against the peers\n",
           "Quillet replays each page from its spool file when it is shown or printed, so the cost of showing "
           "a page follows that page, not the listing. These tables put it beside what a Qt program would use "
           "instead, on the same workload page, in one run on one machine.\n",
           f"- Machine: {machine()}.",
           f"- Figures are medians of {reps} run{'' if reps == 1 else 's'}, each measurement in its own process (peak memory is the "
           "process's VmHWM). The machine is shared with other work, so single figures are noisy.",
           f"- {load_summary(m)}",
           "- Workload page: a centred bold 14 pt title \"Listagem de teste - Página PRICOCO de TRICOCO\", a "
           "line, five column titles, 50 rows × 5 cells of Times New Roman 10 at 0, 20, 90, 120 and 150 mm, a box "
           "around the table and a footer (`bench/WorkloadPage.h`); the peers draw the same texts at the same "
           "places with QPainter (`bench/DirectWorkloadPage.cpp`).",
           f"- Reproduce: `{command}` (builds `quillet_peers` in Release, runs everything, rewrites this page "
           "and `performance.png`).\n"]

    targets = []

    def target(name, value, limit, meaning):
        met = None if value is None else value <= limit
        targets.append([name, fmt(value, 3), f"≤ {limit:g}", {None: "–", True: "met", False: "**not met**"}[met],
                        meaning])

    if big:
        target(f"Time to first page, {big} pages, Quillet ÷ QPrintPreviewWidget",
               ratio(m.get("quillet-preview", big, "show_first_page_ms"), m.get("qt-preview", big, "first_page_ms")),
               0.01, "Show to page 1 painted, against creating the widget to its first page shown")
        target(f"Time to first page, {big} ÷ {smallest} pages, Quillet",
               ratio(m.get("quillet-preview", big, "show_first_page_ms"),
                     m.get("quillet-preview", smallest, "show_first_page_ms")), 1.2, "")
        target(f"Composing {big} pages, Quillet ÷ QPdfWriter",
               ratio(m.get("quillet-preview", big, "compose_ms"), m.get("qpdfwriter", big, "ms")), 0.25,
               "Init and every command with the spool written, against QPdfWriter drawing the pages")
    if longest:
        target(f"Time to first page, {longest} ÷ {smallest} pages, Quillet",
               ratio(m.get("quillet-preview", longest, "show_first_page_ms"),
                     m.get("quillet-preview", smallest, "show_first_page_ms")), 1.2, "")
        target(f"Time to first page, {longest} pages, Quillet, ms", m.get("quillet-preview", longest, "show_first_page_ms"),
               10, "Show to page 1 painted, in milliseconds")
        target(f"Peak memory previewing {longest} ÷ {smallest} pages",
               ratio(m.get("quillet-preview", longest, "peak_MiB"), m.get("quillet-preview", smallest, "peak_MiB")),
               1.2, "VmHWM of the whole process: composing, Show, navigation, find")
        target(f"Page {longest} ÷ page 1, time to render",
               ratio(m.get("quillet-preview", longest, "last_page_ms"),
                     m.get("quillet-preview", longest, "first_page_button_ms")), 1.5,
               "\">>\" to the last page against \"<<\" back to page 1, medians of 9 clicks each")
        target(f"Find over {longest} pages ÷ `grep -c`",
               ratio(m.get("quillet-preview", longest, "find_ms"), m.get("grep", longest, "grep_ms")), 1.2,
               "a text found only on the last page, from page 1")
        target(f"Find over {longest} pages ÷ `grep -c`, CPU time",
               ratio(m.get("quillet-preview", longest, "find_cpu_ms"), m.get("grep", longest, "grep_cpu_ms")), 1.2,
               "the same, in CPU time")
    if pdf_n:
        target(f"Printing {pdf_n} pages to PDF ÷ QPdfWriter",
               ratio(m.get("quillet-print", pdf_n, "print_ms"), m.get("qpdfwriter", pdf_n, "ms")), 0.6,
               "the print job from the preview's print button, its pages written on every core")
        target(f"Printing {pdf_n} pages to PDF ÷ QPdfWriter, CPU time",
               ratio(m.get("quillet-print", pdf_n, "print_cpu_ms"), m.get("qpdfwriter", pdf_n, "cpu_ms")), 1.05,
               "the same, in the process's CPU time, which other work on the machine disturbs least")
        cores = m.get("quillet-savepdf", pdf_n, "cores")
        target(f"SavePDF {pdf_n} pages ÷ QPdfWriter",
               ratio(m.get("quillet-savepdf", pdf_n, "savepdf_ms"), m.get("qpdfwriter", pdf_n, "ms")), 0.6,
               "no figure while SavePDF still writes nothing" if not m.get("quillet-savepdf", pdf_n, "savepdf_ok")
               else f"pages written on every core ({fmt(cores)}), against QPdfWriter on one")
        target(f"SavePDF {pdf_n} pages, bytes a page ÷ QPdfWriter's",
               ratio(m.get("quillet-savepdf", pdf_n, "savepdf_bytes_per_page"),
                     m.get("qpdfwriter", pdf_n, "bytes_per_page")), 1.05,
               "the joined file, each run of pages with the fonts it uses")
    straight_n = max(m.pages("quillet-straight-pdf"), default=None)
    if straight_n:
        target(f"A listing straight to PDF, {straight_n} pages, ÷ QPdfWriter",
               ratio(m.get("quillet-straight-pdf", straight_n, "straight_ms"), m.get("qpdfwriter", straight_n, "ms")),
               0.6, "composing and SavePDF on every core, as `quillet --pdf` does, against QPdfWriter drawing the pages")
    doc += ["## Targets\n", table(["Measure", "Ratio", "Target", "", "What is compared"], targets)]

    rows = []
    for pages in sorted(set(qt_pages) | set(quillet_pages)):
        qt_first = m.get("qt-preview", pages, "first_page_ms")
        q_first = m.get("quillet-preview", pages, "show_first_page_ms")
        rows.append([f"{pages:,}".replace(",", " "), fmt(qt_first), fmt(m.get("quillet-preview", pages, "compose_ms")),
                     fmt(q_first, 2), fmt(ratio(q_first, qt_first), 4),
                     fmt(m.get("qt-preview", pages, "peak_MiB")), fmt(m.get("quillet-preview", pages, "peak_MiB"))])
    doc += ["## Time to the first page and peak memory\n",
            "QPrintPreviewWidget (QPrinter HighResolution, A4) draws every page before it shows the first: its "
            "time runs from creating the widget to its view's first paint. Quillet composes the listing into its "
            "spool (Init to the last command), then `Show` opens the preview and paints page 1 only.\n",
            table(["Pages", "QPrintPreviewWidget first page ms", "Quillet composing ms", "Quillet Show to page 1 ms",
                   "Quillet ÷ Qt (first page)", "QPrintPreviewWidget peak MiB", "Quillet peak MiB"], rows),
            "![Time to the first page and peak memory against the page count](performance.png)\n"]

    rows = []
    for pages in sorted(set(m.pages("qpdfwriter")) | set(pdf_pages)):
        writer_ms = m.get("qpdfwriter", pages, "ms")
        print_ms = m.get("quillet-print", pages, "print_ms")
        save_ms = m.get("quillet-savepdf", pages, "savepdf_ms")
        straight_ms = m.get("quillet-straight-pdf", pages, "straight_ms")
        kib = lambda what, name: None if m.get(what, pages, name) is None else m.get(what, pages, name) / 1024
        rows.append([f"{pages:,}".replace(",", " "), fmt(writer_ms), fmt(m.get("qpdfwriter", pages, "ms_per_page"), 2),
                     fmt(kib("qpdfwriter", "bytes_per_page"), 2), fmt(print_ms), fmt(ratio(print_ms, writer_ms), 2),
                     fmt(kib("quillet-print", "print_bytes_per_page"), 2), fmt(save_ms), fmt(ratio(save_ms, writer_ms), 2),
                     fmt(m.get("quillet-preview", pages, "compose_ms")),
                     fmt(ratio(m.get("quillet-preview", pages, "compose_ms"), writer_ms), 2),
                     fmt(straight_ms), fmt(ratio(straight_ms, writer_ms), 2)])
    doc += ["## PDF output and composing against QPdfWriter\n",
            "QPdfWriter draws the pages straight into a PDF at 1200 dpi. Quillet prints every page of the previewed "
            "listing through its print job (the preview's print button): each page replayed from the spool onto the "
            "printer's PDF job. The benchmark makes the print server unreachable, so the job's PDF is kept in the "
            "temporary directory instead of being handed to CUPS: the drawing is the same, the submission (about "
            "30 ms) is left out. SavePDF writes the listing to a file without the preview; straight to PDF is a listing "
            "composed and saved by SavePDF in one process, from Init to the file written, as `quillet --pdf` makes "
            "it. From 100 pages on, all three write their pages on every core of the machine (here "
            + fmt(m.get("quillet-savepdf", max(pdf_pages, default=0), "cores"), 0) + "; `QUILLET_PDF_THREADS` sets "
            "another number) and join the files in order. Each runs in a process of its own, right after the "
            "others for the same page count"
            + ("." if any(m.get("quillet-savepdf", p, "savepdf_ok") for p in pdf_pages)
               else "; it still returns false (nothing written) in this build, so its columns are empty.") + "\n",
            table(["Pages", "QPdfWriter ms", "ms/page", "KiB/page", "Print job ms", "÷ QPdfWriter", "KiB/page",
                   "SavePDF ms", "÷ QPdfWriter", "Composing ms", "÷ QPdfWriter", "Straight to PDF ms",
                   "÷ QPdfWriter"], rows)]

    rows = []
    for pages in quillet_pages:
        last = m.get("quillet-preview", pages, "last_page_ms")
        first = m.get("quillet-preview", pages, "first_page_button_ms")
        find = m.get("quillet-preview", pages, "find_ms")
        grep = m.get("grep", pages, "grep_ms")
        rows.append([f"{pages:,}".replace(",", " "), fmt(first, 2), fmt(last, 2), fmt(ratio(last, first), 2),
                     fmt(find), fmt(grep), fmt(ratio(find, grep), 1), fmt(m.get("grep", pages, "text_MiB")),
                     fmt(m.get("quillet-preview", pages, "hit_count_ms"))])
    doc += ["## Navigation and find in the preview\n",
            "\"<<\" and \">>\" are the preview's first- and last-page buttons (the page replayed onto the preview "
            "image, medians of 9 clicks). Find looks for the last cell of the last page (\"Artigo de teste número "
            "<last item>\"), from page 1, through the find dialog; `grep -c -F` looks for it in a text file holding "
            "every text of the listing, one a line, already in the page cache. The hit count runs from the same text "
            "typed into the find dialog to its final \"n de m\".\n",
            table(["Pages", "\"<<\" page 1 ms", "\">>\" last page ms", "last ÷ first", "Find ms", "grep -c ms",
                   "find ÷ grep", "texts MiB", "Hit count ms"], rows)]

    notes = os.path.join(os.path.dirname(os.path.abspath(__file__)), "profile-notes.md")
    if os.path.exists(notes):
        with open(notes) as text:
            doc.append(text.read())
    with open(md_path, "w") as out:
        out.write("\n".join(doc))
    with open(dat_path, "w") as out:
        out.write("# pages qt_first_ms qt_peak_MiB quillet_first_ms quillet_peak_MiB\n")
        for pages in sorted(set(qt_pages) | set(quillet_pages)):
            values = [m.get("qt-preview", pages, "first_page_ms"), m.get("qt-preview", pages, "peak_MiB"),
                      m.get("quillet-preview", pages, "show_first_page_ms"),
                      m.get("quillet-preview", pages, "peak_MiB")]
            out.write(" ".join([str(pages)] + ["NaN" if v is None else f"{v:.4g}" for v in values]) + "\n")


if __name__ == "__main__":
    main()
