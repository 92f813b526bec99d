"""The ravelin module against the files the decoder and the tools write for generated VIREL and
KX-4 databases: the survey text file, ravelin-qc --readings and ravelin-gravity's tables."""
import csv
import math
import os
import shutil
import subprocess
import tempfile
import unittest

import numpy as np

import ravelin

BIN = os.environ["RAVELIN_BIN"]
PRINTED = 0.0005 + 1e-9  # three decimals


def run(tool, *args):
    return subprocess.run([os.path.join(BIN, tool), *args], check=True, text=True,
                          stdout=subprocess.PIPE).stdout


def text_lines(path):
    with open(path, newline="") as f:
        return f.read().split("\r\n")


class Converted(unittest.TestCase):
    """A sample raw database of KIND, converted once for the class."""
    KIND = None

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp()
        cls.raw = os.path.join(cls.folder, "a.raw")
        run("ravelin-sample", "--kind", cls.KIND, cls.raw)
        cls.conversion = ravelin.convert(cls.raw, keep=True)
        cls.tvd = os.path.join(cls.folder, "a.tvd")
        cls.database = ravelin.open(cls.tvd)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder)

    def all_readings(self, method, database=None):
        """The readings of every line, joined in file order."""
        parts = [getattr(line, method)() for line in (database or self.database).lines]
        parts = [p for p in parts if len(next(iter(p.values())))]
        return {key: np.concatenate([p[key] for p in parts]) for key in parts[0]}


