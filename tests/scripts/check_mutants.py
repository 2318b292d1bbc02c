"""scripts/mutants: what each mutation makes of code, what it leaves alone, how tests group."""
import importlib.machinery
import importlib.util
import os
import sys
import tempfile
import unittest
from pathlib import Path

path = Path(__file__).resolve().parents[2] / "scripts" / "mutants"
loader = importlib.machinery.SourceFileLoader("mutants", str(path))
mutants = importlib.util.module_from_spec(importlib.util.spec_from_loader("mutants", loader))
loader.exec_module(mutants)


def mutated(text, kind=None):
    return sorted(m.apply(text) for m in mutants.find_mutants(text) if kind in (None, m.kind))


class Generator(unittest.TestCase):
    def test_each_mutation(self):
        table = [
            ("x = a == b;", ["x = a != b;"]),
            ("x = a < b;", ["x = a <= b;", "x = a >= b;"]),
            ("x = a >= b;", ["x = a < b;", "x = a > b;"]),
            ("x = a && b;", ["x = a || b;"]),
            ("x = 0x1F + 9u;", ["x = 0x1E + 9u;", "x = 0x1F + 10u;", "x = 0x1F + 8u;",
                                "x = 0x20 + 9u;"]),
            ("x = 0 + 1'000;", ["x = 0 + 1001;", "x = 0 + 999;", "x = 1 + 1'000;"]),
            ("if (int n = f(); n) {}", ["if (int n = f(); !(n)) {}"]),
            ("    s.Save(a, (b));\n", ["    {}\n"]),
            ("bool F(int a) const {\n}", ["bool F(int a) const { return false;\n}",
                                          "bool F(int a) const { return true;\n}"]),
            ("void C::F() { g(); }", ["void C::F() { return; g(); }"]),
        ]
        for code, expected in table:
            kind = "negate" if code.startswith("if") else None
            self.assertEqual(mutated(code, kind), sorted(expected), code)

    def test_text_left_alone(self):
        for code in ["// a < b && c", "/* x == 1 */", 'auto s = "a < b || 2";', "c = '<';",
                     "#define LIMIT (a < 5)", "static_assert(kSize == 4);",
                     "std::vector<int> v; a << b; p->q; T&& r = f;",
                     'auto s = R"x(if (a) b(); 7)x";', "int Foo(int a);", "return f(a);",
                     "void C::F() const { /* nothing to write */ }"]:
            self.assertEqual(mutated(code), [], code)

    def test_sample_is_fixed_by_the_seed(self):
        found = mutants.find_mutants("x = a < 1 && b == 2;\nif (c) g(3);\n")
        draw = lambda seed: [str(m) for m in mutants.sample(list(found), 4, mutants.random.Random(seed))]
        self.assertEqual(draw(7), draw(7))
        self.assertEqual(len({m.split(": ")[1].split()[0] for m in draw(7)}), 4, "one of each kind")


class Tests(unittest.TestCase):
    def test_grouped_by_the_programs_they_run(self):
        with tempfile.TemporaryDirectory() as build:
            core, korvyn, data = (os.path.join(build, n) for n in ("test_core", "korvyn", "data"))
            for name, mode in [(core, 0o755), (korvyn, 0o755), (data, 0o644)]:
                open(name, "w").close()
                os.chmod(name, mode)
            test = lambda *command, labels=(): {"command": list(command), "properties": [
                {"name": "LABELS", "value": list(labels)}]}
            script = ("/usr/bin/python3", "/src/check.py")
            listing = {"tests": [
                test(core, "--gtest_filter=A.B"), test(*script, korvyn, "scan"),
                test(core, "--gtest_filter=A.C"), test(*script, data, build),
                test(*script, korvyn, labels=["soak"]), test(*script, core, korvyn)]}
            self.assertEqual(mutants.test_groups(listing, build),
                             {(core,): [1, 3], (korvyn,): [2], (korvyn, core): [6]})


if __name__ == "__main__":
    sys.exit(unittest.main())
