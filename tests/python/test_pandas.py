"""Line.to_pandas(), run only where pandas is installed (it is optional)."""
import os
import subprocess
import sys
import tempfile
import unittest

try:
    import pandas
except ImportError:
    # The line ./do test reports as the reason of a skip; 77 tells CTest it skipped.
    print("SKIP   : pandas is not installed (Debian package python3-pandas): to_pandas() untested")
    sys.exit(77)

import ravelin


class ToPandas(unittest.TestCase):
    def test_a_line_becomes_a_frame_with_one_column_per_channel(self):
        with tempfile.TemporaryDirectory() as folder:
            raw = os.path.join(folder, "a.raw")
            subprocess.run([os.path.join(os.environ["RAVELIN_BIN"], "ravelin-sample"), "--kind",
                            "virel", raw], check=True, stdout=subprocess.DEVNULL)
            ravelin.convert(raw)
            line = ravelin.open(os.path.join(folder, "a.tvd")).lines[0]
        ip = line.ip_readings()
        frame = line.to_pandas()
        self.assertIsInstance(frame, pandas.DataFrame)
        self.assertEqual(len(frame), len(ip["ro"]))
        channels = ip["m"].shape[1]
        self.assertEqual([c for c in frame.columns if c[0] == "m" and c[1:].isdigit()],
                         ["m%d" % (k + 1) for k in range(channels)])
        self.assertTrue((frame["m%d" % channels].to_numpy() == ip["m"][:, -1]).all())
        self.assertTrue(frame["b"].isna().equals(pandas.Series(ip["b"]).isna()))
        self.assertEqual(list(line.to_pandas("ip_user").columns)[:4],
                         ["operating_mode", "window_count", "line_coord", "a_x"])
        with self.assertRaisesRegex(ValueError, "readings takes"):
            line.to_pandas("seismic")


if __name__ == "__main__":
    unittest.main()