class Virel(Converted):
    KIND = "virel"

    def test_conversion_lists_the_files_written_beside_the_raw_database(self):
        self.assertFalse(self.conversion.partial)
        self.assertEqual(self.conversion.reason, "")
        self.assertEqual(self.conversion.files[0], self.tvd)
        for suffix in (".txt", ".log", ".i2d", ".sn"):
            self.assertIn(os.path.join(self.folder, "a" + suffix), list(self.conversion))
        self.assertTrue(os.path.exists(self.raw))  # keep=True

    def test_readings_equal_the_survey_text_file(self):
        ip = self.all_readings("ip_readings")
        rows = [line for line in text_lines(os.path.join(self.folder, "a.txt"))
                if line.startswith(" ")]  # IP data lines begin with a blank
        self.assertEqual(len(rows), len(ip["ro"]))
        for i, row in enumerate(rows):
            # Ro, Sd, SP, RC, Vp, Itx, M1 to M4 end every data line.
            v = [float(f) for f in row.split(",") if f.strip()][-10:]
            got = [ip["ro"][i], ip["stdev"][i], ip["sp"][i], ip["res_con"][i], ip["vp"][i],
                   ip["itx"][i], *ip["m"][i, :4]]
            for want, value in zip(v, got):
                self.assertAlmostEqual(float(value), want, delta=PRINTED, msg=row)
        # Profiles are named as the text file's "Line" lines give their positions.
        positions = [line.split("\t")[1].strip() for line in
                     text_lines(os.path.join(self.folder, "a.txt")) if line.startswith("Line\t")]
        names = [line.name for line in self.database.lines if line.kind == "profile"]
        self.assertEqual([(float(p[:-1]), p[-1]) for p in positions],
                         [(float(n[:-1]), n[-1]) for n in names])

    def test_arrays_have_the_documented_types_and_lengths(self):
        types = {"array_code": np.uint16, "operating_mode": np.uint16, "window_count": np.uint32,
                 "x": np.float32, "line_coord": np.uint16, "n": np.uint16, "dn": np.float32,
                 "res_con": np.uint16, "sp": np.int16, "ro": np.float32, "m": np.float32,
                 "a": np.float64, "m_electrode": np.float64}
        for line in self.database.lines:
            ip = line.ip_readings()
            count = len(ip["ro"])
            for key, dtype in types.items():
                self.assertEqual(ip[key].dtype, dtype, key)
            for key, array in ip.items():
                self.assertEqual(array.shape[0], count, key)
            if count:
                self.assertEqual(ip["m"].shape, (count, int(ip["window_count"].max())))
            bore = line.bore_hole_readings()
            self.assertEqual(bore["log"].dtype.kind, "U")
            self.assertEqual({len(a) for a in bore.values()}, {len(bore["depth"])})

    def test_electrodes_stand_at_x_plus_their_distances_remote_ones_are_nan(self):
        ip = self.all_readings("ip_readings")
        x = ip["x"].astype(float)
        pole_pole = ip["array_code"] == 0x0C
        pole_dipole = ip["array_code"] == 0x08
        self.assertTrue(pole_pole.any() and (~pole_pole & ~pole_dipole).any())
        np.testing.assert_allclose(ip["a"], np.round(x + ip["da"], 3), atol=1e-9)
        np.testing.assert_allclose(ip["m_electrode"], np.round(x, 3), atol=1e-9)
        self.assertTrue(np.isnan(ip["b"][pole_pole | pole_dipole]).all())
        self.assertTrue(np.isnan(ip["n_electrode"][pole_pole]).all())
        four = ~pole_pole & ~pole_dipole
        np.testing.assert_allclose(ip["b"][four], np.round(x + ip["db"], 3)[four], atol=1e-9)
        np.testing.assert_allclose(ip["n_electrode"][~pole_pole],
                                   np.round(x + ip["dn"], 3)[~pole_pole], atol=1e-9)

    def test_errors_are_those_ravelin_qc_reports(self):
        rows = [r for r in csv.reader(run("ravelin-qc", "--readings", self.tvd).splitlines())
                if len(r) == 13 and r[0] != "SURVEY"]
        errors = [line.errors() for line in self.database.lines if line.kind == "profile"]
        relative = np.concatenate([e["relative_error"] for e in errors])
        source = np.concatenate([e["source"] for e in errors])
        self.assertEqual(len(rows), len(relative))
        for row, value, kind in zip(rows, relative, source):
            self.assertEqual(kind, row[12])
            if row[11]:
                self.assertAlmostEqual(value, float(row[11]), delta=5e-5 * value)
            else:
                self.assertTrue(math.isnan(value))
        with self.assertRaisesRegex(ValueError, "scope takes profile or survey"):
            self.database.lines[0].errors(scope="line")

    def test_a_damaged_database_gives_what_came_before_the_damage_and_why(self):
        whole = self.all_readings("ip_readings")["ro"]
        with open(self.tvd, "rb") as f:
            data = f.read()
        damaged_path = os.path.join(self.folder, "damaged.tvd")
        with open(damaged_path, "wb") as f:
            f.write(data[: len(data) // 2])
        damaged = ravelin.open(damaged_path)
        self.assertFalse(damaged.complete)
        self.assertEqual(damaged.stop, "truncated_record")
        self.assertRegex(damaged.stop_reason, "byte %d" % damaged.stop_offset)
        part = self.all_readings("ip_readings", damaged)["ro"]
        self.assertTrue(0 < len(part) < len(whole))
        np.testing.assert_array_equal(part, whole[: len(part)])

        with self.assertRaisesRegex(ravelin.Error, "Cannot read"):
            ravelin.open(os.path.join(self.folder, "missing.tvd"))


class Conversions(unittest.TestCase):
    def test_a_raw_database_cut_short_converts_in_part_and_is_kept(self):
        with tempfile.TemporaryDirectory() as folder:
            raw = os.path.join(folder, "cut.raw")
            run("ravelin-sample", "--kind", "virel", raw)
            with open(raw, "r+b") as f:
                f.truncate(os.path.getsize(raw) - 3)
            conversion = ravelin.convert(raw)
            self.assertTrue(conversion.partial)
            self.assertEqual(conversion.reason, "the last record is cut short")
            self.assertFalse(conversion.raw_deleted)
            self.assertTrue(os.path.exists(raw))
            with self.assertRaisesRegex(ravelin.Error, "missing.raw"):
                ravelin.convert(os.path.join(folder, "missing.raw"))


class Kx4(Converted):
    KIND = "kx4"

    def test_readings_equal_the_survey_text_file(self):
        g = self.all_readings("gravity_readings")
        rows = [line for line in text_lines(os.path.join(self.folder, "a.txt"))
                if line and line[0] not in "/L"]
        self.assertEqual(len(rows), len(g["gravity"]))
        for key, dtype in {"x": np.float32, "gravity": np.float32, "tilt_x": np.float64,
                           "duration": np.uint16, "time": np.dtype("datetime64[ms]"),
                           "tide_corrected": np.int8}.items():
            self.assertEqual(g[key].dtype, dtype, key)
        for i, row in enumerate(rows):
            # Y X ALT GRAV SD TILTX TILTY TEMP TIDE DUR REJ HH:MM:SS DEC.TIME TERRAIN YYYY/MM/DD
            f = row.split()
            for key, column, delta in (("y", 0, 5e-8), ("x", 1, 5e-8), ("altitude", 2, 5e-5),
                                       ("gravity", 3, PRINTED),
                                       ("standard_deviation", 4, PRINTED),
                                       ("temperature", 7, 0.005 + 1e-9), ("tide", 8, PRINTED),
                                       ("duration", 9, 0), ("rejected", 10, 0),
                                       ("terrain_correction", 13, 0.00005 + 1e-9)):
                self.assertAlmostEqual(float(g[key][i]), float(f[column]), delta=delta, msg=key)
            clock = np.datetime64(f[14].replace("/", "-") + "T" + f[11])
            self.assertEqual(g["time"][i].astype("datetime64[s]"), clock, row)

    def test_reduction_gives_ravelin_gravity_tables(self):
        shutil.copy(self.tvd, os.path.join(self.folder, "g.tvd"))
        run("ravelin-gravity", os.path.join(self.folder, "g.tvd"))
        with open(os.path.join(self.folder, "g-readings.csv")) as f:
            rows = list(csv.DictReader(f))
        reduction = self.database.reduce_gravity()
        readings, stations = reduction.readings, reduction.stations
        self.assertEqual(len(rows), len(readings["utc"]))
        for i, row in enumerate(rows):
            self.assertEqual(stations["name"][readings["station"][i]], row["STATION"])
            self.assertEqual(str(readings["utc"][i].astype("datetime64[s]")),
                             row["DATE_UTC"] + "T" + row["TIME_UTC"])
            self.assertAlmostEqual(readings["tide_model"][i], float(row["TIDE_MODEL"]),
                                   delta=0.00005 + 1e-9)
        self.assertEqual(reduction.base, stations["name"][0])
        with self.assertRaisesRegex(ValueError, "drift_degree takes 0, 1 or 2"):
            self.database.reduce_gravity(drift_degree=3)
        with self.assertRaisesRegex(ravelin.Error, 'no station named "L9"'):
            self.database.reduce_gravity(base="L9")


if __name__ == "__main__":
    unittest.main()
