"""Runs a script test's unittest cases and writes them as a JUnit report, so
scripts/summarize-tests.py counts each case as GoogleTest's are counted."""
import argparse
import sys
import unittest
import xml.etree.ElementTree as ET


def write_report(result, tests, suite_name, path):
    suites = ET.Element("testsuites")
    suite = ET.SubElement(suites, "testsuite", name=suite_name)
    failed = {t.id(): msg for t, msg in result.failures + result.errors}
    skipped = {t.id(): msg for t, msg in result.skipped}
    for t in tests:
        case = ET.SubElement(suite, "testcase", name=t.id(), result="completed")
        if t.id() in failed:
            ET.SubElement(case, "failure", message=failed[t.id()][:2000])
        elif t.id() in skipped:
            ET.SubElement(case, "skipped", message=skipped[t.id()][:2000])
    ET.ElementTree(suites).write(path)


def run_module(module_name, suite_name, results):
    suite = unittest.defaultTestLoader.loadTestsFromModule(sys.modules[module_name])
    tests = [t for group in suite for t in group]
    result = unittest.TextTestRunner(verbosity=2).run(unittest.TestSuite(tests))
    if results:
        write_report(result, tests, suite_name, results)
    return 0 if result.wasSuccessful() else 1


def parse_args(*extra):
    """The options both package tests take, and any extra required ones."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--tree", required=True, help="the release tree scripts/package built")
    for name in extra:
        parser.add_argument(name, required=True)
    parser.add_argument("--results")
    return parser.parse_args()
