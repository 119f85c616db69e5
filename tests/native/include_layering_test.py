#!/usr/bin/env python3
"""scripts/check-includes: the source tree keeps its layering, and an include
against it, in any of the layers and by any path, is found and named.

Usage: include_layering_test.py CHECKER SOURCE_ROOT
"""
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

CHECKER = SOURCE_ROOT = None


def run(root):
    return subprocess.run([sys.executable, CHECKER, str(root)], capture_output=True, text=True)


class IncludeLayering(unittest.TestCase):
    def test_the_tree_keeps_its_layering(self):
        result = run(SOURCE_ROOT)
        self.assertEqual(result.returncode, 0, result.stdout)

    def test_each_include_upward_or_sideways_is_found(self):
        # (file, include, allowed)
        cases = [
            ("controls/host/a.cpp", "host/surface.h", True),
            ("controls/host/b.cpp", "button/button.h", False),
            ("controls/host/c.h", "vbbutton/vbbutton.h", False),
            ("controls/button/shapes/d.cpp", "host/color.h", True),
            ("controls/button/e.cpp", "vbbutton/layout.h", False),
            ("controls/vbbutton/faces/f.cpp", "button/button.h", False),
            ("controls/vbbutton/g.cpp", "form1.h", True),
            ("app/src/h.cpp", "vbbutton/vbbutton.h", True),
            ("engine/src/i.cpp", "host/surface.h", False),
            ("cli/j.cpp", "button/button.h", False),
            ("cli/k.cpp", "vantorel/engine.h", True),
            # A path that climbs compiles beside the file: it must stay in its layer.
            ("controls/host/l.cpp", "../button/button.h", False),
            ("controls/button/m.cpp", "../host/color.h", False),
            ("controls/button/shapes/n.cpp", "../button.h", True),
            ("controls/vbbutton/faces/o.cpp", "../../button/button.h", False),
            ("controls/host/p.cpp", "host/../button/button.h", False),
            ("app/src/q.cpp", "../../engine/src/reader.h", False),
            # The engine's folders: each names those below it; outside the
            # engine none is named, only vantorel/engine.h.
            ("engine/src/icons/r.cpp", "pe/pe_layout.h", True),
            ("engine/src/modes/s.cpp", "added/added_icons.h", True),
            ("engine/src/pe/t.cpp", "icons/icon_tree.h", False),
            ("engine/src/files/u.h", "errors/guarded.h", True),
            ("engine/src/errors/v.h", "files/reader.h", False),
            ("engine/src/icons/w.cpp", "modes/mode_frame.h", False),
            ("cli/x.cpp", "files/reader.h", False),
            ("app/src/y.cpp", "modes/icon_modes.h", False),
        ]
        with tempfile.TemporaryDirectory() as tmp:
            root = Path(tmp)
            for path, include, _ in cases:
                (root / path).parent.mkdir(parents=True, exist_ok=True)
                (root / path).write_text(f'#include <windows.h>\n  #include "{include}"\n')
            output = run(root).stdout
            for path, include, allowed in cases:
                with self.subTest(path=path, include=include):
                    self.assertEqual(f"{path}:2:" in output, not allowed, output)
            self.assertEqual(run(root).returncode, 1)


if __name__ == "__main__":
    CHECKER, SOURCE_ROOT = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1])
