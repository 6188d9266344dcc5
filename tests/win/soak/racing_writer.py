#!/usr/bin/env python3
"""The soak's racing writer: stands in for the host writing new measurements into its
database while the plug-in reads it. Every 300 ms it takes the write lock, adds a measurement
of the series the soak reads with its peaks, holds the lock for 200 ms and commits, until it
is terminated; then it prints how many it committed.

usage: racing_writer.py DB"""
import signal
import sqlite3
import sys
import time

HOLD = 0.2
PERIOD = 0.3

stopping = False


def stop(*_):
    global stopping
    stopping = True


def main(path):
    signal.signal(signal.SIGTERM, stop)
    db = sqlite3.connect(path, isolation_level=None, timeout=30)
    commits = 0
    print("writer: writing", flush=True)
    while not stopping:
        start = time.monotonic()
        db.execute("BEGIN EXCLUSIVE")
        date = db.execute("SELECT max(date) FROM assay").fetchone()[0] + 60
        assay = db.execute(
            "INSERT INTO assay (date, sample, comment, series, filename, operatorid)"
            " VALUES (?, 'Гелий газообразный сжатый', '', 'Серия', 'D:\\He.chr', 1)",
            (date,)).lastrowid
        for name, concentration in (("Азот", 0.003), ("Кислород", 0.001)):
            db.execute("INSERT INTO peak (assayid, name, concentration) VALUES (?, ?, ?)",
                       (assay, name, concentration))
        time.sleep(max(0.0, HOLD - (time.monotonic() - start)))
        db.execute("COMMIT")
        commits += 1
        time.sleep(max(0.0, PERIOD - (time.monotonic() - start)))
    print(f"writer: {commits} commits, each holding the write lock {HOLD * 1000:.0f} ms",
          flush=True)


if __name__ == "__main__":
    main(sys.argv[1])
