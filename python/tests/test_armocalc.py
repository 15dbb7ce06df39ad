"""The Python module against the built binary (ARMOCALC_CLI)."""

import json
import os
import subprocess
import sys
import tempfile
import unittest
import unittest.mock
import warnings

import armocalc

CLI = os.environ.get("ARMOCALC_CLI")


def protocol_answer(method, args):
    """The answer of the JSON Lines protocol itself, for comparison."""
    line = json.dumps({"method": method, "args": args}, ensure_ascii=False) + "\n"
    done = subprocess.run([CLI, "call"], input=line.encode("utf-8"), stdout=subprocess.PIPE,
                          check=True)
    return json.loads(done.stdout.decode("utf-8"))


def example_arguments(example):
    """A method's worked example "NAME=VALUE ..." as keyword arguments."""
    args = {}
    for item in example.split():
        name, _, text = item.partition("=")
        try:
            args[name] = json.loads(text)
        except ValueError:
            args[name] = text
    return args


@unittest.skipUnless(CLI, "ARMOCALC_CLI names the armocalc binary")
class ModuleTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.ac = armocalc.Armocalc(CLI)
        listing = subprocess.run([CLI, "methods", "--json"], stdout=subprocess.PIPE, check=True)
        cls.methods = json.loads(listing.stdout.decode("utf-8"))["methods"]

    @classmethod
    def tearDownClass(cls):
        cls.ac.close()

    def test_every_method_answers_its_example_as_the_protocol_does(self):
        self.assertEqual(len(self.methods), 23)
        for entry in self.methods:
            with self.subTest(method=entry["name"]):
                args = example_arguments(entry["example"])
                expected = protocol_answer(entry["name"], args)
                if expected["error"]:
                    with self.assertRaises(armocalc.ArmocalcError) as caught:
                        getattr(self.ac, entry["latin"])(**args)
                    self.assertEqual(caught.exception.number, expected["error"]["number"])
                    continue
                by_name = getattr(self.ac, entry["name"])(**args)
                by_latin = getattr(self.ac, entry["latin"])(**args)
                self.assertEqual(by_name.value, expected["result"])
                self.assertEqual(by_name.byref, expected["byref"])
                self.assertEqual(by_latin.value, expected["result"])

    def test_latin_spellings_positions_and_defaults(self):
        self.assertEqual(self.ac.мтБетонB(КлассБетона=25).value, 13.0)
        self.assertEqual(self.ac.mtBetonB(KlassBetona=25, Parametr=1).value, 13.0)
        self.assertEqual(self.ac.mtbetonb(klassbetona=25).value, 13.0)
        self.assertEqual(self.ac.мтБетонB(25, 1).value, 13.0)
        self.assertEqual(self.ac.call("mtBetonB", KlassBetona=25).value, 13.0)
        self.assertEqual(self.ac.мтБетонB(КлассБетона=25, Параметр=None).byref["Параметр"], 1,
                         "None leaves the parameter to its default")
        self.assertIn("КлассБетона", self.ac.мтБетонB.__doc__)

    def test_wrong_arguments_are_type_errors(self):
        with self.assertRaises(TypeError):
            self.ac.мтБетонB(Класс=25)
        with self.assertRaises(TypeError):
            self.ac.мтБетонB(КлассБетона=25, KlassBetona=25)
        with self.assertRaises(TypeError):
            self.ac.мтБетонB(25, КлассБетона=25)
        with self.assertRaises(AttributeError):
            self.ac.call("мтНетТакогоB")

    def test_run_time_errors_raise_with_number_and_description(self):
        with self.assertRaises(armocalc.ArmocalcError) as caught:
            self.ac.мтБетонB(КлассБетона="abc")
        self.assertEqual(caught.exception.number, 13)
        self.assertEqual(caught.exception.description, "Type mismatch")
        self.assertEqual(caught.exception.method, "мтБетонB")
        with self.assertRaises(armocalc.ArmocalcError) as missing:
            self.ac.СНиП_EsB()
        self.assertEqual(missing.exception.number, 449)
        # The process answers on after an error.
        self.assertEqual(self.ac.мтБетонB(КлассБетона=25).value, 13.0)

    def test_written_back_values_and_reports(self):
        stress = self.ac.мтНапряжениеB(КлассАрматурнойСтали=2, КлассБетона=30, N=0.5, M=0.1,
                                       Fв=10, Fн=10, ав=0.05, ан=0.05, h=0.6, B=0.4)
        self.assertIn("Sb", stress.byref)
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "strength.txt")
            done = self.ac.мтПрочностьB(КлассАрматурнойСтали=3, КлассБетона=30, N=1.2, M=0.35,
                                        Fv=10.05, Fn=10.05, av=0.05, an=0.05, h=0.5,
                                        Otchet=path)
            self.assertEqual(done.reports, [path])
            self.assertGreater(os.path.getsize(path), 0)
        self.assertEqual(stress.reports, [])

    def test_reports_are_the_files_the_call_wrote(self):
        section = dict(КлассАрматурнойСтали=3, КлассБетона=25, N=0.5, M=0.1, Fв=10, Fн=10,
                       ав=0.05, ан=0.05, h=0.5)
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "calc.txt")
            stress = os.path.join(folder, "Stress-calc.txt")
            with open(path, "w") as old:
                old.write("an older report")
            os.utime(path, (0, 0))
            # The stress routine writes only the file with the prefix, not the report itself.
            self.assertEqual(self.ac.мтНапряжениеB(Отчет=path, **section).reports, [stress])
            os.remove(stress)
            endurance = dict(КлассАрматурнойСтали=3, КлассБетона=25, Nmin=0.1, Mmin=0.05,
                             Nmax=0.2, Mmax=0.1, Fв=10, Fн=10, ав=0.05, ан=0.05, h=0.5)
            self.assertEqual(self.ac.мтВыносливостьB(Отчет=path, **endurance).reports,
                             [path, stress])
            self.assertEqual(self.ac.мтПрочностьB(Отчет="a.tx", **section).reports, [],
                             "a path of 4 characters writes nothing")
            batch = self.ac.map("мтПрочностьB", [dict(section, Отчет=os.path.join(
                folder, "r%d.txt" % i)) for i in range(3)])
            self.assertEqual([r.reports for r in batch],
                             [[os.path.join(folder, "r%d.txt" % i)] for i in range(3)])

    def test_a_batch_of_ten_thousand_requests_in_order(self):
        calls = [{"Класс_арматуры": 1 + i % 3, "Диаметр_арматуры": 10 + i % 30}
                 for i in range(10000)]
        singles = {(c["Класс_арматуры"], c["Диаметр_арматуры"]): self.ac.СНиП_RsB(**c).value
                   for c in calls[:90]}
        results = self.ac.map("СНиП_RsB", calls)
        self.assertEqual(len(results), 10000)
        for call, result in zip(calls, results):
            key = (call["Класс_арматуры"], call["Диаметр_арматуры"])
            self.assertEqual(result.value, singles[key])

    def test_batch_errors_raise_or_come_in_place(self):
        calls = [{"КлассБетона": 25}, {"КлассБетона": "x"}, {"КлассБетона": 30}]
        mixed = self.ac.map("мтБетонB", calls, errors="return")
        self.assertEqual(mixed[0].value, 13.0)
        self.assertIsInstance(mixed[1], armocalc.ArmocalcError)
        self.assertEqual(mixed[1].number, 13)
        self.assertEqual(mixed[2].value, 15.5)
        with self.assertRaises(armocalc.ArmocalcError):
            self.ac.map("мтБетонB", calls)
        self.assertEqual(self.ac.мтБетонB(КлассБетона=30).value, 15.5, "still in step")

    def test_a_batch_left_early_keeps_the_process_in_step(self):
        stream = self.ac.imap("мтБетонB", ({"КлассБетона": 25} for _ in range(100000)))
        self.assertEqual(next(stream).value, 13.0)
        stream.close()
        self.assertEqual(self.ac.мтБетонB(КлассБетона=30).value, 15.5)

    def test_jobs_and_context_manager(self):
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")  # a binary without --jobs answers with one
            with armocalc.Armocalc(CLI, jobs=2) as ac:
                results = ac.map("мтБетонB", [{"КлассБетона": 20 + i % 10} for i in range(500)])
                self.assertEqual([r.value for r in results[:2]],
                                 [ac.мтБетонB(КлассБетона=20).value,
                                  ac.мтБетонB(КлассБетона=21).value])
        with self.assertRaises(ValueError):
            ac.мтБетонB(КлассБетона=25)

    def test_binary_from_the_argument_the_environment_or_path(self):
        expected = protocol_answer("СНиП_EsB", {"Класс_арматуры": 3})["result"]
        with armocalc.Armocalc() as ac:
            self.assertEqual(ac.СНиП_EsB(3).value, expected)
        with tempfile.TemporaryDirectory() as folder:
            os.symlink(os.path.abspath(CLI), os.path.join(folder, "armocalc"))
            environment = {"PATH": folder, "ARMOCALC_CLI": ""}
            with unittest.mock.patch.dict(os.environ, environment):
                with armocalc.Armocalc() as ac:
                    self.assertEqual(ac.СНиП_EsB(3).value, expected)
                with armocalc.Armocalc(CLI) as ac:
                    self.assertEqual(ac.СНиП_EsB(3).value, expected)
            with unittest.mock.patch.dict(os.environ, {"PATH": "", "ARMOCALC_CLI": ""}):
                with self.assertRaises(FileNotFoundError):
                    armocalc.Armocalc()

    def test_a_process_that_ends_leaves_its_last_words_in_the_error(self):
        with tempfile.TemporaryDirectory() as folder:
            fake = os.path.join(folder, "armocalc")
            with open(fake, "w") as script:
                script.write("#!/bin/sh\n"
                             "if [ \"$1\" = methods ]; then exec \"$REAL_CLI\" \"$@\"; fi\n"
                             "head -n 1 | \"$REAL_CLI\" call\n"
                             "echo 'armocalc: out of luck' >&2\n"
                             "exit 3\n")
            os.chmod(fake, 0o755)
            with unittest.mock.patch.dict(os.environ, {"REAL_CLI": os.path.abspath(CLI)}):
                with armocalc.Armocalc(fake) as ac:
                    ac._process.wait(timeout=10)  # gone before the request is written
                    with self.assertRaises(armocalc.ArmocalcProcessError) as caught:
                        ac.мтБетонB(КлассБетона=25)
        self.assertIn("exit status 3", str(caught.exception))
        self.assertIn("armocalc: out of luck", str(caught.exception))

    @unittest.skipUnless(hasattr(os, "openpty"), "needs a terminal device")
    def test_the_callers_terminal_gets_no_progress_or_summary(self):
        program = ("import armocalc\n"
                   "with armocalc.Armocalc(jobs=2) as ac:\n"
                   "    ac.map('мтБетонB', [{'КлассБетона': 25}] * 100)\n"
                   "    ac.мтБетонB(КлассБетона='x')\n")
        main, terminal = os.openpty()
        try:
            done = subprocess.run([sys.executable, "-c", program], stderr=terminal,
                                  stdout=subprocess.DEVNULL, timeout=60)
            os.close(terminal)
            terminal = None
            shown = b""
            while True:
                try:
                    block = os.read(main, 65536)
                except OSError:  # the terminal's other end is closed
                    break
                if not block:
                    break
                shown += block
        finally:
            if terminal is not None:
                os.close(terminal)
            os.close(main)
        self.assertEqual(done.returncode, 1)  # the ArmocalcError of the last call
        self.assertIn(b"ArmocalcError", shown)
        self.assertNotIn(b"armocalc call:", shown)


if __name__ == "__main__":
    unittest.main()
