#!/usr/bin/python3
"""The layer check on crafted trees: it must name each include that crosses a layer the wrong
way, exactly, and pass a tree whose includes follow the arrows.

usage: check_layers_test.py PROJECT_ROOT
"""

import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

PROJECT = pathlib.Path(sys.argv.pop(1)).resolve() if len(sys.argv) > 1 else None

CYCLE_TABLE = """| library | uses |
|---|---|
| `a/` | `b/` |
| `b/` | `c/` |
| `c/` | `a/` |
"""


class CheckLayersTest(unittest.TestCase):
    def check(self, files, table=None):
        """Runs the check on a tree of `files` (path: text) under the project's own table."""
        with tempfile.TemporaryDirectory() as directory:
            root = pathlib.Path(directory)
            (root / "docs").mkdir()
            if table is None:
                shutil.copy(PROJECT / "docs" / "architecture.md", root / "docs")
            else:
                (root / "docs" / "architecture.md").write_text(table)
            for name, text in files.items():
                (root / name).parent.mkdir(parents=True, exist_ok=True)
                (root / name).write_text(text)
            result = subprocess.run(
                [sys.executable, str(PROJECT / "tools" / "check_layers.py"), str(root)],
                capture_output=True, text=True)
            return result.returncode, result.stderr

    def test_includes_that_cross_a_layer_the_wrong_way_are_named(self):
        cases = [
            ("os asks the runtime",
             {"platform/os/files.cpp": '#include "platform/os/files.h"\n\n'
                                       '#include "platform/runtime/settings.h"\n'},
             'platform/os/files.cpp:3: platform/os may not include '
             '"platform/runtime/settings.h"\n'),
            ("the digits see a widget",
             {"controldigits/digits.h": '#pragma once\n#include "platform/gui/gui.h"\n'},
             'controldigits/digits.h:2: controldigits may not include "platform/gui/gui.h"\n'),
            ("the dialog reads the table",
             {"dialog/lookup.cpp": '  #  include "platform/table/db_server.h"\n'},
             'dialog/lookup.cpp:1: dialog may not include "platform/table/db_server.h"\n'),
            ("the runtime includes a test helper",
             {"platform/runtime/value.cpp": '#include "tests/support/recording_os.h"\n'},
             'platform/runtime/value.cpp:1: platform/runtime may not include '
             '"tests/support/recording_os.h"\n'),
            ("errors sit below regional",
             {"errors/error_text.cpp": '#include "regional/regional.h"\n',
              "errors/error_log.cpp": '#include "logfile/logfile.h"\n'},
             'errors/error_log.cpp:1: errors may not include "logfile/logfile.h"\n'
             'errors/error_text.cpp:1: errors may not include "regional/regional.h"\n'),
        ]
        for name, files, expected in cases:
            with self.subTest(name):
                self.assertEqual(self.check(files), (1, expected))

    def test_includes_along_the_arrows_pass(self):
        files = {
            "platform/table/db_server.cpp": '#include "platform/table/db_server.h"\n'
                                            '#include "platform/os/files.h"\n'
                                            '#include "platform/runtime/raise.h"\n'
                                            '#include <QString>\n',
            "app/start.cpp": '#include "dialog/dialog.h"\n#include "platform/sound/sound.h"\n',
            "cli/main.cpp": '#include "register/register.h"\n'
                            '#include "controldigits/control_digits.h"\n',
            "tests/platform/x_test.cpp": '#include "app/app.h"\n',  # tests are not checked
        }
        self.assertEqual(self.check(files), (0, ""))

    def test_a_cycle_in_the_table_is_refused(self):
        self.assertEqual(self.check({}, CYCLE_TABLE),
                         (1, "docs/architecture.md: the arrows form a cycle: a -> b -> c -> a\n"))


if __name__ == "__main__":
    unittest.main()
