#!/usr/bin/env python3
"""Holds an extracted tree to the corpus manifest's expected result.

  zip_extract_check.py CORPUS_DIR ARCHIVE OUT_DIR
      one line per difference between OUT_DIR and what the manifest record of ARCHIVE
      (its path relative to CORPUS_DIR) expects, by its category:
        normal, encrypted, ambiguous: exactly expected.files (path, type, size, SHA-256;
          a link is expected as a plain file holding its target);
        damaged: expected.files present and equal, failing entries absent;
        unsupported: expected.files, except unsupported entries, which may be absent;
        hostile: expected.must_exist present.
      Lines: "missing PATH", "extra PATH", "differs PATH: WHAT", "present PATH".
"""
import hashlib
import json
import os
import sys


def tree(root):
    found = {}
    for folder, dirs, files in os.walk(root):
        for d in dirs:
            rel = os.path.relpath(os.path.join(folder, d), root).replace(os.sep, "/")
            found[rel] = ("dir", None, None)
        for f in files:
            full = os.path.join(folder, f)
            rel = os.path.relpath(full, root).replace(os.sep, "/")
            with open(full, "rb") as data:
                content = data.read()
            found[rel] = ("file", len(content), hashlib.sha256(content).hexdigest())
    return found


def expected_files(corpus, record):
    expected = record.get("expected", {})
    if expected.get("files") is not None:
        return expected["files"]
    ref = expected.get("files_ref") or record.get("files_ref")
    with open(os.path.join(corpus, ref), encoding="utf-8") as f:
        data = json.load(f)
    return data["files"] if isinstance(data, dict) else data


def describe(item):
    if item["type"] == "file":
        return ("file", item["size"], item["sha256"])
    if item["type"] == "symlink":
        # Links are never made: the entry's data, the link's target, becomes a plain file.
        target = item["target"].encode("utf-8")
        return ("file", len(target), hashlib.sha256(target).hexdigest())
    return (item["type"], None, None)


def main(corpus, archive, out_dir):
    with open(os.path.join(corpus, "manifest.json"), encoding="utf-8") as f:
        records = {a["path"]: a for a in json.load(f)["archives"]}
    record = records[archive]
    category = record["category"]
    expected = record.get("expected", {})
    got = tree(out_dir)
    problems = []
    if category == "hostile":
        for path in expected.get("must_exist", []):
            if path not in got:
                problems.append("missing " + path)
        return problems
    want = {f["path"]: describe(f) for f in expected_files(corpus, record)}
    optional = set()
    for e in expected.get("unsupported_entries", []) or []:
        optional.add(e["entry"] if isinstance(e, dict) else e)
    failing = set()
    for e in expected.get("failing_entries", []) or []:
        failing.add((e["entry"] if isinstance(e, dict) else e).rstrip("/"))
    for path, item in sorted(want.items()):
        if path not in got:
            if path not in optional:
                problems.append("missing " + path)
        elif got[path] != item:
            problems.append("differs %s: %s, expected %s" % (path, got[path], item))
    for path in sorted(got):
        if path in want:
            continue
        if category == "damaged":
            if path in failing:
                problems.append("present " + path)
        else:
            problems.append("extra " + path)
    return problems


if __name__ == "__main__":
    for line in main(sys.argv[1], sys.argv[2], sys.argv[3]):
        print(line)
